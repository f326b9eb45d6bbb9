#pragma once

#include "support/StoreTesting.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

// Finding and pressing what a reminder view shows.
namespace ReminderTesting {

template<typename Widget = QWidget>
Widget* child(const QObject* root, const QString& name)
{
    auto* found = root->findChild<Widget*>(name);
    if (!found)
        qWarning("no child named %s", qPrintable(name));
    return found;
}

inline QString labelText(const QObject* root, const QString& name)
{
    const QLabel* label = child<QLabel>(root, name);
    return label ? label->text() : QString();
}

inline void click(QWidget* button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace ReminderTesting
