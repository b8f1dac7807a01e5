#include "platform/CsvRead.h"

#include <QIODevice>
#include <QStringDecoder>

namespace zorva {

namespace {

constexpr qsizetype kChunk = 256 * 1024;
// The encoding is decided on this much of the start of the file: enough for thousands of
// rows, so an accented name anywhere near the top shows whether the file is UTF-8.
constexpr qsizetype kSample = 1 << 20;

const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isAscii(const QByteArray& bytes) {
    for (const char c : bytes)
        if (uchar(c) >= 0x80) return false;
    return true;
}

bool validUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder(bytes);
    return !decoder.hasError();
}

QString megabytes(qsizetype bytes) {
    return bytes % (1 << 20) == 0 ? QStringLiteral("%1 MB").arg(bytes >> 20)
                                  : QStringLiteral("%1 bytes").arg(bytes);
}

} // namespace

QString fromWindows1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char c : bytes) {
        const uchar b = uchar(c);
        *to++ = b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return out;
}

CsvReader::CsvReader(QIODevice* device, qsizetype limit) : device_(device), limit_(limit) {}

bool CsvReader::fail(const QString& why) {
    error_ = why;
    return false;
}

bool CsvReader::fill() {
    if (atEnd_ || !error_.isEmpty()) return false;
    if (at_ > 0) {
        buffer_.remove(0, at_);
        base_ += at_;
        at_ = 0;
    }
    const qsizetype had = buffer_.size();
    buffer_.resize(had + kChunk);
    const qint64 got = device_->read(buffer_.data() + had, kChunk);
    buffer_.resize(had + std::max<qint64>(got, 0));
    if (got < 0) return fail(QStringLiteral("The file cannot be read: %1").arg(device_->errorString()));
    if (got == 0) atEnd_ = true;
    return got > 0;
}

int CsvReader::peek() {
    if (at_ < buffer_.size() || fill()) return uchar(buffer_.at(at_));
    return error_.isEmpty() ? -1 : -2;
}

QString CsvReader::encodingName() const {
    switch (encoding_) {
    case Encoding::Utf8: return QStringLiteral("UTF-8");
    case Encoding::Utf8Bom: return QStringLiteral("UTF-8 (with byte-order mark)");
    case Encoding::Windows1252: return QStringLiteral("Windows-1252");
    }
    return {};
}

bool CsvReader::start() {
    started_ = true;
    while (buffer_.size() < kSample && fill()) {}
    if (!error_.isEmpty()) return false;
    if (buffer_.startsWith("\xEF\xBB\xBF")) {
        encoding_ = Encoding::Utf8Bom;
        at_ = 3;
    }
    if (buffer_.indexOf('\0') >= 0)
        return fail(QStringLiteral("This is not a text file (it holds NUL bytes): save the "
                                   "spreadsheet as CSV and choose that file."));
    if (QByteArrayView(buffer_).sliced(at_).trimmed().isEmpty()) return fail(QStringLiteral("The file is empty."));
    if (encoding_ != Encoding::Utf8Bom) {
        // A sample cut inside a character is judged without that character.
        qsizetype end = buffer_.size();
        if (!atEnd_) {
            qsizetype k = end;
            while (k > 0 && end - k < 3 && (uchar(buffer_.at(k - 1)) & 0xC0) == 0x80) --k;
            if (k > 0 && uchar(buffer_.at(k - 1)) >= 0xC0) end = k - 1;
        }
        if (!validUtf8(QByteArrayView(buffer_).first(end))) encoding_ = Encoding::Windows1252;
    }
    // The delimiter the header line uses most, outside quotes: comma, semicolon or tab.
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    for (qsizetype i = at_; i < buffer_.size(); ++i) {
        const char c = buffer_.at(i);
        if (c == '"') quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r')) break;
        else if (!quoted) counts[0] += c == ',', counts[1] += c == ';', counts[2] += c == '\t';
    }
    delimiter_ = counts[1] > counts[0] && counts[1] >= counts[2] ? ';' : counts[2] > counts[0] ? '\t' : ',';
    return true;
}

QString CsvReader::decode(const QByteArray& bytes) {
    if (isAscii(bytes)) return QString::fromLatin1(bytes);
    if (encoding_ == Encoding::Windows1252) return fromWindows1252(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) error_ = QStringLiteral("invalid");
    return text;
}

bool CsvReader::next(QStringList* fields, qint64* line) {
    fields->clear();
    if (!started_ && !start()) return false;
    if (!error_.isEmpty()) return false;
    // Wholly empty lines are no records.
    for (int c = peek(); c == '\n' || c == '\r'; c = peek()) {
        ++at_;
        if (c == '\r' && peek() == '\n') ++at_;
        ++line_;
    }
    if (peek() < 0) return false;
    const qint64 first = line_;
    const QString where = QStringLiteral("Line %1: ").arg(first);
    QList<QByteArray> raw;
    QByteArray field;
    bool inQuotes = false, wasQuoted = false;
    qsizetype size = 0;
    for (;;) {
        const int c = peek();
        if (c == -2) return false;
        if (c == -1) {
            if (inQuotes)
                return fail(where + QStringLiteral("a quoted field is not closed before the end of the file."));
            raw << field;
            break;
        }
        ++at_;
        if (++size > limit_)
            return fail(where + QStringLiteral("the record is longer than %1; is this a spreadsheet saved as CSV?")
                                    .arg(megabytes(limit_)));
        if (c == 0) return fail(where + QStringLiteral("the file holds a NUL byte: it is not a text file."));
        if (inQuotes) {
            if (c == '"') {
                if (peek() == '"') {
                    ++at_;
                    field += '"';
                } else {
                    inQuotes = false;
                }
                continue;
            }
            // CR LF counts once, at its LF.
            if (c == '\n' || (c == '\r' && peek() != '\n')) ++line_;
            field += char(c);
        } else if (c == delimiter_) {
            raw << field;
            field.clear();
            wasQuoted = false;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && peek() == '\n') ++at_;
            ++line_;
            raw << field;
            break;
        } else if (c == '"' && field.isEmpty() && !wasQuoted) {
            inQuotes = wasQuoted = true;
        } else {
            // A quote inside an unquoted field, or text after a closing quote, is kept as text.
            field += char(c);
        }
    }
    fields->reserve(raw.size());
    for (const QByteArray& f : raw) *fields << decode(f);
    if (!error_.isEmpty())
        return fail(where + QStringLiteral("the text is not valid UTF-8, though the start of the file is; "
                                           "save the whole file in one encoding."));
    *line = first;
    return true;
}

} // namespace zorva
