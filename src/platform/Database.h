#pragma once
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <optional>

class QWidget;

namespace zorva {

// The database password of the stored file; kept here only, for a server backend.
inline constexpr const char* kDbPassword = "qtz5078";

// Opens (or reuses) the program's connection to appState().gDbPath. A change of gDbPath takes
// effect at the next call. Never creates a file: a missing path, a folder or a file that is
// not a database gives an invalid connection and an error text.
QSqlDatabase database(QString* error = nullptr);
// A separate connection to another file (a backup, a chosen database); close it with
// closeConnection(name).
QSqlDatabase openDatabaseFile(const QString& path, const QString& connectionName,
                              QString* error = nullptr, bool create = false);
void closeConnection(const QString& connectionName);
// Closes every connection the program holds (before a restore, a compaction, the end).
void closeAllConnections();

// Runs one statement with bound values on the program's database. The values bind to the
// '?' placeholders in order. nullopt on failure, with the driver's text in error.
std::optional<QSqlQuery> runSql(const QString& sql, const QVariantList& values = {},
                                QString* error = nullptr);
std::optional<QSqlQuery> runSqlOn(QSqlDatabase db, const QString& sql,
                                  const QVariantList& values = {}, QString* error = nullptr);
// The same for a lookup whose best plan does not depend on its values (by the row key, or by
// equality on an indexed column): on the server it is kept prepared, and later runs skip the
// parsing and planning (a third of a short lookup's time); on the file as runSql.
std::optional<QSqlQuery> runLookup(const QString& sql, const QVariantList& values,
                                   QString* error = nullptr);
// The same, showing a failure in an "Error !!!" message box over parent.
std::optional<QSqlQuery> runSqlOrReport(QWidget* parent, const QString& sql,
                                        const QVariantList& values = {});

// Several writes as one action: commit() makes them stick, otherwise they are rolled back.
class Transaction {
public:
    explicit Transaction(QSqlDatabase db = database());
    ~Transaction();
    bool commit();
    // Undoes the writes now rather than at the end of the scope.
    void rollback();
    // Whether the transaction began (a busy or read-only database may refuse it): writes made
    // without it would each stick at once.
    bool isOpen() const { return open_; }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    QSqlDatabase db_;
    bool open_ = false;
};

// Writes a consistent copy of the open database into target (which must not exist yet),
// even while other connections write: the copy is made inside one read transaction.
bool copyDatabaseTo(QSqlDatabase db, const QString& target, QString* error = nullptr);

// Doubles every apostrophe, for text that must still be placed inside SQL.
QString SqlQuote(const QString& text);

// The text of the last error of a query or connection.
QString sqlErrorText(const QSqlQuery& q);

} // namespace zorva
