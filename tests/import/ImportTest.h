#pragma once
// What the import tests share: files written into the fixture's folder, an import run to its
// outcomes, and the inventory read back as the export writes it.
#include "import/RecordImport.h"
#include "platform/Database.h"
#include "support/Fixture.h"

#include <QFile>
#include <QtTest>

namespace zorva::test {

inline QString writeFile(AppFixture& app, const QString& name, const QByteArray& bytes) {
    const QString path = app.path(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        QTest::qFail("cannot write the test file", __FILE__, __LINE__);
    return path;
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Opens and checks a file; the import with its outcomes, or a failed test.
inline std::unique_ptr<RecordImport> checked(const QString& path, const ImportOptions& options = {}) {
    auto import = std::make_unique<RecordImport>();
    QString error;
    if (!import->open(path, &error) || !import->check(options, {}, &error))
        QTest::qFail(qPrintable(QStringLiteral("import refused: ") + error), __FILE__, __LINE__);
    return import;
}

// The inventory as the export writes it (every column, address order).
inline QByteArray exported(AppFixture& app) {
    const QString path = app.path(QStringLiteral("all.csv"));
    QString error;
    if (!exportAllRecords(path, {}, &error)) QTest::qFail(qPrintable(error), __FILE__, __LINE__);
    return readFile(path);
}

inline qint64 historyEntries() {
    auto q = runSql(QStringLiteral("SELECT count(*) FROM IP_History"));
    return q && q->next() ? q->value(0).toLongLong() : -1;
}

} // namespace zorva::test

Q_DECLARE_METATYPE(zorva::ExistingRecords)
Q_DECLARE_METATYPE(zorva::RowOutcome)
