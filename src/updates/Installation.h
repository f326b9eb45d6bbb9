#pragma once

#include <QJsonObject>
#include <QString>

// How a saved update is installed by hand, where Dewbell does not replace its folder itself.
struct HandInstall {
    // The folder holds other programs' files (or the user's data) besides Dewbell's.
    bool sharedFolder = false;
    // Only an administrator may change Dewbell's files there: the command runs as root, without
    // taking owners from the archive.
    bool needsAdministrator = false;
    // The command removes the old version's share/dewbell/app and share/doc/dewbell before
    // unpacking, so nothing the new version dropped stays behind; never where the user's data
    // lies inside one of them, and then files the new version dropped stay.
    bool clearsOldVersion = false;
    // Run in the folder holding the archive; it stops before changing anything when the archive
    // is not there or cannot be read.
    QString command;
};

// The folder Dewbell runs from, holding bin/dewbell and share/dewbell/app, and the swap that
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

    // How the update in `archiveName` is installed by hand where Dewbell leaves the folder alone.
    HandInstall handInstall(const QString& archiveName) const;

    // The version an information dictionary names: CFBundleVersion, else
    // CFBundleShortVersionString; empty when it names none.
    static QString versionIn(const QJsonObject& info);
    // The version named by a tree's share/dewbell/app/info.json; empty when it cannot be read.
    static QString versionOf(const QString& folder);

    // A new, empty folder beside the installation (so that the swap is a rename on one file
    // system); empty when none can be made.
    QString makeStagingFolder() const;

    // Whether a staged tree is a copy of Dewbell: an executable bin/dewbell and share/dewbell/app/.
    static bool holdsDewbell(const QString& folder);

    // Puts the staged tree in the installation's place and removes the old one. On failure
    // the old installation is left as it was and false is returned.
    bool swapIn(const QString& staged) const;

    // Removes a staged tree that will not be installed.
    static void discard(const QString& staged);

private:
    bool holdsOtherFiles() const;
    bool userMayChangeDewbellFiles() const;
    bool holdsOnlyDewbell() const;
    bool keepsClearOfUserData() const;
    bool everyFolderWritable() const;

    QString root_;
    QString userDataFolder_;
};
