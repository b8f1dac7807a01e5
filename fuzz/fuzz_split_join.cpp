// The split utility: pieces and their names, the join batch file, and the join of the pieces,
// which gives back the file byte for byte.
#include "FuzzCheck.h"
#include "utilities/SplitJoin.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fuzzer/FuzzedDataProvider.h>

using namespace zorva::splitjoin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const qint64 pieceSize = in.ConsumeIntegralInRange<qint64>(16, 512);
    const bool deleteParts = in.ConsumeBool();
    // a file name as another system may write it: anything but the folder separator and NUL
    QString name = QString::fromUtf8(QByteArray::fromStdString(in.ConsumeRandomLengthString(40)));
    name.remove(QLatin1Char('/')).remove(QChar(0));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) name = QStringLiteral("f");
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    const QByteArray content(bytes.data(), qsizetype(bytes.size()));

    const QStringList script = joinScriptLines(name, pieceCount(content.size(), pieceSize), deleteParts);
    FUZZ_CHECK(script.first() == QLatin1String("@ECHO OFF") && script.last() == QLatin1String("ECHO Done!"));
    FUZZ_CHECK(piecePath(name, 12) == name + QLatin1String(".12"));

    QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    const QString file = dir.filePath(name);
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly)) return 0; // a name this file system refuses
        FUZZ_CHECK(f.write(content) == content.size());
    }
    const Outcome split = splitFile(file, pieceSize, deleteParts, {});
    FUZZ_CHECK(split.ok);
    FUZZ_CHECK(split.pieces == pieceCount(content.size(), pieceSize));
    qint64 total = 0;
    FUZZ_CHECK(consecutivePieces(file, &total) == split.pieces && total == content.size());
    QFile bat(batchPath(file));
    FUZZ_CHECK(bat.open(QIODevice::ReadOnly));
    FUZZ_CHECK(bat.readAll() == joinScriptText(name, split.pieces, deleteParts));
    FUZZ_CHECK(QFile::remove(file));

    const Outcome joined = joinFiles(file, split.pieces, deleteParts, {});
    FUZZ_CHECK(joined.ok);
    QFile back(file);
    if (split.pieces > 0) {
        FUZZ_CHECK(back.open(QIODevice::ReadOnly));
        FUZZ_CHECK(back.readAll() == content);
    }
    FUZZ_CHECK(!deleteParts || consecutivePieces(file) == 0);
    return 0;
}
