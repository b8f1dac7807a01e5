// The history of the addresses: every writer of IP_Info in the program leaves its entries, with
// who, where and what; entries are never rewritten; a deleted record comes back.
#include "RecordsTest.h"
#include "ReportTest.h"
#include "records/RecordHistory.h"
#include "records/RecordHistoryForm.h"
#include "records/RecordHistoryTab.h"
#include "assign/frmZorvaMain.h"
#include "platform/AppState.h"
#include "platform/History.h"
#include "platform/Schema.h"
#include "records/RecordGridModel.h"
#include "records/frmCarian.h"
#include "records/frmMaklumatIP.h"
#include "support/AssignPlan.h"
#include "support/FakeNet.h"
#include "support/PlanTest.h"
#include "support/TestServer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

// "action address" of every entry, oldest first.
QStringList entries(const QString& where = QStringLiteral("1 = 1")) {
    QStringList out;
    auto q = runSql(QStringLiteral("SELECT Action, IP_Address FROM IP_History WHERE ") + where +
                    QStringLiteral(" ORDER BY rowid"));
    while (q && q->next()) out << q->value(0).toString() + QLatin1Char(' ') + q->value(1).toString();
    return out;
}

} // namespace

class TestHistory : public ZorvaTest {
    Q_OBJECT
    std::unique_ptr<FakePinger> pinger_;

    void setUp() override {
        pinger_ = std::make_unique<FakePinger>();
        app().loginAs();
    }
    void tearDown() override { pinger_.reset(); }

    QSqlDatabase db() { return database(); }

    // The assignment form: one address saved after its question, then a batch of two saved
    // without asking, then the subnet layout of another block.
    void assignThroughTheForm() {
        addAssignPlan(app());
        auto f = openAssignForm();
        walkToIpoh(*f);
        f->txtBilangan->setText("3");
        choose(f->cboEquipment, "Lab");
        sui().answerNext(Button::Ok);
        sui().answerNext(Button::Yes);
        sui().answerNext(Button::Yes);
        f->cmdSave->click();
        for (int m = 0; m < 3; ++m) sui().take();
        QTRY_COMPARE(app().count("IP_Info"), 3);
        QTRY_VERIFY(!f->cmdSave->isEnabled());
        choose(f->cboRegion, "Northern");
        choose(f->cboState, "Perak");
        choose(f->cboCity, "Taiping");
        choose(f->cboWorkGroup, "General");
        choose(f->cboEquipment, "Subnet Mask 252");
        QCOMPARE(app().count("IP_Info"), 3 + 128);
        f->cmdBatal->click();
    }

private slots:
    // Each path that writes IP_Info, driven as the user drives it; each change is found in
    // the history with the user, his computer and what the row was.
    void everyWriterLeavesHistory() {
        assignThroughTheForm();
        QCOMPARE(app().count("IP_History", "Action = 'added' AND IP_Address LIKE '198.51.100.%'"), 3);
        QCOMPARE(app().count("IP_History", "Action = 'added' AND IP_Address LIKE '198.52.30.%'"), 128);
        QCOMPARE(app().count("IP_History", "UserID = 'ADMIN' AND UserName = ? AND Computer <> ''",
                             {appState().gUserName}),
                 131);

        // The record detail: a change, then the deletion.
        frmCarian search;
        search.runLoad();
        typeInto(search.txtCarian, "198.51.100.2");
        search.cmdCari->click();
        frmMaklumatIP* d = search.detailForm();
        QVERIFY(d);
        d->cmdKemaskiniSimpan->click();
        typeInto(d->findChild<QLineEdit*>("txtNamaPengguna"), "Siti");
        sui().answerNext(Button::Ok);
        d->cmdKemaskiniSimpan->click();
        sui().take();
        QCOMPARE(entries("IP_Address = '198.51.100.2'"),
                 QStringList({"added 198.51.100.2", "changed 198.51.100.2"}));
        const auto changed = historyOf(db(), "198.51.100.2");
        QVERIFY(changed);
        QCOMPARE(changed->first().action, history::kChanged);
        const QList<FieldChange> fields = changesOf(changed->first());
        QCOMPARE(fields.size(), 1);
        QCOMPARE(fields.first().column, QString("Username"));
        QCOMPARE(fields.first().after, QString("Siti"));
        sui().answerNext(Button::Ok);
        d->cmdHapus->click();
        sui().take();
        QCOMPARE(entries("IP_Address = '198.51.100.2'").last(), QString("deleted 198.51.100.2"));

        // The search's block deletion.
        frmCarian block;
        block.runLoad();
        block.OptCarian2->click();
        typeInto(block.txtCarian, "198.51.100.");
        QTest::keyClick(block.txtCarian, Qt::Key_Return);
        QCOMPARE(block.model()->count(), qint64(2));
        block.gridCarian->selectAll();
        sui().answerNext(Button::Yes);
        QTest::keyClick(block.gridCarian, Qt::Key_Delete);
        sui().take();
        // Searched again: nothing left there.
        QVERIFY(sui().takeText("There're no record with IP Address 198.51.100. in Zorva database."));
        QCOMPARE(app().count("IP_Info", "IP_Address LIKE '198.51.100.%'"), 0);
        QCOMPARE(app().count("IP_History", "Action = 'deleted'"), 3);

        // Any later path, even plain SQL: the database itself writes the entry.
        app().exec("UPDATE IP_Info SET Remarks = 'moved' WHERE IP_Address = '198.52.30.0'");
        app().exec("UPDATE IP_Info SET Remarks = 'moved' WHERE IP_Address = '198.52.30.0'");
        QCOMPARE(entries("IP_Address = '198.52.30.0'"),
                 QStringList({"added 198.52.30.0", "changed 198.52.30.0"})); // nothing new the second time
        // A change of letter case is a change.
        app().exec("UPDATE IP_Info SET Remarks = 'MOVED' WHERE IP_Address = '198.52.30.0'");
        QCOMPARE(app().count("IP_History", "IP_Address = '198.52.30.0'"), 3);
    }

