#include "shell/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace {

std::optional<QString> chosen(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

}  // namespace

std::optional<QString> FileDialogs::chooseFileToOpen(QWidget* parent, const QString& title, const QString& nameFilter)
{
    return chosen(QFileDialog::getOpenFileName(parent, title, startFolder(), nameFilter));
}

std::optional<QString> FileDialogs::chooseSaveLocation(QWidget* parent, const QString& title,
                                                       const QString& proposedName, const QString& nameFilter)
{
    return chosen(QFileDialog::getSaveFileName(parent, title, QDir(startFolder()).filePath(proposedName), nameFilter));
}
