#include "reminders/tour/DailyUseGuide.h"

#include "model/AppBundle.h"

#include <QDir>
#include <QFileInfo>

QString DailyUseGuide::path()
{
    return AppBundle::documentationFolder() + QStringLiteral("/daily-use.html");
}

std::optional<QUrl> DailyUseGuide::url()
{
    const QFileInfo page(path());
    if (!page.isFile())
        return std::nullopt;
    return QUrl::fromLocalFile(page.absoluteFilePath());
}
