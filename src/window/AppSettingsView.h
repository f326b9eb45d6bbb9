#pragma once

#include "platform/DesktopFiles.h"

#include <QWidget>

class DewbellStore;
class LoginService;
class PageCard;
class ProtectedAppsList;
class QLabel;
class SoftButton;
class TrailingSwitch;

// The "Settings" page: when reminders step back (the away pause and the smart safeguards),
// starting at login, the updates card, how data stay on this computer and which build runs,
// and the tour once more. Every preference goes through the store; the login item through the
// page's own login service, which is read again each time the page is shown.
class AppSettingsView : public QWidget {
    Q_OBJECT
public:
    // Without `login` the page makes its own over the user's autostart folder; a service
    // handed in becomes the page's. Protected applications are named from the desktop files
    // in `applicationFolders`.
    AppSettingsView(DewbellStore* store, LoginService* login = nullptr,
                    QStringList applicationFolders = DesktopFiles::applicationFolders(), QWidget* parent = nullptr);

    // The line on the kind of build: a signed release ("DWDistribution" is "developer-id")
    // or a local development build.
    static QString buildLine();

protected:
    void showEvent(QShowEvent* event) override;

private:
    PageCard* makeWhenRemindersRunCard();
    PageCard* makeSafeguardsCard();
    PageCard* makeLoginCard();
    PageCard* makeDataCard();
    PageCard* makeHelloCard();
    QWidget* makeIdlePicker(QWidget* parent);
    void refresh();
    void refreshLogin();

    DewbellStore* store_;
    LoginService* login_;
    QStringList applicationFolders_;
    QWidget* idlePicker_ = nullptr;
    ProtectedAppsList* protectedApps_ = nullptr;
    QLabel* focusDescription_ = nullptr;
    QLabel* availability_ = nullptr;
    QLabel* holdBackReason_ = nullptr;
    TrailingSwitch* launchAtLogin_ = nullptr;
    QLabel* loginStatus_ = nullptr;
    SoftButton* openLoginItems_ = nullptr;
    QLabel* buildLine_ = nullptr;
};
