#pragma once
#include <QByteArray>
#include <QString>

namespace zorva {

// One e-mail as the program sends it: envelope sender and recipient, the header sender's name
// and address, the header recipient's name, the subject and the body (lines joined by CR LF).
struct SmtpMessage {
    QString envelopeSender;
    QString recipient;
    QString senderName;
    QString senderAddress;
    QString recipientName;
    QString subject;
    QString body;
};

// The message part sent after "DATA": the FROM, TO and SUBJECT header lines, an empty line,
// the body and the end-of-data mark. Body lines that begin with "." get a second one, so that
// no line of the body can end the message early.
QByteArray smtpData(const SmtpMessage& message);

// Reading replies from what the server sent so far. A reply is one or more lines; it ends with
// the line whose code is not followed by "-". Lines end with LF (CR LF accepted).
enum class SmtpTake {
    Waiting, // no complete reply yet
    Reply,   // *reply holds one reply (its lines, trimmed), removed from the buffer
    TooLong, // more than kSmtpMaxReply bytes without a complete reply: not an SMTP server
};
inline constexpr qsizetype kSmtpMaxReply = 64 * 1024;
SmtpTake takeSmtpReply(QByteArray& buffer, QByteArray* reply);
// Whether a reply answers as expected: any 2xx for 250, otherwise exactly that code. *code is
// the reply's code, or -1 when it does not start with three digits.
bool smtpReplyAccepted(const QByteArray& reply, int expected, int* code = nullptr);

// How an exchange ended. errorNumber 0 means the message was accepted by the server.
struct SmtpResult {
    int errorNumber = 0;
    QString description;
    bool ok() const { return errorNumber == 0; }
    // "ERROR : " + number + ". " + description + "."
    QString messageText() const;
};

// The program's SMTP client: greeting, HELO, MAIL FROM, RCPT TO, DATA, the message, QUIT.
// Every wait lets window events run and has a time limit; a 4xx or 5xx reply, a reply that is
// not SMTP, a lost connection or a time-out ends the exchange with an error naming the cause.
class SmtpClient {
public:
    // Time limit of each wait (connection, each reply), in milliseconds.
    int timeoutMs = 20000;
    // The name sent with HELO; empty means the machine's host name.
    QString heloName;

    SmtpResult send(const QString& host, const QString& port, const SmtpMessage& message);
};

// Error numbers for failures the server does not report itself (as the platform's socket
// control numbers them).
inline constexpr int kSmtpErrConnectionRefused = 10061;
inline constexpr int kSmtpErrTimedOut = 10060;
inline constexpr int kSmtpErrConnectionLost = 10053;
inline constexpr int kSmtpErrHostNotFound = 11001;
inline constexpr int kSmtpErrBadPort = 10049;
inline constexpr int kSmtpErrNetwork = 10050;
inline constexpr int kSmtpErrProtocol = 10071;

} // namespace zorva
