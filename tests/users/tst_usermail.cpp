// The welcome message of user administration, through a real SMTP exchange on loopback.
#include "platform/Builders.h"
#include "platform/Ini.h"
#include "support/Fixture.h"
#include "support/LoopbackSmtpServer.h"
#include "users/frmUser.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class UserMailTest : public ZorvaTest {
    Q_OBJECT

    void setUp() override { app().loginAs("ADMIN"); }

    void useServer(const LoopbackSmtpServer& server) {
        QVERIFY(WriteIni("Network", "SMTP", "127.0.0.1"));
        QVERIFY(WriteIni("Network", "Port", server.portText()));
    }

    // Adds Siti as an HQ administrator with that e-mail address, answering Save with OK.
    void addSiti(frmUser& f, const QString& email) {
        f.smtp.timeoutMs = 2000;
        f.smtp.heloName = QStringLiteral("zorvahost");
        f.runLoad();
        f.show();
        f.cmdTambah->click();
        QTest::keyClicks(f.txtNama, "Siti Aminah");
        QTest::keyClicks(f.txtUserID, "SITI");
        QTest::keyClicks(f.txtPassword, "s3cret");
        QTest::keyClicks(f.txtEmail, email);
        f.optKumpulan2->click();
        sui().answerNext(Button::Ok);
        f.cmdSimpan->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save record"));
    }

private slots:
    void newUserReceivesHisIdentifierAndPassword() {
        LoopbackSmtpServer server;
        useServer(server);
        frmUser f;
        // The buttons of the save frame stay disabled while the message goes out.
        QList<bool> enabledDuringSend;
        QTimer probe;
        probe.setInterval(5);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (server.connections > 0 && enabledDuringSend.isEmpty())
                enabledDuringSend << f.cmdSimpan->isEnabled() << f.cmdBatal->isEnabled()
                                  << f.cmdTutup1->isEnabled() << isEditable(f.txtNama);
        });
        probe.start();
        addSiti(f, "siti@example.org");
        probe.stop();
        const QByteArray expected =
            "HELO zorvahost\r\n"
            "MAIL FROM: Zorva\r\n"
            "RCPT TO: siti@example.org\r\n"
            "DATA\r\n"
            "FROM: Zorva Administrator <Zorva>\r\n"
            "TO: Siti Aminah <siti@example.org>\r\n"
            "SUBJECT: Zorva : Your User ID and Password\r\n"
            "\r\n"
            "Siti Aminah,\r\n"
            "\r\n"
            "Bellow is your Zorva User ID and Password : \r\n"
            "\r\n"
            "\tUser ID \t: SITI\r\n"
            "\tPassword\t: s3cret\r\n"
            "\r\n"
            "If you have any problem, please don't hesitate to call Administrator.\r\n"
            "\r\n"
            "TQ\r\n"
            "Zorva system Administrator\r\n"
            "\r\n.\r\n"
            "QUIT\r\n";
        QTRY_COMPARE(server.received, expected);
        QCOMPARE(enabledDuringSend, (QList<bool>{false, false, false, false}));
        QCOMPARE(app().count("UserID", "UserID = 'SITI'"), 1);
        QVERIFY(f.frameOperasi->isVisible());
        QVERIFY(f.cmdSimpan->isEnabled());
    }

    void nothingSentWithoutAddressOrServer() {
        LoopbackSmtpServer server;
        useServer(server);
        {
            frmUser f;
            addSiti(f, "");
        }
        QCOMPARE(app().count("UserID", "UserID = 'SITI'"), 1);
        app().exec("DELETE FROM UserID WHERE UserID = 'SITI'");
        // No server: the settings dialog at load is cancelled.
        QVERIFY(WriteIni("Network", "SMTP", ""));
        sui().onModal("frmSMTPSetup", [](QDialog& d) {
            d.findChild<QPushButton*>("cmdCancel")->click();
        });
        {
            frmUser f;
            addSiti(f, "siti@example.org");
        }
        QCOMPARE(app().count("UserID", "UserID = 'SITI'"), 1);
        QTest::qWait(50);
        QCOMPARE(server.connections, 0);
    }

    void refusedMailStillSavesTheUser() {
        LoopbackSmtpServer server;
        server.replies[3] = QStringLiteral("550 5.1.1 mailbox unavailable");
        useServer(server);
        frmUser f;
        addSiti(f, "nobody@example.org");
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Critical);
        QCOMPARE(m.title, QString("Ralat !!!"));
        QCOMPARE(m.text,
                 QString("ERROR : 550. The SMTP server replied \"550 5.1.1 mailbox unavailable\"."));
        QCOMPARE(app().scalar("SELECT [Group] FROM UserID WHERE UserID = 'SITI'").toString(),
                 QString("HQ"));
        QVERIFY(f.lstUserName->findItems("Siti Aminah", Qt::MatchExactly).size() == 1);
        QVERIFY(f.cmdSimpan->isEnabled());
        QVERIFY(f.frameOperasi->isVisible());
    }
};

QTEST_MAIN(UserMailTest)
#include "tst_usermail.moc"
