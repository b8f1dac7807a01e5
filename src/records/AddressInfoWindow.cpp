#include "records/AddressInfoWindow.h"
#include "net/HostLookup.h"
#include "net/NetBios.h"
#include "net/TelnetProbe.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Shell.h"
#include "records/HostName.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

namespace {
const QString kDetailInfo = QStringLiteral("Detail Info ...");
}

AddressInfoWindow::AddressInfoWindow(QWidget* parent) : FormBase(parent) {
    objWinsock = named<TelnetProbe>("objWinsock", this);
    connect(objWinsock, &TelnetProbe::greeting, this, &AddressInfoWindow::objWinsock_DataArrival);
    query_ = new NameTableQuery(this);
}

AddressInfoWindow::~AddressInfoWindow() = default;

void AddressInfoWindow::buildCommonUi(const Fields& fields, const QString& note) {
    fields_ = fields;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const QList<QPair<QString, QWidget*>> rows = {
        {QStringLiteral("IP Address :"), fields.address},
        {QStringLiteral("Hostname :"), fields.hostName},
        {QStringLiteral("Workgroup :"), fields.workGroup},
        {QStringLiteral("LAN ID :"), fields.lanId},
        {QStringLiteral("MAC Address :"), fields.macAddress},
    };
    int row = 0;
    for (const auto& [caption, field] : rows) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Extra Info :"), this), row, 0, Qt::AlignTop);
    txtResult = named<QPlainTextEdit>("txtResult", this);
    txtResult->setReadOnly(true);
    grid->addWidget(txtResult, row, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    layout->addLayout(grid, 1);

    lblTelahGuna = named<QLabel>("lblTelahGuna", note, this);
    cmdGetInfo = named<QPushButton>("cmdGetInfo", kDetailInfo, this);
    cmdGetInfo->setDefault(true);
    connect(cmdGetInfo, &QPushButton::clicked, this, &AddressInfoWindow::cmdGetInfo_Click);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblTelahGuna, 1);
    bottom->addWidget(cmdGetInfo);
    layout->addLayout(bottom);
}

void AddressInfoWindow::setFieldText(QWidget* field, const QString& text) {
    if (auto* box = qobject_cast<QLineEdit*>(field)) box->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(field)) label->setText(text);
}

void AddressInfoWindow::loadCommon(bool startQuery) {
    lblTelahGuna->setText(liveInfoNote);
    setFieldText(fields_.address, liveInfoAddress);
    if (startQuery) query_->start(liveInfoAddress);
}

void AddressInfoWindow::cmdGetInfo_Click() {
    if (cmdGetInfo->text() == kDetailInfo) gather();
    else closeWindow();
}

void AddressInfoWindow::gather() {
    {
        CursorGuard hourglass;
        host_ = hostNameFromAddress(liveInfoAddress, this);
        setFieldText(fields_.hostName, host_);
    }
    if (!afterHostLookup()) {
        startTelnetProbe();
        finishGathering();
        return;
    }
    // the query started at load may still wait for its answer: wait for it (or its limit)
    table_ = query_->isStarted() ? query_->waitForResult() : NetBiosInfo{};
    if (!query_->isStarted()) {
        showUnreadableTable();
    } else if (table_.hostNotFound) {
        startTelnetProbe();
    } else {
        setFieldText(fields_.workGroup, table_.workGroup);
        setFieldText(fields_.lanId, table_.lanId);
        setFieldText(fields_.macAddress, table_.macAddress);
        if (!host_.isEmpty()) {
            CursorGuard hourglass;
            const QString remark = readNeighbourRemark(liveInfoAddress, host_);
            if (!remark.isEmpty()) txtResult->setPlainText(remark);
        }
    }
    finishGathering();
}

void AddressInfoWindow::startTelnetProbe() {
    if (!objWinsock->isClosed()) objWinsock->close();
    objWinsock->connectTo(liveInfoAddress);
}

void AddressInfoWindow::finishGathering() { cmdGetInfo->setText(QStringLiteral("OK")); }

void AddressInfoWindow::objWinsock_DataArrival(const QString& greeting) {
    txtResult->setPlainText(greeting);
}

} // namespace zorva
