#include "records/RecordHistoryTab.h"
#include "platform/Builders.h"
#include "records/RecordHistory.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace zorva {

RecordHistoryTab::RecordHistoryTab(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RecordHistoryTab"));
    auto* layout = new QVBoxLayout(this);
    gridHistory = named<QTableView>("gridHistory", this);
    model_ = new HistoryGridModel(this);
    gridHistory->setModel(model_);
    gridHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridHistory->setWordWrap(false);
    gridHistory->verticalHeader()->hide();
    fitHistoryColumns(gridHistory);
    lblHistoryNote = named<QLabel>("lblHistoryNote", this);
    lblHistoryNote->setWordWrap(true);
    layout->addWidget(gridHistory, 1);
    layout->addWidget(lblHistoryNote);
}

void RecordHistoryTab::showAddress(const QString& address) {
    QString error;
    if (address.isEmpty()) {
        model_->clear();
        lblHistoryNote->clear();
        return;
    }
    if (!model_->run(historyByAddress(address), &error)) {
        lblHistoryNote->setText(QStringLiteral("The history could not be read: ") + error);
        return;
    }
    fitHistoryChanges(gridHistory);
    lblHistoryNote->setText(model_->count() == 0
                                ? QStringLiteral("No change of this address has been recorded yet.")
                                : QStringLiteral("%1 entries, the newest first.").arg(model_->count()));
}

void fitHistoryChanges(QTableView* grid) { fitLastColumn(grid); }

void fitHistoryColumns(QTableView* grid) {
    const QFontMetrics fm = grid->fontMetrics();
    const int widths[] = {fm.horizontalAdvance(QStringLiteral("00/00/0000 00:00:00")),
                          fm.horizontalAdvance(QStringLiteral("000.000.000.000")),
                          fm.horizontalAdvance(QStringLiteral("Restored")),
                          fm.horizontalAdvance(QStringLiteral("Administrator (ADMIN)")),
                          fm.horizontalAdvance(QStringLiteral("computer-name"))};
    QHeaderView* h = grid->horizontalHeader();
    for (int c = 0; c < 5; ++c) h->resizeSection(c, widths[c] + 16);
    h->setStretchLastSection(true);
}

} // namespace zorva
