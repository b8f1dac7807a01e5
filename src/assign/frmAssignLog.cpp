#include "assign/frmAssignLog.h"
#include "assign/AssignLog.h"
#include "platform/Ui.h"

#include <QHBoxLayout>
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
    txtAssignLog = new QPlainTextEdit(this);
    txtAssignLog->setObjectName(QStringLiteral("txtAssignLog"));
    // A view of the file: what is typed here would never be written back.
    txtAssignLog->setReadOnly(true);
    txtAssignLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtAssignLog->setFont(QFont(QStringLiteral("Monospace")));
    outer->addWidget(txtAssignLog, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdClearLog = new QPushButton(QStringLiteral("Clear Log"), this);
    cmdClearLog->setObjectName(QStringLiteral("cmdClearLog"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(cmdClearLog);
    buttons->addWidget(cmdClose);
    outer->addLayout(buttons);
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
