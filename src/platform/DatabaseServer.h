#pragma once
#include <QSqlDatabase>
#include <QString>
#include <optional>

class QWidget;

namespace zorva {

// A PostgreSQL server that holds the inventory instead of the file, as named by the [Database]
// keys of Zorva.ini: Driver=PostgreSQL, Host, Port, Name, User, Password and Schema. Empty
// values leave the choice to libpq (PGHOST, PGPORT, PGUSER, PGPASSWORD, ~/.pgpass, the local
// socket); an empty Schema means the user's default search path.
struct DatabaseServer {
    QString host;
    int port = -1;
    QString name;
    QString user;
    QString password;
    QString schema;

    bool operator==(const DatabaseServer&) const = default;
    // "PostgreSQL database zorva on db.example.org:5432", for messages.
    QString description() const;
};

// The server that holds the inventory instead of the file at appState().gDbPath, when
// Zorva.ini names one: database() (Database.h) then connects to it, and every statement of
// runSql/runSqlOn is read through serverSql() (SqlDialect.h). Set at start-up.
std::optional<DatabaseServer>& serverInUse();

// A separate connection to a server (the migration, the tests' own administration); close it
// with closeConnection(name).
QSqlDatabase openDatabaseServer(const DatabaseServer& server, const QString& connectionName,
                                QString* error = nullptr);

// The server named in the settings file; nullopt for the file database (no Driver key, or
// Driver=SQLite). An unknown driver or a bad port is said in error (and nullopt returned).
std::optional<DatabaseServer> readDatabaseServer(const QString& iniFile, QString* error = nullptr);

// For a feature that applies to the database file only: on a server, says so in a message box
// titled `title` over parent (what the feature is, what the server does instead) and returns
// true; on the file returns false and shows nothing.
bool refusedOnServer(QWidget* parent, const QString& title, const QString& feature,
                     const QString& instead);

} // namespace zorva
