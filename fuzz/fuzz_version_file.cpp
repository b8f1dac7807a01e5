// The update service's version file, the update address and the version comparison.
#include "FuzzCheck.h"
#include "app/VersionFile.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray file = fuzzBytes(data, size);
    const auto line = zorva::parseVersionFile(file);
    if (line) {
        FUZZ_CHECK(line->newest.contains(QLatin1Char('.')));
        FUZZ_CHECK(!line->newest.contains(QLatin1String(" -> ")));
        const zorva::UpdateVerdict v = zorva::judgeUpdate(line->newest, *line);
        FUZZ_CHECK(v == zorva::UpdateVerdict::None); // the newest version needs no update
    }
    // the comparison is an order: antisymmetric and reflexive
    const QString text = QString::fromUtf8(file);
    const QString a = text.section(QLatin1Char('\n'), 0, 0);
    const QString b = text.section(QLatin1Char('\n'), 1);
    FUZZ_CHECK(zorva::compareVersionTexts(a, b) == -zorva::compareVersionTexts(b, a));
    FUZZ_CHECK(zorva::compareVersionTexts(a, a) == 0);
    const QString host = zorva::updateHostOf(text);
    FUZZ_CHECK(!host.contains(QLatin1Char('/')) && host.size() <= text.size());
    return 0;
}
