#include "records/report/Report.h"

#include <QLocale>

namespace zorva::report {

const Element* Report::element(const QString& name) const {
    for (const Band* b : bands())
        for (const Element& e : b->elements)
            if (e.name == name) return &e;
    return nullptr;
}

Element* Report::element(const QString& name) {
    return const_cast<Element*>(std::as_const(*this).element(name));
}

int Report::fieldIndex(const QString& field) const {
    return int(fields.indexOf(field));
}

QString Report::valueOf(const Element& e, qsizetype row) const {
    if (e.field < 0) return e.text;
    if (row < 0 || row >= qsizetype(rows.size())) return {};
    return rows[size_t(row)].value(e.field);
}

QList<const Band*> Report::bands() const {
    return {&reportHeader, &pageHeader, &detail, &pageFooter, &reportFooter};
}

QString reportDate(const QDateTime& at) {
    return at.date().toString(QStringLiteral("dd/MM/yyyy"));
}

QString reportTime(const QDateTime& at) {
    // The C locale spells the day half "AM"/"PM" whatever the desktop's language.
    return QLocale::c().toString(at.time(), QStringLiteral("h:mm:ss AP"));
}

QString expandCodes(const QString& text, int page, int pageCount, const QDateTime& at) {
    if (!text.contains(QLatin1Char('%'))) return text;
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        QString code;
        if (c == QLatin1Char('%')) {
            switch (next.unicode()) {
            case 'p': code = QString::number(page); break;
            case 'P': code = QString::number(pageCount); break;
            case 'd': code = reportDate(at); break;
            case 't': code = reportTime(at); break;
            default: break;
            }
        }
        if (code.isNull()) {
            out += c;
        } else {
            out += code;
            ++i;
        }
    }
    return out;
}

} // namespace zorva::report
