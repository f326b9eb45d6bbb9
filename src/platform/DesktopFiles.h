#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One desktop file of the XDG applications folders.
struct DesktopFile {
    // The desktop-file id: the path below the applications folder without ".desktop", with
    // "/" turned into "-" ("org.gnome.Calculator", "kde-foo").
    QString id;
    QString path;
};

// The one place that finds and reads desktop files.
namespace DesktopFiles {

// The applications folders of XDG_DATA_HOME and XDG_DATA_DIRS, the user's own first.
QStringList applicationFolders();

// Every desktop file below the folders, sub-folders included. When two folders hold the same
// id, the earlier folder's file hides the later one.
QList<DesktopFile> scan(const QStringList& folders);

// The keys of the file's "[Desktop Entry]" group, localized variants ("Name[de]") as keys of
// their own; of a key given twice the first counts. Only the first 64 KiB of a file are read.
QHash<QString, QString> mainGroup(const QString& path);

}  // namespace DesktopFiles
