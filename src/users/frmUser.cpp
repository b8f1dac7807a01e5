#include "users/frmUser.h"
#include "plan/PlanQueries.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Ini.h"
#include "platform/Input.h"
#include "platform/RecordCycle.h"
#include "platform/Rows.h"
#include "platform/Session.h"
#include "platform/Ui.h"
#include "users/PasswordMail.h"
#include "users/frmSMTPSetup.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zorva {

namespace {
const QString& kSistem = Session::kSistem;
const QString& kHQ = Session::kHQ;
const QString& kKawasan = Session::kKawasan;
const QString kAreaOption = QStringLiteral("Administrator For Area");
const QString kTooLong = QStringLiteral("User ID : 6 character only ... ");
constexpr int kUserIdLength = 6;
} // namespace

frmUser::frmUser(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmUser"));
    setWindowTitle(QStringLiteral("Zorva User ..."));
    buildUi();
}

QString frmUser::areaCaption(const QString& area) {
    return area.isEmpty() ? kAreaOption : kAreaOption + QStringLiteral("  ") + area;
}

void frmUser::buildUi() {
    auto* outer = new QVBoxLayout(this);
    auto* middle = new QHBoxLayout;
    outer->addLayout(middle);
    lstUserName = named<QListWidget>("lstUserName", this);
    lstUserName->setSortingEnabled(false); // the query's order (by name)
    middle->addWidget(lstUserName, 1);

    auto* fields = new QGridLayout;
    middle->addLayout(fields, 2);
    txtNama = named<QLineEdit>("txtNama", this);
    txtUserID = named<QLineEdit>("txtUserID", this);
    txtPassword = named<QLineEdit>("txtPassword", this);
    txtEmail = named<QLineEdit>("txtEmail", this);
    addCaptionRows(fields, {{QStringLiteral("Name :"), txtNama},
                            {QStringLiteral("User ID :"), txtUserID},
                            {QStringLiteral("Password :"), txtPassword},
                            {QStringLiteral("Int. Email :"), txtEmail}});

    auto* group = new QGroupBox(this);
    auto* groupLayout = new QVBoxLayout(group);
    optKumpulan1 =
        named<QRadioButton>("optKumpulan1", QStringLiteral("System Administrator"), group);
    optKumpulan2 =
        named<QRadioButton>("optKumpulan2", QStringLiteral("Admininstrator For HQ"), group);
    optKumpulan3 = named<QRadioButton>("optKumpulan3", kAreaOption, group);
    cboRegion = named<QComboBox>("cboRegion", group);
    cboRegion->hide();
    // Its room is there from the start: showing it later squashed it in a form already sized.
    keepPlaceWhenHidden({cboRegion});
    groupLayout->addWidget(optKumpulan1);
    groupLayout->addWidget(optKumpulan2);
    groupLayout->addWidget(optKumpulan3);
    groupLayout->addWidget(cboRegion);
    const int row = fields->rowCount();
    fields->addWidget(new QLabel(QStringLiteral("Group :"), this), row, 0, Qt::AlignTop);
    fields->addWidget(group, row, 1);
    fields->setRowStretch(fields->rowCount(), 1);

    RecordCycle::Widgets w = buildCycleFrames(lstUserName, QStringLiteral("frameOperasi"),
                                              QStringLiteral("frameSimpan"), QString());
    frameOperasi = w.operations;
    frameSimpan = w.saving;
    cmdTambah = w.add;
    cmdKemaskini = w.update;
    cmdHapus = w.remove;
    cmdTutup = w.close;
    cmdSimpan = w.save;
    cmdBatal = w.cancel;
    cmdTutup1 = w.close1;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(frameOperasi);
    buttons->addWidget(frameSimpan);
    outer->addLayout(buttons);

    RecordCycle::Hooks h;
    h.showRow = [this](const QString& name) { return showRow(name); };
    h.check = [this] { return check(); };
    h.write = [this](bool isNew, const QVariant& key) { return write(isNew, key); };
    h.canErase = [this](const QVariant& key) { return canErase(key); };
    h.erase = [this](const QVariant& key) { return deleteRow(this, QStringLiteral("UserID"), key); };
    h.fillList = [this] { fillList(); };
    h.closeForm = [this] { unload(); };
    h.beforeAdd = [this] {
        adding_ = true;
        area_.clear();
        hideArea();
        optKumpulan3->setText(kAreaOption);
    };
    h.leftEdit = [this] { leftEdit(); };
    cycle_ = new RecordCycle(this, w,
                             {txtNama, txtUserID, txtPassword, txtEmail, optKumpulan1,
                              optKumpulan2, optKumpulan3},
                             std::move(h));
    cycle_->setDeleteTitle(QStringLiteral("Delete record"));

    connect(cmdKemaskini, &QPushButton::clicked, this, [this] {
        adding_ = false;
        nameBefore_ = txtNama->text();
        idBefore_ = txtUserID->text();
        optKumpulan3->setToolTip(optKumpulan3->isChecked() ? QStringLiteral("Double-Click to update ...")
                                                           : QString());
    });
    // After the cycle's own Cancel: the selected user is shown again.
    connect(cmdBatal, &QPushButton::clicked, this, &frmUser::afterCancel);
    connect(optKumpulan3, &QRadioButton::clicked, this, &frmUser::optKumpulan3_Click);
    for (QRadioButton* other : {optKumpulan1, optKumpulan2})
        connect(other, &QRadioButton::clicked, this, &frmUser::hideArea);
    connect(cboRegion, &QComboBox::currentIndexChanged, this, &frmUser::cboRegion_Click);

    setTabOrder(txtNama, txtUserID);
    setTabOrder(txtUserID, txtPassword);
    setTabOrder(txtPassword, txtEmail);
    attachFocusMoves({txtNama, txtUserID, txtPassword});
    txtUserID->installEventFilter(this);
    resize(620, 360);
}

