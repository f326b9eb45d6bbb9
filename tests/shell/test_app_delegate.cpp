#include "platform/SystemContext.h"
#include "reminders/ReminderSurface.h"
#include "reminders/ReminderView.h"
#include "shell/AppDelegate.h"
#include "shell/AppLifetime.h"
#include "shell/ApplicationPicker.h"
#include "shell/BuddyPanel.h"
#include "shell/MenuBarView.h"
#include "shell/TrayIcon.h"
#include "store/DewbellStore.h"
#include "support/TableTesting.h"
#include "ui/Palette.h"
#include "window/ChoicePicker.h"
#include "window/MainPages.h"
#include "window/MainWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

#include <sys/stat.h>

using Policy = AppDelegate::ActivationPolicy;

class AppDelegateTest : public QObject {
    Q_OBJECT

private slots:
    // Settings paths are read once per process, so the configuration folder is set up front.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", configuration_.path().toUtf8()); }

    void init()
    {
        scratch_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", scratch_->filePath(QStringLiteral("data")).toUtf8());
    }

    void cleanup()
    {
        delegate_.reset();
        scratch_.reset();
    }

    void launchModes_data()
    {
        addColumns<QStringList, bool, bool, QString>("switches", "window", "tour", "page");
        QTest::newRow("from the menu") << QStringList() << true << true << QStringLiteral("Your day");
        QTest::newRow("at login") << QStringList{QStringLiteral("--autostart")} << false << false
                                  << QStringLiteral("Your day");
        QTest::newRow("in the background")
            << QStringList{QStringLiteral("--background")} << false << false << QStringLiteral("Your day");
        QTest::newRow("the test lab") << QStringList{QStringLiteral("--test-lab")} << true << false
                                      << QStringLiteral("The little crew");
        // Switches count only as written: letter case included.
        QTest::newRow("switches in other letters")
            << QStringList{QStringLiteral("--Background"), QStringLiteral("--AUTOSTART"), QStringLiteral("--Test-Lab")}
            << true << true << QStringLiteral("Your day");
    }

    // A first launch: the window and the tour, unless Dewbell started at login or in the background,
    // where it waits in the tray without having built the window; the test lab opens on the crew
    // without the tour.
    void launchModes()
    {
        QFETCH(QStringList, switches);
        QFETCH(bool, window);
        QFETCH(bool, tour);
        QFETCH(QString, page);
        AppDelegate& delegate = launch(switches);
        QCOMPARE(delegate.window() != nullptr, window);
        QCOMPARE(delegate.window() && delegate.window()->isVisible(), window);
        QCOMPARE(delegate.activationPolicy(), window ? Policy::regular : Policy::accessory);
        QCOMPARE(delegate.store()->tourVisible(), tour);
        QCOMPARE(delegate.store()->selectedPage(), page);
        QVERIFY(delegate.trayIcon()->isShown());
        QVERIFY(!delegate.panel()->isVisible());
    }

    void closingTheWindowFinishesTheTour()
    {
        AppDelegate& first = launch({});
        QVERIFY(first.store()->tourVisible());
        first.window()->close();
        QVERIFY(!first.store()->tourVisible());
        QCOMPARE(first.activationPolicy(), Policy::accessory);

        AppDelegate& next = launch({});
        QVERIFY(next.window()->isVisible());
        QVERIFY2(!next.store()->tourVisible(), "the tour is not offered again");
    }

