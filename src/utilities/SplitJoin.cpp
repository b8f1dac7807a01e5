#include "utilities/SplitJoin.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace zorva::splitjoin {

namespace {

QString quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

void tell(const Observer& o, const QString& status, Outcome& out) {
    out.status = status;
    if (o.status) o.status(status);
}

Outcome fail(const Observer& o, const QString& status, bool readError = false) {
    Outcome out;
    out.readError = readError;
    tell(o, status, out);
    return out;
}

// Writes data into path, replacing an existing file.
bool writeWhole(const QString& path, const char* data, qint64 size) {
    QFile::remove(path);
    QFile piece(path);
    if (!piece.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) return false;
    const bool written = piece.write(data, size) == size;
    return written && piece.flush() && (piece.close(), piece.error() == QFileDevice::NoError);
}

} // namespace

int pieceCount(qint64 size, qint64 pieceSize) {
    if (size <= 0 || pieceSize <= 0) return 0;
    return int((size + pieceSize - 1) / pieceSize);
}

QString piecePath(const QString& file, int i) { return file + QLatin1Char('.') + QString::number(i); }

QString batchPath(const QString& file) { return file + QStringLiteral(".bat"); }

QStringList joinScriptLines(const QString& name, int pieces, bool deleteParts) {
    QStringList lines{QStringLiteral("@ECHO OFF"), QStringLiteral("ECHO Joining Files..."),
                      QStringLiteral("IF EXIST ") + quoted(name) + QStringLiteral(" DEL ") + quoted(name)};
    const QString first = name + QStringLiteral(".1");
    if (!deleteParts) lines << QStringLiteral("COPY ") + quoted(first) + QLatin1Char(' ') + quoted(name);
    if (pieces > 1) {
        QStringList list{quoted(deleteParts ? first : name)};
        for (int j = 2; j <= pieces; ++j) list << quoted(name + QLatin1Char('.') + QString::number(j));
        lines << QStringLiteral("COPY /B ") + list.join(QLatin1Char('+'));
    }
    if (deleteParts) {
        for (int j = 2; j <= pieces; ++j)
            lines << QStringLiteral("DEL ") + quoted(name + QLatin1Char('.') + QString::number(j));
        lines << QStringLiteral("REN ") + quoted(first) + QLatin1Char(' ') + quoted(name);
        lines << QStringLiteral("DEL ") + quoted(name + QStringLiteral(".bat"));
    }
    lines << QStringLiteral("ECHO Done!");
    return lines;
}

QByteArray joinScriptText(const QString& name, int pieces, bool deleteParts) {
    QByteArray out;
    for (const QString& line : joinScriptLines(name, pieces, deleteParts))
        out += line.toLocal8Bit() + "\r\n";
    return out;
}

int consecutivePieces(const QString& file, qint64* totalSize) {
    int m = 0;
    qint64 total = 0;
    for (;;) {
        const QFileInfo fi(piecePath(file, m + 1));
        if (!fi.isFile()) break;
        total += fi.size();
        ++m;
    }
    if (totalSize) *totalSize = total;
    return m;
}

QString elapsedText(double seconds) {
    QString text = QString::number(seconds, 'f', 2);
    if (text.startsWith(QStringLiteral("0."))) text.remove(0, 1);
    else if (text.startsWith(QStringLiteral("-0."))) text.remove(1, 1);
    return text;
}

QString dateTimeText(const QDateTime& when) {
    return QLocale::c().toString(when, QStringLiteral("dd/MM/yyyy hh:mm:ss AP"));
}

QString estimateText(const QString& text) {
    const QFileInfo fi(text);
    if (text.isEmpty() || !fi.isFile()) return QStringLiteral("File Count:");
    return QStringLiteral("File Count: ") + QString::number(pieceCount(fi.size()));
}

Outcome splitFile(const QString& file, qint64 pieceSize, bool deleteParts, const Observer& o) {
    QFile input(file);
    if (pieceSize <= 0 || !input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(o, QStringLiteral("Split Count: Read Error"), true);
    const int n = pieceCount(input.size(), pieceSize);
    QByteArray buffer(qsizetype(pieceSize), Qt::Uninitialized);
    qint64 done = 0;
    auto readNext = [&]() -> qint64 {
        // A piece is filled completely unless the file ends.
        qint64 got = 0;
        while (got < pieceSize) {
            const qint64 r = input.read(buffer.data() + got, pieceSize - got);
            if (r < 0) return -1;
            if (r == 0) break;
            got += r;
        }
        done += got;
        if (o.progress) o.progress(done);
        return got;
    };

    Outcome out;
    qint64 got = readNext();
    if (got < 0) return fail(o, QStringLiteral("Split Count: Read Error"), true);
    int i = 0;
    while (got > 0) {
        ++i;
        if (o.step) o.step();
        tell(o, QStringLiteral("Split Count: %1 of %2").arg(i).arg(n), out);
        if (!writeWhole(piecePath(file, i), buffer.constData(), got))
            return fail(o, QStringLiteral("Split Count: Write Error"));
        got = readNext();
        if (got < 0) return fail(o, QStringLiteral("Split Count: Read Error"));
    }
    input.close();

    const QByteArray script = joinScriptText(QFileInfo(file).fileName(), i, deleteParts);
    if (!writeWhole(batchPath(file), script.constData(), script.size()))
        return fail(o, QStringLiteral("Split Count: Write Error"));
    out.ok = true;
    out.pieces = i;
    tell(o, QStringLiteral("Split Count: Finished (%1 Files)").arg(i), out);
    return out;
}

Outcome joinFiles(const QString& file, int pieces, bool deleteParts, const Observer& o) {
    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly))
        return fail(o, QStringLiteral("Join Count: Write Error"));
    Outcome out;
    qint64 done = 0;
    for (int j = 1; j <= pieces; ++j) {
        if (o.step) o.step();
        QFile piece(piecePath(file, j));
        if (!piece.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return fail(o, QStringLiteral("Join Count: Read Error"));
        const QByteArray data = piece.readAll();
        if (piece.error() != QFileDevice::NoError)
            return fail(o, QStringLiteral("Join Count: Read Error"));
        if (output.write(data) != data.size() || !output.flush())
            return fail(o, QStringLiteral("Join Count: Write Error"));
        done += data.size();
        if (o.progress) o.progress(done);
        tell(o, QStringLiteral("Join Count: %1 of %2").arg(j).arg(pieces), out);
    }
    if (!output.commit()) return fail(o, QStringLiteral("Join Count: Write Error"));
    if (deleteParts) {
        for (int j = 1; j <= pieces; ++j) QFile::remove(piecePath(file, j));
        QFile::remove(batchPath(file));
    }
    out.ok = true;
    out.pieces = pieces;
    tell(o, QStringLiteral("File Count: Finished (%1 Files)").arg(pieces), out);
    return out;
}

} // namespace zorva::splitjoin
