#include "utilities/frmSplitterSplash.h"

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
    lblMessage = new QLabel(QStringLiteral("Message"), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
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
