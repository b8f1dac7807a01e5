#include "assign/frmAssignLog.h"
#include "assign/AssignLog.h"
#include "platform/Builders.h"
#include "platform/Ui.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

frmAssignLog::frmAssignLog(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmAssignLog"));
    setWindowTitle(QStringLiteral("Assign Log"));
    buildUi();
}

void frmAssignLog::buildUi() {
    auto* outer = new QVBoxLayout(this);
    txtAssignLog = named<QPlainTextEdit>("txtAssignLog", this);
    // A view of the file: what is typed here would never be written back.
    txtAssignLog->setReadOnly(true);
    txtAssignLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtAssignLog->setFont(QFont(QStringLiteral("Monospace")));
    outer->addWidget(txtAssignLog, 1);
    cmdClearLog = named<QPushButton>("cmdClearLog", QStringLiteral("Clear Log"), this);
    cmdClose = named<QPushButton>("cmdClose", QStringLiteral("Close"), this);
    outer->addLayout(buttonRow({cmdClearLog, cmdClose}));
    connect(cmdClearLog, &QPushButton::clicked, this, &frmAssignLog::cmdClearLog_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmAssignLog::cmdClose_Click);
    resize(560, 420);
}

void frmAssignLog::Form_Load() {
    QString text;
    if (!readAssignLog(&text)) {
        showFailure();
        return;
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtAssignLog->setPlainText(text);
}

void frmAssignLog::cmdClearLog_Click() {
    if (!clearAssignLog()) {
        showFailure();
        return;
    }
    txtAssignLog->clear();
}

void frmAssignLog::cmdClose_Click() { unload(); }

void frmAssignLog::showFailure() {
    ui().message(this, Icon::Information, QStringLiteral("Error !!!"),
                 QStringLiteral("Error !!! No info available ... "));
}

} // namespace zorva
