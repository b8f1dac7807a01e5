// A spreadsheet saved as CSV, or anything chosen in its place: read to the end under a small
// limit. No crash; no record longer than the limit; line numbers only grow; an error ends the
// reading and stays.
#include "FuzzCheck.h"
#include "platform/CsvRead.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer device;
    device.setData(fuzzBytes(data, size));
    device.open(QIODevice::ReadOnly);
    constexpr qsizetype kLimit = 4096;
    zorva::CsvReader reader(&device, kLimit);
    QStringList fields;
    qint64 line = 0, last = 0;
    while (reader.next(&fields, &line)) {
        FUZZ_CHECK(line > last);
        last = line;
        qsizetype chars = 0;
        for (const QString& f : fields) chars += f.size();
        FUZZ_CHECK(chars <= kLimit);
        FUZZ_CHECK(reader.bytesRead() <= qint64(size));
    }
    if (!reader.error().isEmpty()) FUZZ_CHECK(!reader.next(&fields, &line));
    return 0;
}
