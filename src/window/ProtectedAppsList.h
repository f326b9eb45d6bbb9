#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

class DewbellStore;
class QVBoxLayout;

// The rows of the protected applications: each shows the application's name and a "Remove"
// button that takes its identifier off the list. Hidden while the list is empty, so it takes
// no room then.
class ProtectedAppsList : public QWidget {
    Q_OBJECT
public:
    using ApplicationName = std::function<QString(const QString& identifier)>;

    ProtectedAppsList(DewbellStore* store, ApplicationName applicationName, QWidget* parent = nullptr);

    // Rebuilds the rows when the stored list changed since the last time; `lookUpNames` also
    // rebuilds them when it did not, so names of applications installed or removed since show.
    void refresh(bool lookUpNames = false);

    QStringList shownIdentifiers() const { return shown_; }

private:
    QWidget* makeRow(const QString& identifier);

    DewbellStore* store_;
    ApplicationName applicationName_;
    QVBoxLayout* rows_;
    QStringList shown_;
};
