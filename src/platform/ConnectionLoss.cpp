#include "platform/ConnectionLoss.h"
#include "platform/SqlDialect.h"

#include <QSet>
#include <QSqlQuery>

namespace zorva {

namespace {

// A connection lives in one thread, so each thread keeps its own marks.
QSet<QString>& marked() {
    thread_local QSet<QString> names;
    return names;
}

} // namespace

bool isConnectionLoss(const QSqlError& e) {
    if (e.type() == QSqlError::ConnectionError) return true;
    const QString code = e.nativeErrorCode();
    // 08: connection exception; 57P01..57P03: the server shuts down or cannot take it now.
    if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P"))) return true;
    if (!code.isEmpty()) return false; // the server answered with an error of its own
    // libpq's texts for a connection it found broken (no code: the server said nothing).
    const QString t = e.databaseText() + QLatin1Char(' ') + e.driverText();
    for (const char* words : {"server closed the connection", "no connection to the server",
                              "could not send data to server", "could not receive data from server",
                              "connection not open", "terminating connection", "lost synchronization",
                              "connection to server", "SSL SYSCALL error"})
        if (t.contains(QLatin1String(words), Qt::CaseInsensitive)) return true;
    return false;
}

void noteFailedStatement(const QSqlDatabase& db, const QSqlError& e) {
    // The driver closes a connection it found broken at times, with no error of the statement.
    if (isServer(db) && (isConnectionLoss(e) || !db.isOpen())) marked().insert(db.connectionName());
}

bool connectionIsLost(const QString& name) {
    if (!marked().remove(name)) return false;
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (!db.isOpen()) return true;
    // A mark may come from a connection that has survived (a statement cancelled by the
    // server): one round trip, only after such a failure, tells.
    QSqlQuery probe(db);
    if (probe.exec(QStringLiteral("SELECT 1"))) return false;
    return isConnectionLoss(probe.lastError());
}

QString lostConnectionText(const QString& driverText) {
    return QStringLiteral("The connection to the database server was lost (the server stopped "
                          "or does not answer). Try again when the server is back.\n\n%1")
        .arg(driverText.trimmed());
}

QString serverDoesNotAnswerText(const QString& driverText) {
    return QStringLiteral("The connection to the database server was lost and the server does "
                          "not answer. Try again when the server is back.\n\n%1")
        .arg(driverText.trimmed());
}

} // namespace zorva
