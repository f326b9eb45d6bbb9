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
#include <QRegularExpression>
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
    void uiTestChangesTheStateInPlaceAndCleansUp();
    void backgroundLaunchStaysInTheTray();
    void withoutTrayHostTheWindowShowsAnyway();
    void testLabOpensTheCrew();
    void launchWithoutSwitchesOffersTheTourOnce();
    void closingTheWindowEndsAnOpenTour();
    void menusOfferTheDewbellCommands();
    void popoverOpensOnAFreshClockAndNavigates();
    void tourHighlightPulsesUnlessMotionIsReduced();

private:
    AppDelegate& launch(const QStringList& switches, bool trayHost = true);

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

AppDelegate& AppDelegateTest::launch(const QStringList& switches, bool trayHost)
{
    AppDelegate::Desktop desktop;
    desktop.trayAvailable = [trayHost] { return trayHost; };
    desktop.audioAvailable = [] { return false; };
    delegate_ = std::make_unique<AppDelegate>(QStringList{QStringLiteral("dewbell")} + switches, desktop);
    delegate_->launch();
    return *delegate_;
}

void AppDelegateTest::uiTestPreviewShowsTheReminderAndNoTour()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--preview")});
    DewbellStore* store = delegate.store();

    QVERIFY(store->reminderVisible());
    QVERIFY(store->preview());
    QCOMPARE(store->reminderKind(), ReminderKind::water);
    QVERIFY(!store->tourVisible());

    BuddyPanel* panel = delegate.panel();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->windowTitle(), QStringLiteral("Dewbell QA — reminder"));
    QVERIFY(panel->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(panel->testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(panel->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(panel->windowFlags().testFlag(Qt::FramelessWindowHint));

    QScreen* screen = QGuiApplication::primaryScreen();
    const auto layout = ReminderPlacement::layout(
        QRectF(screen->availableGeometry()),
        ReminderPlacement::footInset(store->presentedCompanion(), ReminderKind::water));
    QCOMPARE(panel->geometry(), layout.frame.toRect());

    MainWindow* window = delegate.window();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Dewbell QA"));
    QCOMPARE(window->mainView()->size(), MainWindow::contentSize);
    QCOMPARE(delegate.activationPolicy(), Policy::regular);

    // The store hides the panel when the companion leaves.
    store->dismiss();
    QVERIFY(!panel->isVisible());
    store->showReminder(true, ReminderKind::eyeRest);
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->windowTitle(), QStringLiteral("Dewbell QA — reminder"));
}

void AppDelegateTest::uiTestChangesTheStateInPlaceAndCleansUp()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
    const QString folder = delegate.store()->directory();
    const QRegularExpression expected(
        QStringLiteral("^%1/dewbell-qa-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$")
            .arg(QRegularExpression::escape(QDir::tempPath())));
    QVERIFY2(expected.match(folder).hasMatch(), qPrintable(folder));

    const Preferences& preferences = delegate.store()->preferences();
    QCOMPARE(preferences.companionID, QStringLiteral("vossik-fan"));
    QVERIFY(!preferences.quietEnabled);
    QCOMPARE(delegate.store()->state().nextDue, DateCoding::distantFuture());
    QVERIFY(!QFile::exists(folder + QStringLiteral("/state.json")));

    // Quitting saves, which writes nothing here; the folder goes with the delegate.
    delegate.applicationWillTerminate();
    QVERIFY(!QFile::exists(folder + QStringLiteral("/state.json")));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/Characters/left-over")));
    delegate_.reset();
    QVERIFY(!QDir(folder).exists());
}

void AppDelegateTest::backgroundLaunchStaysInTheTray()
{
    QSignalSpy policies(&launch({QStringLiteral("--ui-test"), QStringLiteral("--background")}),
                        &AppDelegate::activationPolicyChanged);
    AppDelegate& delegate = *delegate_;
    QVERIFY(!delegate.window()->isVisible());
    QVERIFY(!delegate.panel()->isVisible());
    QCOMPARE(delegate.activationPolicy(), Policy::accessory);
    QVERIFY(delegate.trayIcon()->isShown());

    // "About Dewbell" shows the window and makes Dewbell a regular application ...
    delegate.showMain();
    QVERIFY(delegate.window()->isVisible());
    QCOMPARE(delegate.activationPolicy(), Policy::regular);
    // ... and closing it only hides it.
    QVERIFY(delegate.window()->close());
    QVERIFY(!delegate.window()->isVisible());
    QCOMPARE(delegate.activationPolicy(), Policy::accessory);
    QCOMPARE(policies.size(), 2);
    delegate.showMain();
    QVERIFY(delegate.window()->isVisible());
}

