#include "records/RecordHistory.h"
#include "platform/Database.h"
#include "records/ReportCommon.h"

#include <QSqlError>

namespace zorva {

QString actionText(const QString& action) {
    if (action.isEmpty()) return {};
    return action.left(1).toUpper() + action.mid(1);
}

namespace {

QString shown(const QString& v) { return v.isEmpty() ? QStringLiteral("(empty)") : v; }

QString holderOf(const QVariantMap& row) {
    QStringList parts;
    for (const char* c : {"Name", "Username"}) {
        const QString v = row.value(QLatin1String(c)).toString();
        if (!v.isEmpty()) parts << v;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString changeText(const HistoryEntry& e) {
    if (e.action == history::kChanged) {
        QStringList parts;
        for (const FieldChange& c : changesOf(e))
            parts << QStringLiteral("%1: %2 -> %3").arg(c.column, shown(c.before), shown(c.after));
        return parts.join(QStringLiteral("; "));
    }
    if (e.action == history::kPurged) {
        const QVariantMap note = e.after;
        return QStringLiteral("%1 entries older than %2 removed")
            .arg(note.value(QStringLiteral("entries")).toLongLong())
            .arg(note.value(QStringLiteral("olderThan")).toString().left(10));
    }
    return holderOf(e.action == history::kDeleted ? e.before : e.after);
}

QString heldText(const QString& address, const QDateTime& when, const std::optional<HistoryEntry>& e) {
    const QString at = historyTimeText(when);
    if (!e) return QStringLiteral("Nobody held %1 on %2 (as far as the history goes).").arg(address, at);
    const QString who = holderOf(e->after);
    return QStringLiteral("On %1, %2 was held by %3 (recorded %4 by %5).")
        .arg(at, address, who.isEmpty() ? QStringLiteral("an unnamed record") : who,
             historyTimeText(e->at), e->userName.isEmpty() ? e->userId : e->userName);
}

HistoryGridModel::HistoryGridModel(QObject* parent) : QAbstractTableModel(parent) {}

bool HistoryGridModel::run(const HistoryQuery& query, QString* error) {
    beginResetModel();
    rows_.clear();
    query_ = query;
    total_ = 0;
    more_ = false;
    const auto total = countHistory(database(), query, error);
    const auto first = total ? readHistory(database(), query, 0, kPage, error) : std::nullopt;
    if (first) {
        rows_ = *first;
        total_ = *total;
        more_ = rows_.size() == kPage;
    } else {
        query_.reset();
    }
    endResetModel();
    return first.has_value();
}

void HistoryGridModel::show(QList<HistoryEntry> entries) {
    beginResetModel();
    query_.reset();
    rows_ = std::move(entries);
    total_ = rows_.size();
    more_ = false;
    endResetModel();
}

void HistoryGridModel::clear() { show({}); }

const HistoryEntry* HistoryGridModel::entry(int row) const {
    return row >= 0 && row < rows_.size() ? &rows_.at(row) : nullptr;
}

QList<HistoryEntry> HistoryGridModel::all(QString* error) {
    while (more_) {
        const qsizetype before = rows_.size();
        fetchMore({});
        if (rows_.size() == before) {
            if (error) *error = database().lastError().text();
            break;
        }
    }
    return rows_;
}

int HistoryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int HistoryGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryGridModel::data(const QModelIndex& index, int role) const {
    const HistoryEntry* e = entry(index.row());
    if (!e || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    switch (index.column()) {
    case When: return historyTimeText(e->at);
    case Address: return e->address;
    case Action: return actionText(e->action);
    case User: return e->userName.isEmpty() ? e->userId : QStringLiteral("%1 (%2)").arg(e->userName, e->userId);
    case Computer: return e->computer;
    case Changes: return changeText(*e);
    }
    return {};
}

QVariant HistoryGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    static const char* const kHeaders[ColumnCount] = {"When", "IP Address", "Action", "User", "Computer", "What"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kHeaders[section]) : QVariant();
}

bool HistoryGridModel::canFetchMore(const QModelIndex& parent) const { return !parent.isValid() && more_; }

void HistoryGridModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || !more_ || !query_ || rows_.isEmpty()) return;
    const auto next = readHistory(database(), *query_, rows_.last().key, kPage);
    if (!next) {
        more_ = false;
        return;
    }
    more_ = next->size() == kPage;
    if (next->isEmpty()) return;
    beginInsertRows({}, int(rows_.size()), int(rows_.size() + next->size() - 1));
    rows_ << *next;
    endInsertRows();
}

report::Report historyReport(const QString& searched, const QList<HistoryEntry>& entries) {
    using namespace report;
    Report r = newReport(QStringLiteral("rptHistory"), QStringLiteral("Zorva : Record History"), 62);
    addTitle(r, QStringLiteral("lblTitle"), r.caption);
    addHeaderField(r, QStringLiteral("Search :"), QStringLiteral("lblSearched"), searched, 0, 32, 60, 440);
    addHeaderField(r, QStringLiteral("Entries :"), QStringLiteral("lblEntries"), formatCount(entries.size()), 0, 46, 60);
    struct Col {
        const char* heading;
        double x, width;
    };
    const Col cols[] = {{"When", 0, 78}, {"IP Address", 78, 70}, {"Action", 148, 48},
                        {"User", 196, 70}, {"What", 266, 244}};
    for (int i = 0; i < 5; ++i) {
        const QString n = QString::number(i);
        r.pageHeader.elements << label(QStringLiteral("lblHead") + n, QString::fromLatin1(cols[i].heading),
                                       cols[i].x, 4, cols[i].width, 9, true);
        Element e = label(QStringLiteral("txtField") + n, QString(), cols[i].x, 1, cols[i].width, 8.5);
        e.field = i;
        e.maxLines = 3;
        r.detail.elements << e;
        r.columns << std::pair{QStringLiteral("lblHead") + n, QStringLiteral("txtField") + n};
    }
    finishLayout(r);
    r.fields = {QStringLiteral("When"), QStringLiteral("IP_Address"), QStringLiteral("Action"),
                QStringLiteral("User"), QStringLiteral("What")};
    for (const HistoryEntry& e : entries)
        r.rows.push_back({historyTimeText(e.at), e.address, actionText(e.action),
                          e.userName.isEmpty() ? e.userId : e.userName, changeText(e)});
    return r;
}

} // namespace zorva
