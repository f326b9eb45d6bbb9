#include "window/UpdateCheckButton.h"

#include "store/AppUpdateManager.h"
#include "ui/Palette.h"
#include "ui/Typography.h"

UpdateCheckButton::UpdateCheckButton(AppUpdateManager* updates, std::function<void()> beforeCheck, QWidget* parent)
    : PlainButton(QStringLiteral("Check for Updates…"), QStringLiteral("arrow.triangle.2.circlepath"), parent),
      updates_(updates),
      beforeCheck_(std::move(beforeCheck))
{
    setObjectName(QStringLiteral("updateCheckButton"));
    setFont(uiFont(11));
    setColor(Palette::muted());
    setStretched(true);
    connect(this, &QAbstractButton::clicked, this, &UpdateCheckButton::check);
    connect(updates_, &AppUpdateManager::changed, this, &UpdateCheckButton::refresh);
    refresh();
}

void UpdateCheckButton::refresh()
{
    setEnabled(updates_->canCheck());
    setToolTip(updates_->checkHelp());
}

void UpdateCheckButton::check()
{
    if (!updates_->canCheck())
        return;
    if (beforeCheck_)
        beforeCheck_();
    updates_->checkForUpdates();
}
