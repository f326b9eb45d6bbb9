#pragma once

#include "store/DewbellStore.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>
#include <memory>

// A store for view tests: on a temporary folder, not running, saving nothing, in a pinned
// time zone (UTC+1), its clock on a Monday morning outside quiet hours and its tour done.
namespace ViewTesting {

inline QTimeZone zone()
{
    return QTimeZone(3600);
}

inline QDateTime morning()
{
    return QDateTime(QDate(2024, 3, 4), QTime(10, 0), zone()).toUTC();
}

inline std::unique_ptr<DewbellStore> makeStore(const QTemporaryDir& folder)
{
    QStandardPaths::setTestModeEnabled(true);
    auto store = std::make_unique<DewbellStore>(StoreOptions{
        .directory = folder.path(), .running = false, .persistChanges = false, .updates = nullptr, .zone = zone()});
    store->tick(morning());
    store->finishTour();
    return store;
}

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