    // Who held an address when: the last entry at or before the moment, nobody after the
    // deletion, nothing before the first entry.
    void whoHeldItThen() {
        addRecord(app(), "10.9.9.9", {{"Username", "Ali"}, {"Name", "PC-9"}, {"Remarks", "old"}});
        QTest::qWait(20);
        const QDateTime afterAli = QDateTime::currentDateTimeUtc();
        QTest::qWait(20);
        app().exec("UPDATE IP_Info SET Username = 'Siti', Remarks = NULL WHERE IP_Address = '10.9.9.9'");
        QTest::qWait(20);
        // Entries keep only what changed; the record of any moment is whole.
        for (const QDateTime& when : {afterAli, QDateTime::currentDateTimeUtc()}) {
            const auto then = heldAt(db(), "10.9.9.9", when);
            QCOMPARE(then->after.value("Name").toString(), QString("PC-9"));
            QCOMPARE(then->after.value("Remarks").toString(), QString(when == afterAli ? "old" : ""));
        }
        const auto change = historyOf(db(), "10.9.9.9")->first();
        QCOMPARE(changeText(change), QString("Remarks: old -> (empty); Username: Ali -> Siti"));
        const QDateTime afterSiti = QDateTime::currentDateTimeUtc();
        QTest::qWait(20);
        app().exec("DELETE FROM IP_Info WHERE IP_Address = '10.9.9.9'");
        QTest::qWait(20);
        QCOMPARE(heldAt(db(), "10.9.9.9", afterAli)->after.value("Username").toString(), QString("Ali"));
        QCOMPARE(heldAt(db(), "10.9.9.9", afterSiti)->after.value("Username").toString(), QString("Siti"));
        QVERIFY(!heldAt(db(), "10.9.9.9", QDateTime::currentDateTimeUtc()));
        QVERIFY(!heldAt(db(), "10.9.9.9", afterAli.addDays(-1)));
        const auto all = historyOf(db(), "10.9.9.9");
        QCOMPARE(all->size(), 3);
        QCOMPARE(all->first().action, history::kDeleted); // newest first
        QCOMPARE(all->first().before.value("Username").toString(), QString("Siti"));
        QCOMPARE(all->last().after.value("Username").toString(), QString("Ali")); // as it came
        QCOMPARE(all->last().at.timeSpec(), Qt::UTC);
        QVERIFY(qAbs(all->last().at.secsTo(QDateTime::currentDateTimeUtc())) < 60);
        // By user and by action over a period, newest first, read in pieces.
        const QDateTime from = afterAli.addDays(-1), to = QDateTime::currentDateTimeUtc().addDays(1);
        QCOMPARE(countHistory(db(), historyByUser("ADMIN", from, to)), qint64(3));
        const auto page = readHistory(db(), historyByUser("admin", from, to), 0, 2);
        QCOMPARE(page->size(), 2);
        const auto rest = readHistory(db(), historyByUser("ADMIN", from, to), page->last().key, 2);
        QCOMPARE(rest->size(), 1);
        QCOMPARE(rest->first().action, history::kAdded);
        QCOMPARE(countHistory(db(), historyByAction(history::kDeleted, from, to)), qint64(1));
    }

