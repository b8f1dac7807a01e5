#include "platform/DatabaseServer.h"
#include "platform/Ini.h"
#include "platform/Ui.h"

#include <QRegularExpression>

namespace zorva {

std::optional<DatabaseServer>& serverInUse() {
    static std::optional<DatabaseServer> server;
    return server;
}

QString DatabaseServer::description() const {
    QString where = host.isEmpty() ? QStringLiteral("the local server") : host;
    if (port > 0) where += QStringLiteral(":%1").arg(port);
    QString text = QStringLiteral("PostgreSQL database %1 on %2")
                       .arg(name.isEmpty() ? QStringLiteral("(default)") : name, where);
    if (!schema.isEmpty()) text += QStringLiteral(", schema %1").arg(schema);
    return text;
}

std::optional<DatabaseServer> readDatabaseServer(const QString& iniFile, QString* error) {
    const auto key = [&](const char* name) {
        return readIniFile(iniFile, QStringLiteral("Database"), QString::fromLatin1(name)).trimmed();
    };
    const QString driver = key("Driver");
    if (driver.isEmpty() || driver.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    const auto refuse = [error](const QString& why) -> std::optional<DatabaseServer> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (driver.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) != 0)
        return refuse(QStringLiteral("Zorva.ini: the database driver '%1' is not known; "
                                     "write Driver=PostgreSQL for a server, or leave it empty "
                                     "for the database file.").arg(driver));
    DatabaseServer s;
    s.host = key("Host");
    s.name = key("Name");
    s.user = key("User");
    // Enclosed in quotes, a password keeps its leading and trailing blanks.
    s.password = readIniFile(iniFile, QStringLiteral("Database"), QStringLiteral("Password"));
    s.schema = key("Schema");
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!s.schema.isEmpty() && !plainName.match(s.schema).hasMatch())
        return refuse(QStringLiteral("Zorva.ini: the schema name '%1' may hold only letters, "
                                     "digits and '_', and not begin with a digit.").arg(s.schema));
    if (const QString port = key("Port"); !port.isEmpty()) {
        bool ok = false;
        s.port = port.toInt(&ok);
        if (!ok || s.port < 1 || s.port > 65535)
            return refuse(QStringLiteral("Zorva.ini: the database port '%1' is not a port "
                                         "number (1 to 65535).").arg(port));
    }
    return s;
}

bool refusedOnServer(QWidget* parent, const QString& title, const QString& feature,
                     const QString& instead) {
    const auto& server = serverInUse();
    if (!server) return false;
    ui().message(parent, Icon::Information, title,
                 feature + QStringLiteral(" applies to a database file; Zorva uses the ") +
                     server->description() + QStringLiteral(". ") + instead);
    return true;
}

} // namespace zorva
