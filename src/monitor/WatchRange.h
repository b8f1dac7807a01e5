#pragma once
// What a watch of the monitor covers: typed ranges ("10.1.2.0/24", "10.1.2.10-200",
// "10.1.2.10-10.1.3.20", one address, several of them separated by commas) or a part of the
// address plan (an area, a city, an equipment range within a city).
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zorva {

// An address as a number, first octet highest (so that numbers sort as addresses do).
std::optional<quint32> addressNumber(const QString& dotted);
QString addressText(quint32 number);

// First and last address of one run, both included.
struct AddressSpan {
    quint32 first = 0;
    quint32 last = 0;
    quint64 size() const { return quint64(last) - first + 1; }
    bool operator==(const AddressSpan&) const = default;
};

// Ranges larger than this many addresses (a /16) are swept only when confirmed.
inline constexpr quint64 kConfirmAbove = 65536;

struct WatchRange {
    QList<AddressSpan> spans; // in address order, neither overlapping nor touching
    quint64 count() const;
    bool needsConfirmation() const { return count() > kConfirmAbove; }
    QStringList addresses() const;
    // Adds a span, merging it with those it overlaps or touches.
    void add(AddressSpan span);
};

// Parses typed ranges; nullopt with a message naming the bad part.
std::optional<WatchRange> parseWatchRange(const QString& text, QString* error = nullptr);

enum class WatchKind { Range, Area, City, Equipment };
QString watchKindText(WatchKind kind); // "range", "area", "city", "equipment"
std::optional<WatchKind> watchKindFrom(const QString& text);

// A watch's addresses. Plan kinds are read from the plan tables of the program's database:
//   area       "AREA": each of the area's cities, a /16 (octet 1 of the area, octet 2 of the
//              city); in a segmented area a city owns only its octet 3 (a /24), or within it its
//              own octet-4 range when it has one
//   city       "AREA/CITY": that city's part as above (all cities of that name in the area)
//   equipment  "AREA/CITY/EQUIPMENT": the equipment's octet-4 range in each /24 of the city
std::optional<WatchRange> resolveWatch(WatchKind kind, const QString& scope, QString* error = nullptr);

// A typed scope's kind: a text that starts with "area:", "city:" or "equipment:" names the
// plan; anything else is typed ranges. The scope without its prefix goes into *scope.
WatchKind watchKindOfText(const QString& text, QString* scope);

} // namespace zorva
