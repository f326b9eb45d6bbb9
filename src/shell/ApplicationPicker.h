#pragma once

#include "platform/ApplicationCatalog.h"

#include <QDialog>
#include <optional>

class QListWidget;

// A modal list of the installed applications, by name; the answer is the chosen one's
// desktop-file id. Serves the store's chooseApplication seam.
class ApplicationPicker : public QDialog {
    Q_OBJECT
public:
    ApplicationPicker(const QString& title, const QList<InstalledApplication>& applications, QWidget* parent = nullptr);

    // The selected application's id; none when nothing is selected.
    std::optional<QString> selectedID() const;

    // Runs the picker over this system's applications; none when cancelled.
    static std::optional<QString> choose(QWidget* parent, const QString& title);

private:
    QListWidget* list_;
};