    void uiTestPreviewShowsTheReminderWithoutFocus()
    {
        AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--preview")});
        DewbellStore* store = delegate.store();
        QVERIFY(store->preview());
        QCOMPARE(store->reminderKind(), ReminderKind::water);
        QVERIFY(!store->tourVisible());
        QVERIFY(delegate.window()->isVisible());

        BuddyPanel* panel = delegate.panel();
        QVERIFY(panel->isVisible());
        QVERIFY(panel->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(panel->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        // In the bottom right corner, the companion's feet a little below the screen's edge.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(panel->geometry().right(), screen.right());
        QVERIFY(screen.contains(panel->geometry().topLeft()));
        QVERIFY(panel->geometry().bottom() > screen.bottom());

        // The reminder takes its panel with it when it goes; the next one builds its own.
        const QPointer<BuddyPanel> shown = panel;
        store->dismiss();
        QTRY_VERIFY(!shown);
        delegate.previewBuddy();
        QVERIFY(delegate.panel()->isVisible());
    }

    void backgroundUiTestStaysInTheTrayAndCleansUp()
    {
        AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
        const QString folder = delegate.store()->directory();
        QVERIFY2(folder.startsWith(QDir::tempPath() + QStringLiteral("/dewbell-qa-")), qPrintable(folder));
        QVERIFY(!delegate.window());
        QVERIFY(!delegate.panel()->isVisible());
        QCOMPARE(delegate.activationPolicy(), Policy::accessory);
        QVERIFY(delegate.trayIcon()->isShown());

        // Quitting under --ui-test writes nothing; the folder goes with the delegate.
        delegate.applicationWillTerminate();
        QVERIFY(!QFile::exists(folder + QStringLiteral("/state.json")));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/Characters/left-over")));
        delegate_.reset();
        QVERIFY(!QDir(folder).exists());
    }

    void withoutTrayHostTheWindowShowsAnyway()
    {
        launch({QStringLiteral("--ui-test"), QStringLiteral("--background")}, [] { return false; });
        QVERIFY(delegate_->window()->isVisible());
        QCOMPARE(delegate_->activationPolicy(), Policy::regular);
        QVERIFY(!delegate_->trayIcon()->isShown());
    }

    void popoverLinksOpenTheirPage()
    {
        const std::pair<const char*, const char*> links[] = {
            {"meetCrewButton", "The little crew"}, {"settingsButton", "Settings"}, {"openAppButton", "Your day"}};
        AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
        for (const auto& [button, page] : links) {
            if (delegate.window())
                delegate.window()->close();
            QTest::mouseClick(delegate.menuBarView()->findChild<QAbstractButton*>(QLatin1String(button)),
                              Qt::LeftButton);
            QCOMPARE(delegate.store()->selectedPage(), QLatin1String(page));
            QVERIFY2(delegate.window()->isVisible(), button);
        }
    }

    // The window that a login launch did not build opens at the first click as if it had been there
    // all along, menu bar and tour included, and stays the one window from then on.
    void loginLaunchBuildsTheWindowAtTheFirstClick()
    {
        AppDelegate& delegate = launch({QStringLiteral("--autostart")});
        // Nothing follows Do Not Disturb, so nothing asks the desktop until settings can show it;
        // the popover and the reminder panel wait for the first click and the first reminder.
        QVERIFY(delegate.context()->focusStatusText().isEmpty());
        QVERIFY(!delegate.popover());
        for (QWidget* shown : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<BuddyPanel*>(shown));
        QTest::mouseClick(delegate.menuBarView()->findChild<QAbstractButton*>(QStringLiteral("openAppButton")),
                          Qt::LeftButton);
        MainWindow* window = delegate.window();
        QVERIFY(window && window->isVisible());
        QCOMPARE(delegate.activationPolicy(), Policy::regular);
        QVERIFY(delegate.store()->tourVisible());
        QTRY_VERIFY(window->findChild<QDialog*>(QStringLiteral("tourSheet"))->isVisible());
        QVERIFY(window->menuBar()->findChild<QMenu*>(QStringLiteral("dewbellMenu")));
        QVERIFY(!delegate.context()->focusStatusText().isEmpty());
        QCOMPARE(delegate.store()->systemFocusDescription(), delegate.context()->focusStatusText());

        window->close();
        delegate.showMain();
        QCOMPARE(delegate.window(), window);
        QVERIFY(window->isVisible());
    }

    void quitSaves()
    {
        AppDelegate& delegate = launch({});
        const QString stateFile = scratch_->filePath(QStringLiteral("data/dewbell/state.json"));
        QFile::remove(stateFile);
        delegate.applicationWillTerminate();
        QVERIFY(QFile::exists(stateFile));
    }

    // Quit, then the application's end that follows it, as the event loop runs them: the state is
    // written once, by the quit, and not at all when the file already holds it.
    void aQuitWritesTheStateOnce()
    {
        AppDelegate& delegate = launch({QStringLiteral("--background")});
        AppLifetime lifetime(*qApp, delegate);
        const QByteArray stateFile = QFile::encodeName(scratch_->filePath(QStringLiteral("data/dewbell/state.json")));
        // Every write puts a new file in place.
        const auto writtenFile = [&stateFile] {
            struct stat status { };
            return ::stat(stateFile.constData(), &status) == 0 ? status.st_ino : ino_t(0);
        };
        const auto quitAndRecord = [&] {
            ino_t afterQuit = 0;
            QTimer::singleShot(0, &delegate, [&] {
                delegate.quit();
                afterQuit = writtenFile();
            });
            QCoreApplication::exec();
            return afterQuit;
        };

        delegate.store()->drink();
        const ino_t afterDrink = writtenFile();
        QVERIFY(afterDrink != 0);
        QCOMPARE(quitAndRecord(), afterDrink);
        QCOMPARE(writtenFile(), afterDrink);

        delegate.store()->update([](Preferences& p) { p.loveNote = QStringLiteral("Sip"); });
        const ino_t afterQuit = quitAndRecord();
        QVERIFY(afterQuit != afterDrink);
        QCOMPARE(writtenFile(), afterQuit);
    }

    // The user switches animations off and on in the desktop's settings while Dewbell runs: the
    // next reminder or window follows, and nothing asks the desktop in between.
    void reducedMotionIsReadAgainWhenSomethingOpens()
    {
        auto reduce = std::make_shared<bool>(false);
        auto reads = std::make_shared<int>(0);
        AppDelegate& delegate = launch(
            {QStringLiteral("--ui-test"), QStringLiteral("--background")}, [] { return true; },
            [reduce, reads] {
                ++*reads;
                return *reduce;
            });
        DewbellStore* store = delegate.store();
        const ReminderView* view = delegate.panel()->surface()->reminderView();
        delegate.previewBuddy();
        QVERIFY(view->isTimelineRunning());

        *reduce = true;
        store->dismiss();
        delegate.previewBuddy();
        QVERIFY(!view->isTimelineRunning());
        QCOMPARE(view->walkOffset(), 0.0);
        store->dismiss();

        const int readsWhileIdle = *reads;
        QTest::qWait(1500);
        QCOMPARE(*reads, readsWhileIdle);

        // The tour points at the tray icon: steady while motion is reduced, pulsing once it is not.
        delegate.showTour();
        store->highlightTourMenu(true);
        QVERIFY(!delegate.trayIcon()->isPulsing());
        *reduce = false;
        delegate.window()->hide();
        delegate.showMain();
        store->highlightTourMenu(true);
        QVERIFY(delegate.trayIcon()->isPulsing());
    }

    void menusAreDarkLikeTheApp()
    {
        AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
        delegate.showMain();
        QList<QMenu*> menus;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("trayMenu"))
                menus.append(qobject_cast<QMenu*>(window));
        }
        QCOMPARE(menus.size(), 1);
        for (QAction* item : delegate.window()->menuBar()->actions())
            menus.append(item->menu());
        for (QMenu* menu : menus) {
            menu->popup(QPoint(10, 10));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            const QImage shown = menu->grab().toImage();
            int lightest = 0;
            int darkPixels = 0;
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x) {
                    const int gray = qGray(shown.pixel(x, y));
                    lightest = std::max(lightest, gray);
                    darkPixels += gray < 60 ? 1 : 0;
                }
            }
            // Mostly the dark ground, with light words on it.
            QVERIFY2(darkPixels > shown.width() * shown.height() * 3 / 4, qPrintable(menu->title()));
            QVERIFY2(lightest > 180, qPrintable(menu->title()));
            // What cannot be used now (the update check of a development build) is only dimmed.
            for (QAction* item : menu->actions()) {
                if (item->isEnabled() || item->isSeparator())
                    continue;
                const QRect place = menu->actionGeometry(item);
                int brightest = 0;
                for (int y = place.top(); y <= place.bottom(); ++y)
                    for (int x = place.left(); x <= place.right(); ++x)
                        brightest = std::max(brightest, qGray(shown.pixel(x, y)));
                QVERIFY2(brightest <= qGray(Palette::muted().rgb()) + 8, qPrintable(item->text()));
            }
            menu->hide();
        }
    }

    // Qt's own windows follow the app, not the desktop: on a light desktop a picker's list, the
    // application picker, a file dialog and a tooltip are as dark as the window they open from.
    void popUpsAreDarkLikeTheApp()
    {
        const QPalette light(Qt::white);
        QApplication::setPalette(light);
        QToolTip::setPalette(light);
        AppDelegate& delegate = launch({QStringLiteral("--ui-test"), QStringLiteral("--background")});
        delegate.store()->setSelectedPage(title(MainPage::reminders));
        delegate.showMain();
        QWidget* window = delegate.window();

        auto* picker = window->findChild<ChoicePicker*>(QStringLiteral("glassPicker"));
        picker->showPopup();
        QWidget* list = picker->view()->window();
        QVERIFY(list != window && QTest::qWaitForWindowExposed(list));
        expectMostlyDark(list, "picker list");
        picker->hidePopup();

        ApplicationPicker applications(QStringLiteral("Choose an app"),
                                       {{QStringLiteral("org.gnome.Calculator"), QStringLiteral("Calculator")}},
                                       window);
        applications.show();
        expectMostlyDark(&applications, "application picker");

        QFileDialog files(window, QStringLiteral("Open a care package"));
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.show();
        expectMostlyDark(&files, "file dialog");

        QToolTip::showText(window->mapToGlobal(QPoint(40, 40)), QStringLiteral("Preview Pemmy"), window);
        QWidget* tip = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            tip = top->inherits("QTipLabel") && top->isVisible() ? top : tip;
        QVERIFY(tip);
        expectMostlyDark(tip, "tooltip");
        QToolTip::hideText();
    }

    // A drink logged from the popover while the disk refuses it: the popover and the tray say so
    // until a save succeeds, while the main window stays closed.
    void aFailedSaveShowsWhereDrinksAreLogged()
    {
        AppDelegate& delegate = launch({QStringLiteral("--background")});
        delegate.togglePopover();
        MenuBarView* view = delegate.menuBarView();
        QVERIFY(view->isVisible());
        auto* line = view->findChild<QLabel*>(QStringLiteral("saveFailureLine"));
        auto* drink = view->findChild<QAbstractButton*>(QStringLiteral("drinkButton"));
        QVERIFY(line && drink && !line->isVisible());
        const auto trayToolTip = [&delegate] { return delegate.trayIcon()->findChild<QSystemTrayIcon*>()->toolTip(); };
        const QString baseToolTip = trayToolTip();

        const QString stateFile = scratch_->filePath(QStringLiteral("data/dewbell/state.json"));
        QFile::remove(stateFile);
        QVERIFY(QDir().mkpath(stateFile));
        QTest::mouseClick(drink, Qt::LeftButton);
        QVERIFY(line->isVisible());
        QVERIFY2(line->text().startsWith(QStringLiteral("Couldn't save your settings: ")), qPrintable(line->text()));
        QCOMPARE(trayToolTip(), baseToolTip + QLatin1Char('\n') + line->text());
        QVERIFY(!delegate.window());

        QVERIFY(QDir(stateFile).removeRecursively());
        QTest::mouseClick(drink, Qt::LeftButton);
        QVERIFY(!line->isVisible());
        QCOMPARE(trayToolTip(), baseToolTip);
    }

    // Without a tray a closed window leaves nothing of a running Dewbell on screen. Once the window
    // has gone it says so, once, with how to open the window again, and quits only when asked to.
    // With a tray nothing is asked.
    void closingWithoutATrayTellsOnceHowToComeBack_data()
    {
        addColumns<bool>("quits");
        QTest::newRow("the user keeps it running") << false;
        QTest::newRow("the user quits") << true;
    }
    void closingWithoutATrayTellsOnceHowToComeBack()
    {
        QFETCH(bool, quits);
        constexpr int keptRunning = 7;
        AppDelegate& delegate = launch({QStringLiteral("--ui-test")}, [] { return false; });
        QList<QMessageBox*> asked;
        bool windowGoneWhenAsked = false;
        QString said;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || asked.contains(box))
                return;
            asked.append(box);
            windowGoneWhenAsked = !delegate.window()->isVisible();
            said = box->text() + QLatin1Char(' ') + box->informativeText();
            const QList<QAbstractButton*> buttons = box->buttons();
            const auto quit = std::find_if(buttons.begin(), buttons.end(), [](QAbstractButton* button) {
                return button->text() == QLatin1String("Quit Dewbell");
            });
            QVERIFY(quit != buttons.end());
            if (quits) {
                QTest::mouseClick(*quit, Qt::LeftButton);
            } else {
                QTest::keyClick(box, Qt::Key_Escape);
                QTimer::singleShot(0, [] { QCoreApplication::exit(keptRunning); });
            }
        });
        answer.start(10);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        giveUp.start(20000);

        delegate.window()->close();
        QVERIFY(asked.isEmpty());
        // Quitting ends the event loop as it ends Dewbell's.
        QCOMPARE(QCoreApplication::exec(), quits ? EXIT_SUCCESS : keptRunning);
        QCOMPARE(asked.size(), 1);
        QVERIFY(windowGoneWhenAsked);
        QVERIFY2(said.contains(QStringLiteral("reminders keep coming")), qPrintable(said));
        if (quits)
            return;

        delegate.showMain();
        delegate.window()->close();
        QCoreApplication::processEvents();
        QCOMPARE(asked.size(), 1);

        AppDelegate& withTray = launch({QStringLiteral("--ui-test")});
        withTray.window()->close();
        QCoreApplication::processEvents();
        QCOMPARE(asked.size(), 1);
    }