    // Entries are never changed or deleted, except by the purge of a "Sistem" user, which
    // records itself.
    void neverRewrittenButPurged() {
        addRecord(app(), "10.9.9.1");
        QString error;
        QVERIFY(!runSql("UPDATE IP_History SET UserID = 'X'", {}, &error));
        QVERIFY2(error.contains("never changed"), qPrintable(error));
        QVERIFY(!runSql("DELETE FROM IP_History", {}, &error));
        QCOMPARE(app().count("IP_History"), 1);
        app().exec("INSERT INTO IP_History (ChangedAt, UserID, Action, IP_Address) VALUES "
                   "('2001-01-01 00:00:00.000', 'OLD', 'added', '10.0.0.1')");
        app().addUser("HQ1", "pw", "Hana", "HQ");
        app().loginAs("HQ1");
        QCOMPARE(purgeHistory(db(), 5, &error), qint64(-1));
        QCOMPARE(app().count("IP_History"), 2);
        app().loginAs();
        QCOMPARE(purgeHistory(db(), 5, &error), qint64(1));
        QCOMPARE(entries(), QStringList({"added 10.9.9.1", "purged "}));
        QCOMPARE(app().count("IP_History", "Action = 'purged' AND UserID = 'ADMIN' AND NewValues LIKE '%\"entries\":1%'"), 1);
        QVERIFY(!runSql("DELETE FROM IP_History", {}, &error)); // the purge let it through only once
    }

    // A deleted record comes back as it was, once; its plan entries may have gone since.
    void restoreADeletedRecord() {
        app().exec("INSERT INTO Region VALUES ('North', 10, 0, NULL)");
        addRecord(app(), "10.9.9.2", {{"Name", "PC-R"}, {"Username", "Ali"}, {"Region", "North"},
                                      {"CityOwner", "Ipoh"}, {"DateIssue", "2020-02-03"}});
        app().exec("DELETE FROM IP_Info WHERE IP_Address = '10.9.9.2'");
        app().exec("DELETE FROM Region");
        const HistoryEntry deleted = historyOf(db(), "10.9.9.2")->first();
        QString holder, error;
        QStringList missing;
        QCOMPARE(restoreRecord(db(), deleted, &holder, &missing, &error), RestoreOutcome::Restored);
        QCOMPARE(missing, QStringList({"the area North", "the city Ipoh"}));
        QCOMPARE(app().count("IP_Info", "IP_Address = '10.9.9.2' AND [Name] = 'PC-R' AND Username = 'Ali' "
                                        "AND DateIssue = '2020-02-03' AND IP_4 = 2"),
                 1);
        QCOMPARE(entries(), QStringList({"added 10.9.9.2", "deleted 10.9.9.2", "restored 10.9.9.2"}));
        QCOMPARE(restoreRecord(db(), deleted, &holder, &missing, &error), RestoreOutcome::AddressTaken);
        QCOMPARE(holder, QString("10.9.9.2 (PC-R, Ali)"));
        QCOMPARE(restoreRecord(db(), historyOf(db(), "10.9.9.2")->first(), &holder, &missing, &error),
                 RestoreOutcome::NotADeletion);
    }

    // A change whose entry cannot be written is no change: nothing half-written.
    void failedHistoryFailsTheChange() {
        addRecord(app(), "10.9.9.3");
        app().exec("DROP TABLE IP_History");
        QString error;
        QVERIFY(!runSql("INSERT INTO IP_Info (IP_Address, IP_4) VALUES ('10.9.9.4', 4)", {}, &error));
        QVERIFY(!runSql("DELETE FROM IP_Info", {}, &error));
        QCOMPARE(app().count("IP_Info"), 1);
    }

