#include "app/StartUp.h"
#include "app/MDIFrmUtama.h"
#include "app/frmCariDB.h"
#include "platform/AppFolder.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseServer.h"
#include "platform/Ini.h"
#include "platform/Schema.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFileInfo>

namespace zorva {

QString missingIniText(const QString& appFolder) {
    return QStringLiteral("Can't find the 'Zorva.ini' file. This file is mandatory for this "
                          "program to run correctly. If you can find this file elsewhere on "
                          "your computer, safely copy it to ") +
           appFolder.toUpper() +
           QStringLiteral(".\r\n\r\nIf this does not work, you will have to reinstall the program.");
}

QString databasePathFor(const QString& location, const QString& appFolder) {
    if (!location.trimmed().isEmpty()) return location + QStringLiteral("/Zorvadb.mdb");
    return appFolder + QStringLiteral("/Zorvadb.mdb");
}

namespace {

// What keeps the server's database from serving; empty when it can.
QString serverProblem() {
    QString error;
    QSqlDatabase db = database(&error);
    if (!db.isValid()) return error; // names the server itself
    const QString problem = databaseProblem(db, false);
    return problem.isEmpty() ? problem : serverInUse()->description() + QStringLiteral(": ") + problem;
}

} // namespace

void StartUp(const UpgradeProgress& progress) {
    AppState& s = appState();
    // An installed program's first start prepares the user's folder itself and says so once.
    if (s.appFolder == userDataFolder()) {
        const FirstStart done = prepareUserFolder(s.appFolder);
        if (!done.error.isEmpty()) {
            ui().message(nullptr, Icon::Critical, QStringLiteral("Zorva"),
                         unwritableFolderText(s.appFolder, done));
            EndProgram();
            return;
        }
        if (!done.written.isEmpty())
            ui().message(nullptr, Icon::Information, QStringLiteral("Zorva"),
                         firstStartText(s.appFolder, done));
    }
    const QString ini = s.appFolder + QStringLiteral("/Zorva.ini");
    if (!QFileInfo(ini).isFile()) {
        ui().message(nullptr, Icon::Critical, QStringLiteral("File not found..."),
                     missingIniText(s.appFolder));
        EndProgram();
        return;
    }
    s.gIniFile = ini;
    QString serverError;
    serverInUse() = readDatabaseServer(ini, &serverError);
    if (!serverError.isEmpty()) {
        ui().message(nullptr, Icon::Critical, QStringLiteral("Error"), serverError);
        EndProgram();
        return;
    }
    s.gDbPath = databasePathFor(ReadIni(QStringLiteral("Database"),
                                        QStringLiteral("DatabaseLocation")),
                                s.appFolder);

    if (!serverInUse() && !QFileInfo::exists(s.gDbPath)) {
        frmCariDB locate;
        ui().showModal(locate);
        if (locate.endedProgram()) return;
    }

    // A file that cannot be the database (damaged, another program's, tables lacking columns)
    // is named and left as it is; a failing upgrade changes nothing either. Neither stops the
    // start: the user is told, and the login reports the database's state again.
    // (Not read through at every start: a truncated file shows in its header.)
    QString error = serverInUse() ? serverProblem() : databaseFileProblem(s.gDbPath, false);
    if (!serverInUse() && !error.isEmpty() && QFileInfo(s.gDbPath).isFile())
        error = QDir::toNativeSeparators(s.gDbPath) + QStringLiteral(": ") + error;
    else UpgradeSchema(&error, progress);
    if (progress) progress(QString(), 100);
    if (!error.isEmpty()) ui().message(nullptr, Icon::Warning, QStringLiteral("Error !!!"), error);

    // The load makes the window visible itself, after the database folder form.
    auto* main = new MDIFrmUtama;
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->Form_Load();
}

} // namespace zorva
