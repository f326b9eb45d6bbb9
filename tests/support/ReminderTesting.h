#pragma once

#include "store/DewbellStore.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <memory>

namespace ReminderTesting {

// A store on a fresh folder with a fake clock, its tour finished, pinned to UTC+1 so quiet hours
// never depend on the machine.
struct TestStore {
    QTemporaryDir folder;
    std::unique_ptr<DewbellStore> store;

    TestStore()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QTimeZone zone(3600);
        store = std::make_unique<DewbellStore>(StoreOptions{
            .directory = folder.path(), .running = false, .persistChanges = false, .updates = nullptr, .zone = zone});
        store->tick(QDateTime(QDate(2024, 3, 4), QTime(10, 0), zone).toUTC());  // a Monday, outside quiet hours
        store->finishTour();
    }

    DewbellStore* operator->() const { return store.get(); }
    DewbellStore* get() const { return store.get(); }

    void useCompanion(const QString& id)
    {
        store->update([&](Preferences& preferences) { preferences.companionID = id; });
    }

    // Ticks once a second until the phase is `phase` (at most `seconds` ticks).
    bool tickUntil(CompanionPhase phase, int seconds = 30)
    {
        for (int step = 0; step < seconds && store->phase() != phase; ++step)
            store->tick(store->now().addSecs(1));
        return store->phase() == phase;
    }
};

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
