// SMTP replies as a server sends them, in arrivals of any size: every complete reply is taken
// once, in order, and nothing is read past what came.
#include "FuzzCheck.h"
#include "net/SmtpClient.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QByteArray in = fuzzBytes(data + 1, size - 1);
    const qsizetype step = 1 + data[0] % 64;
    QByteArray buffer, replies;
    int count = 0;
    for (qsizetype at = 0; at < in.size(); at += step) {
        buffer += in.mid(at, step);
        QByteArray reply;
        for (;;) {
            const zorva::SmtpTake t = zorva::takeSmtpReply(buffer, &reply);
            if (t == zorva::SmtpTake::Waiting) break;
            if (t == zorva::SmtpTake::TooLong) {
                FUZZ_CHECK(buffer.size() > zorva::kSmtpMaxReply && !buffer.contains('\n'));
                return 0;
            }
            ++count;
            FUZZ_CHECK(reply.size() <= in.size());
            int code = 0;
            const bool accepted = zorva::smtpReplyAccepted(reply, 250, &code);
            FUZZ_CHECK(code >= -1 && code <= 999);
            FUZZ_CHECK(!accepted || (code >= 200 && code <= 299));
            FUZZ_CHECK(!zorva::smtpReplyAccepted(reply, 354) || code == 354);
        }
    }
    // what stays is an unfinished line, or continuation lines waiting for their last line
    FUZZ_CHECK(count <= in.count('\n'));
    FUZZ_CHECK(buffer.size() <= in.size());
    return 0;
}
