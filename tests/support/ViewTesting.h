#pragma once

#include "support/StoreTesting.h"

#include <QAbstractButton>
#include <QLabel>

// Finding what a view shows.
namespace ViewTesting {

inline QString labelText(const QObject* root, const char* name)
{
    const auto* label = root->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

template<typename Button = QAbstractButton>
Button* button(const QObject* root, const char* name)
{
    return root->findChild<Button*>(QLatin1String(name));
}

}  // namespace ViewTesting
