#include "records/rptByDate.h"
#include "platform/Database.h"
#include "records/ReportCommon.h"

namespace zorva {

using report::Report;

QString dateRangeCondition() { return QStringLiteral("DateIssue >= ? AND DateIssue < ?"); }

QVariantList dateRangeValues(const QDate& start, const QDate& end) {
    // The day after the end: a value "2024-05-31 10:00" still belongs to the 31st.
    return {start.toString(Qt::ISODate), end.addDays(1).toString(Qt::ISODate)};
}

std::optional<qint64> countDateRecords(QWidget* parent, const QDate& start, const QDate& end) {
    auto q = runSqlOrReport(parent,
                            QStringLiteral("SELECT COUNT(*) FROM IP_Info WHERE ") +
                                dateRangeCondition(),
                            dateRangeValues(start, end));
    if (!q || !q->next()) return std::nullopt;
    return q->value(0).toLongLong();
}

std::optional<std::vector<QStringList>> dateRecords(QWidget* parent, const QDate& start,
                                                    const QDate& end) {
    // Only what the report shows: a long range reads many rows.
    return readReportRecords(parent, dateRangeCondition(), dateRangeValues(start, end),
                             QStringLiteral("DateIssue"),
                             {QStringLiteral("IP_Address"), QStringLiteral("Name"),
                              QStringLiteral("Username"), QStringLiteral("UnitDivision")});
}

Report rptByDate(const QString& startText, const QString& endText,
                 std::vector<QStringList> rows) {
    using namespace report;
    Report r = newReport(QStringLiteral("rptByDate"), QStringLiteral("Zorva : Report by Date"), 74);
    addTitle(r, QStringLiteral("lblTitle"), r.caption);
    addHeaderField(r, QStringLiteral("From Date :"), QStringLiteral("lblStartDate"), startText, 0,
                   32, 100);
    addHeaderField(r, QStringLiteral("To Date :"), QStringLiteral("lblEndDate"), endText, 265, 32);
    addHeaderField(r, QStringLiteral("Total Assignment :"), QStringLiteral("lblTotalAssignment"),
                   formatCount(qint64(rows.size())), 0, 47, 100);
    addColumns(r, {{"Label6", "IP Address", "txtIPAddress", "IP_Address", 0, 90},
                   {"Label7", "Hostname", "txtName", "Name", 90, 140},
                   {"lblLajur4", "User Name", "txtUserName", "Username", 230, 130},
                   {"Label8", "Unit / Division", "txtBuilding", "UnitDivision", 360, 150}});
    finishLayout(r);
    r.rows = std::move(rows);
    return r;
}

} // namespace zorva
