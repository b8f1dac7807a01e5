#pragma once
// The user manual: Markdown pages in a folder (doc/manual in the sources, installed beside the
// program), one per form named as the form is ("frmLogin.md"), shown in the help window.
#include <QString>
#include <QStringList>

class QWidget;

namespace zorva {

// The folders searched for the manual, in order: "manual" in the application folder, the
// shared data folder of an installed program (../share/zorva/manual from the executable),
// and the sources' doc/manual of a build that has not been installed.
QStringList manualFolders();
// The first of them that holds the manual's index.md; empty when none does.
QString manualFolder();

// The page of a form: its object name when the manual has a page of that name, else "index".
QString helpPageOf(const QWidget* form);

// Opens the help window (one for the program) at that page, or says where the manual was
// looked for when it is missing.
void showHelp(QWidget* from, const QString& page = QStringLiteral("index"));

} // namespace zorva
