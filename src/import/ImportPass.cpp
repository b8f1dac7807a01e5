#include "import/ImportPass.h"
#include "platform/CsvRead.h"
#include "platform/Database.h"
#include "platform/SqlDialect.h"
#include "records/RecordDetail.h"

#include <QFile>
#include <QSqlRecord>

namespace zorva::importing {

namespace {

const QString kAddress = QStringLiteral("IP_Address");
const QString kStatus = QStringLiteral("Status");
const QString kDate = QStringLiteral("DateIssue");
const QString kInputBy = QStringLiteral("InputBy");
const QStringList kPlaceColumns = {QStringLiteral("Region"), QStringLiteral("StateOwner"),
                                   QStringLiteral("CityOwner"), QStringLiteral("Workgroup")};
constexpr int kProgressEvery = 1000;

// A value as the export writes it: what Update compares, so that a file the program wrote
// reads back as unchanged.
QString exportText(const QString& column, const QVariant& v) {
    return column == kDate ? issueDateText(v) : v.toString();
}

QString bracketed(const QStringList& columns, const QString& suffix) {
    QStringList out;
    for (const QString& c : columns) out << QLatin1Char('[') + c + QLatin1Char(']') + suffix;
    return out.join(QStringLiteral(", "));
}

class Pass {
public:
    Pass(QSqlDatabase db, const PassSetup& s, PassResult* r) : db_(db), s_(s), r_(r) {}
    bool run(QString* error);

private:
    bool prepare(QString* error);
    // Decides one row; false only when the pass must end (a failed write, Stop while writing).
    bool decide(const QStringList& fields, qint64 line, QString* error);
    bool values(const QStringList& fields, Outcome& o, QHash<QString, QVariant>& v) const;
    bool compare(qint64 key, const QHash<QString, QVariant>& v, Outcome& o, QVariantList* bound, QString* error);
    bool insert(const Outcome& o, QHash<QString, QVariant>& v, const Place& place, QString* error);
    // Writes the new rows gathered for one statement.
    bool flush(QString* error);
    QString insertSql(int rows) const;
    void count(const Outcome& o);

