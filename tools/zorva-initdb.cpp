// Writes the initial Zorva database: the schema, the first user and the preset plan rows.
// Usage: zorva-initdb <path of Zorvadb.mdb>. An existing file is never overwritten.
#include "platform/Schema.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zorva-initdb <path of Zorvadb.mdb>\n");
        return 2;
    }
    const QString path = args.at(1);
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "zorva-initdb: %s exists already; it is left as it is\n",
                     qPrintable(path));
        return 1;
    }
    QString error;
    if (!zorva::createInitialDatabase(path, &error)) {
        std::fprintf(stderr, "zorva-initdb: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("zorva-initdb: wrote %s (user %s, password %s)\n", qPrintable(path),
                zorva::kInitialUserID, zorva::kInitialPassword);
    return 0;
}
