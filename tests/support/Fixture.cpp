#include "support/Fixture.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/Schema.h"
#include "platform/SchemaServer.h"
#include "support/TestServer.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace zorva::test {

QString defaultIniText() {
    QFile f(QStringLiteral(":/zorva/Zorva.ini"));
    if (f.open(QIODevice::ReadOnly)) return QString::fromUtf8(f.readAll());
    return {};
}

namespace {

// The server schema of each fixture in the *_pg tests: there the database is a schema of its
// own on the test server instead of the file, and Zorva.ini names it.
QHash<const AppFixture*, DatabaseServer>& schemas() {
    static QHash<const AppFixture*, DatabaseServer> map;
    return map;
}

} // namespace

AppFixture::AppFixture() {
    resetAppState();
    closeAllConnections();
    QFile ini(iniPath());
    // No update service: a login in a test must never reach beyond this machine. Tests of the
    // update check name their own server on loopback.
    QString text = defaultIniText();
    text.replace(QRegularExpression(QStringLiteral("(?m)^UpdateURL=.*$")), QStringLiteral("UpdateURL="));
    QString error;
    serverInUse().reset();
    if (onServer()) {
        const auto server = newTestSchema(&error);
        if (!server) qFatal("test server: %s", qPrintable(error));
        schemas().insert(this, *server);
        serverInUse() = server;
        text.replace(QRegularExpression(QStringLiteral("(?m)^\\[Database\\]\r?\n")),
                     QStringLiteral("[Database]\r\n") + serverIniLines(*server));
        if (!createInitialServerDatabase(*server, &error)) qWarning("initial database: %s", qPrintable(error));
    } else if (!createInitialDatabase(dbPath(), &error)) {
        qWarning("initial database: %s", qPrintable(error));
    }
    if (ini.open(QIODevice::WriteOnly)) ini.write(text.toUtf8());
    ini.close();
    AppState& s = appState();
    s.appFolder = folder();
    s.gIniFile = iniPath();
    s.gDbPath = dbPath();
    s.gDbFolder = folder();
}

AppFixture::~AppFixture() {
    closeAllConnections();
    if (schemas().contains(this)) {
        const DatabaseServer own = schemas().take(this);
        if (serverInUse() == own) serverInUse().reset();
        dropTestSchema(own);
    }
    resetAppState();
}

void AppFixture::loginAs(const QString& userID) {
    auto q = runSql(QStringLiteral("SELECT [Name], UserID, [Group], Tadbir FROM UserID WHERE UserID = ?"),
                    {userID});
    if (!q || !q->next()) {
        QTest::qFail(qPrintable(QStringLiteral("no user ") + userID), __FILE__, __LINE__);
        return;
    }
    AppState& s = appState();
    s.gUserName = q->value(0).toString();
    s.gUserID = q->value(1).toString();
    s.gUserGroup = q->value(2).toString();
    s.gUserRegion = q->value(3).toString();
}

void AppFixture::addUser(const QString& userID, const QString& password, const QString& name,
                         const QString& group, const QString& region, const QString& email) {
    exec(QStringLiteral("INSERT INTO UserID (UserID, Password, [Name], Email, [Group], Tadbir) "
                        "VALUES (?, ?, ?, ?, ?, ?)"),
         {userID, password, name, email, group, region});
}

void AppFixture::exec(const QString& sql, const QVariantList& values) {
    QString error;
    if (!runSql(sql, values, &error))
        QTest::qFail(qPrintable(QStringLiteral("SQL failed: ") + sql + QStringLiteral(": ") + error),
                     __FILE__, __LINE__);
}

QVariant AppFixture::scalar(const QString& sql, const QVariantList& values) {
    auto q = runSql(sql, values);
    if (!q || !q->next()) return {};
    return q->value(0);
}

int AppFixture::count(const QString& table, const QString& where, const QVariantList& values) {
    QString sql = QStringLiteral("SELECT count(*) FROM ") + table;
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where;
    return scalar(sql, values).toInt();
}

bool showActive(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

void ZorvaTest::init() {
    ui_.reset();
    app_ = std::make_unique<AppFixture>();
    ui_ = std::make_unique<ScriptedUi>();
    setUp();
}

void ZorvaTest::cleanup() {
    tearDown();
    // Close the forms a test left open before their database goes away.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->close();
    if (ui_) ui_->verify();
    ui_.reset();
    app_.reset();
}

} // namespace zorva::test
