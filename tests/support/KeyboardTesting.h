#pragma once

#include <QApplication>
#include <QSet>
#include <QTest>
#include <QWidget>

// The widgets that hold the keyboard focus, one after the other, while Tab goes once round
// the active `window`.
inline QSet<QWidget*> tabChain(QWidget* window)
{
    QSet<QWidget*> reached;
    QWidget* first = window->nextInFocusChain();
    while (first != window && !((first->focusPolicy() & Qt::TabFocus) && first->isVisible() && first->isEnabled()))
        first = first->nextInFocusChain();
    first->setFocus(Qt::TabFocusReason);
    for (QWidget* current = first; current && !reached.contains(current); current = QApplication::focusWidget()) {
        reached.insert(current);
        QTest::keyClick(current, Qt::Key_Tab);
    }
    return reached;
}
