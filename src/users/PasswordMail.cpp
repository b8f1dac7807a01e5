#include "users/PasswordMail.h"

#include "platform/Ini.h"

#include <QStringList>

namespace zorva {

namespace {

SmtpMessage credentialsMail(const QString& name, const QString& email, const QStringList& lines) {
    SmtpMessage m;
    m.envelopeSender = mailSender();
    m.recipient = email;
    m.senderName = QStringLiteral("Zorva Administrator");
    m.senderAddress = m.envelopeSender;
    m.recipientName = name;
    m.subject = QStringLiteral("Zorva : Your User ID and Password");
    m.body = lines.join(QStringLiteral("\r\n"));
    return m;
}

QString idLine(const QString& userID) { return QStringLiteral("\tUser ID \t: ") + userID; }
QString passwordLine(const QString& password) { return QStringLiteral("\tPassword\t: ") + password; }

} // namespace

QString mailSender() {
    const QString configured = ReadIni(QStringLiteral("Network"), QStringLiteral("MailFrom")).trimmed();
    return configured.isEmpty() ? QString::fromLatin1(kDefaultMailSender) : configured;
}

SmtpMessage recoveryMessage(const QString& name, const QString& userID, const QString& password,
                            const QString& email) {
    return credentialsMail(
        name, email,
        {name + QLatin1Char(','), QString(), QStringLiteral("Bellow is your Zorva User ID and Password."),
         QString(), idLine(userID), passwordLine(password), QString(),
         QStringLiteral("Please don't hesitate to call Zorva Administrator if you have any problem."),
         QString(), QStringLiteral("TQ"), QStringLiteral("Zorva Administrator")});
}

SmtpMessage welcomeMessage(const QString& name, const QString& userID, const QString& password,
                           const QString& email, const QString& adminName) {
    return credentialsMail(
        name, email,
        {name + QLatin1Char(','), QString(),
         QStringLiteral("Bellow is your Zorva User ID and Password : "), QString(), idLine(userID),
         passwordLine(password), QString(),
         QStringLiteral("If you have any problem, please don't hesitate to call ") + adminName +
             QLatin1Char('.'),
         QString(), QStringLiteral("TQ"), QStringLiteral("Zorva system Administrator")});
}

} // namespace zorva

#include "platform/Ini.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

namespace zorva {

bool sendProgramMail(QWidget* parent, SmtpClient& client, const SmtpMessage& message) {
    SmtpResult result;
    {
        CursorGuard hourglass;
        result = client.send(ReadIni(QStringLiteral("Network"), QStringLiteral("SMTP")),
                             ReadIni(QStringLiteral("Network"), QStringLiteral("Port")), message);
    }
    if (result.ok()) return true;
    ui().message(parent, Icon::Critical, QStringLiteral("Ralat !!!"), result.messageText());
    return false;
}

} // namespace zorva
