// Zorva.ini as users edit it: read a key, write one, read it again. The written key reads back,
// and every other line keeps its bytes and its line end.
#include "FuzzCheck.h"
#include "platform/Ini.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

struct Line {
    QByteArray text, end;
    bool operator==(const Line&) const = default;
};

QList<Line> linesOf(const QByteArray& data) {
    QList<Line> out;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype nl = data.indexOf('\n', start);
        Line l;
        if (nl < 0) nl = data.size();
        else l.end = "\n";
        l.text = data.mid(start, nl - start);
        if (!l.end.isEmpty() && l.text.endsWith('\r')) {
            l.text.chop(1);
            l.end = "\r\n";
        }
        out << l;
        start = nl + 1;
    }
    return out;
}

// A section or key name as the program writes them: letters, digits and a few signs.
QString nameFrom(FuzzedDataProvider& in) {
    static const char chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.";
    QString name;
    const int n = in.ConsumeIntegralInRange(1, 8);
    for (int i = 0; i < n; ++i) name += QLatin1Char(chars[in.ConsumeIntegralInRange<size_t>(0, sizeof chars - 2)]);
    return name;
}

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const QString section = nameFrom(in), key = nameFrom(in), value = nameFrom(in);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray before(rest.data(), qsizetype(rest.size()));
    const QString path = folder().filePath(QStringLiteral("Zorva.ini"));
    {
        QFile f(path);
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(before);
    }
    FUZZ_CHECK(zorva::readIniFile(path, section, key).size() <= 254);
    FUZZ_CHECK(zorva::writeIniFile(path, section, key, value));
    FUZZ_CHECK(zorva::readIniFile(path, section, key) == value);

    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    const QList<Line> old = linesOf(before);
    QList<Line> now = linesOf(f.readAll());
    // Take out the written line (and the section line written with it); the rest is the file
    // as it was, except that an unended last line may have gained its line end.
    const QByteArray entry = (key + QLatin1Char('=') + value).toLatin1();
    QList<Line> kept = old;
    if (now.size() == old.size() + 2) {
        FUZZ_CHECK(now.takeLast().text == entry);
        FUZZ_CHECK(now.takeLast().text == ('[' + section + ']').toLatin1());
    } else {
        FUZZ_CHECK(now.size() == old.size() || now.size() == old.size() + 1);
        qsizetype at = 0;
        while (at < old.size() && at < now.size() && now[at].text == old[at].text) ++at;
        if (now.size() == old.size()) {
            if (at == old.size()) return 0; // the same value was there already
            kept.removeAt(at);
        }
        FUZZ_CHECK(at < now.size() && now[at].text == entry);
        now.removeAt(at);
    }
    QByteArray keptBytes, nowBytes;
    for (const Line& l : kept) keptBytes += l.text + l.end;
    for (const Line& l : now) nowBytes += l.text + l.end;
    const bool unended = !kept.isEmpty() && kept.last().end.isEmpty();
    FUZZ_CHECK(nowBytes == keptBytes ||
               (unended && (nowBytes == keptBytes + "\n" || nowBytes == keptBytes + "\r\n")));
    return 0;
}
