#include "monitor/WatchRange.h"
#include "platform/Database.h"

#include <QRegularExpression>
#include <algorithm>

namespace zorva {

namespace {

bool refuse(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

std::optional<int> octet(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    if (!digits.match(text).hasMatch()) return std::nullopt;
    const int v = text.toInt();
    return v <= 255 ? std::optional<int>(v) : std::nullopt;
}

// One part of a typed scope, added to range.
bool parsePart(const QString& part, WatchRange& range, QString* error) {
    const auto bad = [&](const QString& why) {
        return refuse(error, QStringLiteral("\"%1\": %2").arg(part, why));
    };
    if (part.contains(QLatin1Char('/'))) {
        const auto base = addressNumber(part.section(QLatin1Char('/'), 0, 0));
        bool ok = false;
        const int bits = part.section(QLatin1Char('/'), 1).toInt(&ok);
        if (!base) return bad(QStringLiteral("not an IPv4 address before the \"/\""));
        if (!ok || bits < 0 || bits > 32 || part.count(QLatin1Char('/')) > 1)
            return bad(QStringLiteral("the prefix length must be a number from 0 to 32"));
        const quint32 mask = bits == 0 ? 0 : ~quint32(0) << (32 - bits);
        range.add({*base & mask, (*base & mask) | ~mask});
        return true;
    }
    const qsizetype dash = part.indexOf(QLatin1Char('-'));
    if (dash < 0) {
        const auto one = addressNumber(part);
        if (!one) return bad(QStringLiteral("not an IPv4 address"));
        range.add({*one, *one});
        return true;
    }
    const auto from = addressNumber(part.left(dash).trimmed());
    const QString tail = part.mid(dash + 1).trimmed();
    if (!from) return bad(QStringLiteral("not an IPv4 address before the \"-\""));
    std::optional<quint32> to;
    if (const auto last = octet(tail)) to = (*from & 0xffffff00u) | quint32(*last);
    else to = addressNumber(tail);
    if (!to) return bad(QStringLiteral("the end must be an address or a last octet from 0 to 255"));
    if (*to < *from) return bad(QStringLiteral("the range ends before it starts"));
    range.add({*from, *to});
    return true;
}

QVariant one(const QString& sql, const QVariantList& values, QString* error) {
    auto q = runSql(sql, values, error);
    return q && q->next() ? q->value(0) : QVariant();
}

// The parts of the plan's cities named (every city of the area when name is empty).
bool addCities(const QString& area, const QString& name, WatchRange& range, QString* error) {
    QString dbError;
    const QVariant octet1 = one(QStringLiteral("SELECT AssignIP FROM Region WHERE Region = ?"), {area}, &dbError);
    if (!dbError.isEmpty()) return refuse(error, dbError);
    if (octet1.isNull()) return refuse(error, QStringLiteral("the plan has no area \"%1\" with an octet 1").arg(area));
    const bool segmented = one(QStringLiteral("SELECT Segment_ip FROM Region WHERE Region = ?"), {area}, error).toInt() != 0;
    auto q = runSql(QStringLiteral("SELECT IP_octet2, [Offset], StartIPRange, ToIPRange FROM City "
                                   "WHERE Region = ? AND (? = '' OR City_name = ?)"),
                    {area, name.isNull() ? QStringLiteral("") : name, name.isNull() ? QStringLiteral("") : name}, error);
    if (!q) return false;
    const quint32 o1 = quint32(octet1.toInt()) << 24;
    bool any = false;
    while (q->next()) {
        const quint32 base = o1 | quint32(q->value(0).toInt() & 0xff) << 16;
        any = true;
        if (!segmented || q->value(1).isNull()) {
            range.add({base, base | 0xffff});
            continue;
        }
        const quint32 block = base | quint32(q->value(1).toInt() & 0xff) << 8;
        const int from = q->value(2).toInt(), to = q->value(3).toInt();
        if (from != 0 && to != 0 && from <= to && to <= 255)
            range.add({block | quint32(from), block | quint32(to)});
        else
            range.add({block, block | 0xff});
    }
    if (!any)
        return refuse(error, name.isEmpty() ? QStringLiteral("the area \"%1\" has no city in the plan").arg(area)
                                            : QStringLiteral("the area \"%1\" has no city \"%2\"").arg(area, name));
    return true;
}

} // namespace

std::optional<quint32> addressNumber(const QString& dotted) {
    const QStringList parts = dotted.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4) return std::nullopt;
    quint32 v = 0;
    for (const QString& p : parts) {
        const auto o = octet(p);
        if (!o) return std::nullopt;
        v = v << 8 | quint32(*o);
    }
    return v;
}

QString addressText(quint32 n) {
    return QStringLiteral("%1.%2.%3.%4").arg(n >> 24).arg(n >> 16 & 0xff).arg(n >> 8 & 0xff).arg(n & 0xff);
}

quint64 WatchRange::count() const {
    quint64 n = 0;
    for (const AddressSpan& s : spans) n += s.size();
    return n;
}

QStringList WatchRange::addresses() const {
    QStringList out;
    out.reserve(qsizetype(qMin<quint64>(count(), 1u << 24)));
    for (const AddressSpan& s : spans)
        for (quint64 n = s.first; n <= s.last; ++n) out << addressText(quint32(n));
    return out;
}

void WatchRange::add(AddressSpan span) {
    QList<AddressSpan> out;
    for (const AddressSpan& s : spans) {
        const bool apart = quint64(s.last) + 1 < span.first || quint64(span.last) + 1 < s.first;
        if (apart) {
            out << s;
        } else {
            span.first = qMin(span.first, s.first);
            span.last = qMax(span.last, s.last);
        }
    }
    out << span;
    std::sort(out.begin(), out.end(), [](const AddressSpan& a, const AddressSpan& b) { return a.first < b.first; });
    spans = out;
}

std::optional<WatchRange> parseWatchRange(const QString& text, QString* error) {
    WatchRange range;
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.isEmpty() || text.trimmed().isEmpty()) {
        refuse(error, QStringLiteral("no address range given"));
        return std::nullopt;
    }
    for (const QString& part : parts)
        if (!parsePart(part.trimmed(), range, error)) return std::nullopt;
    return range;
}