void frmUser::Form_Load() {
    cycle_->clearFields();
    cycle_->browse();
    hideArea();
    smtpHost_ = ReadIni(QStringLiteral("Network"), QStringLiteral("SMTP"));
    smtpPort_ = ReadIni(QStringLiteral("Network"), QStringLiteral("Port"));
    if (smtpHost_.isEmpty()) {
        frmSMTPSetup setup(this);
        ui().showModal(setup);
        smtpHost_ = ReadIni(QStringLiteral("Network"), QStringLiteral("SMTP"));
        smtpPort_ = ReadIni(QStringLiteral("Network"), QStringLiteral("Port"));
    }
    fillList();
    reserveAreaRoom();
}

void frmUser::reserveAreaRoom() {
    // The area's name joins the option's caption and the area list shows only when a user is
    // chosen, after the form has taken its size: room for the longest name from the start.
    const QStringList areas = PlanQueries(this).areaNames();
    {
        const QSignalBlocker quiet(cboRegion);
        cboRegion->clear();
        cboRegion->addItems(areas);
        cboRegion->setCurrentIndex(-1);
    }
    const QFontMetrics fm = optKumpulan3->fontMetrics();
    int widest = fm.horizontalAdvance(kAreaOption);
    for (const QString& area : areas) widest = std::max(widest, fm.horizontalAdvance(areaCaption(area)));
    optKumpulan3->setMinimumWidth(optKumpulan3->sizeHint().width() -
                                  fm.horizontalAdvance(optKumpulan3->text()) + widest);
}

void frmUser::fillList() {
    lstUserName->clear();
    lstUserName->addItems(columnValues(this, QStringLiteral("Select * From UserID Order By Name"),
                                       {}, QStringLiteral("Name")));
}

QVariant frmUser::showRow(const QString& name) {
    hideArea();
    cycle_->clearFields();
    area_.clear();
    optKumpulan3->setText(kAreaOption);
    auto row = firstRow(this, QStringLiteral("Select rowid AS rid, * From UserID Where Name = ?"),
                        {name});
    if (!row) return {};
    txtNama->setText(row->value(QStringLiteral("Name")).toString());
    txtUserID->setText(row->value(QStringLiteral("UserID")).toString());
    txtPassword->setText(row->value(QStringLiteral("Password")).toString());
    txtEmail->setText(row->value(QStringLiteral("Email")).toString());
    const QString group = row->value(QStringLiteral("Group")).toString();
    if (group == kSistem) optKumpulan1->setChecked(true);
    if (group == kHQ) optKumpulan2->setChecked(true);
    if (group == kKawasan) {
        optKumpulan3->setChecked(true);
        area_ = row->value(QStringLiteral("Tadbir")).toString();
        optKumpulan3->setText(areaCaption(area_));
    }
    return row->value(QStringLiteral("rid"));
}

void frmUser::optKumpulan3_Click() {
    if (!optKumpulan3->isEnabled()) return;
    const QStringList areas = PlanQueries(this).areaNames();
    {
        const QSignalBlocker quiet(cboRegion);
        cboRegion->clear();
        cboRegion->addItems(areas);
        // A new user chooses; an updated one keeps his area until another is chosen.
        cboRegion->setCurrentIndex(adding_ ? -1 : int(areas.indexOf(area_)));
    }
    cboRegion->show();
    cboRegion->setEnabled(cycle_->isEditing());
}

void frmUser::cboRegion_Click() {
    if (cboRegion->currentIndex() >= 0) area_ = cboRegion->currentText();
}

void frmUser::hideArea() {
    cboRegion->hide();
}

QString frmUser::chosenGroup() const {
    if (optKumpulan1->isChecked()) return kSistem;
    if (optKumpulan2->isChecked()) return kHQ;
    if (optKumpulan3->isChecked()) return kKawasan;
    return {};
}

