#include "platform/Shell.h"
#include "platform/AppState.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace zorva {

void ShellOpen(const QString& /*verb*/, const QString& file, const QString& parameters,
               const QString& folder, int /*showCommand*/) {
    if (file.isEmpty()) return;
    const QFileInfo fi(folder.isEmpty() || QDir::isAbsolutePath(file) ? file
                                                                       : folder + '/' + file);
    if (fi.isFile() && fi.isExecutable()) {
        ui().startProgram(fi.absoluteFilePath(),
                          parameters.isEmpty() ? QStringList{} : QStringList{parameters});
        return;
    }
    ui().openUrl(fi.exists() ? fi.absoluteFilePath() : file);
}

void EndProgram() { ui().endProgram(0); }

QString applicationFolder() { return appState().appFolder; }

QString inApplicationFolder(const QString& name) {
    return appState().appFolder + QLatin1Char('/') + name;
}

QString inProgramFolder(const QString& name) {
    const AppState& s = appState();
    return (s.programFolder.isEmpty() ? s.appFolder : s.programFolder) + QLatin1Char('/') + name;
}

CursorGuard::CursorGuard() { QApplication::setOverrideCursor(Qt::WaitCursor); }
CursorGuard::~CursorGuard() { QApplication::restoreOverrideCursor(); }

} // namespace zorva