void AppDelegateTest::withoutTrayHostTheWindowShowsAnyway()
{
    bool host = false;
    AppDelegate::Desktop desktop;
    desktop.trayAvailable = [&host] { return host; };
    desktop.audioAvailable = [] { return false; };
    delegate_ = std::make_unique<AppDelegate>(
        QStringList{QStringLiteral("dewbell"), QStringLiteral("--ui-test"), QStringLiteral("--background")}, desktop);
    delegate_->launch();
    QVERIFY(delegate_->window()->isVisible());
    QCOMPARE(delegate_->activationPolicy(), Policy::regular);
    QVERIFY(!delegate_->trayIcon()->isShown());

    QSignalSpy appeared(delegate_->trayIcon(), &TrayIcon::appeared);
    delegate_->trayIcon()->recheckHost();
    QCOMPARE(appeared.size(), 0);
    host = true;
    delegate_->trayIcon()->recheckHost();
    QCOMPARE(appeared.size(), 1);
    QVERIFY(delegate_->trayIcon()->isShown());
}

void AppDelegateTest::testLabOpensTheCrew()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--test-lab")});
    QCOMPARE(delegate.store()->selectedPage(), QStringLiteral("The little crew"));
    QVERIFY(delegate.window()->isVisible());
    QCOMPARE(delegate.window()->mainView()->currentPage(), MainPage::crew);
    QVERIFY(!delegate.store()->tourVisible());
    QVERIFY(!delegate.store()->reminderVisible());
}

void AppDelegateTest::launchWithoutSwitchesOffersTheTourOnce()
{
    AppDelegate& delegate = launch({});
    QCOMPARE(delegate.store()->directory(), scratch_->filePath(QStringLiteral("data/dewbell")));
    QVERIFY(delegate.window()->isVisible());
    QCOMPARE(delegate.window()->windowTitle(), QStringLiteral("Dewbell"));
    QVERIFY(delegate.store()->tourVisible());

    // Closing the window while the tour is open counts as finishing it, and is saved.
    delegate.window()->close();
    QVERIFY(!delegate.store()->tourVisible());
    QCOMPARE(delegate.store()->state().tourVersion, 1);
    QVERIFY(QFile::exists(scratch_->filePath(QStringLiteral("data/dewbell/state.json"))));

    delegate.showMain();
    QVERIFY(!delegate.store()->tourVisible());
}

void AppDelegateTest::closingTheWindowEndsAnOpenTour()
{
    AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
    delegate.showTour();
    QVERIFY(delegate.window()->isVisible());
    QVERIFY(delegate.store()->tourVisible());
    QCOMPARE(delegate.store()->state().tourVersion, 0);

    delegate.window()->close();
    QVERIFY(!delegate.store()->tourVisible());
    QCOMPARE(delegate.store()->state().tourVersion, 1);
    QCOMPARE(delegate.activationPolicy(), Policy::accessory);

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
    QVERIFY(bar);
    QStringList titles;
    for (QAction* action : bar->actions())
        titles.append(action->text());
    QCOMPARE(titles, (QStringList{QStringLiteral("Dewbell"), QStringLiteral("Edit"), QStringLiteral("Window")}));

    QMenu* dewbell = bar->actions().at(0)->menu();
    QCOMPARE(actionTexts(dewbell), dewbellItems);
    QCOMPARE(actionTexts(bar->actions().at(1)->menu()),
             (QStringList{QStringLiteral("Undo"), QStringLiteral("Cut"), QStringLiteral("Copy"), QStringLiteral("Paste"),
                          QStringLiteral("Select All")}));
    QCOMPARE(actionTexts(bar->actions().at(2)->menu()), QStringList{QStringLiteral("Close Window")});
    QCOMPARE(dewbell->findChild<QAction*>(QStringLiteral("showSettings"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+,")));
    QCOMPARE(dewbell->findChild<QAction*>(QStringLiteral("quit"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QCOMPARE(bar->actions().at(2)->menu()->actions().at(0)->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));

    // Updates are off under --ui-test: the check is disabled and says why.
    QAction* check = dewbell->findChild<QAction*>(QStringLiteral("checkForUpdates"));
    QVERIFY(!check->isEnabled());
    QCOMPARE(check->toolTip(), delegate.store()->updates()->checkHelp());

    QCOMPARE(actionTexts(delegate.trayMenu()), dewbellItems);

    // "Settings…" opens the window on the settings page.
    dewbell->findChild<QAction*>(QStringLiteral("showSettings"))->trigger();
    QVERIFY(delegate.window()->isVisible());
    QCOMPARE(delegate.store()->selectedPage(), QStringLiteral("Settings"));
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
    QCOMPARE(popover->width(), MenuBarView::viewWidth);
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(popover->geometry()));
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

    store->highlightTourMenu(false);
    QVERIFY(!tray->isHighlighted());
    QVERIFY(!tray->isPulsing());

    ReduceMotion::setOverride(true);
    store->highlightTourMenu(true);
    QVERIFY(tray->isHighlighted());
    QVERIFY(!tray->isPulsing());

    store->finishTour();
    QVERIFY(!tray->isHighlighted());
}

QTEST_MAIN(AppDelegateTest)
#include "test_app_delegate.moc"