bool frmUser::check() {
    if (optKumpulan3->isChecked() && area_.isEmpty())
        return cycle_->refuse(cboRegion->isVisible() ? static_cast<QWidget*>(cboRegion) : optKumpulan3,
                              Icon::Warning, QStringLiteral("Error !!!"),
                              QStringLiteral("Please select user responsibility !"));
    if (txtNama->text().isEmpty())
        return cycle_->refuse(txtNama, Icon::Warning, QStringLiteral("Error !"),
                              QStringLiteral("Please enter User Name !"));
    // The table holds at most 6 characters; say so before asking rather than fail the write.
    if (txtUserID->text().size() > kUserIdLength)
        return cycle_->refuse(txtUserID, Icon::None, QString(), kTooLong);
    // Identifiers stay unique: also when an update changes one to another user's.
    const bool newId = adding_ || txtUserID->text().compare(idBefore_, Qt::CaseInsensitive) != 0;
    if (newId && rowExists(this, QStringLiteral("SELECT * FROM UserID Where UserID = ?"),
                           {txtUserID->text()}))
        return cycle_->refuse(txtUserID, Icon::Warning, QStringLiteral("Error"),
                              QStringLiteral("User ID already exist !"));
    return true;
}

Written frmUser::write(bool isNew, const QVariant& key) {
    Columns c{{QStringLiteral("Name"), txtNama->text()},
              {QStringLiteral("UserID"), txtUserID->text()},
              {QStringLiteral("Password"), txtPassword->text()},
              {QStringLiteral("Email"), txtEmail->text()}};
    const QString group = chosenGroup();
    if (!group.isEmpty()) {
        c.emplace_back(QStringLiteral("Group"), group);
        // Only an area administrator is bound to an area.
        c.emplace_back(QStringLiteral("Tadbir"), group == kKawasan ? area_ : QString());
    }
    // A user deleted meanwhile gets no welcome and changes no session.
    if (const Written w = writeRow(this, QStringLiteral("UserID"), c, isNew, key); !w) return w;
    if (isNew) {
        sendWelcome();
        return true;
    }
    const AppState& s = appState();
    const bool own = nameBefore_ == s.gUserName ||
                     idBefore_.compare(s.gUserID, Qt::CaseInsensitive) == 0;
    if (own) {
        // The caption follows the new name; the session keeps the name of the login.
        ownRenamed(txtNama->text());
        if (!group.isEmpty() && group != s.gUserGroup) closeAfterSave_ = ownGroupChanged(group);
    }
    return true;
}

void frmUser::sendWelcome() {
    cycle_->setFieldsEnabled(false);
    for (QPushButton* b : {cmdSimpan, cmdBatal, cmdTutup1}) b->setEnabled(false);
    if (!txtEmail->text().isEmpty() && !smtpHost_.isEmpty())
        sendProgramMail(this, smtp,
                        welcomeMessage(txtNama->text(), txtUserID->text(), txtPassword->text(),
                                       txtEmail->text(), appState().gUserName));
    for (QPushButton* b : {cmdSimpan, cmdBatal, cmdTutup1}) b->setEnabled(true);
}

bool frmUser::canErase(const QVariant& key) {
    auto row = firstRow(this, QStringLiteral("Select rowid AS rid, * From UserID Where rowid = ?"),
                        {key});
    if (!row) return false;
    const AppState& s = appState();
    // His own row, also after he renamed himself in this session.
    if (row->value(QStringLiteral("Name")).toString() == s.gUserName ||
        row->value(QStringLiteral("UserID")).toString().compare(s.gUserID, Qt::CaseInsensitive) == 0) {
        ui().message(this, Icon::Warning, QStringLiteral("Error !!!"),
                     QStringLiteral("You cannot delete your own record !"));
        return false;
    }
    if (row->value(QStringLiteral("Group")).toString() == kSistem &&
        columnValues(this, QStringLiteral("Select * From UserID Where [Group] = ?"), {kSistem},
                     QStringLiteral("UserID"))
                .size() <= 1) {
        ui().message(this, Icon::Warning, QStringLiteral("Error !!!"),
                     QStringLiteral("This user is the only System Administrator. You cannot "
                                    "delete this record !"));
        return false;
    }
    return true;
}

void frmUser::afterCancel() {
    if (lstUserName->currentItem() && lstUserName->currentItem()->isSelected()) {
        cycle_->showSelected();
        return;
    }
    cycle_->clearFields();
}

void frmUser::leftEdit() {
    hideArea();
    optKumpulan3->setToolTip(QString());
    adding_ = false;
    if (closeAfterSave_) {
        closeAfterSave_ = false;
        unload();
    }
}

bool frmUser::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the identifier box with too long a text: say so and come back (not when the
    // window merely loses the focus to another window or a pop-up).
    if (watched == txtUserID && event->type() == QEvent::FocusOut && isEditable(txtUserID) &&
        txtUserID->text().size() > kUserIdLength) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            ui().message(this, Icon::None, QString(), kTooLong);
            txtUserID->setFocus();
        }
    }
    return FormBase::eventFilter(watched, event);
}

void frmUser::ownRenamed(const QString& name) { session().renameUser(name); }

bool frmUser::ownGroupChanged(const QString& group) {
    // While he still holds the entry (his login's group is "Sistem"), giving it up at once
    // also closes this form.
    const bool closes = session().isSistem() && !Session::keepsUserAdministration(group);
    session().changeOwnGroup(group);
    return closes;
}


} // namespace zorva
