// The password-recovery form and the SMTP settings dialog, driven as a user would.
#include "platform/Ini.h"
#include "support/Fixture.h"
#include "support/LoopbackSmtpServer.h"
#include "users/PasswordMail.h"
#include "users/frmLoginSilap.h"
#include "users/frmSMTPSetup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class RecoveryTest : public ZorvaTest {
    Q_OBJECT

    const QString accepted = QStringLiteral(
        "Your request has been successfully accepted and scheduled. You should receive an email "
        "message within one hour.");

    void useServer(const LoopbackSmtpServer& server) {
        QVERIFY(WriteIni("Network", "SMTP", "127.0.0.1"));
        QVERIFY(WriteIni("Network", "Port", server.portText()));
    }

    // Shows the recovery form, types the address and presses OK; returns whether it closed.
    bool request(const QString& address, int timeoutMs = 2000) {
        frmLoginSilap form;
        form.smtp.timeoutMs = timeoutMs;
        form.smtp.heloName = QStringLiteral("zorvahost");
        form.runLoad();
        form.show();
        QTest::keyClicks(form.txtInternetEmail, address);
        form.cmdOK->click();
        return form.isUnloaded();
    }

private slots:
    void mailsTheUserOfThatAddress() {
        app().addUser("OBRIEN", "Pa55'word", "Sean O'Brien", "HQ", {}, "o'brien@example.org");
        app().addUser("OTHER", "x", "Other Person", "HQ", {}, "other@example.org");
        LoopbackSmtpServer server;
        useServer(server);
        QVERIFY(request("o'brien@example.org"));
        QVERIFY(sui().takeText(accepted, "Accepted !"));
        QVERIFY(server.received.contains("RCPT TO: o'brien@example.org\r\n"));
        QVERIFY(server.received.contains("TO: Sean O'Brien <o'brien@example.org>\r\n"));
        QVERIFY(server.received.contains("\tUser ID \t: OBRIEN\r\n\tPassword\t: Pa55'word\r\n"));
        QVERIFY(!server.received.contains("OTHER"));
    }

    void unknownOrEmptyAddressKeepsTheFormOpen() {
        LoopbackSmtpServer server;
        useServer(server);
        QVERIFY(!request(""));
        QVERIFY(!request("nobody@example.org"));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Critical);
        QCOMPARE(m.title, QString("Error !!!"));
        QCOMPARE(m.text, QString("Sorry, your internet email is not in Zorva database !"));
        QCOMPARE(server.connections, 0);
    }

    void serverErrorsEndWithAMessage() {
        app().addUser("ALI", "pw", "Ali", "HQ", {}, "ali@example.org");
        LoopbackSmtpServer server;
        server.replies[3] = QStringLiteral("550 mailbox unavailable");
        useServer(server);
        QVERIFY(request("ali@example.org"));
        RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Ralat !!!"));
        QCOMPARE(m.icon, Icon::Critical);
        QCOMPARE(m.text, QString("ERROR : 550. The SMTP server replied \"550 mailbox unavailable\"."));

        LoopbackSmtpServer silent;
        silent.silent = true;
        useServer(silent);
        QElapsedTimer t;
        t.start();
        QVERIFY(request("ali@example.org", 600));
        QVERIFY(t.elapsed() < 3000);
        m = sui().take();
        QCOMPARE(m.title, QString("Ralat !!!"));
        QVERIFY(m.text.startsWith("ERROR : 10060. "));
    }

    void noServerConfigured() {
        app().addUser("ALI", "pw", "Ali", "HQ", {}, "ali@example.org");
        QVERIFY(WriteIni("Network", "SMTP", ""));
        QVERIFY(request("ali@example.org"));
        QCOMPARE(sui().take().text, QString("ERROR : 11001. No SMTP server is set up."));
    }

    void cancelCloses() {
        frmLoginSilap form;
        form.runLoad();
        QCOMPARE(form.windowTitle(), QString("Invalid User ID or Password ..."));
        form.cmdBatal2->click();
        QVERIFY(form.isUnloaded());
    }

    void smtpSettingsAreStoredAsTyped() {
        frmSMTPSetup form;
        sui().onModal("frmSMTPSetup", [](QDialog& d) {
            auto& f = static_cast<frmSMTPSetup&>(d);
            QCOMPARE(f.windowTitle(), QString("eMail Setting"));
            QCOMPARE(f.lblPrompt->text(), QString("Please enter your SMTP Server ..."));
            QCOMPARE(f.txtSMTPPort->text(), QString("25"));
            QVERIFY(f.txtSMTPServer->text().isEmpty());
            f.cmdOK->click();
            QVERIFY(f.isVisible());
            QTest::keyClicks(f.txtSMTPServer, "mail.example.org");
            f.txtSMTPPort->clear();
            QTest::keyClicks(f.txtSMTPPort, "2x525");
            f.cmdOK->click();
        });
        QCOMPARE(ui().showModal(form), int(QDialog::Accepted));
        QVERIFY(sui().takeText("Please enter your SMTP Server.", "Error"));
        QCOMPARE(ReadIni("Network", "SMTP"), QString("mail.example.org"));
        QCOMPARE(ReadIni("Network", "Port"), QString("2525"));
        QCOMPARE(sui().beeps(), 1);
    }

    // Common mail servers refuse an envelope sender without a domain. The default "Zorva" gets
    // the server's reason; the sender set in the settings dialog then goes into the envelope and
    // the header, which keeps its display name.
    void envelopeSenderFromTheSettings() {
        app().addUser("ALI", "pw", "Ali", "HQ", {}, "ali@example.org");
        LoopbackSmtpServer strict;
        strict.requireSenderDomain = true;
        useServer(strict);
        QVERIFY(request("ali@example.org"));
        QCOMPARE(sui().take().text,
                 QString("ERROR : 501. The SMTP server replied \"501 5.1.7 sender address must "
                         "contain a domain\"; set a sender address with a domain in the \"Mail "
                         "From :\" box of the e-mail settings, or as MailFrom in the [Network] "
                         "section of Zorva.ini."));
        QVERIFY(strict.received.contains("MAIL FROM: Zorva\r\n"));

        LoopbackSmtpServer next;
        next.requireSenderDomain = true;
        frmSMTPSetup form;
        sui().onModal("frmSMTPSetup", [&](QDialog& d) {
            auto& f = static_cast<frmSMTPSetup&>(d);
            QCOMPARE(f.txtMailFrom->text(), QString("Zorva"));
            QTest::keyClicks(f.txtSMTPServer, "127.0.0.1");
            f.txtSMTPPort->clear();
            QTest::keyClicks(f.txtSMTPPort, next.portText());
            f.txtMailFrom->clear();
            QTest::keyClicks(f.txtMailFrom, " zorva@example.org ");
            f.cmdOK->click();
        });
        QCOMPARE(ui().showModal(form), int(QDialog::Accepted));
        QCOMPARE(ReadIni("Network", "MailFrom"), QString("zorva@example.org"));
        QVERIFY(request("ali@example.org"));
        QVERIFY(sui().takeText(accepted, "Accepted !"));
        QVERIFY(next.received.contains("MAIL FROM: zorva@example.org\r\n"));
        QVERIFY(next.received.contains("FROM: Zorva Administrator <zorva@example.org>\r\n"));

        // the dialog shows the sender in force; an emptied box goes back to "Zorva"
        frmSMTPSetup again;
        sui().onModal("frmSMTPSetup", [](QDialog& d) {
            auto& f = static_cast<frmSMTPSetup&>(d);
            QCOMPARE(f.txtMailFrom->text(), QString("zorva@example.org"));
            QTest::keyClicks(f.txtSMTPServer, "127.0.0.1");
            f.txtMailFrom->clear();
            f.cmdOK->click();
        });
        QCOMPARE(ui().showModal(again), int(QDialog::Accepted));
        QCOMPARE(mailSender(), QString("Zorva"));
    }

    void smtpSettingsCancelWritesNothing() {
        const QString before = ReadIni("Network", "SMTP");
        frmSMTPSetup form;
        sui().onModal("frmSMTPSetup", [](QDialog& d) {
            auto& f = static_cast<frmSMTPSetup&>(d);
            QTest::keyClicks(f.txtSMTPServer, "mail.example.org");
            f.cmdCancel->click();
        });
        ui().showModal(form);
        QCOMPARE(ReadIni("Network", "SMTP"), before);
    }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
