#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One installed application, as its desktop file describes it.
struct InstalledApplication {
    // The desktop-file id: the path below the applications folder without ".desktop", with
    // "/" turned into "-" ("org.gnome.Calculator", "kde-foo").
    QString id;
    // The localized Name, else GenericName, else the id.
    QString name;

    bool operator==(const InstalledApplication&) const = default;
};

// The applications a user can pick, read from the XDG applications folders. Entries that are
// hidden, not shown in menus or not applications are left out; when two folders hold the
// same id, the earlier folder wins.
namespace ApplicationCatalog {

// Sorted by name, letter case aside.
QList<InstalledApplication> installed(const QStringList& applicationFolders);
QList<InstalledApplication> installedOnThisSystem();

// One desktop file; none when it is not a visible application. `language` is a locale name
// such as "de_DE" for the localized Name.
std::optional<InstalledApplication> read(const QString& path, const QString& id, const QString& language);

}  // namespace ApplicationCatalog
