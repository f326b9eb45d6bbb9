#pragma once

#include "support/StoreTesting.h"
#include "ui/TrailingSwitch.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

// Finding what a view shows.
namespace ViewTesting {

// The text of a label: a QLabel, or a label that paints its text (ClampedLabel, FigureLabel).
inline QString labelText(const QObject* root, const char* name)
{
    const auto* label = root->findChild<QWidget*>(QLatin1String(name));
    const QVariant text = label ? label->property("text") : QVariant();
    return text.isValid() ? text.toString() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

template<typename Button = QAbstractButton>
Button* button(const QObject* root, const char* name)
{
    return root->findChild<Button*>(QLatin1String(name));
}

// Where a user presses `control`: a switch on the switch itself (the blank beside its label is
// no part of it, and holds where the row is laid out), anything else in its middle.
inline QPoint pressPoint(const QWidget* control)
{
    if (qobject_cast<const TrailingSwitch*>(control))
        return {control->width() - TrailingSwitch::trackSize.width() / 2, control->height() / 2};
    return control->rect().center();
}

inline void press(QWidget* control)
{
    QTest::mouseClick(control, Qt::LeftButton, {}, pressPoint(control));
}

}  // namespace ViewTesting
