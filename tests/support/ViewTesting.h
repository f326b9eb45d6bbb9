#pragma once

#include "support/StoreTesting.h"

#include <QAbstractButton>
#include <QLabel>

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

}  // namespace ViewTesting
