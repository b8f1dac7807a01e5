#include "records/ReportCommon.h"
#include "platform/Database.h"

#include <QLocale>

namespace zorva {

const QStringList& reportFields() {
    static const QStringList fields = {
        QStringLiteral("IP_Address"), QStringLiteral("Name"),         QStringLiteral("Username"),
        QStringLiteral("Type"),       QStringLiteral("Project"),      QStringLiteral("StaffNo"),
        QStringLiteral("UnitDivision"), QStringLiteral("Remarks"),    QStringLiteral("DateIssue"),
    };
    return fields;
}

std::optional<std::vector<QStringList>> readReportRecords(QWidget* parent, const QString& where,
                                                          const QVariantList& values,
                                                          const QString& order,
                                                          const QStringList& needed) {
    const QStringList& all = reportFields();
    QStringList columns;
    QList<int> places;
    for (int i = 0; i < int(all.size()); ++i) {
        if (!needed.isEmpty() && !needed.contains(all[i])) continue;
        columns << QLatin1Char('[') + all[i] + QLatin1Char(']');
        places << i;
    }
    auto q = runSqlOrReport(parent,
                            // Ties by row key: the same lines in the same order on both backends.
                            QStringLiteral("SELECT %1 FROM IP_Info WHERE %2 ORDER BY %3, rowid")
                                .arg(columns.join(QStringLiteral(", ")), where, order),
                            values);
    if (!q) return std::nullopt;
    std::vector<QStringList> rows;
    while (q->next()) {
        QStringList row(all.size());
        for (int c = 0; c < int(places.size()); ++c) row[places[c]] = q->value(c).toString();
        rows.push_back(std::move(row));
    }
    return rows;
}

QString formatCount(qint64 count) {
    static const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    return grouped.toString(count);
}

namespace report {

namespace {
constexpr double kLine = 13;
}

Element label(const QString& name, const QString& text, double x, double y, double width,
              double fontSize, bool bold) {
    Element e;
    e.name = name;
    e.text = text;
    e.rect = QRectF(x, y, width, kLine);
    e.fontSize = fontSize;
    e.bold = bold;
    return e;
}

void addTitle(Report& r, const QString& name, const QString& text) {
    Element e = label(name, text, 0, 0, r.designWidth, 14, true);
    e.rect.setHeight(22);
    e.align = Qt::AlignHCenter;
    r.reportHeader.elements << e;
}

void addHeaderField(Report& r, const QString& caption, const QString& name, const QString& value,
                    double x, double y, double captionWidth, double valueWidth) {
    r.reportHeader.elements << label(name + QStringLiteral("Caption"), caption, x, y, captionWidth)
                            << label(name, value, x + captionWidth, y, valueWidth, 9, true);
}

Element detailField(const QString& name, const QString& field, double x, double width) {
    Element e = label(name, QString(), x, 1, width, 8.5);
    e.field = int(reportFields().indexOf(field));
    e.maxLines = 3;
    return e;
}

void addColumns(Report& r, std::initializer_list<Column> columns) {
    for (const Column& c : columns) {
        const QString header = QString::fromLatin1(c.headerName);
        const QString detail = QString::fromLatin1(c.detailName);
        r.pageHeader.elements << label(header, QString::fromLatin1(c.heading), c.x, 4, c.width,
                                       9, true);
        r.detail.elements << detailField(detail, QString::fromLatin1(c.field), c.x, c.width);
        r.columns << std::pair{header, detail};
    }
}

Report newReport(const QString& name, const QString& caption, double headerHeight) {
    Report r;
    r.name = name;
    r.caption = caption;
    r.designWidth = 510;
    r.reportHeader.height = headerHeight;
    return r;
}

void finishLayout(Report& r) {
    r.fields = reportFields();
    const double w = r.designWidth;
    r.pageHeader.height = 22;
    r.pageHeader.rules << QLineF(0, 19, w, 19);
    r.detail.height = 15;
    r.pageFooter.height = 26;
    r.pageFooter.rules << QLineF(0, 6, w, 6);
    r.pageFooter.elements
        << label(QStringLiteral("lblGenerated"),
                 QStringLiteral("This report was generate by Zorva system."), 0, 10, w * 0.45, 8)
        << label(QStringLiteral("lblPrinted"), QStringLiteral("%d  %t"), w * 0.45, 10, w * 0.3, 8)
        << label(QStringLiteral("lblPage"), QStringLiteral("Page : %p/%P"), w * 0.75, 10,
                 w * 0.25, 8);
    r.pageFooter.elements[1].align = Qt::AlignHCenter;
    r.pageFooter.elements[2].align = Qt::AlignRight;
    r.reportFooter.height = 0;
}

void bindField(Report& r, const QString& detailName, const QString& field) {
    if (Element* e = r.element(detailName)) e->field = int(reportFields().indexOf(field));
}

} // namespace report
} // namespace zorva
