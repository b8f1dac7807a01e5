#include "support/BadDatabases.h"
#include "platform/Database.h"

#include <QFile>
#include <QSqlQuery>
#include <QtTest>

namespace zorva::test {

namespace {

void runAll(const QString& path, const QStringList& statements) {
    const QString name = QStringLiteral("bad_database_maker");
    {
        QSqlDatabase db = openDatabaseFile(path, name, nullptr, true);
        for (const QString& sql : statements) {
            QSqlQuery q(db);
            if (!q.exec(sql)) qWarning("%s: %s", qPrintable(sql), qPrintable(sqlErrorText(q)));
        }
        db.close();
    }
    closeConnection(name);
}

void cut(const QString& path, qint64 size) {
    QFile f(path);
    if (!f.resize(size)) qWarning("resize failed");
}

} // namespace

void writeBadDatabase(BadDatabase kind, const QString& path, const QString& goodPath) {
    QFile::remove(path);
    switch (kind) {
    case BadDatabase::Truncated:
        QFile::copy(goodPath, path);
        cut(path, QFileInfo(path).size() / 2);
        break;
    case BadDatabase::TruncatedHead:
        QFile::copy(goodPath, path);
        cut(path, 60);
        break;
    case BadDatabase::NotADatabase: {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(QByteArray("PK\x03\x04 a zip archive, not a database ") + QByteArray(4000, 'z'));
        break;
    }
    case BadDatabase::Empty: {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) qWarning("cannot write %s", qPrintable(path));
        break;
    }
    case BadDatabase::OtherProgram:
        runAll(path, {QStringLiteral("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT, title TEXT)"),
                      QStringLiteral("INSERT INTO moz_places (url, title) VALUES ('https://example.org/', 'Example')")});
        break;
    case BadDatabase::LackingColumns:
        QFile::copy(goodPath, path);
        QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        runAll(path, beforeHistory() + QStringList{QStringLiteral("ALTER TABLE City DROP COLUMN StartIPRange"),
                      QStringLiteral("ALTER TABLE City DROP COLUMN ToIPRange"),
                      QStringLiteral("DROP INDEX IP_Info_IP_Address"),
                      // The search's triggers name the column.
                      QStringLiteral("DROP TRIGGER IP_Info_Search_Insert"),
                      QStringLiteral("DROP TRIGGER IP_Info_Search_Delete"),
                      QStringLiteral("DROP TRIGGER IP_Info_Block_Update"),
                      QStringLiteral("ALTER TABLE IP_Info DROP COLUMN IP_Address")});
        break;
    }
}

QString badDatabaseWords(BadDatabase kind) {
    switch (kind) {
    case BadDatabase::Truncated:
    case BadDatabase::TruncatedHead:
    case BadDatabase::NotADatabase: return QStringLiteral("damaged or truncated");
    case BadDatabase::Empty:
    case BadDatabase::OtherProgram: return QStringLiteral("none of the tables of Zorva");
    case BadDatabase::LackingColumns: return QStringLiteral("table IP_Info lacks IP_Address");
    }
    return {};
}

void addBadDatabaseRows() {
    QTest::addColumn<int>("kind");
    QTest::newRow("truncated") << int(BadDatabase::Truncated);
    QTest::newRow("truncated in its header") << int(BadDatabase::TruncatedHead);
    QTest::newRow("not a database") << int(BadDatabase::NotADatabase);
    QTest::newRow("empty file") << int(BadDatabase::Empty);
    QTest::newRow("another program's database") << int(BadDatabase::OtherProgram);
    QTest::newRow("tables lacking columns") << int(BadDatabase::LackingColumns);
}

QStringList beforeHistory() {
    QStringList out;
    for (const char* t : {"IP_History_Added", "IP_History_Changed", "IP_History_Deleted"})
        out << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(QLatin1String(t));
    return out << QStringLiteral("DROP TABLE IF EXISTS IP_History");
}

} // namespace zorva::test
