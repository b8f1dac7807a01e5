#include "assign/frmAssignLog.h"
#include "assign/AssignLog.h"
#include "platform/Builders.h"
#include "platform/Ui.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

namespace zorva {

namespace {
// The log opens large enough for its lines: 80 columns by 24 lines of its font.
class LogView : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    QSize sizeHint() const override {
        const QFontMetrics fm(font());
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        const int frame = 2 * frameWidth() + 2 * int(document()->documentMargin());
        return {fm.horizontalAdvance(QString(80, QLatin1Char('0'))) + frame + bar,
                fm.lineSpacing() * 24 + frame + bar};
    }
};
} // namespace

frmAssignLog::frmAssignLog(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmAssignLog"));
    setWindowTitle(QStringLiteral("Assign Log"));
    buildUi();
}

void frmAssignLog::buildUi() {
    auto* outer = new QVBoxLayout(this);
    txtAssignLog = named<LogView>("txtAssignLog", this);
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
