// The import form as a user drives it: choose a file, see and change the columns' match, check,
// save the refused rows, import; cancel a long check; a user of one area; the full export.
#include "ImportTest.h"
#include "import/ImportForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

using namespace zorva;
using namespace zorva::test;

namespace {

QString cell(ImportForm& f, int row, int column) {
    return f.model()->data(f.model()->index(row, column), Qt::DisplayRole).toString();
}

QComboBox* mappingBox(ImportForm& f, int row) {
    return static_cast<QComboBox*>(f.gridMapping->cellWidget(row, 1));
}

} // namespace

class TestImportForm : public ZorvaTest {
    Q_OBJECT

    void setUp() override { app().loginAs(); }

    // Opens the form and chooses the file through Browse.
    void browse(ImportForm& f, const QString& path) {
        sui().answerFile(path);
        f.cmdBrowse->click();
    }

private slots:
    void checkSaveRefusedAndImport() {
        const QString path = writeFile(app(), "sheet.csv",
                                       "IP Address;Host name;User;Notes\r\n"
                                       "10.7.0.1;PC-1;Ali;first\r\n"
                                       "010.7.0.2;PC-2;Abu;bad address\r\n"
                                       "10.7.0.1;PC-3;Siti;twice\r\n");
        ImportForm f;
        f.runLoad();
        QVERIFY(!f.cmdCheck->isEnabled());
        browse(f, path);
        QCOMPARE(f.txtFile->text(), path);
        QVERIFY(f.lblFile->text().startsWith("4 columns, separated by \";\""));
        QCOMPARE(f.gridMapping->rowCount(), 4);
        QCOMPARE(mappingBox(f, 0)->currentData().toString(), QString("IP_Address"));
        QCOMPARE(mappingBox(f, 1)->currentData().toString(), QString("Name"));
        QCOMPARE(mappingBox(f, 2)->currentData().toString(), QString("Username"));
        QCOMPARE(mappingBox(f, 3)->currentData().toString(), QString("Remarks"));
        QCOMPARE(f.lblMapping->text(), QString("Every column is imported."));
        // The user leaves the notes out; filling one field twice stops the check.
        mappingBox(f, 3)->setCurrentIndex(0);
        QCOMPARE(f.lblMapping->text(), QString("Not imported: Notes."));
        mappingBox(f, 3)->setCurrentIndex(mappingBox(f, 3)->findData("Name"));
        QVERIFY(!f.cmdCheck->isEnabled());
        QVERIFY(!f.lblMapping->text().isEmpty());
        mappingBox(f, 3)->setCurrentIndex(0);
        QVERIFY(f.cmdCheck->isEnabled());
        QVERIFY(!f.cmdImport->isEnabled()); // only after a check

        f.cmdCheck->click();
        QCOMPARE(f.model()->rowCount(), 3);
        QCOMPARE(cell(f, 0, ImportRowsModel::Outcome),
                 QString("New (warning)")); // no plan entry holds it
        QCOMPARE(cell(f, 1, ImportRowsModel::Outcome), QString("Refused"));
        QCOMPARE(cell(f, 1, ImportRowsModel::Line), QString("3"));
        QVERIFY(cell(f, 1, ImportRowsModel::Details).contains("010.7.0.2"));
        QCOMPARE(cell(f, 2, ImportRowsModel::Outcome), QString("Refused"));
        QVERIFY(f.lblCount->text().startsWith(
            "3 rows: 1 new, 0 to update, 0 unchanged, 0 skipped, 2 refused"));
        QCOMPARE(f.prgImport->value(), f.prgImport->maximum());
        QCOMPARE(app().count("IP_Info", "IP_Address LIKE '10.7.%'"), 0); // a check writes nothing

        const QString refused = app().path("refused.csv");
        sui().answerFile(refused);
        f.cmdSaveRefused->click();
        QVERIFY(
            sui().takeText(QString("2 refused rows saved with their reason in %1.").arg(refused)));
        QVERIFY(readFile(refused).contains("010.7.0.2"));

        sui().answerNext(Button::Ok);
        f.cmdImport->click();
        QVERIFY(sui().takeText(
            "Write 1 new and 0 changed records ? The rows refused or skipped are left out."));
        QVERIFY(sui().takeText("1 new and 0 changed records written."));
        QCOMPARE(app().count("IP_Info",
                             "IP_Address = '10.7.0.1' AND [Name] = 'PC-1' AND Username = 'Ali' AND "
                             "(Remarks IS NULL OR Remarks = '')"),
                 1);
        QCOMPARE(app().count("IP_History", "IP_Address = '10.7.0.1' AND Action = 'added'"), 1);
        QVERIFY(!f.cmdImport->isEnabled()); // the same rows are not written twice

        // Again: the address is recorded now. Stopping is the default; updating lists the change.
        f.cmdCheck->click();
        QCOMPARE(cell(f, 0, ImportRowsModel::Outcome), QString("Refused"));
        f.optUpdate->click();
        QVERIFY(!f.cmdImport->isEnabled());
        mappingBox(f, 1)->setCurrentIndex(0);
        f.cmdCheck->click();
        QCOMPARE(cell(f, 0, ImportRowsModel::Outcome), QString("Unchanged"));
    }

