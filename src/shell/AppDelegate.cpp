#include "shell/AppDelegate.h"

#include "model/DateCoding.h"
#include "platform/DesktopReduceMotion.h"
#include "platform/LoginService.h"
#include "platform/SystemContext.h"
#include "shell/ApplicationPicker.h"
#include "shell/BuddyPanel.h"
#include "shell/CommandLine.h"
#include "shell/FileDialogs.h"
#include "shell/MainMenu.h"
#include "shell/MenuBarView.h"
#include "shell/NoTrayNotice.h"
#include "shell/Popover.h"
#include "shell/SoundPlayer.h"
#include "shell/TrayIcon.h"
#include "store/DewbellStore.h"
#include "ui/DarkSurface.h"
#include "ui/ReduceMotion.h"
#include "window/MainPages.h"
#include "window/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QUuid>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

const QString uiTestCompanion = QStringLiteral("vossik-fan");

QString freshTemporaryFolder()
{
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("dewbell-qa-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
}

}  // namespace

AppDelegate::AppDelegate(const QStringList& arguments, Desktop desktop, QObject* parent)
    : QObject(parent), arguments_(arguments), desktop_(std::move(desktop))
{
    if (hasSwitch(CommandLine::uiTest)) {
        temporaryFolder_ = freshTemporaryFolder();
        store_ = new DewbellStore({.directory = temporaryFolder_, .running = true, .persistChanges = false}, this);
    } else {
        store_ = new DewbellStore({.directory = std::nullopt, .running = true, .persistChanges = true}, this);
    }
    context_ = new SystemContext(this);
    useDarkApplication();
    ReduceMotion::setSource(desktop_.reduceMotion ? desktop_.reduceMotion : &DesktopReduceMotion::read);
}

AppDelegate::~AppDelegate()
{
    // The views watch the store, so they go first; the test folder goes last.
    popover_.reset();
    panel_.reset();
    window_.reset();
    trayMenu_.reset();
    delete store_;
    if (!temporaryFolder_.isEmpty())
        QDir(temporaryFolder_).removeRecursively();
}

bool AppDelegate::hasSwitch(const QString& name) const
{
    return CommandLine::hasSwitch(arguments_, name);
}

void AppDelegate::launch()
{
    setActivationPolicy(ActivationPolicy::accessory);
    wireContext();
    if (!hasSwitch(CommandLine::uiTest))
        store_->updates()->start();
    buildStatusItem();
    QPointer<AppDelegate> self(this);
    store_->onTourMenuHighlight = [self](bool on) {
        if (self && self->trayIcon_)
            self->trayIcon_->setHighlighted(on);
    };
    store_->onPresent = [self] {
        if (self)
            self->panel()->presentBuddy();
    };
    store_->onDismiss = [self] {
        if (self && self->panel_) {
            self->panel_->hide();
            QMetaObject::invokeMethod(self.data(), &AppDelegate::releasePanel, Qt::QueuedConnection);
        }
    };
    wireSeams();
    if (hasSwitch(CommandLine::uiTest))
        applyUiTestState();
    if (hasSwitch(CommandLine::testLab))
        store_->setSelectedPage(title(MainPage::crew));
    // Without a tray host the window is the only way in, whatever the switches say.
    const bool noTray = !trayIcon_->hostAvailable();
    if (noTray || (!hasSwitch(CommandLine::background) && !LoginService::isLoginLaunch(arguments_)))
        showMain();
    if (hasSwitch(CommandLine::preview))
        previewBuddy();
}