private:
    // At least two thirds of what `window` draws is dark, as Dewbell's ground is.
    static void expectMostlyDark(QWidget* window, const char* what)
    {
        const QImage shown = window->grab().toImage();
        int dark = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x)
                dark += qGray(shown.pixel(x, y)) < 70 ? 1 : 0;
        }
        QVERIFY2(dark * 3 > shown.width() * shown.height() * 2, what);
    }

    AppDelegate& launch(
        const QStringList& switches, std::function<bool()> trayHost = [] { return true; },
        std::function<bool()> reduceMotion = [] { return false; });

    QTemporaryDir configuration_;
    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<AppDelegate> delegate_;
};

AppDelegate& AppDelegateTest::launch(const QStringList& switches, std::function<bool()> trayHost,
                                     std::function<bool()> reduceMotion)
{
    AppDelegate::Desktop desktop;
    desktop.trayAvailable = std::move(trayHost);
    desktop.reduceMotion = std::move(reduceMotion);
    desktop.audioAvailable = [] { return false; };
    delegate_ = std::make_unique<AppDelegate>(QStringList{QStringLiteral("dewbell")} + switches, desktop);
    delegate_->launch();
    return *delegate_;
}

QTEST_MAIN(AppDelegateTest)
#include "test_app_delegate.moc"
