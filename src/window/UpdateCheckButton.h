#pragma once

#include "ui/PlainButton.h"

#include <functional>

class AppUpdateManager;

// The popover's compact "Check for Updates…" row: enabled only while the manager can check,
// explained by the manager's help text, and running `beforeCheck` just before the check.
class UpdateCheckButton : public PlainButton {
    Q_OBJECT
public:
    explicit UpdateCheckButton(AppUpdateManager* updates, std::function<void()> beforeCheck = {},
                               QWidget* parent = nullptr);

private:
    void refresh();
    void check();

    AppUpdateManager* updates_;
    std::function<void()> beforeCheck_;
};
