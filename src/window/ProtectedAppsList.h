#pragma once

#include <QStringList>
#include <QWidget>

class DewbellStore;
class QVBoxLayout;

// The rows of the protected applications: each shows the application's name and a "Remove"
// button that takes its identifier off the list. Hidden while the list is empty, so it takes
// no room then.
class ProtectedAppsList : public QWidget {
    Q_OBJECT
public:
    // Names are read from the desktop files in `applicationFolders`.
    ProtectedAppsList(DewbellStore* store, QStringList applicationFolders, QWidget* parent = nullptr);

    // Rebuilds the rows when the stored list changed since the last time; `lookUpNames` also
    // rebuilds them when it did not, so names of applications installed or removed since show.
    void refresh(bool lookUpNames = false);

private:
    QWidget* makeRow(const QString& identifier, const QString& name);

    DewbellStore* store_;
    QStringList applicationFolders_;
    QVBoxLayout* rows_;
    QStringList shown_;
};
