#pragma once

#include <QJsonObject>
#include <QString>

// The folder Dewbell runs from, holding bin/dewbell and share/dewbell, and the swap that
// replaces it with a new version in one step.
class Installation {
public:
    // `root` holds bin/ and share/; `userDataFolder` is the user's private folder, which an
    // update must never touch.
    Installation(const QString& root, const QString& userDataFolder);

    // The folder above the running binary's bin/.
    static QString rootOfRunningBinary();

    QString root() const { return root_; }

    // Whether Dewbell may replace the folder itself: it holds Dewbell and nothing else (no
    // other program's files, not the user's data), and the user may write it, every folder in
    // it and the folder around it.
    bool canReplaceItself() const;

    // Whether the folder holds more than Dewbell: other programs' files (a prefix such as
    // /usr/local or ~/.local) or the user's data. Dewbell never replaces such a folder.
    bool holdsOtherFiles() const;
    // Whether the user may change Dewbell's own files there (bin/, share/ and share/dewbell/
    // throughout), as installing an update by hand does.
    bool userMayChangeDewbellFiles() const;

    // The command that installs a saved archive by hand over this installation, run in the
    // folder holding the archive: it checks that the archive is readable, removes the old
    // version's own folders (so nothing the new version dropped stays behind) and unpacks the
    // new one, as root when `asAdministrator`, without taking owners from the archive.
    static QString handInstallCommand(const QString& root, const QString& archiveName, bool asAdministrator);

    // The version an information dictionary names: CFBundleVersion, else
    // CFBundleShortVersionString; empty when it names none.
    static QString versionIn(const QJsonObject& info);
    // The version named by a tree's share/dewbell/info.json; empty when it cannot be read.
    static QString versionOf(const QString& folder);

    // A new, empty folder beside the installation (so that the swap is a rename on one file
    // system); empty when none can be made.
    QString makeStagingFolder() const;

    // Whether a staged tree is a copy of Dewbell: an executable bin/dewbell and share/dewbell/.
    static bool holdsDewbell(const QString& folder);

    // Puts the staged tree in the installation's place and removes the old one. On failure
    // the old installation is left as it was and false is returned.
    bool swapIn(const QString& staged) const;

    // Removes a staged tree that will not be installed.
    static void discard(const QString& staged);

private:
    bool holdsOnlyDewbell() const;
    bool keepsClearOfUserData() const;
    bool everyFolderWritable() const;

    QString root_;
    QString userDataFolder_;
};
