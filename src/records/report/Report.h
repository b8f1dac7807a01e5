#pragma once
#include <QDateTime>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace zorva::report {

// A banded report: a query's rows plus the bands that show them. Coordinates are points
// (1/72 inch) on a page whose printable width is Report::designWidth; a wider or narrower
// page stretches every x position and width in proportion, heights stay.
//
// Static texts may hold these codes, replaced while painting:
//   %p page number, %P page count, %d printing date "dd/MM/yyyy", %t printing time "h:mm:ss AMPM"

struct Element {
    QString name;
    QRectF rect;     // within the band; the height is that of the first line
    QString text;    // static text, used while field < 0
    int field = -1;  // column of Report::rows shown by a detail element
    double fontSize = 9;
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft;
    int maxLines = 1; // above 1 the text wraps at word boundaries; the last line is elided
    bool visible = true;
};

struct Band {
    QString name;
    double height = 0; // the detail band grows with wrapped lines
    QList<Element> elements;
    QList<QLineF> rules; // thin lines, in band coordinates
};

struct Report {
    QString name;    // the preview's objectName
    QString caption; // the preview's window title and the PDF's title
    double designWidth = 540;
    Band reportHeader{QStringLiteral("Section4"), 0, {}, {}};
    Band pageHeader{QStringLiteral("Section2"), 0, {}, {}};
    Band detail{QStringLiteral("Section1"), 0, {}, {}};
    Band pageFooter{QStringLiteral("Section3"), 0, {}, {}};
    Band reportFooter{QStringLiteral("Section5"), 0, {}, {}};

    // The data: one QStringList per record, in the order of `fields`.
    QStringList fields;
    std::vector<QStringList> rows;
    // The CSV export: header element and detail element of each column, left to right.
    QList<std::pair<QString, QString>> columns;
    QDateTime printedAt = QDateTime::currentDateTime();

    // The element of that name in any band, or nullptr.
    Element* element(const QString& name);
    const Element* element(const QString& name) const;
    // Index of a field name in `fields`, or -1.
    int fieldIndex(const QString& field) const;
    // What an element shows for a record (its field value, or its static text).
    QString valueOf(const Element& e, qsizetype row) const;
    QList<const Band*> bands() const;
};

// "dd/MM/yyyy" and "h:mm:ss AMPM" ("3:07:09 PM").
QString reportDate(const QDateTime& at);
QString reportTime(const QDateTime& at);
// Replaces %p, %P, %d and %t.
QString expandCodes(const QString& text, int page, int pageCount, const QDateTime& at);

} // namespace zorva::report
