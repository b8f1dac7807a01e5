#include "platform/Rows.h"
#include "platform/Database.h"

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

bool writeRow(QWidget* parent, const QString& table, const Columns& columns, bool isNew,
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
    }
    return runSqlOrReport(parent, sql, values).has_value();
}

bool deleteRow(QWidget* parent, const QString& table, const QVariant& rowid) {
    return runSqlOrReport(parent, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(table),
                          {rowid})
        .has_value();
}

} // namespace zorva
