#include "import/ImportRules.h"
#include "platform/Database.h"

#include <QRegularExpression>
#include <QSet>

namespace zorva::importing {

namespace {

QString squeezed(const QString& heading) {
    QString out;
    for (const QChar c : heading)
        if (!c.isSpace() && c != QLatin1Char('_') && c != QLatin1Char('.') && c != QLatin1Char('-') &&
            c != QLatin1Char('/'))
            out += c.toLower();
    return out;
}

// Other names of the columns, squeezed as above.
const QHash<QString, QString>& otherNames() {
    static const QHash<QString, QString> names = [] {
        const QList<std::pair<const char*, QStringList>> table = {
            {"IP_Address", {"ip", "ipaddress", "address", "ipv4", "ipv4address"}},
            {"Name", {"hostname", "host", "computername", "computer", "name"}},
            {"Username", {"user", "owner", "username"}},
            {"StaffNo", {"staffno", "staffnumber", "employeeno", "employeenumber"}},
            {"LANID", {"lanid"}},
            {"Type", {"type", "devicetype"}},
            {"Region", {"area", "region"}},
            {"StateOwner", {"stateowner", "ownerstate", "planstate"}},
            {"CityOwner", {"cityowner", "ownercity", "plancity"}},
            {"Workgroup", {"workgroup"}},
            {"UnitDivision", {"unit", "division", "unitdivision"}},
            {"TelNo", {"tel", "telno", "phone", "telephone"}},
            {"FaxNo", {"fax", "faxno"}},
            {"DateIssue", {"date", "dateissue", "dateissued", "issuedate"}},
            {"Remarks", {"remarks", "notes", "note", "comment", "comments"}},
            {"InputBy", {"inputby", "enteredby"}},
        };
        QHash<QString, QString> out;
        for (const auto& [column, aliases] : table)
            for (const QString& a : aliases) out.insert(a, QString::fromLatin1(column));
        return out;
    }();
    return names;
}

const QStringList kInfoColumns = {
    QStringLiteral("IP_Address"), QStringLiteral("Name"),       QStringLiteral("Type"),
    QStringLiteral("Region"),     QStringLiteral("StateOwner"), QStringLiteral("CityOwner"),
    QStringLiteral("Workgroup"),  QStringLiteral("Status"),     QStringLiteral("Project"),
    QStringLiteral("Remarks"),    QStringLiteral("Username"),   QStringLiteral("StaffNo"),
    QStringLiteral("LANID"),      QStringLiteral("UnitDivision"), QStringLiteral("Floor"),
    QStringLiteral("Building"),   QStringLiteral("Roadname"),   QStringLiteral("Postcode"),
    QStringLiteral("City"),       QStringLiteral("State"),      QStringLiteral("TelNo"),
    QStringLiteral("FaxNo"),      QStringLiteral("DateIssue"),  QStringLiteral("InputBy")};

} // namespace

QString columnForHeading(const QString& heading) {
    const QString key = squeezed(heading);
    for (const QString& c : kInfoColumns)
        if (squeezed(c) == key) return c;
    return otherNames().value(key);
}

QStringList proposeMapping(const QStringList& header) {
    QStringList out;
    QSet<QString> taken;
    for (const QString& h : header) {
        const QString c = columnForHeading(h);
        out << (taken.contains(c) ? QString() : c);
        if (!c.isEmpty()) taken.insert(c);
    }
    return out;
}

QString mappingProblem(const QStringList& header, const QStringList& mapping, const QStringList& targets) {
    if (mapping.size() != header.size()) return QStringLiteral("Each column of the file needs its place in the mapping.");
    QHash<QString, QString> filledBy;
    for (qsizetype i = 0; i < mapping.size(); ++i) {
        const QString& c = mapping.at(i);
        if (c.isEmpty()) continue;
        if (!targets.contains(c)) return QStringLiteral("\"%1\" is no column the import can fill.").arg(c);
        if (filledBy.contains(c))
            return QStringLiteral("%1 is filled by two columns of the file: \"%2\" and \"%3\".")
                .arg(c, filledBy.value(c), header.at(i));
        filledBy.insert(c, header.at(i));
    }
    if (!filledBy.contains(QStringLiteral("IP_Address")))
        return QStringLiteral("No column of the file gives the IP_Address.");
    return {};
}

std::optional<quint32> parseAddress(const QString& text) {
    static const QRegularExpression form(QStringLiteral(R"(^(0|[1-9]\d{0,2})\.(0|[1-9]\d{0,2})\.(0|[1-9]\d{0,2})\.(0|[1-9]\d{0,2})$)"));
    const auto m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    quint32 out = 0;
    for (int i = 1; i <= 4; ++i) {
        const uint octet = m.capturedView(i).toUInt();
        if (octet > 255) return std::nullopt;
        out = out << 8 | octet;
    }
    return out;
}

QString addressText(quint32 a) {
    return QStringLiteral("%1.%2.%3.%4").arg(a >> 24).arg(a >> 16 & 255).arg(a >> 8 & 255).arg(a & 255);
}

std::optional<QDate> parseIssueDate(const QString& text) {
    static const QRegularExpression dmy(QStringLiteral(R"(^\d\d/\d\d/\d{4}$)"));
    static const QRegularExpression iso(QStringLiteral(R"(^\d{4}-\d\d-\d\d$)"));
    QDate d;
    if (dmy.match(text).hasMatch()) d = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
    else if (iso.match(text).hasMatch()) d = QDate::fromString(text, Qt::ISODate);
    if (!d.isValid()) return std::nullopt;
    return d;
}

std::optional<QString> statusValue(const QString& text) {
    for (const QString& s : {QString(), QStringLiteral("Permanent"), QStringLiteral("Temporary")})
        if (s.compare(text, Qt::CaseInsensitive) == 0) return s.isNull() ? QString(QLatin1String("")) : s;
    return std::nullopt;
}

int maxLengthOf(const QString& column) {
    // The boxes of the assignment and record forms; Status by the table's own check. The
    // other boxes set no limit: 255 keeps a stray cell (a pasted page) out of the inventory.
    static const QHash<QString, int> limits = {{QStringLiteral("Project"), 50},
                                               {QStringLiteral("Remarks"), 150},
                                               {QStringLiteral("Username"), 50},
                                               {QStringLiteral("Status"), 10}};
    return limits.value(column, 255);
}

bool PlanIndex::load(QSqlDatabase db, QString* error) {
    *this = PlanIndex();
    auto areas = runSqlOn(db, QStringLiteral("SELECT Region, AssignIP, Segment_ip FROM Region ORDER BY Region"), {}, error);
    if (!areas) return false;
    while (areas->next()) {
        if (areas->value(1).isNull()) continue;
        const int octet1 = areas->value(1).toInt();
        areas_[octet1].append({areas->value(0).toString(), areas->value(2).toInt() != 0});
    }
    auto states = runSqlOn(db, QStringLiteral("SELECT State_name, Abbr_state, Region FROM State ORDER BY State_name"), {}, error);
    if (!states) return false;
    while (states->next()) {
        const QString key = states->value(2).toString().toLower() + QLatin1Char('|') + states->value(1).toString().toLower();
        if (!states_.contains(key)) states_.insert(key, states->value(0).toString());
    }
    auto cities = runSqlOn(db, QStringLiteral("SELECT City_name, IP_octet2, [Offset], Abbr_state, Region FROM City "
                                              "ORDER BY City_name"), {}, error);
    if (!cities) return false;
    while (cities->next()) {
        City c{cities->value(0).toString(), cities->value(3).toString(), std::nullopt};
        if (!cities->value(2).isNull()) c.offset = cities->value(2).toInt();
        cities_[cities->value(4).toString().toLower() + QLatin1Char('|') + QString::number(cities->value(1).toInt())] << c;
    }
    auto groups = runSqlOn(db, QStringLiteral("SELECT Workgroup_name, Octet_3 FROM Workgroup ORDER BY Workgroup_name"), {}, error);
    if (!groups) return false;
    while (groups->next())
        if (!workgroups_.contains(groups->value(1).toInt()))
            workgroups_.insert(groups->value(1).toInt(), groups->value(0).toString());
    return true;
}

Place PlanIndex::placeOf(quint32 address) const {
    const QList<Area> areas = areas_.value(int(address >> 24));
    for (const Area& a : areas)
        if (const Place p = placeIn(a, address); p.found) return p;
    Place p;
    if (!areas.isEmpty()) p.area = areas.first().name;
    return p;
}

Place PlanIndex::placeIn(const Area& area, quint32 address) const {
    Place p;
    p.area = area.name;
    const int octet3 = int(address >> 8 & 255);
    const QList<City> cities = cities_.value(p.area.toLower() + QLatin1Char('|') + QString::number(address >> 16 & 255));
    const City* city = nullptr;
    if (area.segmented) {
        // The city that owns this octet 3, else one that owns the whole block.
        for (const City& c : cities)
            if (c.offset && *c.offset == octet3) city = &c;
        for (const City& c : cities)
            if (!city && (!c.offset || *c.offset == 0)) city = &c;
    } else if (!cities.isEmpty()) {
        city = &cities.first();
    }
    if (!city) return p;
    p.found = true;
    p.city = city->name;
    if (area.segmented) {
        p.workgroup = QStringLiteral("Segment");
        return p;
    }
    p.state = states_.value(p.area.toLower() + QLatin1Char('|') + city->stateCode.toLower());
    const int offset = city->offset.value_or(0);
    if (offset != 0) p.workgroup = workgroups_.value(octet3 - offset);
    return p;
}

} // namespace zorva::importing
