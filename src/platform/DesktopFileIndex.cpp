#include "platform/DesktopFileIndex.h"

#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

namespace {

constexpr qint64 desktopFileReadLimit = 64 * 1024;

QString startupWindowClass(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inMainGroup = false;
    for (const QByteArray& rawLine : file.read(desktopFileReadLimit).split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
        } else if (inMainGroup && line.startsWith("StartupWMClass")) {
            const qsizetype equals = line.indexOf('=');
            if (equals > 0 && line.left(equals).trimmed() == "StartupWMClass")
                return QString::fromUtf8(line.mid(equals + 1).trimmed());
        }
    }
    return {};
}

}  // namespace

DesktopFileIndex::DesktopFileIndex(QStringList applicationFolders) : folders_(std::move(applicationFolders))
{ }

DesktopFileIndex DesktopFileIndex::ofThisSystem()
{
    return DesktopFileIndex(QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation));
}

std::optional<QString> DesktopFileIndex::identifier(const QString& windowClass, const QString& windowInstance)
{
    build();
    for (const QString& name : {windowClass, windowInstance}) {
        if (!name.isEmpty() && byWindowClass_.contains(name))
            return byWindowClass_.value(name);
    }
    for (const QHash<QString, QString>* names : {&byLowerCaseIdentifier_, &byLowerCaseLastPart_}) {
        for (const QString& name : {windowClass, windowInstance}) {
            if (!name.isEmpty() && names->contains(name.toLower()))
                return names->value(name.toLower());
        }
    }
    return std::nullopt;
}

void DesktopFileIndex::build()
{
    if (built_)
        return;
    built_ = true;
    for (const QString& folder : folders_)
        addFolder(folder);
}

// A file in a sub-folder has the folder in its identifier: kde/foo.desktop is "kde-foo".
void DesktopFileIndex::addFolder(const QString& folder)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QDirIterator files(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QString identifier = path.mid(prefix.size());
        identifier.chop(int(sizeof(".desktop") - 1));
        identifier.replace(QLatin1Char('/'), QLatin1Char('-'));
        add(identifier, path);
    }
}

// Earlier folders win.
void DesktopFileIndex::add(const QString& identifier, const QString& path)
{
    const QString windowClass = startupWindowClass(path);
    if (!windowClass.isEmpty() && !byWindowClass_.contains(windowClass))
        byWindowClass_.insert(windowClass, identifier);
    const QString lowerCase = identifier.toLower();
    if (!byLowerCaseIdentifier_.contains(lowerCase))
        byLowerCaseIdentifier_.insert(lowerCase, identifier);
    const QString lastPart = lowerCase.section(QLatin1Char('.'), -1);
    if (!byLowerCaseLastPart_.contains(lastPart))
        byLowerCaseLastPart_.insert(lastPart, identifier);
}
