#include "utilities/frmSplitterSplash.h"
#include "platform/Builders.h"

#include <QApplication>
#include <QLabel>

namespace zorva {

namespace {
constexpr int kMargin = 16;
}

frmSplitterSplash::frmSplitterSplash(QWidget* parent)
    : FormBase(parent) {
    setObjectName(QStringLiteral("frmSplitterSplash"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    lblMessage = named<QLabel>("lblMessage", QStringLiteral("Message"), this);
    lblMessage->move(kMargin, kMargin);
    lblMessage->adjustSize();
}

void frmSplitterSplash::ShowMessage(const QString& text) {
    lblMessage->setText(text);
    lblMessage->adjustSize();
    setFixedSize(lblMessage->width() + 2 * kMargin, lblMessage->height() + 2 * kMargin);
    show();
    raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace zorva