void AppDelegate::wireContext()
{
    QPointer<AppDelegate> self(this);
    store_->contextProvider = [self] {
        if (!self)
            return ContextSnapshot();
        const SnapshotOptions options = SnapshotOptions::forSafeguards(self->store_->preferences().safeguards);
        const ContextSnapshot snapshot = self->context_->snapshot(options);
        if (options.followFocus)
            self->showFocusStatus();
        return snapshot;
    };
    store_->onRequestSystemFocus = [self] {
        if (self)
            self->context_->requestFocusAccess();
    };
    context_->onSuppress = [self] {
        if (self)
            self->store_->suppressForSystemAbsence();
    };
    context_->onResume = [self] {
        if (self)
            self->store_->resumeAfterAbsence(QDateTime::currentDateTimeUtc());
    };
    // One timer wakes the process each second: the store's.
    connect(store_, &DewbellStore::secondPassed, context_, &SystemContext::checkClocks);
}

void AppDelegate::buildStatusItem()
{
    trayIcon_ = new TrayIcon(desktop_.trayAvailable, this);
    connect(trayIcon_, &TrayIcon::clicked, this, &AppDelegate::togglePopover);

    trayMenu_.reset(MainMenu::makeTrayMenu(this));
    trayIcon_->setContextMenu(trayMenu_.get());
    trayIcon_->setProblem(store_->saveFailure());
    connect(store_, &DewbellStore::changed, trayIcon_, [this] { trayIcon_->setProblem(store_->saveFailure()); });
    trayIcon_->show();
}

// Built when it first opens: at login most people never open it, and its pages, menus and
// fonts are most of what a start would otherwise build and keep.
MainWindow* AppDelegate::mainWindow()
{
    if (!window_) {
        window_ = std::make_unique<MainWindow>(store_, hasSwitch(CommandLine::uiTest));
        window_->installMenuBar(MainMenu::makeMenuBar(this, window_.get()));
        connect(window_.get(), &MainWindow::closing, this, &AppDelegate::windowWillClose);
        if (panel_)
            panel_->followMainWindow(window_.get());
        // Settings say what the desktop shares even while the safeguard is off; until the
        // window opens nothing needs the answer, so a login launch does not ask.
        context_->refreshFocusStatus();
        showFocusStatus();
    }
    return window_.get();
}

void AppDelegate::showFocusStatus()
{
    store_->setSystemFocusDescription(context_->focusStatusText());
}

// The panel and the popover are built when first needed: their texts alone would load and lay
// out fonts at every login, and a hidden view is only kept up to date for nothing.
BuddyPanel* AppDelegate::panel()
{
    if (!panel_)
        panel_ = std::make_unique<BuddyPanel>(store_, hasSwitch(CommandLine::uiTest), window_.get());
    return panel_.get();
}

