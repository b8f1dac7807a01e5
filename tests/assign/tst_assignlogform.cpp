// The log viewer: what it shows, "Clear Log", and the failure box.
#include "assign/AssignLog.h"
#include "assign/frmAssignLog.h"
#include "support/Fixture.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestAssignLogForm : public ZorvaTest {
    Q_OBJECT

    QByteArray fileBytes() {
        QFile f(assignLogPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

private slots:
    void showsAndClears() {
        const QByteArray entry =
            assignLogEntry({"10.1.1.5", "PCA05", "PC", "Ali"}, QDateTime::currentDateTime());
        QVERIFY(appendAssignLog(entry));
        QVERIFY(appendAssignLog(entry));
        frmAssignLog f;
        f.runLoad();
        QCOMPARE(f.windowTitle(), QString("Assign Log"));
        QCOMPARE(f.txtAssignLog->toPlainText().count("Date Assign : "), 2);
        QVERIFY(!f.txtAssignLog->toPlainText().contains('\r'));
        f.cmdClearLog->click();
        QCOMPARE(f.txtAssignLog->toPlainText(), QString());
        QCOMPARE(fileBytes(), QByteArray("\r\n"));
        f.cmdClose->click();
        QVERIFY(f.isUnloaded());
        // Opened again it shows the one empty line, that is nothing.
        frmAssignLog again;
        again.runLoad();
        QCOMPARE(again.txtAssignLog->toPlainText().trimmed(), QString());
    }

    void failures() {
        {
            frmAssignLog f; // no log written yet
            f.runLoad();
            const RecordedMessage m = sui().take();
            QCOMPARE(m.icon, Icon::Information);
            QCOMPARE(m.title, QString("Error !!!"));
            QCOMPARE(m.text, QString("Error !!! No info available ... "));
        }
        // A log that cannot be written over.
        QVERIFY(QDir(app().folder()).mkdir("AssignLog.txt"));
        frmAssignLog f;
        f.runLoad();
        QVERIFY(sui().takeText("Error !!! No info available ... ", "Error !!!"));
        f.cmdClearLog->click();
        QVERIFY(sui().takeText("Error !!! No info available ... ", "Error !!!"));
    }
};

QTEST_MAIN(TestAssignLogForm)
#include "tst_assignlogform.moc"
