#pragma once
#include <QString>

class QWidget;

namespace zorva {

// The reverse lookup as the forms use it: clears gHostNotFound, shows "String passed is an
// invalid IP." for a text that is not an address, and "Host Name not Found." (setting the flag)
// when the address has no name. Returns the name, or empty.
QString hostNameFromAddress(const QString& dotted, QWidget* parent = nullptr);

} // namespace zorva
