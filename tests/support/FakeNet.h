#pragma once
#include "net/HostLookup.h"
#include "net/Ping.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace zorva::test {

// A pinger with a set of live addresses: they answer "Success", every other address times out.
// Installs itself as the program's pinger for its lifetime.
class FakePinger : public Pinger {
public:
    FakePinger() { setPinger(this); }
    ~FakePinger() override { setPinger(nullptr); }
    QSet<QString> live;
    QStringList pinged; // every echo sent, in order
    int roundMs = 0;    // how long each sweep call takes, as a round of the parallel sweep does
    int sweeps = 0;     // sweep calls
    PingResult pingAddress(qint32 ttl, qint32 timeoutMs) override;
    QList<PingResult> sweep(const QStringList& addresses, const ProbeRule& rule) override;
};

// A table of names and addresses. Installs itself as the program's lookup for its lifetime.
class FakeLookup : public HostLookup {
public:
    FakeLookup() { setHostLookup(this); }
    ~FakeLookup() override { setHostLookup(nullptr); }
    QHash<QString, QString> names;     // address -> name
    QHash<QString, QString> addresses; // name -> address
    QString localName;
    QString nameOfAddress(const QString& dotted) override { return names.value(dotted); }
    QString addressOfName(const QString& name, int* errorNumber) override;
    QString localHostName(int* errorNumber) override;
};

} // namespace zorva::test
