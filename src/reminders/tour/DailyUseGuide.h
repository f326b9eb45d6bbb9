#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// Dewbell has no website: its page on daily use ships with the installation's documentation
// (share/doc/dewbell in the default layout; the build tree has the same layout).
namespace DailyUseGuide {

QString path();
// The page as a file address for the browser; none when it is not installed.
std::optional<QUrl> url();

}  // namespace DailyUseGuide
