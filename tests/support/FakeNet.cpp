#include "support/FakeNet.h"

#include <QThread>

namespace zorva::test {

PingResult FakePinger::pingAddress(qint32 /*ttl*/, qint32 timeoutMs) {
    pinged << pingAddressText();
    EchoOutcome o;
    if (live.contains(pingAddressText())) {
        o.replied = true;
        o.status = PingStatus::Success;
        o.replyTimeMs = 1;
    }
    return pingResultFrom(o, pingAddressText(), timeoutMs);
}

QList<PingResult> FakePinger::sweep(const QStringList& addresses, const ProbeRule& rule) {
    ++sweeps;
    if (roundMs > 0) QThread::msleep(roundMs);
    return Pinger::sweep(addresses, rule);
}

QString FakeLookup::addressOfName(const QString& name, int* errorNumber) {
    const QString a = addresses.value(name);
    if (a.isEmpty() && errorNumber) *errorNumber = 11001; // host not found
    return a;
}

QString FakeLookup::localHostName(int* errorNumber) {
    if (localName.isEmpty() && errorNumber) *errorNumber = 22;
    return localName;
}

} // namespace zorva::test
