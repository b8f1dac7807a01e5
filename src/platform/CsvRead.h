#pragma once
// Reads comma-separated values (RFC 4180) as spreadsheets save them, one record at a time from
// a device, so that a file of any size is never held in memory whole. Qt Core only.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

class QIODevice;

namespace zorva {

class CsvReader {
public:
    // The longest field, and the longest record, accepted (bytes).
    static constexpr qsizetype kDefaultLimit = 1 << 20;

    explicit CsvReader(QIODevice* device, qsizetype limit = kDefaultLimit);

    // Looks at the start of the file: refuses an empty or binary file, finds the encoding and
    // the delimiter. False with the reason in error().
    bool start();
    // The next record: its fields and the file line its first line is on (counting from 1).
    // Wholly empty lines are passed over. False at the end of the file, or on an error (then
    // error() says what, with the line).
    bool next(QStringList* fields, qint64* line);

    QString error() const { return error_; }
    QChar delimiter() const { return QLatin1Char(delimiter_); }
    QString encodingName() const;
    // Bytes of the file read so far, for progress.
    qint64 bytesRead() const { return base_ + at_; }

private:
    enum class Encoding { Utf8, Utf8Bom, Windows1252 };
    bool fill();
    int peek(); // the next byte, -1 at the end, -2 on an error
    bool fail(const QString& why);
    QString decode(const QByteArray& bytes);

    QIODevice* device_;
    qsizetype limit_;
    QByteArray buffer_;
    qsizetype at_ = 0;
    qint64 base_ = 0; // file offset of buffer_[0]
    qint64 line_ = 1;
    bool atEnd_ = false;
    bool started_ = false;
    Encoding encoding_ = Encoding::Utf8;
    char delimiter_ = ',';
    QString error_;
};

// Windows-1252 text as Unicode (the bytes 0x80-0x9F are its typographic signs; the five it
// leaves undefined read as their Latin-1 control characters).
QString fromWindows1252(const QByteArray& bytes);

} // namespace zorva
