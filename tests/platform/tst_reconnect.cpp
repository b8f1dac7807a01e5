// The database server stopped in the middle of a session and started again: each action that
// fails meanwhile says that the connection to the server was lost, nothing of it is written (a
// transaction the stop cut is gone whole), and the next action once the server is back works
// without a restart. Only on the server (the _pg run, inside tools/with-postgres.sh, which says
// how to stop and start it).
#include "assign/AssignRecord.h"
#include "platform/Database.h"
#include "platform/DatabaseServer.h"
#include "records/RecordsTest.h"
#include "records/frmCarian.h"
#include "records/frmMaklumatIP.h"
#include "support/PlanTest.h"
#include "support/TestServer.h"

#include <QProcess>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

const QString kLost = QStringLiteral("connection to the database server was lost");

// pg_ctl on the test cluster; true when it did what was asked.
bool pgCtl(const QStringList& args) {
    QStringList command = qEnvironmentVariable("ZORVA_PG_CTL").split(' ', Qt::SkipEmptyParts);
    if (command.isEmpty()) return false;
    const QString dataFolder = qEnvironmentVariable("PGHOST") + QStringLiteral("/data");
    QProcess p;
    p.start(command.takeFirst(), command + QStringList{"-D", dataFolder} + args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool stopServer() { return pgCtl({"-m", "fast", "-w", "stop"}); }
bool startServer() {
    return pgCtl({"-l", qEnvironmentVariable("PGHOST") + "/server.log", "-w", "-o",
                  qEnvironmentVariable("ZORVA_PG_OPTIONS"), "start"});
}
bool serverRuns() { return pgCtl({"status"}); }

} // namespace

#define SERVER_ONLY()                                                                              \
    do {                                                                                           \
        if (!onServer()) QSKIP("stops and starts the database server: the _pg run only");         \
        QVERIFY2(qEnvironmentVariableIsSet("ZORVA_PG_CTL"), "run inside tools/with-postgres.sh");  \
    } while (false)

class TestReconnect : public ZorvaTest {
    Q_OBJECT
    std::unique_ptr<frmCarian> search;

    void setUp() override {
        if (!onServer()) return;
        app().loginAs();
        addRecord(app(), "10.1.0.9", {{"Name", "PC-A"}, {"Status", "Permanent"}});
        search = std::make_unique<frmCarian>();
        search->runLoad();
    }
    void tearDown() override {
        search.reset();
        // The fixture's schema is dropped on the server afterwards: it must run again.
        if (onServer() && !serverRuns()) startServer();
    }

    frmMaklumatIP* find(const QString& address) {
        typeInto(search->txtCarian, address);
        search->cmdCari->click();
        return search->detailForm();
    }
    // The one message, an "Error !!!" telling of the lost connection.
    void takeLostMessage() {
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QVERIFY2(m.text.contains(kLost), qPrintable(m.text));
        QCOMPARE(sui().pendingMessages(), 0);
    }

private slots:
    void searchFailsClearlyThenWorks() {
        SERVER_ONLY();
        QVERIFY(stopServer());
        QVERIFY(!find("10.1.0.9"));
        takeLostMessage();
        // Still down: the new connection is refused, and said so.
        search->cmdCari->click();
        takeLostMessage();
        QVERIFY(startServer());
        frmMaklumatIP* d = find("10.1.0.9");
        QVERIFY(d);
        QCOMPARE(d->txtKodPeralatan->text(), QString("PC-A"));
    }

    void serverRestartedBetweenActions() {
        SERVER_ONLY();
        QVERIFY(find("10.1.0.9"));
        QVERIFY(stopServer());
        QVERIFY(startServer());
        // The connection held died with the server: the first action finds that out and says
        // so (it cannot know without a round trip before every statement); the next works.
        search->cmdCari->click();
        takeLostMessage();
        search->cmdCari->click();
        QVERIFY(search->detailForm());
        QCOMPARE(sui().pendingMessages(), 0);
    }

    // The server stays, but ends this copy's session (an administrator, a cut network).
    void sessionEndedByTheServer() {
        SERVER_ONLY();
        QVERIFY(find("10.1.0.9"));
        {
            QSqlDatabase admin = openOtherCopy("zorva_admin");
            QVERIFY(runSqlOn(admin, "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                    "WHERE application_name = 'Zorva' AND pid <> pg_backend_pid()"));
        }
        closeConnection("zorva_admin");
        search->cmdCari->click();
        takeLostMessage();
        search->cmdCari->click();
        QVERIFY(search->detailForm());
        QCOMPARE(sui().pendingMessages(), 0);
    }

    void detailEditSavedOnceTheServerIsBack() {
        SERVER_ONLY();
        frmMaklumatIP* d = find("10.1.0.9");
        QVERIFY(d);
        d->cmdKemaskiniSimpan->click(); // Update: edit mode
        typeInto(d->txtKodPeralatan, "PC-NEW");
        QVERIFY(stopServer());
        sui().answerNext(Button::Ok); // Save record to Zorva database ?
        d->cmdKemaskiniSimpan->click();
        QCOMPARE(sui().take().title, QString("Save Record"));
        takeLostMessage();
        QCOMPARE(d->cmdKemaskiniSimpan->text(), QString("Save")); // the edit is still there
        QVERIFY(startServer());
        QCOMPARE(app().scalar("SELECT [Name] FROM IP_Info WHERE IP_Address = '10.1.0.9'").toString(),
                 QString("PC-A"));
        QCOMPARE(app().count("IP_History", "Action = 'changed'"), 0);
        sui().answerNext(Button::Ok);
        d->cmdKemaskiniSimpan->click();
        QCOMPARE(sui().take().title, QString("Save Record"));
        QCOMPARE(sui().pendingMessages(), 0);
        QCOMPARE(d->cmdKemaskiniSimpan->text(), QString("Update"));
        QCOMPARE(app().scalar("SELECT [Name] FROM IP_Info WHERE IP_Address = '10.1.0.9'").toString(),
                 QString("PC-NEW"));
        QCOMPARE(app().count("IP_History", "Action = 'changed' AND IP_Address = '10.1.0.9'"), 1);
    }

    void assignmentSaveFailsNotTakenThenSaves() {
        SERVER_ONLY();
        AssignRecord r;
        r.address = "10.1.0.20";
        r.ip4 = 20;
        r.name = "NEW-HOST";
        QVERIFY(stopServer());
        // Twice: the statement that finds the connection dead, then a connection refused.
        for (int attempt = 0; attempt < 2; ++attempt) {
            QString error;
            // Failed, not AddressTaken: nothing tells that the address is taken.
            QCOMPARE(saveAssignment(database(&error), r, &error), SaveOutcome::Failed);
            QVERIFY2(error.contains(kLost), qPrintable(error));
        }
        QVERIFY(startServer());
        QString error;
        QCOMPARE(saveAssignment(database(&error), r, &error), SaveOutcome::Saved);
        QCOMPARE(app().count("IP_Info", "IP_Address = '10.1.0.20'"), 1);
        QCOMPARE(app().count("IP_History", "Action = 'added' AND IP_Address = '10.1.0.20'"), 1);
    }

    // A multi-row write cut by the stop: nothing of it stays, not even the rows written before
    // the stop, nor those after the server came back within the same transaction.
    void transactionCutLeavesNothing() {
        SERVER_ONLY();
        const QString insert = "INSERT INTO IP_Info (IP_Address, IP_4, [Name]) VALUES (?, ?, ?)";
        {
            Transaction t;
            QVERIFY(t.isOpen());
            for (int i = 1; i <= 3; ++i) QVERIFY(runSql(insert, {QString("10.2.0.%1").arg(i), i, "BATCH"}));
            QVERIFY(stopServer());
            QVERIFY(startServer());
            QString error;
            QVERIFY(!runSql(insert, {"10.2.0.4", 4, "BATCH"}, &error));
            QVERIFY2(error.contains(kLost), qPrintable(error));
            // The server is back, but this transaction is gone: its rest must not go to a new
            // connection, where each row would stick on its own.
            QVERIFY(!runSql(insert, {"10.2.0.5", 5, "BATCH"}));
            QVERIFY(!t.commit());
        }
        QCOMPARE(app().count("IP_Info", "[Name] = 'BATCH'"), 0);
        QCOMPARE(app().count("IP_History", "IP_Address LIKE '10.2.0.%'"), 0);
        // And the connection after it works.
        {
            Transaction t;
            QVERIFY(runSql(insert, {"10.2.0.6", 6, "BATCH"}));
            QVERIFY(t.commit());
        }
        QCOMPARE(app().count("IP_Info", "[Name] = 'BATCH'"), 1);
    }
};

QTEST_MAIN(TestReconnect)
#include "tst_reconnect.moc"
