#include "window/UpdateCheckButton.h"

#include "store/AppUpdateManager.h"
#include "ui/Palette.h"
#include "ui/Typography.h"

UpdateCheckButton::UpdateCheckButton(AppUpdateManager* updates, QWidget* parent)
    : PlainButton(QStringLiteral("Check for Updates…"), QStringLiteral("arrow.triangle.2.circlepath"), parent),
      updates_(updates)
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
    emit beforeCheck();
    updates_->checkForUpdates();
}