QString watchKindText(WatchKind kind) {
    switch (kind) {
    case WatchKind::Range: return QStringLiteral("range");
    case WatchKind::Area: return QStringLiteral("area");
    case WatchKind::City: return QStringLiteral("city");
    case WatchKind::Equipment: return QStringLiteral("equipment");
    }
    return {};
}

std::optional<WatchKind> watchKindFrom(const QString& text) {
    for (WatchKind k : {WatchKind::Range, WatchKind::Area, WatchKind::City, WatchKind::Equipment})
        if (text.compare(watchKindText(k), Qt::CaseInsensitive) == 0) return k;
    return std::nullopt;
}

WatchKind watchKindOfText(const QString& text, QString* scope) {
    const QString prefix = text.section(QLatin1Char(':'), 0, 0).trimmed();
    const auto kind = text.contains(QLatin1Char(':')) ? watchKindFrom(prefix) : std::nullopt;
    if (scope) *scope = kind ? text.section(QLatin1Char(':'), 1).trimmed() : text.trimmed();
    return kind.value_or(WatchKind::Range);
}

std::optional<WatchRange> resolveWatch(WatchKind kind, const QString& scope, QString* error) {
    if (kind == WatchKind::Range) return parseWatchRange(scope, error);
    const QStringList parts = scope.split(QLatin1Char('/'));
    const int wanted = kind == WatchKind::Area ? 1 : kind == WatchKind::City ? 2 : 3;
    if (parts.size() != wanted || std::any_of(parts.begin(), parts.end(), [](const QString& p) { return p.trimmed().isEmpty(); })) {
        refuse(error, QStringLiteral("a %1 watch names %2").arg(watchKindText(kind),
                      kind == WatchKind::Area ? QStringLiteral("AREA") : kind == WatchKind::City ? QStringLiteral("AREA/CITY")
                                                                                                 : QStringLiteral("AREA/CITY/EQUIPMENT")));
        return std::nullopt;
    }
    WatchRange cities;
    if (!addCities(parts[0].trimmed(), kind == WatchKind::Area ? QString() : parts[1].trimmed(), cities, error))
        return std::nullopt;
    if (kind != WatchKind::Equipment) return cities;
    auto q = runSql(QStringLiteral("SELECT Octet4_start, Octet4_end FROM Equipment WHERE Eqp_name = ?"),
                    {parts[2].trimmed()}, error);
    if (!q) return std::nullopt;
    if (!q->next()) {
        refuse(error, QStringLiteral("the plan has no equipment \"%1\"").arg(parts[2].trimmed()));
        return std::nullopt;
    }
    const quint32 from = quint32(qBound(0, q->value(0).toInt(), 255));
    const quint32 to = quint32(qBound(0, q->value(1).toInt(), 255));
    WatchRange out;
    for (const AddressSpan& s : cities.spans)
        for (quint64 block = s.first & 0xffffff00u; block <= s.last; block += 256) {
            // Within the city's own part of each /24 only.
            const quint64 a = qMax<quint64>(block | from, s.first), b = qMin<quint64>(block | to, s.last);
            if (a <= b) out.add({quint32(a), quint32(b)});
        }
    if (out.spans.isEmpty()) {
        refuse(error, QStringLiteral("the equipment's range lies outside the city's addresses"));
        return std::nullopt;
    }
    return out;
}

} // namespace zorva
