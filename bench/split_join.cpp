// Splits and joins a 200 MB file of random bytes with the split utility, then does the same
// with GNU split and cat, and prints the times side by side.
#include "utilities/SplitJoin.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

using namespace zorva::splitjoin;

namespace {

QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(&f);
    return h.result();
}

double zorvaRun(const QString& dir, const QString& source) {
    const QString work = dir + QStringLiteral("/zorva");
    QDir().mkpath(work);
    const QString file = work + QStringLiteral("/data.bin");
    QFile::remove(file);
    QFile::copy(source, file);
    QElapsedTimer t;
    t.start();
    const Outcome split = splitFile(file, kPieceSize, false, {});
    QFile::remove(file); // the join rebuilds it
    const Outcome join = joinFiles(file, consecutivePieces(file), true, {});
    const double s = t.nsecsElapsed() / 1e9;
    if (!split.ok || !join.ok || digest(file) != digest(source)) {
        std::fprintf(stderr, "zorva split/join failed: %s / %s\n", qPrintable(split.status),
                     qPrintable(join.status));
        std::exit(1);
    }
    return s;
}

double coreutilsRun(const QString& dir, const QString& source) {
    const QString work = dir + QStringLiteral("/gnu");
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    const QString file = work + QStringLiteral("/data.bin");
    QFile::copy(source, file);
    const QString script = QStringLiteral("cd '%1' && split -b 1392640 data.bin data.bin.part. && "
                                          "rm data.bin && cat data.bin.part.* > data.bin && "
                                          "rm data.bin.part.*")
                               .arg(work);
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    p.waitForFinished(-1);
    const double s = t.nsecsElapsed() / 1e9;
    if (p.exitCode() != 0 || digest(file) != digest(source)) {
        std::fprintf(stderr, "coreutils split/cat failed\n");
        std::exit(1);
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.bin"));
    {
        QFile f(source);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (int mb = 0; mb < 200; ++mb) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()),
                                                  block.size() / 4);
            f.write(block);
        }
    }
    double zorva = 1e9, gnu = 1e9;
    for (int round = 0; round < 3; ++round) {
        gnu = std::min(gnu, coreutilsRun(dir.path(), source));
        zorva = std::min(zorva, zorvaRun(dir.path(), source));
        std::printf("round %d: zorva %.2f s, coreutils %.2f s\n", round + 1, zorva, gnu);
    }
    std::printf("split_join: zorva %.2f s, coreutils %.2f s, ratio %.2f\n", zorva, gnu, zorva / gnu);
    return 0;
}
