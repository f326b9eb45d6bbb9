#pragma once

#include "ui/PlainButton.h"

class AppUpdateManager;

// The popover's compact "Check for Updates…" row: enabled only while the manager can check,
// explained by the manager's help text, and announcing `beforeCheck` just before the check.
class UpdateCheckButton : public PlainButton {
    Q_OBJECT
public:
    explicit UpdateCheckButton(AppUpdateManager* updates, QWidget* parent = nullptr);

signals:
    void beforeCheck();

private:
    void refresh();
    void check();

    AppUpdateManager* updates_;
};
