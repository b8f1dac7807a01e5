#include "plan/AreaTab.h"
#include "plan/PlanData.h"
#include "platform/Builders.h"
#include "platform/Input.h"
#include "platform/Rows.h"
#include "platform/Shell.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace zorva {

namespace {
const QString kAllAreas = QStringLiteral("SELECT * FROM Region Order By Region ASC");
}

AreaTab::AreaTab(QWidget* parent)
    : SettingsTab(QStringLiteral("FrameRegion"), QStringLiteral("LstRegion"), parent) {
    LstRegion = list_;
    addLine(QStringLiteral("lblRegionName"), QStringLiteral("Area Name :"),
            QStringLiteral("txtRegionName"))
        .into(lblRegionName, txtRegionName);
    addLine(QStringLiteral("lblIPOctet1"), QStringLiteral("IP Octet1 :"),
            QStringLiteral("txtIPOctet1"))
        .into(lblIPOctet1, txtIPOctet1);
    auto* options = new QWidget;
    auto* row = new QHBoxLayout(options);
    row->setContentsMargins(0, 0, 0, 0);
    OptYes = named<QRadioButton>("OptYes", QStringLiteral("Yes"), options);
    OptNo = named<QRadioButton>("OptNo", QStringLiteral("No"), options);
    row->addWidget(OptYes);
    row->addWidget(OptNo);
    row->addStretch(1);
    lblSegment = addField(QStringLiteral("lblSegment"), QStringLiteral("Segment ? :"), options, {});
    addLine(QStringLiteral("lblSegmentCode"), QStringLiteral("Segment Code :"),
            QStringLiteral("txtSegmentCode"))
        .into(lblSegmentCode, txtSegmentCode);
    // "Segment Code" shows only for a segmented area; the description below it stays put.
    keepPlaceWhenHidden({lblSegmentCode, txtSegmentCode});
    addDescription(QStringLiteral("lblDescArea"));

    auto editing = [this] { return isEditable(txtIPOctet1); };
    attachNumericFilter(txtIPOctet1, 255, 0, editing);
    attachCodeFilter(txtSegmentCode, 0, [this] { return isEditable(txtSegmentCode); });
    connect(OptYes, &QRadioButton::clicked, this, &AreaTab::OptYes_Click);
    connect(OptNo, &QRadioButton::clicked, this, &AreaTab::OptNo_Click);

    setHelp(txtRegionName, QStringLiteral("Area Name : "),
            QStringLiteral("Set Area name such as divisional or regional..."));
    setHelp(txtIPOctet1, QStringLiteral("IP Octet1 : "),
            QStringLiteral("Set IP Octet1 (Octet1.xxx.xxx.xxx) for this area."));
    setHelp(OptYes, QStringLiteral("Segment ? : "),
            QStringLiteral("Set segment for IP area (especially for Divisional LANs)."));
    setHelp(OptNo, QStringLiteral("Segment ? : "),
            QStringLiteral("Set Non segment for IP area (especially for Regional LANs)."));
    setHelp(txtSegmentCode, QStringLiteral("Segment Code : "),
            QStringLiteral("Set segment code for this area."));

    RecordCycle::Hooks h;
    h.showRow = [this](const QString& name) { return showRow(name); };
    h.check = [this] { return check(); };
    h.write = [this](bool isNew, const QVariant& key) { return write(isNew, key); };
    h.erase = [this](const QVariant& key) { return deleteRow(this, QStringLiteral("Region"), key); };
    h.fillList = [this] { fillList(); };
    h.beforeAdd = [this] { showSegmentCode(false); };
    h.afterRestore = [this] { showSegmentCode(OptYes->isChecked()); };
    makeCycle(QStringLiteral("FrameOperasiRegion"), QStringLiteral("FrameSimpanRegion"),
              QStringLiteral("Region"), lblRegionName,
              {txtRegionName, txtIPOctet1, OptYes, OptNo, txtSegmentCode}, std::move(h));
}

void AreaTab::showSegmentCode(bool shown) {
    lblSegmentCode->setVisible(shown);
    txtSegmentCode->setVisible(shown);
    setEditable(txtSegmentCode, shown && cycle_->isEditing());
}

void AreaTab::OptYes_Click() {
    if (OptYes->isEnabled()) showSegmentCode(true);
}

void AreaTab::OptNo_Click() {
    if (OptNo->isEnabled()) showSegmentCode(false);
}

void AreaTab::fillList() { fillListFrom(kAllAreas, {}, QStringLiteral("Region")); }

void AreaTab::loadAreaTab() {
    LstRegion->clear();
    cycle_->clearFields();
    cycle_->setFieldsEnabled(false);
    description_->clear();
    showSegmentCode(false);
    fillList();
    browseTab(true);
}

QVariant AreaTab::showRow(const QString& name) {
    auto row = firstRow(this, QStringLiteral("Select rowid AS rid, * From Region Where Region = ?"),
                        {name});
    if (!row) return {};
    txtRegionName->setText(row->value(QStringLiteral("Region")).toString());
    txtIPOctet1->setText(row->value(QStringLiteral("AssignIP")).toString());
    const bool segmented = row->value(QStringLiteral("Segment_ip")).toBool();
    setFieldValue(OptYes, segmented);
    setFieldValue(OptNo, !segmented);
    showSegmentCode(segmented);
    if (segmented) txtSegmentCode->setText(row->value(QStringLiteral("Abbr_segment")).toString());
    return row->value(QStringLiteral("rid"));
}

bool AreaTab::check() {
    if (!checkNameAndChange(txtRegionName, lblRegionName) ||
        !checkFilled(txtIPOctet1, QStringLiteral("IP Octet 1")))
        return false;
    if (!OptYes->isChecked() && !OptNo->isChecked())
        return cycle_->refuse(OptYes, Icon::Warning, QStringLiteral("Error !!!"),
                              QStringLiteral("Please choose Segment or Not !"));
    CursorGuard hourglass;
    return checkUnique(txtRegionName, lblRegionName,
                       QStringLiteral("SELECT * FROM Region Where Region = ? And rowid <> ?"),
                       {txtRegionName->text()}) &&
           (txtSegmentCode->isHidden() ||
            checkUnique(txtSegmentCode, lblSegmentCode,
                        QStringLiteral("SELECT * FROM Region Where Abbr_segment = ? And rowid <> ?"),
                        {txtSegmentCode->text()}));
}

Written AreaTab::write(bool isNew, const QVariant& key) {
    Columns c{{QStringLiteral("Region"), txtRegionName->text()},
              {QStringLiteral("AssignIP"), txtIPOctet1->text().toInt()}};
    if (OptYes->isChecked()) {
        c.emplace_back(QStringLiteral("Segment_ip"), 1);
        c.emplace_back(QStringLiteral("Abbr_segment"), txtSegmentCode->text());
    } else {
        // The segment code stays as it was.
        c.emplace_back(QStringLiteral("Segment_ip"), 0);
    }
    return writeRow(this, QStringLiteral("Region"), c, isNew, key);
}

} // namespace zorva
