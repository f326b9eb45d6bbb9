#pragma once

#include <QString>
#include <optional>

class QWidget;

// The desktop's modal open and save dialogs, as the store's chooseFileToOpen and
// chooseSaveLocation seams ask for them. None when the user cancels.
namespace FileDialogs {

std::optional<QString> chooseFileToOpen(QWidget* parent, const QString& title, const QString& nameFilter);
// Starts in the user's documents folder with `proposedName` filled in.
std::optional<QString> chooseSaveLocation(QWidget* parent, const QString& title, const QString& proposedName,
                                          const QString& nameFilter);

}  // namespace FileDialogs
