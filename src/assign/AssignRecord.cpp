#include "assign/AssignRecord.h"
#include "platform/Database.h"

#include <QSqlRecord>

namespace zorva {

namespace {

QVariant optionalText(const QString& text, bool written) {
    return written ? QVariant(text) : QVariant();
}

bool addressRecorded(QSqlDatabase db, const QString& address) {
    auto q = runSqlOn(db, QStringLiteral("SELECT count(*) FROM IP_Info WHERE IP_Address = ?"),
                      {address});
    return q && q->next() && q->value(0).toLongLong() > 0;
}

} // namespace

SaveOutcome saveAssignment(QSqlDatabase db, const AssignRecord& r, QString* error) {
    // No connection: database() has said why in error (the server lost, the file gone); that
    // is the text to keep.
    if (!db.isValid()) {
        if (error && error->isEmpty()) *error = QStringLiteral("The database is not open.");
        return SaveOutcome::Failed;
    }
    const QString sql = QStringLiteral(
        "INSERT INTO IP_Info (IP_Address, IP_4, [Name], [Type], Region, Workgroup, Project, "
        "Remarks, Username, StaffNo, LANID, Status, UnitDivision, Floor, Building, Roadname, "
        "Postcode, State, City, TelNo, FaxNo, StateOwner, CityOwner, DateIssue, InputBy) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const QVariantList values = {
        r.address, r.ip4, r.name, r.type, r.region, r.workgroup, r.project, r.remarks,
        r.userName, r.staffNo, r.lanId, r.status, optionalText(r.unit, !r.unit.isEmpty()),
        r.floor, r.building, r.street, r.postcode, r.state, r.city, r.telNo, r.faxNo,
        optionalText(r.stateOwner, !r.stateOwner.isNull()), r.cityOwner,
        r.dateIssue.toString(Qt::ISODate), r.inputBy};
    QString why;
    if (runSqlOn(db, sql, values, &why)) return SaveOutcome::Saved;
    if (error) *error = why;
    return addressRecorded(db, r.address) ? SaveOutcome::AddressTaken : SaveOutcome::Failed;
}

std::optional<AssignRecord> recordedAssignment(QSqlDatabase db, const QString& address,
                                               QString* error) {
    auto q = runSqlOn(db, QStringLiteral("Select * From IP_Info where IP_Address = ?"), {address},
                      error);
    if (!q || !q->next()) return std::nullopt;
    const QSqlRecord rec = q->record();
    // A column an older file lacks reads as empty.
    auto text = [&](const char* column) {
        const int i = rec.indexOf(QString::fromLatin1(column));
        return i < 0 ? QString() : q->value(i).toString();
    };
    AssignRecord r;
    r.address = text("IP_Address");
    r.ip4 = text("IP_4").toInt();
    r.name = text("Name");
    r.type = text("Type");
    r.region = text("Region");
    r.workgroup = text("Workgroup");
    r.project = text("Project");
    r.remarks = text("Remarks");
    r.userName = text("Username");
    r.staffNo = text("StaffNo");
    r.lanId = text("LANID");
    r.status = text("Status");
    r.unit = text("UnitDivision");
    r.floor = text("Floor");
    r.building = text("Building");
    r.street = text("Roadname");
    r.postcode = text("Postcode");
    r.state = text("State");
    r.city = text("City");
    r.telNo = text("TelNo");
    r.faxNo = text("FaxNo");
    r.stateOwner = text("StateOwner");
    r.cityOwner = text("CityOwner");
    r.inputBy = text("InputBy");
    r.dateIssue = QDate::fromString(text("DateIssue"), Qt::ISODate);
    return r;
}

QString addressWithName(QSqlDatabase db, const QString& hostName, QString* error) {
    auto q = runSqlOn(db, QStringLiteral("Select IP_Address From IP_Info Where Name = ?"),
                      {hostName}, error);
    return q && q->next() ? q->value(0).toString() : QString();
}

} // namespace zorva
