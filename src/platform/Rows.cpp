#include "platform/Rows.h"
#include "platform/Database.h"
#include "platform/Ui.h"

namespace zorva {

bool rowExists(QWidget* parent, const QString& sql, const QVariantList& values) {
    return firstRow(parent, sql, values).has_value();
}

std::optional<QSqlRecord> firstRow(QWidget* parent, const QString& sql,
                                   const QVariantList& values) {
    auto q = runSqlOrReport(parent, sql, values);
    if (!q || !q->next()) return std::nullopt;
    return q->record();
}

QStringList columnValues(QWidget* parent, const QString& sql, const QVariantList& values,
                         const QString& column) {
    QStringList out;
    auto q = runSqlOrReport(parent, sql, values);
    if (!q) return out;
    while (q->next()) out << q->value(column).toString();
    return out;
}

void reportChangedMeanwhile(QWidget* parent) {
    ui().message(parent, Icon::Warning, QStringLiteral("Error !!!"),
                 QStringLiteral("This record was changed or deleted by another user meanwhile. "
                                "Nothing was written."));
}

namespace {
// A change or delete by row key that touched no row did nothing the form asked for: say so
// rather than report it as done.
Written keyed(QWidget* parent, const QString& sql, const QVariantList& values) {
    auto q = runSqlOrReport(parent, sql, values);
    if (!q) return Written::Failed;
    if (q->numRowsAffected() > 0) return Written::Done;
    reportChangedMeanwhile(parent);
    return Written::Gone;
}
} // namespace

Written writeRow(QWidget* parent, const QString& table, const Columns& columns, bool isNew,
                 const QVariant& rowid) {
    QStringList names;
    QVariantList values;
    for (const auto& [name, value] : columns) {
        names << QLatin1Char('[') + name + QLatin1Char(']');
        values << value;
    }
    QString sql;
    if (isNew) {
        QStringList marks;
        for (qsizetype i = 0; i < names.size(); ++i) marks << QStringLiteral("?");
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    } else {
        sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                  .arg(table, names.join(QStringLiteral(" = ?, ")));
        values << rowid;
        return keyed(parent, sql, values);
    }
    return runSqlOrReport(parent, sql, values).has_value();
}

Written deleteRow(QWidget* parent, const QString& table, const QVariant& rowid) {
    return keyed(parent, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(table), {rowid});
}

} // namespace zorva
