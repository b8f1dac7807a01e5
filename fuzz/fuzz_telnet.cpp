// Telnet option handling, greeting collection and prompt removal. The first byte cuts the
// input into two arrivals: walking them one after the other must give what one walk of the
// whole gives.
#include "FuzzCheck.h"
#include "net/TelnetProbe.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QByteArray in = fuzzBytes(data + 1, size - 1);
    const qsizetype cut = in.isEmpty() ? 0 : data[0] % (in.size() + 1);

    const zorva::TelnetWalk whole = zorva::walkTelnet(in);
    QByteArray pending;
    const zorva::TelnetWalk a = zorva::walkTelnet(in.left(cut), &pending);
    const zorva::TelnetWalk b = zorva::walkTelnet(in.mid(cut), &pending);
    FUZZ_CHECK(a.text + b.text == whole.text);
    FUZZ_CHECK(a.replies + b.replies == whole.replies);
    FUZZ_CHECK(whole.text.size() <= in.size());
    // every answer is a three-byte option answer or the terminal type
    FUZZ_CHECK(whole.replies.size() % 3 == 0 || whole.replies.contains("TTY"));

    zorva::TelnetGreeting g, split;
    g.add(whole.text);
    split.add(a.text);
    split.add(b.text);
    FUZZ_CHECK(g.text() == split.text());
    FUZZ_CHECK(g.hasVisibleText() == split.hasVisibleText());
    FUZZ_CHECK(g.text().size() <= zorva::TelnetGreeting::kMaxSize);
    // exactly the NUL of each CR NUL pair is gone (a NUL after that NUL is data and stays)
    if (whole.text.size() < zorva::TelnetGreeting::kMaxSize) {
        qsizetype pairs = 0;
        for (qsizetype i = 1; i < whole.text.size(); ++i)
            pairs += whole.text[i] == '\0' && whole.text[i - 1] == '\r';
        FUZZ_CHECK(g.text().size() == whole.text.size() - pairs);
    }

    const QString shown = zorva::removeLoginPrompts(QString::fromLatin1(g.text()));
    FUZZ_CHECK(shown.size() <= g.text().size());
    FUZZ_CHECK(!shown.contains(QLatin1String("Login :")) || g.text().contains("Login :"));
    return 0;
}
