#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class BuddyPanel;
class DewbellStore;
class MainWindow;
class MenuBarView;
class Popover;
class QAction;
class QMenu;
class SoundPlayer;
class SystemContext;
class TrayIcon;

// Builds and wires the running application and serves its commands. It owns, for the life of
// the process, the store, the system context, the tray icon, its popover and the main window
// (each from its first opening on), and the reminder panel while a reminder shows. While the
// main window is shown Dewbell is a regular application (listed in the task bar); otherwise an
// accessory that lives in the tray.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    enum class ActivationPolicy { accessory, regular };

    // What the delegate asks the desktop; tests hand in their own answers.
    struct Desktop {
        // Whether a tray host is running (QSystemTrayIcon's answer when unset).
        std::function<bool()> trayAvailable;
        // Whether the desktop has an audio output (the sound library finds out when unset).
        std::function<bool()> audioAvailable;
        // Whether the desktop asks for reduced motion (its GNOME or KDE setting when unset).
        std::function<bool()> reduceMotion;
        // Asked once, when the main window closes while there is no tray host: true to keep
        // running without window or icon, false to quit (NoTrayNotice when unset).
        std::function<bool()> keepRunningWithoutTray;
    };

    // Creates the store (under "--ui-test" on a fresh temporary folder, saving nothing) and
    // the system context, and tells every animated view where to ask about reduced motion.
    // `arguments` are the process's arguments, program path included.
    explicit AppDelegate(const QStringList& arguments, Desktop desktop = {}, QObject* parent = nullptr);
    // Under "--ui-test" also removes the temporary folder.
    ~AppDelegate() override;

    // Everything that happens once the application object runs, in launch order.
    void launch();

    DewbellStore* store() const { return store_; }
    SystemContext* context() const { return context_; }
    // None until the main window first opens.
    MainWindow* window() const { return window_.get(); }
    // The reminder panel and the popover's content are built when first needed (the first
    // reminder, the first click on the icon), or when asked for here.
    BuddyPanel* panel();
    MenuBarView* menuBarView();
    TrayIcon* trayIcon() const { return trayIcon_; }
    // None until the popover is first needed.
    Popover* popover() const { return popover_.get(); }
    ActivationPolicy activationPolicy() const { return policy_; }
    bool hasSwitch(const QString& name) const;

    // Whether a menu item can be used now; the update check also gets its explanation.
    bool validateMenuItem(QAction* item);

    // The commands of the menus, the popover, the tray and the command line.
    void togglePopover();
    void checkForUpdates();
    void showMain();
    void previewBuddy();
    void showSettings();
    void showTour();
    void showCrew();
    // Saves, then ends the application (SIGTERM and SIGINT come here too).
    void quit();
    // The last word before the process ends, however it ends: saves what the file still lacks.
    void applicationWillTerminate();

private:
    void wireContext();
    void buildStatusItem();
    MainWindow* mainWindow();
    void releasePanel();
    void showFocusStatus();
    void wireSeams();
    void applyUiTestState();
    void showPage(const QString& page);
    void setActivationPolicy(ActivationPolicy policy);
    void windowWillClose();
    void askToKeepRunningWithoutTray();
    QWidget* dialogParent() const;

    QStringList arguments_;
    Desktop desktop_;
    QString temporaryFolder_;
    DewbellStore* store_;
    SystemContext* context_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<BuddyPanel> panel_;
    TrayIcon* trayIcon_ = nullptr;
    std::unique_ptr<Popover> popover_;
    MenuBarView* menuBarView_ = nullptr;
    std::unique_ptr<QMenu> trayMenu_;
    SoundPlayer* sound_ = nullptr;
    ActivationPolicy policy_ = ActivationPolicy::accessory;
    bool askedToKeepRunning_ = false;
};
