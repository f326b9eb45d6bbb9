#pragma once

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
