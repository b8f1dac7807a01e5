#pragma once
// Helpers shared by the report tests: PDF read-back and IP_Info rows.
#include "support/Fixture.h"

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

} // namespace zorva::test
