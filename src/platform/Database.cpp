#include "platform/Database.h"
#include "platform/AppState.h"
#include "platform/DatabaseUse.h"
#include "platform/Ui.h"

#include <QFileInfo>
#include <QSqlError>
#include <QThread>
#include <QUrl>

namespace zorva {

namespace {

QString mainConnectionName() {
    return QStringLiteral("zorva_main_%1").arg(quintptr(QThread::currentThreadId()));
}

QString uriFor(const QString& path, bool create) {
    QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    if (!create) uri += QStringLiteral("?mode=rw");
    return uri;
}

bool checkUsable(QSqlDatabase& db, QString* error) {
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) return true;
    if (error) *error = q.lastError().text();
    return false;
}

} // namespace

QSqlDatabase openDatabaseFile(const QString& path, const QString& name, QString* error,
                              bool create) {
    closeConnection(name);
    const QFileInfo fi(path);
    if (!create && !fi.isFile()) {
        if (error)
            *error = fi.isDir() ? QStringLiteral("'%1' is a folder, not a database file.").arg(path)
                                : QStringLiteral("Database file '%1' not found.").arg(path);
        return {};
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // mode=rw never creates a file; several running copies share one file through the busy wait.
    db.setDatabaseName(uriFor(path, create));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        if (error) *error = db.lastError().text();
        db = {};
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    if (!checkUsable(db, error)) {
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    return db;
}

QSqlDatabase database(QString* error) {
    const QString name = mainConnectionName();
    const QString wanted = appState().gDbPath;
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && db.databaseName() == uriFor(wanted, false)) {
            if (markedDatabase().isEmpty()) markDatabaseInUse(wanted);
            return db;
        }
    }
    QSqlDatabase db = openDatabaseFile(wanted, name, error);
    // Other running copies must know that this one uses the file (compaction, restore).
    if (db.isValid()) markDatabaseInUse(wanted);
    return db;
}

void closeConnection(const QString& name) {
    if (!QSqlDatabase::contains(name)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void closeAllConnections() {
    for (const QString& name : QSqlDatabase::connectionNames()) closeConnection(name);
}

std::optional<QSqlQuery> runSqlOn(QSqlDatabase db, const QString& sql, const QVariantList& values,
                                  QString* error) {
    if (!db.isValid() || !db.isOpen()) {
        if (error && error->isEmpty()) *error = QStringLiteral("The database is not open.");
        return std::nullopt;
    }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        if (error) *error = sqlErrorText(q);
        return std::nullopt;
    }
    for (const QVariant& v : values) q.addBindValue(v);
    if (!q.exec()) {
        if (error) *error = sqlErrorText(q);
        return std::nullopt;
    }
    return q;
}

std::optional<QSqlQuery> runSql(const QString& sql, const QVariantList& values, QString* error) {
    QString openError;
    QSqlDatabase db = database(&openError);
    if (!db.isValid()) {
        if (error) *error = openError;
        return std::nullopt;
    }
    return runSqlOn(db, sql, values, error);
}

std::optional<QSqlQuery> runSqlOrReport(QWidget* parent, const QString& sql,
                                        const QVariantList& values) {
    QString error;
    auto q = runSql(sql, values, &error);
    if (!q) ui().message(parent, Icon::Critical, QStringLiteral("Error !!!"), error);
    return q;
}

Transaction::Transaction(QSqlDatabase db) : db_(db) {
    open_ = db_.isValid() && db_.transaction();
}

Transaction::~Transaction() {
    if (open_) db_.rollback();
}

bool Transaction::commit() {
    if (!open_) return false;
    open_ = false;
    return db_.commit();
}

bool copyDatabaseTo(QSqlDatabase db, const QString& target, QString* error) {
    if (QFileInfo::exists(target)) {
        if (error) *error = QStringLiteral("'%1' exists already.").arg(target);
        return false;
    }
    return runSqlOn(db, QStringLiteral("VACUUM INTO ?"), {target}, error).has_value();
}

QString SqlQuote(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString sqlErrorText(const QSqlQuery& q) {
    const QSqlError e = q.lastError();
    QString t = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return t.isEmpty() ? QStringLiteral("Unknown database error.") : t;
}

} // namespace zorva
