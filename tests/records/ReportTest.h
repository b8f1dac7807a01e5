#pragma once
// Helpers shared by the report tests: PDF read-back and IP_Info rows.
#include "app/MDIFrmUtama.h"
#include "platform/Database.h"
#include "platform/Session.h"
#include "support/Fixture.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <QProcess>
#include <QtTest>

namespace zorva::test {

// The text of a PDF as `pdftotext -layout` gives it (pages separated by form feeds); a null
// string when the tool could not read it.
inline QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The lines of one page (from 1) of pdftotext's output, blanks at the ends trimmed.
inline QStringList pdfPageLines(const QString& text, int page) {
    QStringList lines;
    for (const QString& l : text.split(QLatin1Char('\f')).value(page - 1).split(QLatin1Char('\n')))
        if (!l.trimmed().isEmpty()) lines << l.trimmed();
    return lines;
}

// The same line with its runs of blanks made one, to compare layout text with expectations.
inline QString simplified(const QString& line) { return line.simplified(); }

struct Record {
    QString ip;
    QString name;
    QString type;
    QString user;
    QString date; // yyyy-MM-dd
    QString unit = QStringLiteral("IT Unit");
    QString project = QStringLiteral("P1");
    QString staff = QStringLiteral("S001");
    QString remarks = QStringLiteral("none");
};

inline void addRecord(AppFixture& app, const Record& r) {
    app.exec(QStringLiteral("INSERT INTO IP_Info (IP_Address, IP_4, [Name], [Type], Username, "
                            "DateIssue, UnitDivision, Project, StaffNo, Remarks) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {r.ip, r.ip.section(QLatin1Char('.'), 3, 3).toInt(), r.name, r.type, r.user, r.date,
              r.unit, r.project, r.staff, r.remarks});
}

// count records dated `date`, addresses 10.200.x.y from `first` on, in one transaction.
inline void addDatedRecords(AppFixture& app, int count, const QDate& date, int first = 0) {
    Transaction t;
    for (int i = first; i < first + count; ++i)
        addRecord(app, {QStringLiteral("10.200.%1.%2").arg(i / 250).arg(i % 250 + 1),
                        QStringLiteral("H%1").arg(i), QStringLiteral("PC"), QStringLiteral("U"),
                        date.toString(Qt::ISODate)});
    QVERIFY(t.commit());
}

// Saves the report of an open preview as PDF and as CSV, through the scripted file dialog, and
// returns the PDF's text and the CSV's bytes.
struct SavedReport {
    QString pdf;
    QByteArray csv;
    QStringList said; // what the status bar was told
};
inline SavedReport saveReport(ScriptedUi& sui, QDialog& preview, const QString& folder) {
    auto* pdfAction = preview.findChild<QAction*>(QStringLiteral("actSavePdf"));
    auto* csvAction = preview.findChild<QAction*>(QStringLiteral("actExportCsv"));
    SavedReport out;
    if (!pdfAction || !csvAction) return out;
    QSignalSpy said(&session(), &Session::announced);
    // Names without their suffix: the preview adds it.
    sui.answerFile(folder + QStringLiteral("/saved"));
    pdfAction->trigger();
    sui.answerFile(folder + QStringLiteral("/saved"));
    csvAction->trigger();
    out.pdf = pdfText(folder + QStringLiteral("/saved.pdf"));
    QFile csv(folder + QStringLiteral("/saved.csv"));
    if (csv.open(QIODevice::ReadOnly)) out.csv = csv.readAll();
    for (const QList<QVariant>& args : said) out.said << args.value(0).toString();
    return out;
}

// Opens a report form from the main window, by its toolbar button and then its menu entry,
// and returns the one child form shown (the second opening brings the first forward).
template <class Form> Form* openFromMainWindow(MDIFrmUtama& main, QAction* entry, const QString& key) {
    main.resize(1000, 800);
    main.show();
    QAction* button = main.toolButton(key);
    if (!entry->isEnabled() || !button || !button->isVisible()) return nullptr;
    button->trigger();
    entry->trigger();
    const QList<QMdiSubWindow*> children = main.mdiArea->subWindowList();
    if (children.size() != 1) return nullptr;
    auto* form = qobject_cast<Form*>(children.first()->widget());
    return form && form->isLoaded() ? form : nullptr;
}

} // namespace zorva::test
