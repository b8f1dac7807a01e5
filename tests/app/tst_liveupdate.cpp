// The update check: version rules, and the whole check against an HTTP server on loopback.
#include "app/LiveUpdate.h"
#include "app/MDIFrmUtama.h"
#include "users/frmLogin.h"
#include "platform/AppState.h"
#include "platform/Ini.h"
#include "support/Fixture.h"
#include "support/NetPeers.h"

#include <QElapsedTimer>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorva;

namespace {
const QString kCurrent = QStringLiteral("1.30.0522");
}

class TestLiveUpdate : public test::ZorvaTest {
    Q_OBJECT
    std::unique_ptr<test::HttpServer> server;

protected:
    void setUp() override {
        server = std::make_unique<test::HttpServer>();
        QVERIFY(WriteIni(QStringLiteral("Web"), QStringLiteral("UpdateURL"),
                         QStringLiteral("http://127.0.0.1:%1/update").arg(server->port())));
        app().loginAs(QStringLiteral("ADMIN"));
    }
    void tearDown() override { server.reset(); }

    void serve(const QByteArray& versionFile) {
        server->files.insert("/update/ZorvaLiveUpdate", versionFile);
    }
    QString greeting() const { return appState().gUserName + QStringLiteral(",\r\n\r\n"); }
    bool savedFileGone() { return !QFile::exists(app().path("ZorvaLiveUpdate")); }

private slots:
    void versionRules() {
        QCOMPARE(updateHostOf(QStringLiteral("https://zorva.example.org/update")),
                 QStringLiteral("zorva.example.org"));
        QCOMPARE(updateHostOf(QStringLiteral("http://127.0.0.1:8080/a/b")), QStringLiteral("127.0.0.1"));
        QCOMPARE(updateHostOf(QStringLiteral("zorva")), QString());

        QVERIFY(!parseVersionLine(QStringLiteral("1.20.0100")).has_value());
        QVERIFY(!parseVersionLine(QStringLiteral("1.20.0100 -> 2")).has_value());
        QVERIFY(!parseVersionLine(QStringLiteral("1.20.0100->1.31.0000")).has_value());
        const auto line = parseVersionLine(QStringLiteral("1.20.0100 -> 1.31.0000"));
        QVERIFY(line.has_value());
        QCOMPARE(line->lowest, QStringLiteral("1.20.0100"));
        QCOMPARE(line->newest, QStringLiteral("1.31.0000"));

        QVERIFY(compareVersionTexts(QStringLiteral("1.30.0522"), QStringLiteral("1.31.0000")) < 0);
        QCOMPARE(compareVersionTexts(QStringLiteral("1.30.0522"), QStringLiteral("1.30.0522")), 0);
        QVERIFY(compareVersionTexts(QStringLiteral("10.00.0000"), QStringLiteral("9.99.9999")) > 0);
        QVERIFY(compareVersionTexts(QStringLiteral("1.3a"), QStringLiteral("1.30")) > 0);

        QCOMPARE(judgeUpdate(kCurrent, {"1.20.0100", "1.31.0000"}), UpdateVerdict::UpdateOffered);
        QCOMPARE(judgeUpdate(kCurrent, {"1.30.0522", "1.31.0000"}), UpdateVerdict::UpdateOffered);
        QCOMPARE(judgeUpdate(kCurrent, {"1.31.0000", "1.32.0000"}), UpdateVerdict::FullDownload);
        QCOMPARE(judgeUpdate(kCurrent, {"1.20.0100", "1.30.0522"}), UpdateVerdict::None);
        QCOMPARE(judgeUpdate(kCurrent, {"1.00.0001", "1.29.0000"}), UpdateVerdict::None);
    }

    void updateOffered() {
        serve("1.20.0100 -> 1.31.0000\r\nsecond line ignored\r\n");
        HttpFetch fetch;
        QCOMPARE(runLiveUpdateCheck(nullptr, fetch, updateHostAnswers, kCurrent),
                 UpdateVerdict::UpdateOffered);
        const auto m = sui().take();
        QCOMPARE(m.icon, Icon::Information);
        QCOMPARE(m.title, QStringLiteral("Live Update Info ..."));
        QCOMPARE(m.text, greeting() + "There is an update available to version 1.31.0000. "
                                      "Please update using Utility - Live Update menu.");
        QCOMPARE(server->requests, QList<QByteArray>({"GET /update/ZorvaLiveUpdate HTTP/1.1"}));
        QVERIFY(savedFileGone());
    }

    void fullDownloadNeeded() {
        serve("1.31.0000 -> 1.32.0000\n");
        HttpFetch fetch;
        QCOMPARE(runLiveUpdateCheck(nullptr, fetch, updateHostAnswers, kCurrent),
                 UpdateVerdict::FullDownload);
        const auto m = sui().take();
        QCOMPARE(m.title, QStringLiteral("Information"));
        QCOMPARE(m.text, greeting() + "There are Major Update to Zorva software. Please download "
                                      "Zorva from Zorva website !");
        QVERIFY(savedFileGone());
    }

