#pragma once
// Helpers shared by the plan form tests.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace zorva::test {

template <class T = QWidget> T* child(QObject* form, const char* name) {
    T* w = form->findChild<T*>(QString::fromLatin1(name));
    if (!w) qWarning("no control %s", name);
    return w;
}

// Selects the list line with that text as a mouse click would.
inline bool clickRow(QListWidget* list, const QString& text) {
    const auto items = list->findItems(text, Qt::MatchExactly);
    if (items.isEmpty()) return false;
    list->setCurrentItem(items.first());
    emit list->itemClicked(items.first());
    return true;
}

inline QStringList listTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Replaces the text of a box by typing, as a user would.
inline void typeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

// Shows a form as the active window, so that focus moves work as on screen.
inline bool showActive(QWidget* form) {
    form->show();
    QApplication::setActiveWindow(form);
    return QTest::qWaitForWindowActive(form);
}

// Where a control is in its window, after the layouts have done their pending work.
inline QRect placeInWindow(QWidget* w) {
    QCoreApplication::processEvents();
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

inline void click(QObject* form, const char* button) {
    child<QPushButton>(form, button)->click();
}

} // namespace zorva::test
