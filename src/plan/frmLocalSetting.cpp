#include "plan/frmLocalSetting.h"
#include "net/LocalAddress.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Input.h"
#include "platform/Rows.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

namespace {
const QString kAreaRow = QStringLiteral("Select rowid AS rid, * From Region Where Region = 'Headquarters'");
const QString kCityRow = QStringLiteral("Select rowid AS rid, * From City Where City_name = 'IT Division' "
                                        "And Region = 'Headquarters'");
} // namespace

frmLocalSetting::frmLocalSetting(QWidget* parent) : FormBase(parent), addressProvider(localIPv4Address) {
    setObjectName(QStringLiteral("frmLocalSetting"));
    setWindowTitle(QStringLiteral("Local IP Setting"));
    buildUi();
}

void frmLocalSetting::buildUi() {
    auto* outer = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("There's no IP Address setting in your Zorva database, in-order to scan yor "
                       "network or assign new IP Address, you should set your IP Address scheme."),
        this);
    intro->setWordWrap(true);
    outer->addWidget(intro);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    // A required box with its label.
    auto box = [&](const char* labelName, const QString& caption, const char* name) {
        auto* b = named<QLineEdit>(name, this);
        attachFocusMoves(b);
        required_.append({b, addLabelledRow(grid, labelName, caption, b)});
        return b;
    };
    lblLocalIP = named<QLabel>("lblLocalIP", this);
    addLabelledRow(grid, "lblLocalIPCaption", QStringLiteral("Your IP Address :"), lblLocalIP);
    txtRegionName = box("lblRegionName", QStringLiteral("Area Name :"), "txtRegionName");
    txtIPOctet1 = box("lblIPOctet1", QStringLiteral("IP Octet1 :"), "txtIPOctet1");
    txtSegmentCode = box("lblSegmentCode", QStringLiteral("Segment Code :"), "txtSegmentCode");
    lbltxtSegment = named<QLabel>("lbltxtSegment", this);
    addLabelledRow(grid, "lblSegment", QStringLiteral("Segment :"), lbltxtSegment);
    txtBandar = box("lblCity", QStringLiteral("City or Location :"), "txtBandar");
    txtKodBandar = box("lblCityCode", QStringLiteral("City Code :"), "txtKodBandar");
    txtIPOctet2 = box("lblIPOctet2", QStringLiteral("IP Octet2 :"), "txtIPOctet2");
    auto* note = new QLabel(QStringLiteral("Note: The default IP range for PC is 71 to 240, you can "
                                           "change this setting using IP Address settings menu "
                                           "(Equipment Tab)."),
                            this);
    note->setWordWrap(true);
    outer->addWidget(note);
    cmdUpdateSetting = plainButton("cmdUpdateSetting", QStringLiteral("Save"), this);
    cmdCancel = plainButton("cmdCancel", QStringLiteral("Cancel"), this);
    outer->addLayout(buttonRow({cmdUpdateSetting, cmdCancel}));

    // The octets are stored as numbers: only 0 to 255 can be typed.
    attachNumericFilter(txtIPOctet1, 255);
    attachNumericFilter(txtIPOctet2, 255);
    attachCodeFilter(txtSegmentCode, 0, [this] { return txtSegmentCode->isEnabled(); });
    // Host names are built from the city code: upper case, as in the settings form.
    attachCodeFilter(txtKodBandar, 0, [this] { return txtKodBandar->isEnabled(); });
    connect(cmdUpdateSetting, &QPushButton::clicked, this, &frmLocalSetting::cmdUpdateSetting_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLocalSetting::cmdCancel_Click);
}

void frmLocalSetting::Form_Load() {
    const QString address = addressProvider ? addressProvider() : QString();
    lblLocalIP->setText(address);
    const QStringList parts = address.split(QLatin1Char('.'));
    txtIPOctet1->setText(parts.value(0));
    txtIPOctet2->setText(parts.value(1));
    lbltxtSegment->setText(parts.value(2));
    auto area = firstRow(this, kAreaRow);
    txtRegionName->setText(area ? area->value(QStringLiteral("Region")).toString()
                                : QStringLiteral("Headquarters"));
    txtSegmentCode->setText(area ? area->value(QStringLiteral("Abbr_segment")).toString()
                                 : QStringLiteral("HQ"));
    auto city = firstRow(this, kCityRow);
    txtBandar->setText(city ? city->value(QStringLiteral("City_name")).toString()
                            : QStringLiteral("IT Division"));
    txtKodBandar->setText(city ? city->value(QStringLiteral("Abbr_city")).toString()
                               : QStringLiteral("ITD"));
}

void frmLocalSetting::cmdUpdateSetting_Click() {
    for (const auto& [box, label] : required_) {
        if (!box->text().isEmpty()) continue;
        ui().message(this, Icon::Warning,
                     box == txtRegionName ? QStringLiteral("Error !") : QStringLiteral("Error !!!"),
                     QStringLiteral("Please enter ") + label->text() + QStringLiteral(" !"));
        box->setFocus();
        return;
    }
    auto area = firstRow(this, kAreaRow);
    auto city = firstRow(this, kCityRow);
    if (!area || !city) {
        // Only the placeholder rows are turned into the site's entry; nothing else is written.
        ui().message(this, Icon::Warning, QStringLiteral("Error !!!"),
                     QStringLiteral("The area \"Headquarters\" with its city \"IT Division\" is not "
                                    "in the Zorva database, so the local IP setting cannot be "
                                    "saved. Please use IP Address Settings."));
        return;
    }
    if (ui().message(this, Icon::Question, QStringLiteral("Save record"),
                     QStringLiteral("Save record to Zorva database ?"), Button::Ok | Button::Cancel,
                     Button::Ok) != Button::Ok)
        return;
    CursorGuard hourglass;
    Transaction both;
    const bool written =
        writeRow(this, QStringLiteral("Region"),
                 {{QStringLiteral("Region"), txtRegionName->text()},
                  {QStringLiteral("AssignIP"), txtIPOctet1->text().toInt()},
                  {QStringLiteral("Abbr_segment"), txtSegmentCode->text()},
                  {QStringLiteral("Segment_ip"), 1}},
                 false, area->value(QStringLiteral("rid"))) &&
        writeRow(this, QStringLiteral("City"),
                 {{QStringLiteral("City_name"), txtBandar->text()},
                  {QStringLiteral("Abbr_city"), txtKodBandar->text()},
                  {QStringLiteral("IP_octet2"), txtIPOctet2->text().toInt()},
                  {QStringLiteral("Region"), txtRegionName->text()},
                  {QStringLiteral("Abbr_state"), txtSegmentCode->text()}},
                 false, city->value(QStringLiteral("rid")));
    if (!written || !both.commit()) return; // reported; both rows stay as they were
    unload(QDialog::Accepted);
}

void frmLocalSetting::cmdCancel_Click() { unload(); }

} // namespace zorva
