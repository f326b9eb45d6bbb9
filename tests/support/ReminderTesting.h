#pragma once

#include "support/StoreTesting.h"

#include <QAbstractButton>
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

// The text of a label, whether a QLabel or one that paints its text (ClampedLabel).
inline QString labelText(const QObject* root, const QString& name)
{
    const QWidget* label = child(root, name);
    return label ? label->property("text").toString() : QString();
}

// What keeps `label` from showing all its text inside `within`, or nothing when it shows it all:
// it must lie inside, with the width and height its text asks for.
inline QString cutOff(const QWidget* label, const QWidget* within)
{
    const QRect place(label->mapTo(within, QPoint()), label->size());
    if (!within->rect().contains(place))
        return QStringLiteral("%1 reaches outside").arg(label->objectName());
    if (label->minimumSizeHint().width() > label->width())
        return QStringLiteral("%1 is narrower than its text").arg(label->objectName());
    if (label->heightForWidth(label->width()) > label->height())
        return QStringLiteral("%1 is lower than its text").arg(label->objectName());
    return {};
}

inline void click(QWidget* button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace ReminderTesting
