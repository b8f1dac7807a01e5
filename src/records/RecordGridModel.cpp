#include "records/RecordGridModel.h"

#include <QTimer>
#include <limits>

namespace zorva {

namespace {
struct Column {
    const char* header;
    int widthInX;
};
const Column kGrid[RecordGridModel::kColumns] = {
    {"IP Address", 11}, {"Hostname", 10}, {"Type", 10}, {"Username", 10},
    {"Staff No.", 7},   {"Remarks", 12},  {"  ", 2}};

// A view counts its lines in an int.
int viewRows(qint64 count) {
    return int(std::min<qint64>(count, std::numeric_limits<int>::max()));
}
} // namespace

QString RecordGridModel::header(int column) {
    return column >= 0 && column < kColumns ? QString::fromLatin1(kGrid[column].header) : QString();
}

int RecordGridModel::widthInX(int column) {
    return column >= 0 && column < kColumns ? kGrid[column].widthInX : 0;
}

RecordGridModel::RecordGridModel(QObject* parent) : QAbstractTableModel(parent) { shown_ = 1; }

bool RecordGridModel::run(const RecordQuery& query, QString* error) {
    beginResetModel();
    const bool ok = list_.run(query, error);
    shown_ = list_.count() > 0 ? viewRows(list_.count()) : 1;
    endResetModel();
    return ok;
}

void RecordGridModel::clear() {
    beginResetModel();
    list_.clear();
    shown_ = 1;
    endResetModel();
}

QString RecordGridModel::address(int row) {
    if (row < 0 || row >= list_.count()) return {};
    return list_.cells(row)[0];
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    if (index.row() >= list_.count()) return QString();
    if (index.column() == kColumns - 1) return QStringLiteral("  ");
    const QString text = list_.cells(index.row())[size_t(index.column())];
    // Lines that vanished while the result was walked leave the grid after this paint.
    if (viewRows(list_.count()) != shown_ && !countCheckQueued_) {
        countCheckQueued_ = true;
        QTimer::singleShot(0, const_cast<RecordGridModel*>(this), [this] {
            const_cast<RecordGridModel*>(this)->followCount();
        });
    }
    return text;
}

void RecordGridModel::followCount() {
    countCheckQueued_ = false;
    const int now = list_.count() > 0 ? viewRows(list_.count()) : 1;
    if (now < shown_) {
        beginRemoveRows({}, now, shown_ - 1);
        shown_ = now;
        endRemoveRows();
    }
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return header(section);
    return {};
}

} // namespace zorva
