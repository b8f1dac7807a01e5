#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace zorva::splitjoin {

// A piece fits a 1.44 MB floppy disk.
inline constexpr qint64 kPieceSize = 1360 * 1024;

// The smallest whole number of pieces that holds size bytes (an empty file gives 0).
int pieceCount(qint64 size, qint64 pieceSize = kPieceSize);
// file + "." + i, in the folder of the file.
QString piecePath(const QString& file, int i);
// file + ".bat": the batch file that joins the pieces again.
QString batchPath(const QString& file);
// The lines of the join batch file for `pieces` pieces of the file named `name` (no folder).
QStringList joinScriptLines(const QString& name, int pieces, bool deleteParts);
// The same, each line ended by CR LF.
QByteArray joinScriptText(const QString& name, int pieces, bool deleteParts);
// The number of pieces file.1, file.2, ... up to the first missing number, and their total size.
int consecutivePieces(const QString& file, qint64* totalSize = nullptr);

// Seconds in the "#.00" format: ".53", "12.50".
QString elapsedText(double seconds);
// A date and time as the utility shows it: "08/12/2026 03:51:22 PM".
QString dateTimeText(const QDateTime& when);
// "File Count:", followed by the piece count when text names an existing file.
QString estimateText(const QString& text);

// What a split or a join tells while it works.
struct Observer {
    std::function<void(qint64 bytesDone)> progress;
    std::function<void(const QString& status)> status; // the "File Count" statistics line
    std::function<void()> step;                         // before each piece: time for events
};

struct Outcome {
    bool ok = false;
    bool readError = false; // the input could not be read at all
    int pieces = 0;         // pieces written (split) or joined (join)
    QString status;         // the last status line
};

// Cuts file into pieces of pieceSize bytes beside it and writes the join batch file. The input
// is only read. Pieces written before a failure stay on disk.
Outcome splitFile(const QString& file, qint64 pieceSize, bool deleteParts, const Observer& observer);

// Joins file.1 .. file.pieces into file. The output replaces an existing file only when every
// piece was joined; on a failure an existing file stays as it was.
Outcome joinFiles(const QString& file, int pieces, bool deleteParts, const Observer& observer);

} // namespace zorva::splitjoin
