#include "plan/CityListPicker.h"
#include "platform/Builders.h"
#include "platform/Database.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zorva {

CityListPicker::CityListPicker(const QString& name, const QString& caption, QWidget* parent)
    : FormBase(parent) {
    setObjectName(name);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    gridData = named<QTableWidget>("gridData", this);
    gridData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridData->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridData->verticalHeader()->hide();
    gridData->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(gridData);
    cmdOK = named<QPushButton>("cmdOK", QStringLiteral("OK"), this);
    layout->addLayout(buttonRow({cmdOK}));
    connect(cmdOK, &QPushButton::clicked, this, &CityListPicker::cmdOK_Click);
    resize(440, 300);
}

void CityListPicker::cmdOK_Click() { unload(QDialog::Accepted); }

void CityListPicker::showRows(const QString& sql, const QVariantList& values,
                              const QStringList& headers) {
    gridData->clear();
    gridData->setColumnCount(int(headers.size()));
    gridData->setHorizontalHeaderLabels(headers);
    gridData->setRowCount(0);
    auto q = runSqlOrReport(this, sql, values);
    if (!q) return;
    while (q->next()) {
        const int r = gridData->rowCount();
        gridData->insertRow(r);
        for (int c = 0; c < headers.size(); ++c)
            gridData->setItem(r, c, new QTableWidgetItem(q->value(c).toString()));
    }
}

} // namespace zorva
