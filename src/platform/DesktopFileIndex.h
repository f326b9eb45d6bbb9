#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// Finds the desktop file of a window's WM_CLASS in the XDG applications folders: by the
// files' StartupWMClass, else by their identifier, else by its last dotted part (the class
// "Calculator" finds "org.gnome.Calculator"); letter case aside. The folders are read once,
// at the first lookup.
class DesktopFileIndex {
public:
    // The folders in order of precedence (the user's own first).
    explicit DesktopFileIndex(QStringList applicationFolders);
    // The applications folders of XDG_DATA_HOME and XDG_DATA_DIRS.
    static DesktopFileIndex ofThisSystem();

    std::optional<QString> identifier(const QString& windowClass, const QString& windowInstance);

private:
    void build();

    QStringList folders_;
    bool built_ = false;
    QHash<QString, QString> byWindowClass_;
    QHash<QString, QString> byLowerCaseIdentifier_;
    QHash<QString, QString> byLowerCaseLastPart_;
};
