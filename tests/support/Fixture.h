#pragma once
#include "support/ScriptedUi.h"

#include <QObject>
#include <QTemporaryDir>
#include <memory>

class QWidget;

namespace zorva::test {

// A temporary application folder with Zorva.ini and a fresh initial database, installed as
// the program's folder, settings file and database. Nothing outside it is touched.
class AppFixture {
public:
    AppFixture();
    ~AppFixture();

    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString dbPath() const { return path(QStringLiteral("Zorvadb.mdb")); }
    QString iniPath() const { return path(QStringLiteral("Zorva.ini")); }

    // Sets the session as a successful login of that user would.
    void loginAs(const QString& userID = QStringLiteral("ADMIN"));
    // Adds a user row (identifier at most 6 characters).
    void addUser(const QString& userID, const QString& password, const QString& name,
                 const QString& group, const QString& region = {}, const QString& email = {});
    // Runs a statement on the program's database; fails the test when it fails.
    void exec(const QString& sql, const QVariantList& values = {});
    // First column of the first row of a query, or an invalid QVariant.
    QVariant scalar(const QString& sql, const QVariantList& values = {});
    int count(const QString& table, const QString& where = {}, const QVariantList& values = {});

private:
    QTemporaryDir dir_;
};

// Shows the window and makes it the active one, so that focus moves can be driven and
// checked; false when the platform did not activate it.
bool showActive(QWidget* window);

// The default contents of Zorva.ini as the program ships it.
QString defaultIniText();

// Base of form and module tests: each test function gets a fresh AppFixture and ScriptedUi,
// and fails at its end when a message box came that the test did not take.
// Derived classes must not declare init()/cleanup(); override setUp()/tearDown() instead.
class ZorvaTest : public QObject {
    Q_OBJECT
protected:
    AppFixture& app() { return *app_; }
    ScriptedUi& sui() { return *ui_; }
    virtual void setUp() {}
    virtual void tearDown() {}

private slots:
    void init();
    void cleanup();

private:
    std::unique_ptr<AppFixture> app_;
    std::unique_ptr<ScriptedUi> ui_;
};

} // namespace zorva::test
