#include "records/rptByLocation.h"
#include "records/ReportCommon.h"

namespace zorva {

using report::Report;

std::optional<std::vector<QStringList>> locationRecords(QWidget* parent, const QString& prefix,
                                                        const QString& equipment) {
    const QString order = QStringLiteral("IP_4 ASC");
    if (equipment == QLatin1String("ALL"))
        return readReportRecords(parent, QStringLiteral("IP_Address LIKE ?"),
                                 {prefix + QLatin1Char('%')}, order);
    return readReportRecords(parent, QStringLiteral("IP_Address LIKE ? AND [Type] = ?"),
                             {prefix + QLatin1Char('%'), equipment}, order);
}

namespace {

// The report as designed, before the column choices.
Report designedLayout() {
    using namespace report;
    Report r = newReport(QStringLiteral("rptByLocation"), QStringLiteral("Zorva report by Location"),
                         104);
    addTitle(r, QStringLiteral("Label3"), QStringLiteral("Zorva : Report by Location"));
    const double left = 0, right = 265;
    addHeaderField(r, QStringLiteral("Area :"), QStringLiteral("lblArea"), {}, left, 32);
    addHeaderField(r, QStringLiteral("State :"), QStringLiteral("lblState"), {}, right, 32);
    addHeaderField(r, QStringLiteral("City :"), QStringLiteral("lblCity"), {}, left, 47);
    addHeaderField(r, QStringLiteral("WorkGroup :"), QStringLiteral("lblWorkGroup"), {}, right, 47);
    addHeaderField(r, QStringLiteral("Segment :"), QStringLiteral("lblSegment"), {}, left, 62);
    addHeaderField(r, QStringLiteral("Equipment :"), QStringLiteral("lblEquipment"), {}, right, 62);
    addHeaderField(r, QStringLiteral("Total Record :"), QStringLiteral("lblTotalRecord"), {}, left,
                   77);
    addColumns(r, {{"Label6", "IP Address", "txtIPAddress", "IP_Address", 0, 80},
                   {"Label7", "Hostname", "txtName", "Name", 80, 110},
                   {"lblLajur4", "User Name", "txtUserName", "Username", 190, 110},
                   {"Label1", "Type", "txtType", "Type", 300, 90},
                   {"Label8", "Unit / Division", "txtBuilding", "UnitDivision", 390, 120}});
    finishLayout(r);
    return r;
}

struct ColumnChoice {
    const char* choice;
    const char* heading;
    const char* field;
};

// Sets a column's heading and field from its combo's text; any other text keeps the design.
void applyChoice(Report& r, const QString& text, const QString& headerName,
                 const QString& detailName, std::initializer_list<ColumnChoice> choices) {
    for (const ColumnChoice& c : choices) {
        if (text != QLatin1String(c.choice)) continue;
        if (report::Element* h = r.element(headerName)) h->text = QString::fromLatin1(c.heading);
        report::bindField(r, detailName, QString::fromLatin1(c.field));
        return;
    }
}

} // namespace

Report rptByLocation(const LocationReportInput& in, std::vector<QStringList> rows) {
    Report r = designedLayout();
    const qsizetype count = qsizetype(rows.size());
    r.rows = std::move(rows);
    r.element(QStringLiteral("Label3"))->text = QStringLiteral("Zorva : ") + in.title;
    r.element(QStringLiteral("lblArea"))->text = in.area;
    r.element(QStringLiteral("lblState"))->text = in.state;
    r.element(QStringLiteral("lblCity"))->text = in.city;
    r.element(QStringLiteral("lblWorkGroup"))->text = in.workGroup;
    r.element(QStringLiteral("lblSegment"))->text = in.segment;
    r.element(QStringLiteral("lblEquipment"))->text = in.equipment;
    r.element(QStringLiteral("lblTotalRecord"))->text = QString::number(count);
    applyChoice(r, in.column2, QStringLiteral("Label7"), QStringLiteral("txtName"),
                {{"Hostname", "Hostname", "Name"}, {"Type/Equipment", "Type", "Type"}});
    applyChoice(r, in.column4, QStringLiteral("Label1"), QStringLiteral("txtType"),
                {{"Type/Equipment", "Type", "Type"},
                 {"Project", "Project", "Project"},
                 {"Staff No.", "Staff No.", "StaffNo"}});
    applyChoice(r, in.column5, QStringLiteral("Label8"), QStringLiteral("txtBuilding"),
                {{"Unit/Division", "Unit/Division", "UnitDivision"},
                 {"Remarks", "Remarks", "Remarks"}});
    return r;
}

} // namespace zorva
