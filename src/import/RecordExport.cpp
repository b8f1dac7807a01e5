#include "import/ImportRules.h"
#include "import/RecordImport.h"
#include "platform/Database.h"
#include "records/RecordCsv.h"

#include <algorithm>

namespace zorva {

bool exportAllRecords(const QString& path, const ImportProgress& progress, QString* error) {
    auto q = runSql(QStringLiteral("SELECT rowid, IP_Address FROM IP_Info"), {}, error);
    if (!q) return false;
    // Address order by number (10.0.0.9 before 10.0.0.10); text that is no address after them.
    struct Key {
        quint64 order;
        QString text;
        qint64 key;
    };
    std::vector<Key> keys;
    while (q->next()) {
        const QString text = q->value(1).toString();
        const auto ip = importing::parseAddress(text);
        keys.push_back({ip ? *ip : quint64(1) << 32, ip ? QString() : text, q->value(0).toLongLong()});
    }
    q.reset();
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.order != b.order ? a.order < b.order : a.text < b.text;
    });
    std::vector<qint64> rows;
    rows.reserve(keys.size());
    for (const Key& k : keys) rows.push_back(k.key);
    return writeRecordsCsv(rows, path, error, {progress, true});
}

} // namespace zorva
