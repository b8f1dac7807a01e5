#include "net/HostLookup.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace zorva {

QString SystemLookup::nameOfAddress(const QString& dotted) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    if (::inet_pton(AF_INET, dotted.toLatin1().constData(), &sa.sin_addr) != 1) return {};
    char host[NI_MAXHOST];
    if (::getnameinfo(reinterpret_cast<sockaddr*>(&sa), sizeof sa, host, sizeof host, nullptr, 0,
                      NI_NAMEREQD) != 0)
        return {};
    return QString::fromLocal8Bit(host);
}

QString SystemLookup::addressOfName(const QString& name, int* errorNumber) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int rc = ::getaddrinfo(name.toLocal8Bit().constData(), nullptr, &hints, &list);
    if (rc != 0 || !list) {
        if (errorNumber) *errorNumber = rc == EAI_SYSTEM ? errno : rc;
        return {};
    }
    char text[INET_ADDRSTRLEN] = {};
    const auto* sa = reinterpret_cast<const sockaddr_in*>(list->ai_addr);
    ::inet_ntop(AF_INET, &sa->sin_addr, text, sizeof text);
    ::freeaddrinfo(list);
    return QString::fromLatin1(text);
}

QString SystemLookup::localHostName(int* errorNumber) {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        if (errorNumber) *errorNumber = errno;
        return {};
    }
    return QString::fromLocal8Bit(name);
}

namespace {
HostLookup* g_lookup = nullptr;
}

HostLookup& hostLookup() {
    static SystemLookup real;
    return g_lookup ? *g_lookup : real;
}

void setHostLookup(HostLookup* replacement) { g_lookup = replacement; }

bool isDottedAddress(const QString& text) {
    in_addr a;
    return ::inet_pton(AF_INET, text.trimmed().toLatin1().constData(), &a) == 1;
}

ReverseLookup reverseLookup(const QString& dotted) {
    if (!isDottedAddress(dotted)) return {ReverseLookup::Outcome::InvalidAddress, {}};
    const QString name = hostLookup().nameOfAddress(dotted.trimmed());
    if (name.isEmpty()) return {ReverseLookup::Outcome::NoName, {}};
    return {ReverseLookup::Outcome::Name, name};
}

AddressLookup addressFromHostName(const QString& name) {
    AddressLookup r;
    auto failure = [](int number) {
        return QStringLiteral("Windows Sockets error ") + QString::number(number) +
               QStringLiteral(" has occurred. Unable to successfully get Host Name.\r\n");
    };
    QString host = name.trimmed();
    int error = 0;
    if (host.isEmpty()) {
        host = hostLookup().localHostName(&error);
        if (host.isEmpty()) {
            r.error = failure(error);
            return r;
        }
    }
    r.address = hostLookup().addressOfName(host, &error);
    if (r.address.isEmpty()) r.error = failure(error);
    return r;
}

QString localOsName() {
    utsname u;
    if (::uname(&u) != 0) return {};
    return QString::fromLocal8Bit(u.sysname) + QLatin1Char(' ') + QString::fromLocal8Bit(u.release);
}

} // namespace zorva