    // A long check stays responsive and stops at Cancel; nothing is kept of it.
    void cancelALongCheck() {
        QByteArray sheet = "IP_Address,Name\n";
        for (int i = 0; i < 60000; ++i)
            sheet += QStringLiteral("10.%1.%2.%3,PC%4\n")
                         .arg(20 + i / 65536)
                         .arg(i / 256 % 256)
                         .arg(i % 256)
                         .arg(i)
                         .toUtf8();
        ImportForm f;
        f.runLoad();
        browse(f, writeFile(app(), "long.csv", sheet));
        bool sawRunning = false;
        QTimer::singleShot(0, &f, [&] {
            sawRunning = f.cmdCancel->isEnabled() && !f.cmdClose->isEnabled();
            f.cmdCancel->click();
        });
        f.cmdCheck->click();
        QVERIFY(sawRunning);
        QCOMPARE(f.lblCount->text(), QString("The check was cancelled."));
        QCOMPARE(f.model()->rowCount(), 0);
        QVERIFY(!f.cmdImport->isEnabled());
        QVERIFY(f.cmdClose->isEnabled());
    }

    // A user of one area imports into it only.
    void areaUser() {
        app().addUser("KW1", "pw", "Area Admin", "Kawasan", "Northern");
        app().loginAs("KW1");
        ImportForm f;
        f.runLoad();
        QVERIFY(f.lblCount->text().contains("Northern"));
        browse(f, writeFile(app(), "areas.csv",
                            "IP_Address,Region\n10.8.0.1,Northern\n10.8.0.2,Southern\n"));
        f.cmdCheck->click();
        QCOMPARE(cell(f, 0, ImportRowsModel::Outcome),
                 QString("New (warning)")); // no plan entry holds it
        QCOMPARE(cell(f, 1, ImportRowsModel::Outcome), QString("Refused"));
        QVERIFY(cell(f, 1, ImportRowsModel::Details).contains("outside your area"));
    }

    void unreadableFiles() {
        ImportForm f;
        f.runLoad();
        browse(f, app().path("missing.csv"));
        QVERIFY(sui().take().text.contains("missing.csv cannot be imported"));
        browse(f, writeFile(app(), "empty.csv", ""));
        QVERIFY(sui().take().text.contains("empty.csv cannot be imported"));
        QVERIFY(f.txtFile->text().isEmpty());
        QVERIFY(!f.cmdCheck->isEnabled());
    }

    void exportAll() {
        app().exec(
            "INSERT INTO IP_Info (IP_Address, IP_4, [Name]) VALUES ('10.9.0.1', 1, 'PC, \"one\"')");
        QWidget parent;
        const QString path = app().path("all.csv");
        sui().answerFile(path);
        exportAllRecordsAsked(&parent);
        QVERIFY(sui().takeText(QString("Every record was written to %1.").arg(path)));
        QVERIFY(readFile(path).contains("10.9.0.1,1,\"PC, \"\"one\"\"\""));
        QVERIFY(sui().fileRequests.last().save);
    }
};

QTEST_MAIN(TestImportForm)
#include "tst_import_form.moc"
