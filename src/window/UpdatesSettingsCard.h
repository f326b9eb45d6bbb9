#pragma once

#include "ui/FilledCard.h"

#include <QDateTime>

class AppUpdateManager;
class CapsuleBadge;
class QLabel;
class SoftButton;
class TrailingSwitch;

// The settings page's "APP UPDATES" card: whether updates run in this build, the version, a
// check button, the two automatic-update switches, what they mean, the last check and the
// manager's status line. It follows every change the manager announces and changes the
// manager only through its operations.
class UpdatesSettingsCard : public FilledCard {
    Q_OBJECT
public:
    explicit UpdatesSettingsCard(AppUpdateManager* updates, const QString& version = defaultVersion(),
                                 QWidget* parent = nullptr);

    // The bundle's "CFBundleShortVersionString" when it is a string, else "Preview".
    static QString defaultVersion();
    // "Last checked " and the date in the user's language: abbreviated date, short time.
    static QString lastCheckedText(const QDateTime& date);

private:
    // A switch named `name` that hands each click to the update manager's `change`.
    TrailingSwitch* makeSwitch(const QString& text, const char* name, void (AppUpdateManager::*change)(bool on));
    QWidget* makeHeader();
    QWidget* makeVersionRow(const QString& version);
    void refresh();

    AppUpdateManager* updates_;
    CapsuleBadge* badge_;
    SoftButton* check_;
    TrailingSwitch* checks_;
    TrailingSwitch* downloads_;
    QLabel* caption_;
    QLabel* lastCheck_;
    QLabel* message_;
};
