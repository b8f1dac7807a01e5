#include "platform/Csv.h"

namespace zorva {

void appendCsvLine(QByteArray& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        const QByteArray bytes = fields.at(i).toUtf8();
        if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
            bytes.contains('\r')) {
            out += '"';
            for (char c : bytes) {
                if (c == '"') out += '"';
                out += c;
            }
            out += '"';
        } else {
            out += bytes;
        }
    }
    out += "\r\n";
}

} // namespace zorva
