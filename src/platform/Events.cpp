#include "platform/Events.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace zorva {

namespace {

// Calls handler for the events that match; never consumes them.
class EventHook : public QObject {
public:
    EventHook(QWidget* control, std::function<void(QEvent*)> handler)
        : QObject(control), handler_(std::move(handler)) {
        control->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        handler_(event);
        return false;
    }

private:
    std::function<void(QEvent*)> handler_;
};

bool isLeftButton(QEvent* e) {
    return static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton;
}

} // namespace

void onFocusIn(QWidget* control, std::function<void()> handler) {
    new EventHook(control, [handler](QEvent* e) {
        if (e->type() == QEvent::FocusIn) handler();
    });
}

void onFocusOut(QWidget* control, std::function<void()> handler) {
    new EventHook(control, [handler](QEvent* e) {
        if (e->type() == QEvent::FocusOut) handler();
    });
}

void onMouseButton(QWidget* control, std::function<void(bool)> handler) {
    new EventHook(control, [handler](QEvent* e) {
        if (e->type() == QEvent::MouseButtonPress && isLeftButton(e)) handler(true);
        if (e->type() == QEvent::MouseButtonRelease && isLeftButton(e)) handler(false);
    });
}

void onClick(QWidget* control, std::function<void()> handler) {
    auto pressed = std::make_shared<bool>(false);
    new EventHook(control, [control, handler, pressed](QEvent* e) {
        if (e->type() == QEvent::MouseButtonPress && isLeftButton(e)) *pressed = true;
        if (e->type() != QEvent::MouseButtonRelease || !isLeftButton(e) || !*pressed) return;
        *pressed = false;
        if (control->rect().contains(static_cast<QMouseEvent*>(e)->position().toPoint()))
            handler();
    });
}

} // namespace zorva
