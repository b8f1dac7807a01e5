#pragma once
#include <QString>

class QWidget;

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

// The reverse lookup as the forms use it: clears gHostNotFound, shows "String passed is an
// invalid IP." for a text that is not an address, and "Host Name not Found." (setting the flag)
// when the address has no name.
QString hostNameFromAddress(const QString& dotted, QWidget* parent = nullptr);

// The forward lookup; an empty name means this machine.
AddressLookup addressFromHostName(const QString& name);

// The name of the local operating system (from uname).
QString localOsName();

} // namespace zorva
