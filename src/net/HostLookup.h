#pragma once
#include <QString>

namespace zorva {

// A forward lookup: the first IPv4 address as dotted text, or an error text.
struct AddressLookup {
    QString address; // empty on failure
    QString error;   // empty on success
};

// Asks the system for names and addresses. The program uses SystemLookup; form tests install a
// table of names with setHostLookup().
class HostLookup {
public:
    virtual ~HostLookup() = default;
    // Reverse lookup of a valid dotted address; empty when the address has no name.
    virtual QString nameOfAddress(const QString& dotted) = 0;
    // Forward lookup of a name; the first IPv4 address, empty with *errorNumber set when none.
    virtual QString addressOfName(const QString& name, int* errorNumber) = 0;
    // This machine's host name; empty with *errorNumber set on failure.
    virtual QString localHostName(int* errorNumber) = 0;
};

class SystemLookup : public HostLookup {
public:
    QString nameOfAddress(const QString& dotted) override;
    QString addressOfName(const QString& name, int* errorNumber) override;
    QString localHostName(int* errorNumber) override;
};

HostLookup& hostLookup();
void setHostLookup(HostLookup* replacement); // nullptr restores the real one

// Whether the text is a dotted IPv4 address the lookups accept.
bool isDottedAddress(const QString& text);

// What a reverse lookup found: a name, a text that is not an address, or an address without a
// name. The forms tell the user (records/HostName.h); this layer shows nothing.
struct ReverseLookup {
    enum class Outcome { Name, InvalidAddress, NoName };
    Outcome outcome = Outcome::NoName;
    QString name; // with Outcome::Name
};
ReverseLookup reverseLookup(const QString& dotted);

// The forward lookup; an empty name means this machine.
AddressLookup addressFromHostName(const QString& name);

// The name of the local operating system (from uname).
QString localOsName();

} // namespace zorva
