#include "platform/Help.h"
#include "platform/HelpWindow.h"
#include "platform/Ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

namespace zorva {

QStringList manualFolders() {
    const QDir exe(QCoreApplication::applicationDirPath());
    QStringList out = {exe.filePath(QStringLiteral("manual")),
                       QDir::cleanPath(exe.filePath(QStringLiteral("../share/zorva/manual")))};
#ifdef ZORVA_MANUAL_SOURCE
    out << QStringLiteral(ZORVA_MANUAL_SOURCE);
#endif
    return out;
}

QString manualFolder() {
    for (const QString& folder : manualFolders())
        if (QFileInfo(QDir(folder).filePath(QStringLiteral("index.md"))).isFile()) return folder;
    return {};
}

QString helpPageOf(const QWidget* form) {
    const QString folder = manualFolder();
    const QString name = form ? form->objectName() : QString();
    if (folder.isEmpty() || name.isEmpty() || !QFileInfo(QDir(folder).filePath(name + QStringLiteral(".md"))).isFile())
        return QStringLiteral("index");
    return name;
}

void showHelp(QWidget* from, const QString& page) {
    const QString folder = manualFolder();
    if (folder.isEmpty()) {
        ui().message(from, Icon::Warning, QStringLiteral("Help"),
                     QStringLiteral("The manual was not found. It is looked for in:\n%1")
                         .arg(QDir::toNativeSeparators(manualFolders().join(QLatin1Char('\n')))));
        return;
    }
    // One help window for the whole program, kept while it is open.
    static QPointer<HelpWindow> window;
    if (!window || window->folder() != folder) {
        delete window;
        window = new HelpWindow(folder);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->openPage(page);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace zorva
