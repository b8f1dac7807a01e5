#include "platform/Modeless.h"
#include "platform/FormBase.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace zorva {

namespace {
QMdiArea* areaOf(QWidget* opener) {
    for (QWidget* w = opener; w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) return sub->mdiArea();
    return nullptr;
}
} // namespace

void showModeless(FormBase* form, QWidget* opener, double heightShare) {
    form->setAttribute(Qt::WA_DeleteOnClose);
    if (QMdiArea* area = areaOf(opener)) {
        QMdiSubWindow* child = area->addSubWindow(form);
        child->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(form, &FormBase::unloaded, child, &QMdiSubWindow::close,
                         Qt::QueuedConnection);
        form->runLoad();
        if (form->isUnloaded()) return;
        child->adjustSize();
        const QSize room = area->size();
        child->move(qMax(0, (room.width() - child->width()) / 2),
                    qMax(0, int((room.height() * heightShare - child->height()) / 2)));
        child->show();
        area->setActiveSubWindow(child);
        return;
    }
    // A window of its own, not a child: a dialog's Enter looks for default buttons among all
    // its children, windows included. It goes when its opener goes.
    if (opener) QObject::connect(opener, &QObject::destroyed, form, &QObject::deleteLater);
    form->runLoad();
    if (form->isUnloaded()) return;
    form->show();
}

} // namespace zorva