    // The record detail's History page, then the Record History form: the deletions of the
    // period, a restore (once: then the address is held), an address's whole history, its
    // printed list, and the purge.
    void historyForms() {
        addRecord(app(), "10.9.8.1", {{"Name", "PC-H"}, {"Username", "Ali"}});
        app().exec("UPDATE IP_Info SET Username = 'Siti' WHERE IP_Address = '10.9.8.1'");
        {
            frmCarian search;
            search.runLoad();
            typeInto(search.txtCarian, "10.9.8.1");
            search.cmdCari->click();
            frmMaklumatIP* d = search.detailForm();
            QVERIFY(d);
            QCOMPARE(d->SSTab1->tabText(2), QString("History"));
            HistoryGridModel* m = d->historyTab->model();
            QCOMPARE(m->rowCount(), 2);
            QCOMPARE(m->data(m->index(0, HistoryGridModel::Action)).toString(), QString("Changed"));
            QCOMPARE(m->data(m->index(0, HistoryGridModel::Changes)).toString(), QString("Username: Ali -> Siti"));
            QCOMPARE(m->data(m->index(1, HistoryGridModel::Changes)).toString(), QString("PC-H, Ali"));
            delete d;
        }
        app().exec("DELETE FROM IP_Info WHERE IP_Address = '10.9.8.1'");

        RecordHistoryForm f;
        QVERIFY(showActive(&f));
        f.optByAction->click();
        QCOMPARE(f.cboAction->currentData().toString(), history::kDeleted);
        f.cmdFind->click();
        QCOMPARE(f.model()->count(), qint64(1));
        sui().answerNext(Button::Ok);
        f.cmdRestore->click();
        QVERIFY(sui().takeText("Restore the record of 10.9.8.1 as it was when it was deleted ?"));
        QCOMPARE(app().count("IP_Info", "IP_Address = '10.9.8.1' AND Username = 'Siti' AND [Name] = 'PC-H'"), 1);
        f.gridHistory->selectRow(0);
        sui().answerNext(Button::Ok);
        f.cmdRestore->click();
        sui().take();
        QVERIFY(sui().takeText("10.9.8.1 is held now by the record 10.9.8.1 (PC-H, Siti). The deleted "
                               "record was not restored."));

        f.optByAddress->click();
        f.txtAddress->clear();
        f.cmdFind->click();
        QVERIFY(sui().takeText("Please enter the IP address !", "Error !"));
        typeInto(f.txtAddress, "10.9.8.1");
        f.cmdFind->click();
        QCOMPARE(f.model()->count(), qint64(4));
        QCOMPARE(f.model()->entry(0)->action, history::kRestored);
        f.chkHeldOn->setChecked(true);
        f.dtpHeldOn->setDateTime(QDateTime::currentDateTime().addDays(-1));
        f.cmdFind->click();
        QCOMPARE(f.model()->count(), qint64(0));
        QVERIFY(f.lblCount->text().startsWith("Nobody held 10.9.8.1 on "));
        f.chkHeldOn->setChecked(false);
        f.cmdFind->click();

        QTemporaryDir dir;
        SavedReport saved;
        sui().onModal("rptHistory", [&](QDialog& preview) {
            saved = saveReport(sui(), preview, dir.path());
            preview.reject();
        });
        f.cmdPrint->click();
        QVERIFY2(saved.pdf.contains("Zorva : Record History"), qPrintable(saved.pdf));
        QVERIFY(saved.pdf.contains("the history of 10.9.8.1"));
        QVERIFY2(saved.csv.startsWith("When,IP Address,Action,User,What\r\n"), saved.csv.constData());
        QCOMPARE(saved.csv.count("\r\n"), 5);
        QVERIFY(saved.csv.contains(",10.9.8.1,Restored,"));

        QVERIFY(f.cmdPurge->isVisible()); // the fixture's user is of the group "Sistem"
        sui().answerNext(Button::Yes);
        f.cmdPurge->click();
        QCOMPARE(sui().take().icon, Icon::Warning);
        QCOMPARE(app().count("IP_History", "Action = 'purged'"), 1);
        QCOMPARE(app().count("IP_History"), 5); // nothing was old enough
    }

    // An older database gets the history at its upgrade, its records untouched and without
    // entries of their own; a second upgrade changes nothing.
    void upgradeAddsTheHistory() {
        addRecord(app(), "10.9.9.5");
        for (const char* sql : {"DROP TABLE IP_History", "DROP TRIGGER IF EXISTS IP_History_Added",
                                "DROP TRIGGER IF EXISTS IP_History_Changed", "DROP TRIGGER IF EXISTS IP_History_Deleted"})
            if (!isServer(db()) || QString(sql).contains("TABLE")) app().exec(sql);
        if (isServer(db())) app().exec("DROP TRIGGER IF EXISTS ip_history_entry ON ip_info");
        app().exec("DELETE FROM IP_Info");
        addRecord(app(), "10.9.9.6");
        QString error;
        QVERIFY2(UpgradeSchema(&error), qPrintable(error));
        QCOMPARE(app().count("IP_History"), 0);
        QSqlDatabase d = db();
        QVERIFY(historyStatements(d).isEmpty());
        app().exec("DELETE FROM IP_Info");
        QCOMPARE(entries(), QStringList({"deleted 10.9.9.6"}));
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
