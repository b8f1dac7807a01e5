#include "import/ImportCommand.h"
#include "import/RecordImport.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseServer.h"
#include "platform/Ini.h"
#include "platform/Schema.h"

#include <QDir>
#include <QFileInfo>

namespace zorva {

namespace {

int failed(FILE* err, const QString& why) {
    std::fprintf(err, "zorva-initdb: %s\n", qPrintable(why));
    return 1;
}

} // namespace

bool useDatabaseOfIni(const QString& iniFile, QString* error) {
    const QFileInfo ini(iniFile);
    if (!ini.isFile()) {
        if (error) *error = iniFile + QStringLiteral(" not found");
        return false;
    }
    AppState& s = appState();
    s.gIniFile = ini.absoluteFilePath();
    s.appFolder = ini.absolutePath();
    // Whoever runs the command is the one the history names.
    s.gUserID.clear();
    s.gUserName = qEnvironmentVariable("USER", QStringLiteral("zorva-initdb"));
    QString why;
    serverInUse() = readDatabaseServer(s.gIniFile, &why);
    if (!why.isEmpty()) {
        if (error) *error = why;
        return false;
    }
    if (!serverInUse()) {
        const QString location = readIniFile(s.gIniFile, QStringLiteral("Database"), QStringLiteral("DatabaseLocation")).trimmed();
        const QDir folder(location.isEmpty() ? s.appFolder : QDir(s.appFolder).absoluteFilePath(location));
        s.gDbPath = folder.absoluteFilePath(QStringLiteral("Zorvadb.mdb"));
        s.gDbFolder = folder.absolutePath();
        if (!QFileInfo(s.gDbPath).isFile()) {
            if (error) *error = s.gDbPath + QStringLiteral(" not found");
            return false;
        }
    }
    QSqlDatabase db = database(&why);
    if (db.isValid()) why = databaseProblem(db, false);
    if (!why.isEmpty()) {
        if (error) *error = why;
        return false;
    }
    return true;
}

int runImportCommand(const QStringList& given, const QString& iniFile, FILE* out, FILE* err) {
    QStringList args = given;
    const QString command = args.value(0);
    if (command != QLatin1String("--import") && command != QLatin1String("--export")) return -1;
    if (args.size() < 2 || args.at(1).startsWith(QLatin1String("--"))) return 2;
    const QString file = args.at(1);
    args.remove(0, 2);
    ImportOptions options;
    bool dryRun = false;
    for (const QString& a : args) {
        if (command == QLatin1String("--export")) return 2;
        if (a == QLatin1String("--dry-run")) dryRun = true;
        else if (a == QLatin1String("--update") && options.existing == ExistingRecords::Stop) options.existing = ExistingRecords::Update;
        else if (a == QLatin1String("--skip") && options.existing == ExistingRecords::Stop) options.existing = ExistingRecords::Skip;
        else if (a == QLatin1String("--strict-place")) options.strictPlace = true;
        else return 2;
    }
    QString error;
    if (!useDatabaseOfIni(iniFile, &error)) return failed(err, error);
    if (command == QLatin1String("--export")) {
        if (!exportAllRecords(file, {}, &error)) return failed(err, error);
        auto q = runSql(QStringLiteral("SELECT count(*) FROM IP_Info"));
        std::fprintf(out, "zorva-initdb: exported %lld records to %s\n",
                     q && q->next() ? q->value(0).toLongLong() : 0LL, qPrintable(file));
        return 0;
    }
    RecordImport import;
    if (!import.open(file, &error)) return failed(err, error);
    if (const QString problem = import.mappingProblem(); !problem.isEmpty()) return failed(err, problem);
    if (!import.unmappedColumns().isEmpty())
        std::fprintf(err, "zorva-initdb: columns not imported: %s\n", qPrintable(import.unmappedColumns().join(QStringLiteral(", "))));
    if (!import.check(options, {}, &error)) return failed(err, error);
    for (qint64 i = 0; i < import.rowCount(); ++i) {
        const ImportRow r = import.row(i);
        if (r.outcome == RowOutcome::Refused || r.warning)
            std::fprintf(err, "line %lld: %s%s\n", static_cast<long long>(r.line), r.warning ? "warning: " : "",
                         qPrintable(r.detail));
    }
    if (!dryRun && !import.write(options, {}, &error)) return failed(err, error);
    const ImportCounts c = import.counts();
    std::fprintf(out, "zorva-initdb: %s%s: rows %lld, added %lld, updated %lld, unchanged %lld, skipped %lld, "
                      "refused %lld, warnings %lld\n",
                 dryRun ? "checked " : "imported ", qPrintable(file), static_cast<long long>(c.rows),
                 static_cast<long long>(c.added), static_cast<long long>(c.updated), static_cast<long long>(c.unchanged),
                 static_cast<long long>(c.skipped), static_cast<long long>(c.refused), static_cast<long long>(c.warnings));
    return c.refused > 0 ? 3 : 0;
}

} // namespace zorva
