#include "AppDelegate.h"
#include "BuddyPanel.h"
#include "MainView.h"
#include "MainWindow.h"
#include "MenuBarView.h"
#include "Popover.h"
#include "ReduceMotion.h"
#include "TrayIcon.h"
#include "model/DateCoding.h"
#include "model/ReminderPlacement.h"
#include "store/DewbellStore.h"

#include <QAbstractButton>
#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Policy = AppDelegate::ActivationPolicy;

QStringList actionTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("—") : action->text());
    return texts;
}

} // namespace

class AppDelegateTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void uiTestPreviewShowsTheReminderAndNoTour();
    void backgroundUiTestStaysInTheTrayAndCleansUp();
    void withoutTrayHostTheWindowShowsAnyway();
    void testLabOpensTheCrew();
    void launchWithoutSwitchesOffersTheTourOnce();
    void menusOfferTheDewbellCommands();
    void popoverOpensOnAFreshClockAndNavigates();
    void tourHighlightPulsesUnlessMotionIsReduced();

private:
    AppDelegate& launch(const QStringList& switches, std::function<bool()> trayHost = [] { return true; });

    QTemporaryDir configuration_;
    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<AppDelegate> delegate_;
};

// Settings paths are read once per process, so the configuration folder is set up front.
void AppDelegateTest::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", configuration_.path().toUtf8());
}

void AppDelegateTest::init()
{
    // Anything not under --ui-test lands in these folders, never in a real user's.
    scratch_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", scratch_->filePath(QStringLiteral("data")).toUtf8());
    ReduceMotion::setOverride(false);
}

void AppDelegateTest::cleanup()
{
    delegate_.reset();
    scratch_.reset();
    ReduceMotion::setOverride(std::nullopt);
}

AppDelegate& AppDelegateTest::launch(const QStringList& switches, std::function<bool()> trayHost)
{
    AppDelegate::Desktop desktop;
    desktop.trayAvailable = std::move(trayHost);
    desktop.audioAvailable = [] { return false; };
    delegate_ = std::make_unique<AppDelegate>(QStringList{QStringLiteral("dewbell")} + switches, desktop);
    delegate_->launch();
    return *delegate_;
}

void AppDelegateTest::uiTestPreviewShowsTheReminderAndNoTour()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--preview")});
    DewbellStore* store = delegate.store();

    QVERIFY(store->preview());
    QCOMPARE(store->reminderKind(), ReminderKind::water);
    QVERIFY(!store->tourVisible());

    // The reminder floats above everything without ever taking the focus.
    BuddyPanel* panel = delegate.panel();
    QVERIFY(panel->isVisible());
    QVERIFY(panel->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(panel->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));

    QScreen* screen = QGuiApplication::primaryScreen();
    const auto layout = ReminderPlacement::layout(
        QRectF(screen->availableGeometry()),
        ReminderPlacement::footInset(store->presentedCompanion(), ReminderKind::water));
    QCOMPARE(panel->geometry(), layout.frame.toRect());

    QVERIFY(delegate.window()->isVisible());
    QCOMPARE(delegate.activationPolicy(), Policy::regular);

    // The store hides the panel when the companion leaves.
    store->dismiss();
    QVERIFY(!panel->isVisible());
    store->showReminder(true, ReminderKind::eyeRest);
    QVERIFY(panel->isVisible());
}

void AppDelegateTest::backgroundUiTestStaysInTheTrayAndCleansUp()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
    const QString folder = delegate.store()->directory();
    QVERIFY2(folder.startsWith(QDir::tempPath() + QStringLiteral("/dewbell-qa-")), qPrintable(folder));
    const Preferences& preferences = delegate.store()->preferences();
    QCOMPARE(preferences.companionID, QStringLiteral("vossik-fan"));
    QVERIFY(!preferences.quietEnabled);
    QCOMPARE(delegate.store()->state().nextDue, DateCoding::distantFuture());

    QVERIFY(!delegate.window()->isVisible());
    QVERIFY(!delegate.panel()->isVisible());
    QCOMPARE(delegate.activationPolicy(), Policy::accessory);
    QVERIFY(delegate.trayIcon()->isShown());
    // "About Dewbell" shows the window and makes Dewbell a regular application ...
    delegate.showMain();
    QCOMPARE(delegate.activationPolicy(), Policy::regular);
    // ... and closing it only hides it.
    QVERIFY(delegate.window()->close());
    QVERIFY(!delegate.window()->isVisible());
    QCOMPARE(delegate.activationPolicy(), Policy::accessory);
    delegate.showMain();
    QVERIFY(delegate.window()->isVisible());

    // Quitting saves, which writes nothing here; the folder goes with the delegate.
    delegate.applicationWillTerminate();
    QVERIFY(!QFile::exists(folder + QStringLiteral("/state.json")));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/Characters/left-over")));
    delegate_.reset();
    QVERIFY(!QDir(folder).exists());
}

