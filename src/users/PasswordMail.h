#pragma once
#include "net/SmtpClient.h"

namespace zorva {

// The envelope sender of the program's mail: Zorva.ini [Network] MailFrom, "Zorva" when not
// set. Many mail servers refuse a sender without a domain, hence the setting.
QString mailSender();
inline constexpr const char* kDefaultMailSender = "Zorva";

// The e-mail that answers a forgotten password: the user's identifier and password, sent to
// the address recorded for him.
SmtpMessage recoveryMessage(const QString& name, const QString& userID, const QString& password,
                            const QString& email);

// The e-mail that welcomes a new user with his identifier and password; adminName is the
// administrator who created the account (the session's user).
SmtpMessage welcomeMessage(const QString& name, const QString& userID, const QString& password,
                           const QString& email, const QString& adminName);

} // namespace zorva

class QWidget;

namespace zorva {

// Sends a message through the SMTP server of the settings file (Network/SMTP, Network/Port)
// with the hourglass pointer. A failure is shown over parent ("ERROR : " + number + ". " +
// description + ".", critical, "Ralat !!!"); the result says whether the server took it.
bool sendProgramMail(QWidget* parent, SmtpClient& client, const SmtpMessage& message);

} // namespace zorva
