// The subnet calculator's eight boxes as typed, through the whole "Calculate".
#include "FuzzCheck.h"
#include "utilities/SubnetCalc.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace zorva::subnet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Octets address, mask;
    for (QString& box : address) box = QString::fromUtf8(QByteArray::fromStdString(in.ConsumeRandomLengthString(5)));
    for (QString& box : mask) box = QString::fromUtf8(QByteArray::fromStdString(in.ConsumeRandomLengthString(5)));
    const Result r = calculate(address, mask);
    if (r.refusal != Result::Refusal::None) {
        FUZZ_CHECK(r.box >= 0 && r.box < 4 && r.lines.isEmpty());
        return 0;
    }
    const QStringList net = r.selectedNetId.split(QLatin1Char('.'));
    FUZZ_CHECK(net.size() == 4);
    for (const QString& o : net) {
        bool ok = false;
        const int v = o.toInt(&ok);
        FUZZ_CHECK(ok && v >= 0 && v <= 255);
    }
    FUZZ_CHECK(r.blockSize >= 1 && r.blockSize <= 256);
    FUZZ_CHECK(r.lines.size() <= 256);
    for (const QString& line : r.lines) FUZZ_CHECK(!firstColumn(line).isEmpty());
    const int prefix = r.netId.section(QLatin1Char('/'), 1).toInt();
    FUZZ_CHECK(prefix >= 0 && prefix <= 32);
    // bits, dotted text and back
    for (int v = 0; v < 256; v += 51) FUZZ_CHECK(BinaryToDotted(ToBinary8(v)) == QString::number(v));
    return 0;
}
