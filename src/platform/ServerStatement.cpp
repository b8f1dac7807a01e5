#include "platform/ServerStatement.h"
#include "platform/SqlDialect.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlField>
#include <QStringList>

namespace zorva {

bool isNullValue(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return true;
    switch (v.metaType().id()) {
    case QMetaType::QString: return v.toString().isNull();
    case QMetaType::QByteArray: return v.toByteArray().isNull();
    case QMetaType::QDate: return v.toDate().isNull();
    case QMetaType::QTime: return v.toTime().isNull();
    case QMetaType::QDateTime: return v.toDateTime().isNull();
    default: return false;
    }
}

namespace {

QString literalOf(const QSqlDriver* driver, const QVariant& v) {
    if (isNullValue(v)) return QStringLiteral("NULL");
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("'true'") : QStringLiteral("'false'");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        // Quoted, so the server takes its type from where it stands, as a parameter's.
        return QLatin1Char('\'') + v.toString() + QLatin1Char('\'');
    default: {
        QSqlField field(QString(), v.metaType());
        field.setValue(v);
        return driver->formatValue(field);
    }
    }
}

} // namespace

std::optional<QString> statementWithValues(const QSqlDriver* driver, const QString& sql,
                                           const QVariantList& values) {
    QString out;
    out.reserve(sql.size() + values.size() * 12);
    qsizetype next = 0;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        if (const qsizetype end = quotedEnd(sql, i); end != i) {
            out += QStringView(sql).mid(i, end + 1 - i); // a '?' in there is text
            i = end;
        } else if (c == QLatin1Char('?')) {
            if (next >= values.size()) return std::nullopt;
            out += literalOf(driver, values.at(next++));
        } else {
            out += c;
        }
    }
    if (next != values.size()) return std::nullopt;
    return out;
}

QString statementWithParameters(const QString& sql, int* count) {
    QString out;
    out.reserve(sql.size() + 16);
    int n = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        if (const qsizetype end = quotedEnd(sql, i); end != i) {
            out += QStringView(sql).mid(i, end + 1 - i);
            i = end;
        } else if (sql.at(i) == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++n);
        } else {
            out += sql.at(i);
        }
    }
    if (count) *count = n;
    return out;
}

QString executeWithValues(const QSqlDriver* driver, const QString& name, const QVariantList& values) {
    if (values.isEmpty()) return QStringLiteral("EXECUTE ") + name;
    QStringList literals;
    for (const QVariant& v : values) literals << literalOf(driver, v);
    return QStringLiteral("EXECUTE %1(%2)").arg(name, literals.join(QStringLiteral(", ")));
}

} // namespace zorva