    void nothingToSay_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("up to date") << QByteArray("1.20.0100 -> 1.30.0522");
        QTest::newRow("newer than offered") << QByteArray("1.00.0000 -> 1.29.0000");
        QTest::newRow("no arrow") << QByteArray("1.31.0000");
        QTest::newRow("no full stop") << QByteArray("1.20.0100 -> 131");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe -> \x01", 8);
    }
    void nothingToSay() {
        QFETCH(QByteArray, file);
        serve(file);
        HttpFetch fetch;
        QCOMPARE(runLiveUpdateCheck(nullptr, fetch, updateHostAnswers, kCurrent),
                 UpdateVerdict::None);
        QCOMPARE(server->requests.size(), 1);
        QVERIFY(savedFileGone());
    }

    void failedDownloads() {
        // no version file on the server
        HttpFetch fetch;
        QCOMPARE(runLiveUpdateCheck(nullptr, fetch, updateHostAnswers, kCurrent),
                 UpdateVerdict::None);
        QVERIFY(sui().takeText(QStringLiteral("An error has occured in the file transfer or write.  "
                                              "Please try again later.")));
        QVERIFY(savedFileGone());
        // a server that never answers: the time limit ends the wait
        server->silent = true;
        fetch.timeoutMs = 400;
        QElapsedTimer t;
        t.start();
        QCOMPARE(runLiveUpdateCheck(nullptr, fetch, updateHostAnswers, kCurrent),
                 UpdateVerdict::None);
        QVERIFY(t.elapsed() < 3000);
        QVERIFY(sui().takeText(QStringLiteral("An error has occured in the file transfer or write.  "
                                              "Please try again later.")));
        QVERIFY(!fetch.isBusy());
        // a folder that cannot be written
        server->silent = false;
        serve("1.20.0100 -> 1.31.0000");
        QVERIFY(!DownloadFile(fetch, QStringLiteral("http://127.0.0.1:%1/update/ZorvaLiveUpdate")
                                         .arg(server->port()),
                              app().path("no/such/folder")));
        QVERIFY(sui().take().text.startsWith(QStringLiteral("An error has occured")));
    }

    void hostThatDoesNotAnswer() {
        serve("1.20.0100 -> 1.31.0000");
        HttpFetch fetch;
        QString asked;
        QCOMPARE(runLiveUpdateCheck(
                     nullptr, fetch, [&](const QString& h) { asked = h; return false; }, kCurrent),
                 UpdateVerdict::None);
        QCOMPARE(asked, QStringLiteral("127.0.0.1"));
        QVERIFY(server->requests.isEmpty());
        // no update service configured: nothing is asked at all
        QVERIFY(WriteIni(QStringLiteral("Web"), QStringLiteral("UpdateURL"), QString()));
        asked.clear();
        QCOMPARE(runLiveUpdateCheck(
                     nullptr, fetch, [&](const QString& h) { asked = h; return true; }, kCurrent),
                 UpdateVerdict::None);
        QVERIFY(asked.isEmpty());
    }

    void staleFileIsRemovedToo() {
        QFile old(app().path("ZorvaLiveUpdate"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("1.20.0100 -> 1.31.0000");
        old.close();
        HttpFetch fetch; // the server has no file: the old one must not be read
        QCOMPARE(runLiveUpdateCheck(nullptr, fetch, updateHostAnswers, kCurrent),
                 UpdateVerdict::None);
        QVERIFY(sui().take().text.startsWith(QStringLiteral("An error has occured")));
        QVERIFY(savedFileGone());
    }

    void loginRunsTheCheck() {
        // this build's own version is below the newest and at least the lowest
        serve(QStringLiteral("%1 -> 9.99.9999").arg(versionText()).toLatin1());
        MDIFrmUtama main;
        main.enableLiveUpdate(); // the login's load disables it again
        frmLogin login(&main);
        login.runLoad();
        QVERIFY(!main.mnuLiveUpdate->isEnabled());
        QVERIFY(login.chkLiveUpdate->isChecked());
        QTest::keyClicks(login.txtUserID, QStringLiteral("ADMIN"));
        QTest::keyClicks(login.txtPassword, QStringLiteral("zorva"));
        login.CmdTeruskan->click();
        const auto m = sui().take();
        QCOMPARE(m.title, QStringLiteral("Live Update Info ..."));
        QVERIFY(m.text.contains(QStringLiteral("There is an update available to version 9.99.9999.")));
        QVERIFY(main.mnuLiveUpdate->isEnabled());
        QVERIFY(main.toolButton(MDIFrmUtama::kLiveUpdateButton)->isVisible());
        QVERIFY(login.isUnloaded());
        QVERIFY(savedFileGone());
    }

    void loginWithoutTheCheck() {
        serve(QStringLiteral("%1 -> 9.99.9999").arg(versionText()).toLatin1());
        MDIFrmUtama main;
        frmLogin login(&main);
        login.runLoad();
        login.chkLiveUpdate->setChecked(false);
        QTest::keyClicks(login.txtUserID, QStringLiteral("ADMIN"));
        QTest::keyClicks(login.txtPassword, QStringLiteral("zorva"));
        login.CmdTeruskan->click();
        QVERIFY(login.isUnloaded());
        QVERIFY(server->requests.isEmpty());
        QVERIFY(!main.mnuLiveUpdate->isEnabled());
    }
};

QTEST_MAIN(TestLiveUpdate)
#include "tst_liveupdate.moc"