    QSqlDatabase db_;
    const PassSetup& s_;
    PassResult* r_;
    int addressAt_ = -1;
    QList<std::pair<int, QString>> mapped_; // file column -> IP_Info column, the address left out
    QStringList insertColumns_, updateColumns_;
    PlanIndex plan_;
    QHash<quint32, qint64> existing_, seen_;
    std::optional<QSqlQuery> insert_, update_, select_;
    // New rows go in groups: on a server each statement is a round trip, on the file each one
    // keeps a statement journal for its triggers' writes; a group halves the time of either.
    static constexpr int kBatch = 100;
    int batch_ = kBatch;
    QVariantList pending_;
    int pendingRows_ = 0;
    qint64 pendingFrom_ = 0, pendingTo_ = 0;
    QString pendingAddress_;
};

QString Pass::insertSql(int rows) const {
    const QString group = QLatin1Char('(') + QStringList(insertColumns_.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                          QLatin1Char(')');
    return QStringLiteral("INSERT INTO IP_Info (%1) VALUES %2")
        .arg(bracketed(insertColumns_, {}), QStringList(rows, group).join(QLatin1Char(',')));
}

bool Pass::prepare(QString* error) {
    for (qsizetype i = 0; i < s_.mapping.size(); ++i) {
        const QString& c = s_.mapping.at(i);
        if (c == kAddress) addressAt_ = int(i);
        else if (!c.isEmpty()) mapped_.append({int(i), c});
    }
    if (!plan_.load(db_, error)) return false;
    auto q = runSqlOn(db_, QStringLiteral("SELECT rowid, IP_Address FROM IP_Info"), {}, error);
    if (!q) return false;
    while (q->next())
        if (const auto ip = parseAddress(q->value(1).toString())) existing_.insert(*ip, q->value(0).toLongLong());
    for (const auto& m : mapped_) updateColumns_ << m.second;
    insertColumns_ = QStringList{kAddress, QStringLiteral("IP_4")} + updateColumns_;
    for (const QString& c : kPlaceColumns + QStringList{kStatus, kInputBy})
        if (!insertColumns_.contains(c)) insertColumns_ << c;
    const auto prepared = [this, error](std::optional<QSqlQuery>& q, const QString& sql) {
        q.emplace(db_);
        if (q->prepare(sqlFor(db_, sql))) return true;
        if (error) *error = sqlErrorText(*q);
        return false;
    };
    if (!updateColumns_.isEmpty() &&
        !prepared(select_, QStringLiteral("SELECT %1 FROM IP_Info WHERE rowid = ?").arg(bracketed(updateColumns_, {}))))
        return false;
    if (!s_.writing) return true;
    return prepared(insert_, insertSql(batch_)) &&
           (updateColumns_.isEmpty() ||
            prepared(update_, QStringLiteral("UPDATE IP_Info SET %1 WHERE rowid = ?").arg(bracketed(updateColumns_, QStringLiteral(" = ?")))));
}

bool Pass::values(const QStringList& fields, Outcome& o, QHash<QString, QVariant>& v) const {
    for (const auto& [at, column] : mapped_) {
        const QString& text = fields.at(at);
        if (column == kStatus) {
            const auto status = statusValue(text.trimmed());
            if (!status) {
                o.detail = QStringLiteral("Status \"%1\" is neither Permanent nor Temporary.").arg(text);
                return false;
            }
            v.insert(column, *status);
        } else if (column == kDate) {
            const QString t = text.trimmed();
            const auto date = t.isEmpty() ? std::optional<QDate>(QDate()) : parseIssueDate(t);
            if (!date) {
                o.detail = QStringLiteral("DateIssue \"%1\" is no date (dd/MM/yyyy or yyyy-MM-dd).").arg(text);
                return false;
            }
            v.insert(column, date->isValid() ? QVariant(date->toString(Qt::ISODate)) : QVariant());
        } else {
            if (text.size() > maxLengthOf(column)) {
                o.detail = QStringLiteral("%1 is %2 characters long; at most %3 fit.")
                               .arg(column).arg(text.size()).arg(maxLengthOf(column));
                return false;
            }
            v.insert(column, text);
        }
    }
    return true;
}

// Of an address recorded already: which of the file's columns change it. InputBy left empty
// in the file keeps the record's value.
bool Pass::compare(qint64 key, const QHash<QString, QVariant>& v, Outcome& o, QVariantList* bound, QString* error) {
    o.outcome = RowOutcome::Unchanged;
    if (!select_) return true; // the file gives nothing but the address
    select_->addBindValue(key);
    if (!select_->exec() || !select_->next()) {
        if (error) *error = QStringLiteral("Line %1: the record of %2 cannot be read: %3")
                                .arg(o.line).arg(addressText(o.ip), sqlErrorText(*select_));
        return false;
    }
    QStringList changes;
    for (int i = 0; i < updateColumns_.size(); ++i) {
        const QString& c = updateColumns_.at(i);
        const QVariant old = select_->value(i);
        const QVariant now = v.value(c);
        const bool keep = c == kInputBy && now.toString().isEmpty();
        const QString before = exportText(c, old), after = exportText(c, now);
        if (keep || before == after) {
            *bound << old;
            continue;
        }
        *bound << now;
        changes << QStringLiteral("%1: %2 -> %3").arg(c, before, after);
    }
    select_->finish();
    o.outcome = changes.isEmpty() ? RowOutcome::Unchanged : RowOutcome::Update;
    o.detail = changes.join(QStringLiteral("; "));
    return true;
}

bool Pass::insert(const Outcome& o, QHash<QString, QVariant>& v, const Place& place, QString* error) {
    const QString placeValues[] = {place.area, place.state, place.city, place.workgroup};
    for (int i = 0; i < kPlaceColumns.size(); ++i)
        if (!v.contains(kPlaceColumns.at(i))) v.insert(kPlaceColumns.at(i), placeValues[i]);
    if (v.value(kInputBy).toString().isEmpty()) v.insert(kInputBy, s_.options.inputBy);
    if (!v.contains(kStatus)) v.insert(kStatus, QLatin1String(""));
    v.insert(kAddress, addressText(o.ip));
    v.insert(QStringLiteral("IP_4"), int(o.ip & 255));
    for (const QString& c : insertColumns_) pending_ << v.value(c);
    if (pendingRows_++ == 0) {
        pendingFrom_ = o.line;
        pendingAddress_ = addressText(o.ip);
    }
    pendingTo_ = o.line;
    return pendingRows_ < batch_ || flush(error);
}

bool Pass::flush(QString* error) {
    if (pendingRows_ == 0) return true;
    QSqlQuery rest(db_);
    QSqlQuery& q = pendingRows_ == batch_ ? *insert_ : rest;
    if (&q == &rest) rest.prepare(sqlFor(db_, insertSql(pendingRows_)));
    for (const QVariant& value : pending_) q.addBindValue(value);
    const bool written = q.exec();
    if (!written && error)
        *error = pendingRows_ == 1
                     ? QStringLiteral("Line %1 (%2) could not be written: %3").arg(pendingFrom_).arg(pendingAddress_, sqlErrorText(q))
                     : QStringLiteral("Lines %1 to %2 could not be written: %3").arg(pendingFrom_).arg(pendingTo_).arg(sqlErrorText(q));
    pending_.clear();
    pendingRows_ = 0;
    return written;
}

void Pass::count(const Outcome& o) {
    ImportCounts& c = r_->counts;
    ++c.rows;
    switch (o.outcome) {
    case RowOutcome::New: ++c.added; break;
    case RowOutcome::Update: ++c.updated; break;
    case RowOutcome::Unchanged: ++c.unchanged; break;
    case RowOutcome::Skipped: ++c.skipped; break;
    case RowOutcome::Refused: ++c.refused; break;
    }
    if (o.warning) ++c.warnings;
}

bool Pass::decide(const QStringList& fields, qint64 line, QString* error) {
    Outcome o;
    o.line = line;
    const auto done = [this, &o] {
        count(o);
        if (!s_.writing) r_->rows.push_back(std::move(o));
        return true;
    };
    if (fields.size() != s_.header.size()) {
        o.rawAddress = fields.value(addressAt_).trimmed();
        o.detail = QStringLiteral("The row has %1 fields; the header has %2.").arg(fields.size()).arg(s_.header.size());
        return done();
    }
    const QString address = fields.at(addressAt_).trimmed();
    const auto ip = parseAddress(address);
    if (!ip) {
        o.rawAddress = address;
        o.detail = address.isEmpty() ? QStringLiteral("IP_Address is empty.")
                                     : QStringLiteral("IP_Address \"%1\" is not an IPv4 address (four numbers "
                                                      "0-255 without leading zeros).").arg(fields.at(addressAt_));
        return done();
    }
    o.hasIp = true;
    o.ip = *ip;
    if (const auto first = seen_.constFind(o.ip); first != seen_.constEnd()) {
        o.detail = QStringLiteral("IP_Address %1 is on line %2 already.").arg(address).arg(*first);
        return done();
    }
    seen_.insert(o.ip, line);
    QHash<QString, QVariant> v;
    if (!values(fields, o, v)) return done();

    // A place column the file has is taken as written, even empty (so that the program's own
    // export reads back as it was); the plan fills only the columns the file lacks.
    bool placeGiven = true;
    for (const QString& c : kPlaceColumns) placeGiven = placeGiven && v.contains(c);
    const Place place = plan_.placeOf(o.ip);
    if (!place.found && s_.options.strictPlace) {
        o.detail = QStringLiteral("IP_Address %1 fits no area and city of the address plan.").arg(address);
        return done();
    }
    const QString area = v.contains(kPlaceColumns.first()) ? v.value(kPlaceColumns.first()).toString() : place.area;
    if (!s_.options.onlyArea.isEmpty() && area.compare(s_.options.onlyArea, Qt::CaseInsensitive) != 0) {
        o.detail = QStringLiteral("Region \"%1\" is outside your area (%2).").arg(area, s_.options.onlyArea);
        return done();
    }

    const auto recorded = existing_.constFind(o.ip);
    if (recorded == existing_.constEnd()) {
        o.outcome = RowOutcome::New;
        if (!place.found && !placeGiven) {
            o.warning = true;
            o.detail = place.area; // shared with the plan; the text is made when asked for
        }
        if (s_.writing && !insert(o, v, place, error)) return false;
        return done();
    }
    switch (s_.options.existing) {
    case ExistingRecords::Stop:
        o.detail = QStringLiteral("IP_Address %1 is already recorded.").arg(address);
        if (r_->stopRefusals++ == 0) r_->firstStopLine = line;
        if (s_.writing) {
            if (error) *error = QStringLiteral("Line %1: IP_Address %2 is already recorded.").arg(line).arg(address);
            return false;
        }
        return done();
    case ExistingRecords::Skip:
        o.outcome = RowOutcome::Skipped;
        return done();
    case ExistingRecords::Update: break;
    }
    QVariantList bound;
    if (!compare(*recorded, v, o, &bound, error)) return false;
    if (s_.writing && o.outcome == RowOutcome::Update) {
        for (const QVariant& b : bound) update_->addBindValue(b);
        update_->addBindValue(*recorded);
        if (!update_->exec()) {
            if (error) *error = QStringLiteral("Line %1 (%2) could not be written: %3").arg(line).arg(address, sqlErrorText(*update_));
            return false;
        }
    }
    return done();
}

bool Pass::run(QString* error) {
    QFile file(s_.path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("%1 cannot be read: %2").arg(s_.path, file.errorString());
        return false;
    }
    if (!prepare(error)) return false;
    CsvReader reader(&file);
    QStringList fields;
    qint64 line = 0;
    if (!reader.next(&fields, &line)) { // the header, read again
        if (error) *error = reader.error().isEmpty() ? QStringLiteral("The file is empty.") : reader.error();
        return false;
    }
    if (fields != s_.header) {
        if (error) *error = QStringLiteral("The header of %1 changed; open the file again.").arg(s_.path);
        return false;
    }
    const qint64 total = file.size();
    qint64 n = 0;
    while (reader.next(&fields, &line)) {
        if (!decide(fields, line, error)) return false;
        if (++n % kProgressEvery == 0 && s_.progress && !s_.progress(reader.bytesRead(), total)) {
            if (error) *error = QStringLiteral("Cancelled.");
            return false;
        }
    }
    if (!reader.error().isEmpty()) {
        if (error) *error = reader.error();
        return false;
    }
    if (!flush(error)) return false;
    if (s_.progress) s_.progress(total, total);
    return true;
}

} // namespace

bool runPass(QSqlDatabase db, const PassSetup& setup, PassResult* result, QString* error) {
    *result = PassResult();
    return Pass(db, setup, result).run(error);
}

ImportRow rowOf(const Outcome& o) {
    ImportRow r;
    r.line = o.line;
    r.outcome = o.outcome;
    r.address = o.hasIp ? addressText(o.ip) : o.rawAddress;
    r.detail = o.detail;
    r.warning = o.warning;
    if (o.warning)
        r.detail = o.detail.isEmpty()
                       ? QStringLiteral("IP_Address %1 fits no area of the address plan: its place is left empty.").arg(r.address)
                       : QStringLiteral("IP_Address %1 fits no city of the area %2: only its area is filled.").arg(r.address, o.detail);
    return r;
}

} // namespace zorva::importing
