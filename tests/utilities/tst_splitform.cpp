#include "platform/UserSettings.h"
#include "support/Fixture.h"
#include "utilities/FileHelpers.h"
#include "utilities/SplitJoin.h"
#include "utilities/UserStore.h"
#include "utilities/ctlProgress.h"
#include "utilities/frmBackupDB.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

QByteArray pattern(qint64 size) {
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i) data[i] = char((i * 7 + i / 251) & 0xff);
    return data;
}

} // namespace

class TestSplitForm : public ZorvaTest {
    Q_OBJECT

    void setUp() override {
        isolateUserStore(app().folder());
        app().loginAs();
        SaveSetting(QStringLiteral("OpenExplorer"), QStringLiteral("0"));
    }

    void load(frmBackupDB& f) {
        sui().answerFolder(app().folder() + QStringLiteral("/backup"));
        QDir().mkpath(app().folder() + QStringLiteral("/backup"));
        f.runLoad();
    }

    QString file(const QString& name) { return app().path(name); }

private slots:
    void estimatesAndButtons() {
        frmBackupDB f;
        load(f);
        QVERIFY(!f.cmdSplit->isEnabled());
        QVERIFY(!f.cmdJoin->isEnabled());
        QCOMPARE(f.lblEstFileCount->text(), QStringLiteral("File Count:"));
        const QString big = file("big.bin");
        QVERIFY(writeFile(big, QByteArray(1392641, 'b')));
        QTest::keyClicks(f.txtFileName, big);
        QCOMPARE(f.lblEstFileCount->text(), QStringLiteral("File Count: 2"));
        QVERIFY(f.cmdSplit->isEnabled());
        QVERIFY(!f.cmdJoin->isEnabled());
        QVERIFY(writeFile(big + QStringLiteral(".1"), "x"));
        f.txtFileName->setText(big);
        f.txtFileName_Change();
        QVERIFY(f.cmdJoin->isEnabled());

        // A file that went away meanwhile: the buttons are re-evaluated and the user told.
        const QString gone = file("gone.bin");
        QVERIFY(writeFile(gone, "g"));
        f.txtFileName->setText(gone);
        QVERIFY(f.cmdSplit->isEnabled());
        QFile::remove(gone);
        f.cmdSplit->click();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("File Not Found (") + gone + QLatin1Char(')'));
        QCOMPARE(m.title, QStringLiteral("File Read Error"));
        QCOMPARE(int(m.icon), int(Icon::Critical));
        QVERIFY(!f.cmdSplit->isEnabled());
        // Join the same way when its first piece went away.
        QVERIFY(writeFile(gone + QStringLiteral(".1"), "p"));
        f.txtFileName_Change();
        QVERIFY(f.cmdJoin->isEnabled());
        QFile::remove(gone + QStringLiteral(".1"));
        f.cmdJoin->click();
        QVERIFY(sui().takeText(QStringLiteral("File Not Found (") + gone + QLatin1Char(')'),
                               QStringLiteral("File Read Error")));
        QVERIFY(!f.cmdJoin->isEnabled());
    }

    void splitThenJoinThroughTheForm() {
        frmBackupDB f;
        load(f);
        f.chkOpenExplorer->setChecked(true);
        f.chkDeleteParts->setChecked(false);
        const QString src = file("db.bin");
        const QByteArray data = pattern(2 * 1392640 + 5);
        QVERIFY(writeFile(src, data));
        f.txtFileName->setText(src);
        f.cmdSplit->click();
        QCOMPARE(f.lblFileCount->text(), QStringLiteral("Split Count: Finished (3 Files)"));
        QVERIFY(f.lblStart->text().startsWith(QStringLiteral("Start Time: ")));
        QVERIFY(f.lblFinish->text().startsWith(QStringLiteral("Finish Time: ")));
        QVERIFY2(QRegularExpression(QStringLiteral("^Elapsed Time: \\d*\\.\\d\\d seconds$"))
                     .match(f.lblElapsed->text()).hasMatch(),
                 qPrintable(f.lblElapsed->text()));
        QCOMPARE(f.ctlProgress1->Caption(), QStringLiteral("Finished Splitting"));
        QCOMPARE(f.ctlProgress1->CaptionStyle(), 1);
        QCOMPARE(f.ctlProgress1->Max(), qint64(data.size()));
        QCOMPARE(f.ctlProgress1->Value(), f.ctlProgress1->Max());
        QCOMPARE(readFile(src + QStringLiteral(".bat")),
                 splitjoin::joinScriptText(QStringLiteral("db.bin"), 3, false));
        QCOMPARE(sui().openedUrls, QStringList{app().folder()});
        QVERIFY(f.cmdSplit->isEnabled());
        QVERIFY(f.cmdJoin->isEnabled());
        QCOMPARE(readFile(src), data); // the input is unchanged

        // Joining over the existing file asks first.
        sui().answerNext(Button::No);
        f.cmdJoin->click();
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Output file (") + src +
                             QStringLiteral(") already exists.\rAre you sure you want to overwrite it?"));
        QCOMPARE(m.title, QStringLiteral("Overwrite Warning"));
        QCOMPARE(f.lblFileCount->text(), QStringLiteral("Join Count: Output File Exists"));

        QVERIFY(writeFile(src, "stale"));
        f.chkDeleteParts->setChecked(true);
        sui().answerNext(Button::Yes);
        f.cmdJoin->click();
        sui().take();
        QCOMPARE(f.lblFileCount->text(), QStringLiteral("File Count: Finished (3 Files)"));
        QCOMPARE(f.ctlProgress1->Caption(), QStringLiteral("Finished Joining"));
        QCOMPARE(readFile(src), data);
        QVERIFY(!QFile::exists(src + QStringLiteral(".1")));
        QVERIFY(!QFile::exists(src + QStringLiteral(".bat")));
        QVERIFY(!f.cmdJoin->isEnabled());
        QCOMPARE(sui().openedUrls.size(), 2);
    }

    void joinWithoutPiecesKeepsTheOutput() {
        frmBackupDB f;
        load(f);
        const QString out = file("kept.bin");
        QVERIFY(writeFile(out, "keep me"));
        QVERIFY(!f.JoinFiles(out)); // no question: nothing to join
        QCOMPARE(f.lblFileCount->text(), QStringLiteral("Join Count: No Input Files"));
        QCOMPARE(readFile(out), QByteArray("keep me"));
    }

    void manyPiecesAskFirst() {
        frmBackupDB f;
        load(f);
        const QString eleven = file("eleven.bin");
        QVERIFY(writeFile(eleven, QByteArray(14 * 1024 * 1024, 'e')));
        f.txtFileName->setText(eleven);
        sui().answerNext(Button::No);
        f.cmdSplit->click();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Are you sure you want to break this file up into 11 pieces?"));
        QCOMPARE(m.title, QStringLiteral("Are you sure?"));
        QCOMPARE(m.buttons, Buttons(Button::Yes | Button::No));
        QVERIFY(!QFile::exists(eleven + QStringLiteral(".1")));

        const QString ten = file("ten.bin");
        QVERIFY(writeFile(ten, QByteArray(10 * 1392640, 't')));
        QVERIFY(f.SplitFiles(ten, splitjoin::kPieceSize)); // no question
        QVERIFY(QFile::exists(ten + QStringLiteral(".10")));
    }

    void unreadableInputIsReported() {
        frmBackupDB f;
        load(f);
        QVERIFY(!f.SplitFiles(file("absent.bin"), splitjoin::kPieceSize));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Split Count: Read Error"));
        QCOMPARE(m.title, QStringLiteral("File Error"));
        QCOMPARE(f.lblFileCount->text(), QStringLiteral("Split Count: Read Error"));
    }

    void copyToRemovableMedia() {
        frmBackupDB f;
        load(f);
        f.chkCopyToFloppy->setChecked(true);
        const QString disk = file("usb");
        QDir().mkpath(disk);
        QVERIFY(writeFile(disk + QStringLiteral("/notes.txt"), "mine"));
        QVERIFY(writeFile(disk + QStringLiteral("/f.bin.7"), "old piece"));
        const QString src = file("f.bin");
        QVERIFY(writeFile(src, pattern(1392640 + 100)));
        sui().answerFolder(disk);
        sui().answerNext(Button::Ok);
        sui().answerNext(Button::Ok);
        QVERIFY(f.SplitFiles(src, splitjoin::kPieceSize));
        QCOMPARE(sui().take().text, QStringLiteral("Please enter Disk #1 in Drive A:"));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Please enter Disk #2 in Drive A:"));
        QCOMPARE(m.title, QStringLiteral("Coppy to Floppy"));
        QCOMPARE(readFile(disk + QStringLiteral("/f.bin.2")), readFile(src + QStringLiteral(".2")));
        QVERIFY(QFile::exists(disk + QStringLiteral("/f.bin.bat")));
        QVERIFY(!QFile::exists(disk + QStringLiteral("/f.bin.7"))); // earlier pieces cleaned up
        QCOMPARE(readFile(disk + QStringLiteral("/notes.txt")), QByteArray("mine"));
        QVERIFY(f.splash());
        QCOMPARE(f.splash()->lblMessage->text(),
                 QStringLiteral("Copying f.bin.2 to ") + disk + QStringLiteral("/f.bin.2..."));
        QVERIFY(!f.splash()->isVisible());

        // A missing disk: asked to insert another; Cancel ends the copy.
        QVERIFY(QDir(disk).removeRecursively());
        sui().answerFolder(disk);
        sui().answerNext(Button::Ok);
        sui().answerNext(Button::Cancel);
        QVERIFY(f.SplitFiles(src, splitjoin::kPieceSize));
        sui().take();
        const RecordedMessage missing = sui().take();
        QCOMPARE(missing.text, QStringLiteral("Unable to find disk in drive or disk is write-protected\r"
                                              "Please insert another disk and press OK"));
        QCOMPARE(missing.title, QStringLiteral("Disk Missing"));
    }
};

QTEST_MAIN(TestSplitForm)
#include "tst_splitform.moc"
