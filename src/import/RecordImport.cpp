#include "import/RecordImport.h"
#include "import/ImportPass.h"
#include "platform/Csv.h"
#include "platform/CsvRead.h"
#include "platform/Database.h"
#include "platform/History.h"
#include "platform/Schema.h"
#include "platform/SchemaServer.h"
#include "platform/SqlDialect.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>

namespace zorva {

using namespace importing;

struct RecordImport::Private {
    QString path;
    QStringList header, mapping;
    QString encoding;
    QChar delimiter = QLatin1Char(',');
    PassResult result;
    // What the outcomes were decided on: a write needs the same file, mapping and options.
    bool checked = false;
    qint64 size = -1;
    QDateTime modified;
    QStringList checkedMapping;
    ImportOptions checkedOptions;

    void forget() {
        result = PassResult();
        checked = false;
    }
};

namespace {

bool sameOptions(const ImportOptions& a, const ImportOptions& b) {
    return a.existing == b.existing && a.strictPlace == b.strictPlace && a.onlyArea == b.onlyArea &&
           a.inputBy == b.inputBy;
}

// Each insert fires the history's and the search aids' triggers, so SQLite keeps a statement
// journal for it; in a temporary file that is most of a large import's time. In memory for
// the duration of the write, on the file.
class MemoryJournal {
public:
    explicit MemoryJournal(QSqlDatabase db) : db_(db) {
        if (isServer(db_)) return;
        for (const auto& [name, value] : kSettings) {
            if (auto q = runSqlOn(db_, QStringLiteral("PRAGMA %1").arg(name)); q && q->next())
                old_.append({name, q->value(0).toString()});
            runSqlOn(db_, QStringLiteral("PRAGMA %1 = %2").arg(name, value));
        }
    }
    ~MemoryJournal() {
        for (const auto& [name, value] : old_) runSqlOn(db_, QStringLiteral("PRAGMA %1 = %2").arg(name, value));
    }

private:
    inline static const std::pair<QString, QString> kSettings[] = {{QStringLiteral("temp_store"), QStringLiteral("2")}};
    QSqlDatabase db_;
    QList<std::pair<QString, QString>> old_;
};

bool say(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

} // namespace

RecordImport::RecordImport() : d(std::make_unique<Private>()) {}
RecordImport::~RecordImport() = default;

bool RecordImport::open(const QString& path, QString* error) {
    *d = Private();
    d->path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return say(error, QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
    CsvReader reader(&file);
    QStringList fields;
    qint64 line = 0;
    if (!reader.next(&fields, &line)) return say(error, reader.error().isEmpty() ? QStringLiteral("The file is empty.") : reader.error());
    // A column without a name (a spreadsheet's empty formatted column) fills nothing unless chosen.
    d->header = fields;
    d->encoding = reader.encodingName();
    d->delimiter = reader.delimiter();
    d->mapping = proposeMapping(fields);
    return true;
}

QString RecordImport::path() const { return d->path; }
QStringList RecordImport::header() const { return d->header; }

QStringList RecordImport::targetColumns() {
    QStringList out = schemaColumnsOf(QStringLiteral("IP_Info"));
    out.removeAll(QStringLiteral("IP_4"));
    return out;
}

QStringList RecordImport::mapping() const { return d->mapping; }

void RecordImport::setMapping(const QStringList& mapping) {
    if (mapping != d->mapping) d->forget();
    d->mapping = mapping;
}

QString RecordImport::mappingProblem() const {
    if (d->header.isEmpty()) return QStringLiteral("No file is open.");
    return importing::mappingProblem(d->header, d->mapping, targetColumns());
}

QStringList RecordImport::unmappedColumns() const {
    QStringList out;
    for (qsizetype i = 0; i < d->header.size(); ++i)
        if (d->mapping.value(i).isEmpty()) out << d->header.at(i);
    return out;
}

QString RecordImport::encodingName() const { return d->encoding; }
QChar RecordImport::delimiter() const { return d->delimiter; }

bool RecordImport::check(const ImportOptions& options, const ImportProgress& progress, QString* error) {
    d->forget();
    if (const QString problem = mappingProblem(); !problem.isEmpty()) return say(error, problem);
    QSqlDatabase db = database(error);
    if (!db.isValid()) return false;
    const QFileInfo info(d->path);
    PassResult result;
    if (!runPass(db, {d->path, d->header, d->mapping, options, false, progress}, &result, error)) return false;
    d->result = std::move(result);
    d->checked = true;
    d->size = info.size();
    d->modified = info.lastModified();
    d->checkedMapping = d->mapping;
    d->checkedOptions = options;
    return true;
}

ImportCounts RecordImport::counts() const { return d->result.counts; }
qint64 RecordImport::rowCount() const { return qint64(d->result.rows.size()); }

ImportRow RecordImport::row(qint64 index) const {
    if (index < 0 || index >= rowCount()) return {};
    return rowOf(d->result.rows[size_t(index)]);
}

bool RecordImport::writeRefused(const QString& path, QString* error) const {
    if (!d->checked) return say(error, QStringLiteral("Check the file first."));
    QHash<qint64, QString> reasons;
    for (const Outcome& o : d->result.rows)
        if (o.outcome == RowOutcome::Refused) reasons.insert(o.line, o.detail);
    QFile in(d->path);
    if (!in.open(QIODevice::ReadOnly)) return say(error, QStringLiteral("%1 cannot be read: %2").arg(d->path, in.errorString()));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return say(error, QStringLiteral("%1 cannot be written: %2").arg(path, out.errorString()));
    CsvReader reader(&in);
    QStringList fields;
    qint64 line = 0;
    QByteArray bytes;
    if (reader.next(&fields, &line)) appendCsvLine(bytes, fields << QStringLiteral("Reason"));
    while (reader.next(&fields, &line)) {
        if (const auto it = reasons.constFind(line); it != reasons.constEnd()) appendCsvLine(bytes, fields << *it);
        if (bytes.size() > (1 << 20)) {
            out.write(bytes);
            bytes.clear();
        }
    }
    if (!reader.error().isEmpty()) return say(error, reader.error());
    out.write(bytes);
    if (!out.commit()) return say(error, QStringLiteral("%1 cannot be written: %2").arg(path, out.errorString()));
    return true;
}

bool RecordImport::write(const ImportOptions& options, const ImportProgress& progress, QString* error) {
    const QString nothing = QStringLiteral(" Nothing was written.");
    if (!d->checked || d->checkedMapping != d->mapping || !sameOptions(d->checkedOptions, options))
        return say(error, QStringLiteral("Check the file with these choices first.") + nothing);
    const QFileInfo info(d->path);
    if (!info.isFile()) return say(error, QStringLiteral("%1 is gone.").arg(d->path) + nothing);
    if (info.size() != d->size || info.lastModified() != d->modified)
        return say(error, QStringLiteral("%1 changed since it was checked; check it again.").arg(d->path) + nothing);
    if (d->result.stopRefusals > 0)
        return say(error, QStringLiteral("Addresses of the file already recorded: %1 (the first on line %2). Choose to "
                                         "skip or to update them, or take them out of the file.")
                              .arg(d->result.stopRefusals).arg(d->result.firstStopLine) + nothing);
    QSqlDatabase db = database(error);
    if (!db.isValid()) return false;
    keepHistoryToldOf(db);
    const MemoryJournal cache(db);
    Transaction t(db);
    if (!t.isOpen()) return say(error, QStringLiteral("The database cannot begin the import: %1").arg(db.lastError().text()) + nothing);
    PassResult result;
    if (!runPass(db, {d->path, d->header, d->mapping, options, true, progress}, &result, error)) {
        t.rollback();
        if (error) *error += nothing;
        return false;
    }
    const ImportCounts& a = result.counts;
    const ImportCounts& b = d->result.counts;
    if (a.added != b.added || a.updated != b.updated || a.refused != b.refused || a.skipped != b.skipped) {
        t.rollback();
        return say(error, QStringLiteral("The inventory changed since the check; check the file again.") + nothing);
    }
    if (!committed(t, db, error)) {
        if (error) *error += nothing;
        return false;
    }
    // The outcomes are the dry run's; the write confirmed them.
    return true;
}

} // namespace zorva
