#pragma once
// Helpers shared by the record search and detail tests.
#include "platform/Database.h"
#include "platform/SqlDialect.h"
#include "support/Fixture.h"

#include <QStringList>
#include <QVariantMap>

namespace zorva::test {

// Stores an address record; columns not given stay empty. IP_4 follows the address.
inline void addRecord(AppFixture& app, const QString& address, const QVariantMap& columns = {}) {
    QStringList names{QStringLiteral("IP_Address"), QStringLiteral("IP_4")};
    QVariantList values{address, address.section(QLatin1Char('.'), 3, 3).toInt()};
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        names << QLatin1Char('[') + it.key() + QLatin1Char(']');
        values << it.value();
    }
    QStringList marks;
    for (qsizetype i = 0; i < names.size(); ++i) marks << QStringLiteral("?");
    app.exec(QStringLiteral("INSERT INTO IP_Info (%1) VALUES (%2)")
                 .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
             values);
}

// n records 10.<block>.x.y in one transaction, a third of them "Temporary".
inline void addManyRecords(AppFixture&, int n, int block = 50) {
    Transaction t;
    QSqlQuery q(database());
    q.prepare(sqlFor(database(), QStringLiteral("INSERT INTO IP_Info (IP_Address, IP_4, [Name], "
                                                "Status, Username) VALUES (?, ?, ?, ?, ?)")));
    for (int i = 0; i < n; ++i) {
        q.bindValue(0, QStringLiteral("10.%1.%2.%3")
                           .arg(block + i / 65536)
                           .arg((i / 256) % 256)
                           .arg(i % 256));
        q.bindValue(1, i % 256);
        q.bindValue(2, QStringLiteral("H%1").arg(i));
        q.bindValue(3, i % 3 == 0 ? QStringLiteral("Temporary") : QStringLiteral("Permanent"));
        q.bindValue(4, QStringLiteral("bulk user"));
        if (!q.exec()) qFatal("insert failed: %s", qPrintable(sqlErrorText(q)));
    }
    t.commit();
}

} // namespace zorva::test
