#include "plan/CityTab.h"
#include "plan/PlanData.h"
#include "plan/frmOctet2List.h"
#include "plan/frmOffsetList.h"
#include "platform/AppState.h"
#include "platform/Events.h"
#include "platform/Input.h"
#include "platform/Rows.h"
#include "platform/Shell.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

namespace zorva {

namespace {

const QString kSmallNetwork = QStringLiteral("Only for small network.");
const QString kNote =
    QStringLiteral("You can set to fix the value for Octet1 & octet 2 and vary the value for "
                   "Octet 3 to represent a city (especially for small/medium network which does "
                   "not require additional segment). ");
const QString kLongNote =
    kNote + QStringLiteral("It is recommended to leave IP Octet 3 as blank and use "
                           "Octet1.octet2.xxx.yyy to represent a city (especially for huge network).");
const QString kShortNote =
    kNote + QStringLiteral("It is recommended to leave Octet 3 as blank and use "
                           "Octet1.octet2.xxx.yyy to represent a city especially for huge network.");

void colour(QLabel* l, bool pressed) {
    l->setStyleSheet(pressed ? QStringLiteral("color: red;") : QStringLiteral("color: blue;"));
}

int asInt(const QLineEdit* b) { return b->text().toInt(); }

} // namespace

CityTab::CityTab(QWidget* parent)
    : SettingsTab(QStringLiteral("FrameCity"), QStringLiteral("lstBandarCity"), parent) {
    buildUi();
    RecordCycle::Hooks h;
    h.showRow = [this](const QString& name) { return showRow(name); };
    h.check = [this] { return check(); };
    h.write = [this](bool isNew, const QVariant& key) { return write(isNew, key); };
    h.erase = [this](const QVariant& key) { return deleteRow(this, QStringLiteral("City"), key); };
    h.fillList = [this] { fillList(); };
    h.leftEdit = [this] { hidePickers(); };
    makeCycle(QStringLiteral("frameOperasiCity"), QStringLiteral("frameSimpanCity"),
              QStringLiteral("City"), lblCity,
              {txtBandar, txtKodBandar, txtIPOctet2, txtOffset, txtStartIPRange, txtToIPRange},
              std::move(h));
}

void CityTab::buildUi() {
    lstBandarCity = list_;
    cboRegionCity = new QComboBox;
    lblRegionCity = addField(QStringLiteral("lblRegionCity"), QStringLiteral("Area :"),
                             cboRegionCity, QStringLiteral("cboRegionCity"), true);
    cboStateCity = new QComboBox;
    lblStateCity = addField(QStringLiteral("lblStateCity"), QStringLiteral("State :"),
                            cboStateCity, QStringLiteral("cboStateCity"), true);
    roomForNames({cboRegionCity, cboStateCity});
    addLine(QStringLiteral("lblStateCode"), QStringLiteral("State Code :"),
            QStringLiteral("txtKodNegeri"), true)
        .into(lblStateCode, txtKodNegeri);
    setEditable(txtKodNegeri, false); // filled from the state or the area, never typed
    txtKodNegeri->setFocusPolicy(Qt::NoFocus);

    addLine(QStringLiteral("lblCity"), QStringLiteral("City :"), QStringLiteral("txtBandar"))
        .into(lblCity, txtBandar);
    addLine(QStringLiteral("lblCityCode"), QStringLiteral("City Code :"),
            QStringLiteral("txtKodBandar"))
        .into(lblCityCode, txtKodBandar);

    txtIPOctet2 = named<QLineEdit>("txtIPOctet2");
    attachFocusMoves(txtIPOctet2);
    pctOctet2List = pictureButton("pctOctet2List", QStringLiteral("Click here to display IP Octet2 list ..."));
    lblIPOctet2 = addField(QStringLiteral("lblIPOctet2"), QStringLiteral("IP Octet2 :"),
                           inRow({txtIPOctet2, pctOctet2List}), {});

    txtOffset = named<QLineEdit>("txtOffset");
    attachFocusMoves(txtOffset);
    pctOffsetList = pictureButton("pctOffsetList", QStringLiteral("Click here to display Offset list ..."));
    lblIPOctet3 = named<QLabel>("lblIPOctet3", kSmallNetwork);
    lblOffset = addField(QStringLiteral("lblOffset"), QStringLiteral("Offset :"),
                         inRow({txtOffset, pctOffsetList, lblIPOctet3}), {});

    // The range boxes keep Up, Down and Enter for themselves.
    txtStartIPRange = named<QLineEdit>("txtStartIPRange");
    txtToIPRange = named<QLineEdit>("txtToIPRange");
    txtStartIPRange->setText(QStringLiteral("1"));
    txtToIPRange->setText(QStringLiteral("254"));
    lblIPTo = named<QLabel>("lblIPTo", QStringLiteral("To :"));
    lblIPRange = addField(QStringLiteral("lblIPRange"), QStringLiteral("IP Range :"),
                          inRow({txtStartIPRange, lblIPTo, txtToIPRange}), {});
    lblIPOctet = named<QLabel>("lblIPOctet", QStringLiteral("xxx.xxx.xxx.xxx"));
    addField(QStringLiteral("lblIPOctetCaption"), QString(), lblIPOctet, {});

    auto editing = [](QLineEdit* b) { return [b] { return isEditable(b); }; };
    attachNumericFilter(txtIPOctet2, 255, 0, editing(txtIPOctet2));
    attachNumericFilter(txtOffset, 32767, 0, editing(txtOffset));
    attachNumericFilter(txtStartIPRange, 255, 0, editing(txtStartIPRange));
    attachNumericFilter(txtToIPRange, 255, 0, editing(txtToIPRange));
    attachCodeFilter(txtKodBandar, 0, editing(txtKodBandar));

    connect(cboRegionCity, &QComboBox::currentIndexChanged, this, &CityTab::cboRegionCity_Click);
    connect(cboStateCity, &QComboBox::currentIndexChanged, this, &CityTab::cboStateCity_Click);
    connect(txtIPOctet2, &QLineEdit::textChanged, this, &CityTab::txtIPOctet2_Change);
    connect(txtOffset, &QLineEdit::textChanged, this, &CityTab::txtOffset_Change);
    onFocusOut(txtIPOctet2, [this] { txtIPOctet2_LostFocus(); });
    onFocusOut(txtKodBandar, [this] { txtKodBandar_LostFocus(); });
    connect(pctOctet2List, &QToolButton::clicked, this, &CityTab::pctOctet2List_Click);
    connect(pctOffsetList, &QToolButton::clicked, this, &CityTab::pctOffsetList_Click);

    // Tool tips as help, set when the box gets the focus.
    onFocusIn(txtKodBandar, [this] {
        txtKodBandar->setToolTip(QStringLiteral("Set city code or building code. 2 or 3 characters."));
    });
    onFocusIn(txtIPOctet2, [this] {
        txtIPOctet2->setToolTip(QStringLiteral("Set Ip Octet2 (xxx.Octet2.xxx.xxx)."));
    });
    onFocusIn(txtOffset, [this] {
        txtOffset->setToolTip(
            isSegmented_ ? QStringLiteral("Set IP Octet3 (xxx.xxx.Octet3.xxx). Leave blank if "
                                          "Octet1.Octet2.x.x represents a City.")
                         : QStringLiteral("Set IP Octet3 (xxx.xxx.??0.xxx). This offset will be "
                                          "increment by 10 (eg: 10,20,30,...)."));
    });

    // Help labels: blue, red while the button is held, an explanation on a click.
    for (QLabel* l : {lblIPOctet2, lblOffset, lblIPOctet3, lblIPRange}) {
        colour(l, false);
        l->setCursor(Qt::PointingHandCursor);
    }
    onMouseButton(lblIPOctet2, [this](bool down) { colour(lblIPOctet2, down); });
    onMouseButton(lblOffset, [this](bool down) { colour(lblOffset, down); });
    onMouseButton(lblIPOctet3, [this](bool down) { colour(lblOffset, down); });
    onClick(lblIPOctet2, [this] { lblIPOctet2_Click(); });
    onClick(lblOffset, [this] { lblOffset_Click(); });
    onClick(lblIPOctet3, [this] { lblIPOctet3_Click(); });
    onClick(lblIPRange, [this] { lblIPRange_Click(); });
}

QString CityTab::area() const { return cboRegionCity->currentText(); }

void CityTab::setSegmentedLayout(bool segmented) {
    lblStateCity->setVisible(!segmented);
    cboStateCity->setVisible(!segmented);
    lblOffset->setText(segmented ? QStringLiteral("IP Octet3 :") : QStringLiteral("Offset :"));
    lblOffset->show();
    txtOffset->show();
    lblIPOctet3->setText(segmented ? kSmallNetwork : QString());
    lblIPOctet3->setVisible(segmented);
    for (QWidget* w : {static_cast<QWidget*>(lblIPRange), static_cast<QWidget*>(lblIPTo),
                       static_cast<QWidget*>(txtStartIPRange), static_cast<QWidget*>(txtToIPRange)})
        w->setVisible(segmented);
}

void CityTab::refreshPreview() {
    lblIPOctet->setText(prefixPreview(prefixOctet1, prefixOctet2, prefixOctet3));
}

void CityTab::hidePickers() {
    pctOctet2List->hide();
    pctOffsetList->hide();
}

void CityTab::loadCityTab() {
    setSegmentedLayout(false);
    lblStateCity->show();
    cboStateCity->show();
    fillBox(cboStateCity, {});
    lstBandarCity->clear();
    txtKodNegeri->clear();
    cycle_->clearFields();
    prefixOctet1.clear();
    prefixOctet2.clear();
    prefixOctet3.clear();
    refreshPreview();
    lblIPOctet->show();
    hidePickers();
    browseTab(false);
    lstBandarCity->setEnabled(false);
    fillAreaBox(this, cboRegionCity, AreaKind::All);
}

void CityTab::cboRegionCity_Click() {
    lblStateCity->show();
    cboStateCity->show();
    cycle_->setAddEnabled(true);
    lstBandarCity->clear();
    cycle_->clearFields();
    cycle_->browse();
    txtKodNegeri->clear();
    prefixOctet1.clear();
    prefixOctet2.clear();
    prefixOctet3.clear();
    const bool found = cascade_.chooseArea(area());
    if (area().isEmpty()) {
        fillBox(cboStateCity, cascade_.states());
        refreshPreview();
        return;
    }
    isSegmented_ = found && cascade_.segmented();
    if (found && cascade_.areaRow()->octet1)
        prefixOctet1 = QString::number(*cascade_.areaRow()->octet1);
    refreshPreview();
    setSegmentedLayout(isSegmented_);
    if (!isSegmented_) {
        cycle_->setAddEnabled(false);
        lstBandarCity->setEnabled(false);
        fillBox(cboStateCity, cascade_.states(), true);
        return;
    }
    txtKodNegeri->setText(cascade_.segmentCode());
    fillList();
    lstBandarCity->setEnabled(true);
}

void CityTab::cboStateCity_Click() {
    if (!cboStateCity->currentText().isEmpty()) {
        // The state of the chosen area; states of other areas may share its name.
        txtKodNegeri->setText(cascade_.chooseState(cboStateCity->currentText())
                                  ? cascade_.stateCode()
                                  : QString());
        cycle_->clearFields();
        cycle_->browse();
        fillList();
    }
    lstBandarCity->setEnabled(true);
    cycle_->setAddEnabled(true);
}

void CityTab::lockPlace(bool editing) {
    cboRegionCity->setEnabled(!editing);
    cboStateCity->setEnabled(!editing);
}

void CityTab::fillList() {
    lstBandarCity->clear();
    lstBandarCity->addItems(cascade_.queries().cityNames(txtKodNegeri->text(), area()));
}

QVariant CityTab::showRow(const QString& name) {
    cycle_->clearFields();
    const auto row = cascade_.queries().city(name, txtKodNegeri->text(), area());
    if (!row) return {};
    const auto number = [](const std::optional<int>& v) {
        return v ? QString::number(*v) : QString();
    };
    txtBandar->setText(row->name);
    txtKodBandar->setText(row->code);
    txtIPOctet2->setText(QString::number(row->octet2));
    txtOffset->setText(number(row->offset));
    prefixOctet3 = txtOffset->text();
    // 0 to 0 means no own range: both boxes stay empty.
    if (row->startRange && !(*row->startRange == 0 && row->endRange.value_or(0) == 0)) {
        txtStartIPRange->setText(number(row->startRange));
        txtToIPRange->setText(number(row->endRange));
    }
    prefixOctet2 = txtIPOctet2->text();
    refreshPreview();
    return row->key;
}

void CityTab::txtIPOctet2_Change() {
    if (!isEditable(txtIPOctet2)) return;
    prefixOctet2 = txtIPOctet2->text();
    refreshPreview();
}

void CityTab::txtOffset_Change() {
    if (!isEditable(txtOffset)) return;
    prefixOctet3 = txtOffset->text();
    refreshPreview();
}

bool CityTab::check() {
    if (!checkNameAndChange(txtBandar, lblCity) || !checkFilled(txtKodBandar, lblCityCode->text()) ||
        !checkFilled(txtIPOctet2, QStringLiteral("IP Octet 2")))
        return false;
    if (!isSegmented_ && !checkFilled(txtOffset, QStringLiteral("Offset"))) return false;
    if (!checkOctets()) return false;
    if (!isSegmented_ && asInt(txtOffset) % 10 != 0)
        return cycle_->refuse(txtOffset, Icon::Information, QStringLiteral("Offset Note"),
                              QStringLiteral("Offset value must increment by 10 ... "));
    return true;
}

// The duplicate checks on names, codes and octets, under the hourglass.
bool CityTab::checkOctets() {
    CursorGuard hourglass;
    const bool isNew = cycle_->isNewRecord();
    const QVariant self = selfKey(cycle_);
    const QString code = txtKodNegeri->text();
    if (!checkUnique(txtKodBandar, lblCityCode,
                     QStringLiteral("SELECT * FROM City Where Abbr_city = ? And Region = ? "
                                    "And rowid <> ?"),
                     {txtKodBandar->text(), area()}) ||
        !checkUnique(txtBandar, lblCity,
                     QStringLiteral("SELECT * FROM City Where City_name = ? And Region = ? "
                                    "And rowid <> ?"),
                     {txtBandar->text(), area()}))
        return false;
    const bool octetsChanged =
        isNew || cycle_->changed(txtIPOctet2) || cycle_->changed(txtOffset);
    // Another city of this state (or segmented area) with octet 2 and the condition given;
    // the message names the first one.
    auto clash = [&](const QString& condition, const QVariantList& extra, QLineEdit* focus,
                     const QString& text) {
        auto other = firstRow(this,
                              QStringLiteral("SELECT * FROM City Where Abbr_state = ? And "
                                             "IP_octet2 = ? And Region = ? And rowid <> ? And ") +
                                  condition + QStringLiteral(" Order By rowid"),
                              QVariantList{code, asInt(txtIPOctet2), area(), self} + extra);
        if (!other) return false;
        cycle_->refuse(focus, Icon::Warning, QStringLiteral("Error"),
                       text + QStringLiteral(" (") +
                           other->value(QStringLiteral("City_name")).toString() + QLatin1Char(')'));
        return true;
    };
    const QString sameOffset = QStringLiteral("[Offset] = ?");
    const bool noOffset = txtOffset->text().isEmpty();
    if (!isSegmented_ && octetsChanged &&
        clash(sameOffset, {asInt(txtOffset)}, txtIPOctet2,
              QStringLiteral("IP Octet 2 and Offset already exist !")))
        return false;
    // A city without octet 3 owns the whole octet-2 block: no other city may own it too.
    if (isSegmented_ && noOffset && (isNew || cycle_->changed(txtIPOctet2)) &&
        clash(QStringLiteral("IFNULL([Offset], 0) = 0"), {}, txtIPOctet2,
              QStringLiteral("IP Octet 2 already exist !")))
        return false;
    if (isSegmented_ && !noOffset && txtStartIPRange->text().isEmpty() &&
        txtToIPRange->text().isEmpty() && octetsChanged &&
        clash(sameOffset, {asInt(txtOffset)}, txtOffset,
              QStringLiteral("IP Octet 2 and IP Octet 3 already exist !")))
        return false;
    return true;
}

Written CityTab::write(bool isNew, const QVariant& key) {
    Columns c{{QStringLiteral("City_name"), txtBandar->text()},
              {QStringLiteral("Abbr_city"), txtKodBandar->text()},
              {QStringLiteral("IP_octet2"), asInt(txtIPOctet2)}};
    // An emptied offset keeps the stored one.
    if (!txtOffset->text().isEmpty()) c.emplace_back(QStringLiteral("Offset"), asInt(txtOffset));
    const bool ownRange = !txtStartIPRange->isHidden() && !txtStartIPRange->text().isEmpty() &&
                          !txtToIPRange->text().isEmpty();
    c.emplace_back(QStringLiteral("StartIPRange"), ownRange ? asInt(txtStartIPRange) : 0);
    c.emplace_back(QStringLiteral("ToIPRange"), ownRange ? asInt(txtToIPRange) : 0);
    c.emplace_back(QStringLiteral("Abbr_state"), txtKodNegeri->text());
    c.emplace_back(QStringLiteral("Region"), area());
    return writeRow(this, QStringLiteral("City"), c, isNew, key);
}

void CityTab::txtIPOctet2_LostFocus() {
    if (txtIPOctet2->text().isEmpty() || isSegmented_ || txtBandar->text().isEmpty() ||
        txtKodBandar->text().isEmpty())
        return;
    if (!rowExists(this,
                   QStringLiteral("Select * From City Where IP_Octet2 = ? And Abbr_state = ? "
                                  "And Region = ?"),
                   {asInt(txtIPOctet2), txtKodNegeri->text(), area()}))
        return;
    pctOffsetList->show();
    AppState& s = appState();
    s.gPickOctet2 = QString::number(asInt(txtIPOctet2));
    s.gPickStateCode = txtKodNegeri->text();
    s.gPickRegion = area();
}

void CityTab::txtKodBandar_LostFocus() {
    if (txtKodBandar->text().isEmpty() || !isSegmented_) return;
    if (!rowExists(this, QStringLiteral("Select * From City Where Region = ?"), {area()})) return;
    pctOctet2List->show();
    AppState& s = appState();
    s.gPickStateCode = txtKodNegeri->text();
    s.gPickRegion = area();
}

void CityTab::pctOffsetList_Click() {
    appState().gPickStateCode = txtKodNegeri->text();
    frmOffsetList picker(this);
    if (ui().showModal(picker) == QDialog::Accepted) txtOffset->setFocus();
}

void CityTab::pctOctet2List_Click() {
    appState().gPickStateCode = txtKodNegeri->text();
    frmOctet2List picker(this);
    if (ui().showModal(picker) == QDialog::Accepted) txtIPOctet2->setFocus();
}

void CityTab::lblIPOctet2_Click() {
    ui().message(this, Icon::Information, QStringLiteral("IP Octet2 Description"),
                 QStringLiteral("IP Octet2 : \n") +
                     (isSegmented_
                          ? QStringLiteral("Enter Ip Octet2 (xxx.Octet2.xxx.xxx). Leave IP Octet3 "
                                           "blank and use Octet1.octet2.xxx.yyy to represent a "
                                           "city (especially for huge network).")
                          : QStringLiteral("Set Ip Octet2 (xxx.Octet2.xxx.xxx).")));
}

void CityTab::lblOffset_Click() {
    ui().message(this, Icon::Information, QStringLiteral("IP Octet3 Offset Description"),
                 isSegmented_ ? QStringLiteral("IP Octet3 : \n") + kLongNote
                              : QStringLiteral("IP Octet3 Offset : \nSet Ip Octet3 Offset "
                                               "(xxx.xxx.??0.xxx). This offset will be increment "
                                               "by 10 (eg:10,20,30,...)."));
}

void CityTab::lblIPOctet3_Click() {
    ui().message(this, Icon::Information, QStringLiteral("IP Octet3 Offset Description"),
                 QStringLiteral("IP Octet3 : \n") + kShortNote);
}

void CityTab::lblIPRange_Click() {
    ui().message(this, Icon::Information, QStringLiteral("IP Range Description"),
                 QStringLiteral("IP Range : \nYou can set IP range for this City or leave this "
                                "field blank to use Equipment/Range Settings."));
}

} // namespace zorva