// A reminder that has gone takes its panel with it: its window, pixel buffer and the pictures
// its views keep are megabytes, and the next reminder is minutes away.
void AppDelegate::releasePanel()
{
    if (!panel_ || panel_->isVisible())
        return;
    panel_.reset();
    // The allocator keeps freed memory for itself unless asked to give it back.
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

MenuBarView* AppDelegate::menuBarView()
{
    if (!menuBarView_) {
        menuBarView_ = new MenuBarView(store_);
        connect(menuBarView_, &MenuBarView::openDashboard, this, [this] { showPage(title(MainPage::dashboard)); });
        connect(menuBarView_, &MenuBarView::openCrew, this, &AppDelegate::showCrew);
        connect(menuBarView_, &MenuBarView::openSettings, this, &AppDelegate::showSettings);
        connect(menuBarView_, &MenuBarView::quit, this, &AppDelegate::quit);
        popover_ = std::make_unique<Popover>(menuBarView_);
    }
    return menuBarView_;
}

void AppDelegate::wireSeams()
{
    QPointer<AppDelegate> self(this);
    store_->chooseFileToOpen = [self](const QString& title, const QString& filter) -> std::optional<QString> {
        if (!self)
            return std::nullopt;
        return FileDialogs::chooseFileToOpen(self->dialogParent(), title, filter);
    };
    store_->chooseSaveLocation = [self](const QString& title, const QString& name,
                                        const QString& filter) -> std::optional<QString> {
        if (!self)
            return std::nullopt;
        return FileDialogs::chooseSaveLocation(self->dialogParent(), title, name, filter);
    };
    store_->chooseApplication = [self](const QString& title) -> std::optional<QString> {
        if (!self)
            return std::nullopt;
        return ApplicationPicker::choose(self->dialogParent(), title);
    };
    sound_ = new SoundPlayer(desktop_.audioAvailable, this);
    store_->playSound = [self](const QString& name) {
        if (self)
            self->sound_->play(name);
    };
}

// Changed in place and never saved: a QA run must not leave its marks in anyone's state.
void AppDelegate::applyUiTestState()
{
    store_->mutateState([](SavedState& state) {
        state.preferences.companionID = uiTestCompanion;
        state.nextDue = DateCoding::distantFuture();
        state.preferences.quietEnabled = false;
    });
}

QWidget* AppDelegate::dialogParent() const
{
    return window_ && window_->isVisible() ? window_.get() : nullptr;
}

bool AppDelegate::validateMenuItem(QAction* item)
{
    if (item->objectName() != QLatin1String("checkForUpdates"))
        return true;
    item->setToolTip(store_->updates()->checkHelp());
    return store_->updates()->canCheck();
}

void AppDelegate::setActivationPolicy(ActivationPolicy policy)
{
    policy_ = policy;
}

void AppDelegate::togglePopover()
{
    if (!trayIcon_)
        return;
    menuBarView();
    if (popover_->isVisible()) {
        popover_->close();
        return;
    }
    // The click that closed the popover from outside was on the icon: leave it closed.
    if (popover_->justClosed())
        return;
    store_->tick(QDateTime::currentDateTimeUtc());
    popover_->openAt(trayIcon_->geometry());
}

void AppDelegate::checkForUpdates()
{
    if (popover_)
        popover_->close();
    store_->updates()->checkForUpdates();
}

void AppDelegate::showMain()
{
    if (popover_)
        popover_->close();
    setActivationPolicy(ActivationPolicy::regular);
    mainWindow()->present();
    if (!hasSwitch(CommandLine::uiTest) && !hasSwitch(CommandLine::preview) && !hasSwitch(CommandLine::testLab))
        store_->presentTourIfNeeded();
}

void AppDelegate::showPage(const QString& page)
{
    store_->setSelectedPage(page);
    showMain();
}

void AppDelegate::previewBuddy()
{
    store_->showReminder(true, ReminderKind::water);
}

void AppDelegate::showSettings()
{
    showPage(title(MainPage::settings));
}

void AppDelegate::showTour()
{
    showMain();
    store_->presentTour();
}

void AppDelegate::showCrew()
{
    showPage(title(MainPage::crew));
}

// exit() rather than quit(): quitting would first close the main window, and closing it
// during the tour counts as finishing the tour, which a quit must not do.
void AppDelegate::quit()
{
    store_->saveAndWait();
    QCoreApplication::exit(EXIT_SUCCESS);
}

// After a quit the file already holds the state, and nothing is written again.
void AppDelegate::applicationWillTerminate()
{
    store_->saveAndWait();
}

void AppDelegate::windowWillClose()
{
    if (store_->tourVisible())
        store_->finishTour();
    setActivationPolicy(ActivationPolicy::accessory);
    // Without a tray nothing on screen is left of a running Dewbell: say so once, after the
    // window has gone.
    if (!askedToKeepRunning_ && !trayIcon_->hostAvailable()) {
        askedToKeepRunning_ = true;
        QMetaObject::invokeMethod(this, &AppDelegate::askToKeepRunningWithoutTray, Qt::QueuedConnection);
    }
}

void AppDelegate::askToKeepRunningWithoutTray()
{
    const bool keep = desktop_.keepRunningWithoutTray ? desktop_.keepRunningWithoutTray() : NoTrayNotice::keepRunning();
    if (!keep)
        quit();
}
