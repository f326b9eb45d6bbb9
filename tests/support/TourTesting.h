#pragma once

#include "reminders/tour/OnboardingView.h"
#include "store/DewbellStore.h"
#include "support/FakeUrlOpener.h"
#include "support/StoreTesting.h"
#include "support/ViewTesting.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

// A first launch: a store on a fresh folder (saving when asked) with the tour on show, every
// call of the tray highlight recorded, and the tour built on it.
namespace TourTesting {

struct Tour {
    QTemporaryDir folder;
    std::unique_ptr<DewbellStore> store;
    FakeUrlOpener opener;
    QList<bool> highlights;
    std::unique_ptr<OnboardingView> view;

    explicit Tour(const std::function<void(Preferences&)>& stored = {},
                  StoreTesting::Saving saving = StoreTesting::Saving::off)
    {
        store = StoreTesting::openStore(folder.path(), saving);
        store->tick(StoreTesting::morning());
        if (stored)
            store->update(stored);
        store->onTourMenuHighlight = [this](bool on) { highlights.append(on); };
        store->presentTour();
        highlights.clear();
    }

    OnboardingView& open(int step = 0)
    {
        view = std::make_unique<OnboardingView>(store.get(), step, &opener);
        view->show();
        return *view;
    }

    template<typename Widget = QWidget>
    Widget* find(const QString& name) const
    {
        auto* found = view->findChild<Widget*>(name);
        if (!found)
            qWarning("no child named %s", qPrintable(name));
        return found;
    }

    // The text of a label, whether a QLabel or one that paints its text (ClampedLabel).
    QString text(const QString& name) const
    {
        const auto* label = find(name);
        return label ? label->property("text").toString() : QString();
    }

    void click(const QString& name) const { ViewTesting::press(find(name)); }

    // Reloads the saved state as the next launch would.
    std::unique_ptr<DewbellStore> relaunch() const
    {
        auto next = StoreTesting::openStore(folder.path());
        next->tick(StoreTesting::morning().addDays(1));
        return next;
    }
};

inline QString accessibleText(QWidget* widget, QAccessible::Text kind)
{
    QAccessibleInterface* element = QAccessible::queryAccessibleInterface(widget);
    return element ? element->text(kind) : QStringLiteral("<not accessible>");
}

}  // namespace TourTesting
