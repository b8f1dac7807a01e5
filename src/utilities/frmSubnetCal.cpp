#include "utilities/frmSubnetCal.h"

#include <utility>
#include "platform/Builders.h"
#include "platform/TabColumns.h"
#include "platform/Input.h"
#include "platform/Ui.h"
#include "utilities/SubnetCalc.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

namespace zorva {

namespace {

QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* l = named<QLabel>(name, parent);
    l->setMinimumWidth(160);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLineEdit* octetBox(QWidget* parent, const QString& name, const QString& text) {
    auto* box = named<QLineEdit>(name, text, parent);
    box->setMaxLength(3);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    attachNumericFilter(box, 999, 0); // digits only; the range is the form's own check
    attachSelectOnFocus(box);
    return box;
}

bool isAdvanceKey(int key) {
    return key == Qt::Key_Period || key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

frmSubnetCal::frmSubnetCal(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmSubnetCal"));
    setWindowTitle(QStringLiteral("Subnet Calculator"));
    buildUi();
}

void frmSubnetCal::buildUi() {
    auto* layout = new QVBoxLayout(this);

    auto octetRow = [this](QGroupBox* frame, const QString& caption, QLabel*& pic,
                           const char* picName, std::array<QLineEdit*, 4>& boxes,
                           const QString& prefix, const QStringList& texts, QStyle::StandardPixmap icon) {
        auto* row = new QHBoxLayout(frame);
        pic = named<QLabel>(picName, frame);
        pic->setPixmap(style()->standardIcon(icon).pixmap(32, 32));
        pic->installEventFilter(this);
        row->addWidget(pic);
        row->addWidget(new QLabel(caption, frame));
        for (int i = 0; i < 4; ++i) {
            if (i > 0) row->addWidget(new QLabel(QStringLiteral("."), frame));
            boxes[i] = octetBox(frame, prefix + QString::number(i), texts[i]);
            boxes[i]->installEventFilter(this);
            row->addWidget(boxes[i]);
        }
        row->addStretch();
    };

    auto* ipFrame = new QGroupBox(QStringLiteral("[ IP Information ]"), this);
    octetRow(ipFrame, QStringLiteral("IP Address:"), picIP, "picIP", txtip, QStringLiteral("txtip"),
             {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")},
             QStyle::SP_ComputerIcon);
    auto* smFrame = new QGroupBox(QStringLiteral("[ Subnet Information ]"), this);
    octetRow(smFrame, QStringLiteral("Subnet Mask:"), picSM, "picSM", txtsm, QStringLiteral("txtsm"),
             {QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("0")},
             QStyle::SP_DriveNetIcon);
    layout->addWidget(ipFrame);
    layout->addWidget(smFrame);

    auto* results = new QGridLayout;
    lblNetID = valueLabel(this, "lblNetID");
    lblclass = valueLabel(this, "lblclass");
    lbltype = valueLabel(this, "lbltype");
    lblnumhosts = valueLabel(this, "lblnumhosts");
    const std::pair<const char*, QLabel*> rows[] = {{"Network ID:", lblNetID},
                                                    {"IP Address Class:", lblclass},
                                                    {"Address Type:", lbltype},
                                                    {"No. of Hosts:", lblnumhosts}};
    int r = 0;
    for (const auto& [caption, label] : rows) {
        results->addWidget(new QLabel(QLatin1String(caption), this), r, 0);
        results->addWidget(label, r++, 1);
    }
    layout->addLayout(results);

    layout->addWidget(new QLabel(QStringLiteral("Network ID's Broadcast ID's"), this));
    lstNetIDs = named<QListWidget>("lstNetIDs", this);
    lstNetIDs->setMinimumHeight(140);
    // The lines part their columns with tabs: line the columns up in any font.
    showTabColumns(lstNetIDs, QStringLiteral("255.255.255.255"));
    // Room for the widest line without scrolling sideways: both columns, their gap, margins.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstNetIDs) + 1;
    lstNetIDs->setMinimumWidth(
        lstNetIDs->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255    255.255.255.255")) +
        2 * (margin + lstNetIDs->frameWidth()) +
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lstNetIDs));
    layout->addWidget(lstNetIDs);

    cmdCalculate = plainButton("cmdCalculate", QStringLiteral("Calculate"), this);
    cmdTutup = plainButton("cmdTutup", QStringLiteral("Close"), this);
    layout->addLayout(buttonRow({cmdCalculate, cmdTutup}));

    connect(cmdCalculate, &QPushButton::clicked, this, &frmSubnetCal::cmdCalculate_Click);
    connect(cmdTutup, &QPushButton::clicked, this, &frmSubnetCal::cmdTutup_Click);
    // Connected after the initial texts, so that "255" does not move the focus on its own.
    for (int i = 0; i < 4; ++i) {
        connect(txtip[i], &QLineEdit::textChanged, this, [this, i] { txtip_Change(i); });
        connect(txtsm[i], &QLineEdit::textChanged, this, [this, i] { txtsm_Change(i); });
    }
}

void frmSubnetCal::focusBox(QLineEdit* box) {
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

bool frmSubnetCal::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == picIP) focusBox(txtip[0]);
        else if (watched == picSM) focusBox(txtsm[0]);
        return false;
    }
    if (event->type() == QEvent::FocusOut && watched == autoAdvancedTo_) autoAdvancedTo_ = nullptr;
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // The "." or Enter typed after three digits moved the focus already belongs to the octet
    // just finished: it must not skip the box it moved to.
    QObject* const advancedTo = std::exchange(autoAdvancedTo_, nullptr);
    if (watched == advancedTo && isAdvanceKey(key->key())) return true;
    for (int i = 0; i < 4; ++i) {
        if (watched == txtip[i] && isAdvanceKey(key->key())) {
            txtip_Advance(i);
            return true;
        }
        if (watched == txtsm[i] && (isAdvanceKey(key->key()) || key->key() == Qt::Key_Tab)) {
            txtsm_Leave(i);
            return true;
        }
    }
    return false;
}

void frmSubnetCal::txtip_Change(int index) {
    QLineEdit* box = txtip[index];
    const QString text = box->text();
    if (text.isEmpty()) {
        box->setText(QStringLiteral("0"));
        box->selectAll();
        return;
    }
    if (text.toInt() >= 256) {
        ui().message(this, Icon::Information, QStringLiteral("Error"), subnet::addressRangeMessage());
        box->selectAll();
        return;
    }
    if (text.size() == 3) {
        txtip_Advance(index);
        autoAdvancedTo_ = index < 3 ? txtip[index + 1] : txtsm[0];
    }
}

void frmSubnetCal::txtip_Advance(int index) {
    focusBox(index < 3 ? txtip[index + 1] : txtsm[0]);
}

void frmSubnetCal::txtsm_Change(int index) {
    QLineEdit* box = txtsm[index];
    if (box->text().isEmpty()) {
        box->setText(QStringLiteral("0"));
        box->selectAll();
        return;
    }
    if (box->text().size() == 3) {
        if (index < 3) {
            focusBox(txtsm[index + 1]);
            autoAdvancedTo_ = txtsm[index + 1];
        } else {
            cmdCalculate->setFocus(Qt::OtherFocusReason);
        }
    }
}

void frmSubnetCal::txtsm_Leave(int index) {
    if (subnet::IsValidMaskOctet(txtsm[index]->text())) {
        focusBox(txtsm[(index + 1) % 4]);
        return;
    }
    ui().message(this, Icon::Information, QStringLiteral("Error"), subnet::maskMessage());
    focusBox(txtsm[index]);
}

void frmSubnetCal::cmdCalculate_Click() {
    subnet::Octets address, mask;
    for (int i = 0; i < 4; ++i) {
        address[i] = txtip[i]->text();
        mask[i] = txtsm[i]->text();
    }
    const subnet::Result r = subnet::calculate(address, mask);
    using Refusal = subnet::Result::Refusal;
    switch (r.refusal) {
    case Refusal::EmptyAddress:
        ui().message(this, Icon::Warning, QStringLiteral("Error"),
                     QStringLiteral("Please enter IP Address."));
        focusBox(txtip[0]);
        return;
    case Refusal::AddressOctet:
        ui().message(this, Icon::Information, QStringLiteral("Error"), subnet::addressRangeMessage());
        focusBox(txtip[r.box]);
        return;
    case Refusal::MaskOctet:
        ui().message(this, Icon::Information, QStringLiteral("Error"), subnet::maskMessage());
        focusBox(txtsm[r.box]);
        return;
    case Refusal::None:
        break;
    }
    lblclass->setText(r.className);
    lbltype->setText(r.addressType);
    lblNetID->setText(r.netId);
    lblnumhosts->setText(r.hosts);
    lstNetIDs->clear();
    for (const QString& line : r.lines) {
        lstNetIDs->addItem(line);
        // A /31 mask lists 128 lines: keep the window responsive while they are added.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    SelectSubnet(r.selectedNetId);
}

void frmSubnetCal::SelectSubnet(const QString& netId) {
    for (int i = 0; i < lstNetIDs->count(); ++i) {
        if (subnet::firstColumn(lstNetIDs->item(i)->text()) == netId) {
            lstNetIDs->setCurrentRow(i);
            break;
        }
    }
    focusBox(txtip[0]);
}

void frmSubnetCal::cmdTutup_Click() { unload(); }

} // namespace zorva