void AppDelegateTest::withoutTrayHostTheWindowShowsAnyway()
{
    bool host = false;
    launch({QStringLiteral("--ui-test"), QStringLiteral("--background")}, [&host] { return host; });
    QVERIFY(delegate_->window()->isVisible());
    QCOMPARE(delegate_->activationPolicy(), Policy::regular);
    delegate_->trayIcon()->recheckHost();
    QVERIFY(!delegate_->trayIcon()->isShown());
    host = true;
    delegate_->trayIcon()->recheckHost();
    QVERIFY(delegate_->trayIcon()->isShown());
}

void AppDelegateTest::testLabOpensTheCrew()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--test-lab")});
    QVERIFY(delegate.window()->isVisible());
    QCOMPARE(delegate.window()->mainView()->currentPage(), MainPage::crew);
    QVERIFY(!delegate.store()->tourVisible());
}

void AppDelegateTest::launchWithoutSwitchesOffersTheTourOnce()
{
    AppDelegate& delegate = launch({});
    QCOMPARE(delegate.store()->directory(), scratch_->filePath(QStringLiteral("data/dewbell")));
    QVERIFY(delegate.window()->isVisible());
    QVERIFY(delegate.store()->tourVisible());

    // Closing the window while the tour is open counts as finishing it, and is saved.
    delegate.window()->close();
    QVERIFY(!delegate.store()->tourVisible());
    const QString stateFile = scratch_->filePath(QStringLiteral("data/dewbell/state.json"));
    QVERIFY(QFile::remove(stateFile));
    delegate.applicationWillTerminate();
    QVERIFY(QFile::exists(stateFile));
    QCOMPARE(delegate.store()->state().tourVersion, 1);

    delegate.showMain();
    QVERIFY(!delegate.store()->tourVisible());
    // The tour can always be taken again.
    delegate.showTour();
    QVERIFY(delegate.store()->tourVisible());
}

void AppDelegateTest::menusOfferTheDewbellCommands()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
    const QStringList dewbellItems{QStringLiteral("About Dewbell"),         QStringLiteral("Settings…"),
                                   QStringLiteral("Check for Updates…"),    QStringLiteral("Take the little tour…"),
                                   QStringLiteral("—"),                     QStringLiteral("Quit Dewbell")};

    QMenuBar* bar = delegate.window()->findChild<QMenuBar*>(QStringLiteral("mainMenu"));
    QMenu* dewbell = bar->actions().at(0)->menu();
    QCOMPARE(actionTexts(dewbell), dewbellItems);
    QCOMPARE(actionTexts(delegate.trayMenu()), dewbellItems);
    // Updates are off under --ui-test: the check is disabled.
    QVERIFY(!dewbell->findChild<QAction*>(QStringLiteral("checkForUpdates"))->isEnabled());

    // "Settings…" opens the window on the settings page.
    dewbell->findChild<QAction*>(QStringLiteral("showSettings"))->trigger();
    QVERIFY(delegate.window()->isVisible());
    QCOMPARE(delegate.window()->mainView()->currentPage(), MainPage::settings);

    // "Close Window" hides it again.
    delegate.window()->activateWindow();
    bar->actions().at(2)->menu()->actions().at(0)->trigger();
    QVERIFY(!delegate.window()->isVisible());
    QCOMPARE(delegate.activationPolicy(), Policy::accessory);
}

void AppDelegateTest::popoverOpensOnAFreshClockAndNavigates()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
    DewbellStore* store = delegate.store();
    store->tick(QDateTime::currentDateTimeUtc().addDays(-1));

    delegate.togglePopover();
    Popover* popover = delegate.popover();
    QVERIFY(popover->isVisible());
    QVERIFY(store->now().secsTo(QDateTime::currentDateTimeUtc()) < 60);
    QCOMPARE(delegate.activationPolicy(), Policy::accessory);

    delegate.togglePopover();
    QVERIFY(!popover->isVisible());

    // "Meet the crew" closes the popover and shows the crew page.
    popover->show();
    QTest::mouseClick(delegate.menuBarView()->findChild<QAbstractButton*>(QStringLiteral("meetCrewButton")),
                      Qt::LeftButton);
    QVERIFY(!popover->isVisible());
    QVERIFY(delegate.window()->isVisible());
    QCOMPARE(store->selectedPage(), QStringLiteral("The little crew"));
    QCOMPARE(delegate.activationPolicy(), Policy::regular);
}

void AppDelegateTest::tourHighlightPulsesUnlessMotionIsReduced()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
    DewbellStore* store = delegate.store();
    TrayIcon* tray = delegate.trayIcon();

    store->highlightTourMenu(true);
    QVERIFY(!tray->isHighlighted());

    delegate.showTour();
    store->highlightTourMenu(true);
    QVERIFY(tray->isHighlighted());
    QVERIFY(tray->isPulsing());

    ReduceMotion::setOverride(true);
    store->highlightTourMenu(true);
    QVERIFY(tray->isHighlighted());
    QVERIFY(!tray->isPulsing());

    store->finishTour();
    QVERIFY(!tray->isHighlighted());
}

QTEST_MAIN(AppDelegateTest)
#include "test_app_delegate.moc"
