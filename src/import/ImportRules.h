#pragma once
// The rules of the spreadsheet import that need no file: which IP_Info column a heading
// fills, what an address, a date and a status must look like, and where the address plan puts
// an address.
#include <QDate>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace zorva::importing {

// The IP_Info column a file heading fills ("" for none), ignoring letter case, blanks,
// underscores, full stops, hyphens and slashes, with the usual other names of each column.
// The program's own column names map to themselves (so "State" and "City" are the postal
// address, as the export writes them; the plan's places are StateOwner and CityOwner).
QString columnForHeading(const QString& heading);
// Headings in order to columns; a column claimed by an earlier heading is not proposed again.
QStringList proposeMapping(const QStringList& header);
// "" when a mapping can be imported; else why not.
QString mappingProblem(const QStringList& header, const QStringList& mapping, const QStringList& targets);

// Four decimal octets 0-255, no leading zeros, nothing else (the caller trims the blanks
// around it). The address as one number.
std::optional<quint32> parseAddress(const QString& text);
QString addressText(quint32 address);

// dd/MM/yyyy or yyyy-MM-dd; an invalid date (31/02/2024) is none.
std::optional<QDate> parseIssueDate(const QString& text);
// "Permanent" or "Temporary" as the program spells them, whatever the letter case; "" stays "".
std::optional<QString> statusValue(const QString& text);
// The longest text the record forms take for a column.
int maxLengthOf(const QString& column);

// The plan's place of an address: area by octet 1 (of several, the first by name with a city
// on octet 2), city by octet 2 within the area (in a
// segmented area the city that owns octet 3, else the one owning the whole block), the
// city's state, and the work group whose digit plus the city's offset gives octet 3.
struct Place {
    QString area, state, city, workgroup;
    bool found = false; // both an area and a city fit
};

class PlanIndex {
public:
    // Reads the plan tables once.
    bool load(QSqlDatabase db, QString* error);
    Place placeOf(quint32 address) const;

private:
    struct Area;
    Place placeIn(const Area& area, quint32 address) const;
    struct Area {
        QString name;
        bool segmented = false;
    };
    struct City {
        QString name, stateCode;
        std::optional<int> offset;
    };
    QHash<int, QList<Area>> areas_;             // by octet 1, in name order
    QHash<QString, QList<City>> cities_;        // by lower-case area + "|" + octet 2
    QHash<QString, QString> states_;            // by lower-case area + "|" + lower-case code
    QHash<int, QString> workgroups_;            // by digit, the first by name
};

} // namespace zorva::importing
