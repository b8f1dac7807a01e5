// NetBIOS node-status answers (UDP 137) and the smbclient listing that gives the remark.
#include "FuzzCheck.h"
#include "net/NetBios.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray reply = fuzzBytes(data, size);
    // the transaction that the reply names, so that the fuzzer reaches past the header
    const quint16 id = size >= 2 ? quint16(data[0] << 8 | data[1]) : 0;
    const zorva::NetBiosInfo info = zorva::parseNodeStatus(reply, id);
    if (info.hostNotFound) {
        FUZZ_CHECK(info.computerName.isEmpty() && info.workGroup.isEmpty() &&
                   info.lanId.isEmpty() && info.macAddress.isEmpty());
    } else {
        FUZZ_CHECK(info.macAddress.size() == 17);
        FUZZ_CHECK(info.computerName.size() <= 15 && info.workGroup.size() <= 15 &&
                   info.lanId.size() <= 15);
    }
    // Any other transaction is never taken for this one.
    FUZZ_CHECK(zorva::parseNodeStatus(reply, quint16(id + 1)).hostNotFound);

    const QString listing = QString::fromLocal8Bit(reply);
    const QString remark = zorva::neighbourRemark(listing, listing.section(QLatin1Char('|'), 1, 1));
    FUZZ_CHECK(remark.size() <= listing.size());
    return 0;
}
