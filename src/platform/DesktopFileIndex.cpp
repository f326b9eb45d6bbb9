#include "platform/DesktopFileIndex.h"

#include "platform/DesktopFiles.h"

DesktopFileIndex::DesktopFileIndex(QStringList applicationFolders) : folders_(std::move(applicationFolders))
{ }

DesktopFileIndex DesktopFileIndex::ofThisSystem()
{
    return DesktopFileIndex(DesktopFiles::applicationFolders());
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

// Earlier folders win.
void DesktopFileIndex::build()
{
    if (built_)
        return;
    built_ = true;
    for (const DesktopFile& file : DesktopFiles::scan(folders_)) {
        const QString windowClass = DesktopFiles::mainGroup(file.path).value(QStringLiteral("StartupWMClass"));
        if (!windowClass.isEmpty() && !byWindowClass_.contains(windowClass))
            byWindowClass_.insert(windowClass, file.id);
        const QString lowerCase = file.id.toLower();
        if (!byLowerCaseIdentifier_.contains(lowerCase))
            byLowerCaseIdentifier_.insert(lowerCase, file.id);
        const QString lastPart = lowerCase.section(QLatin1Char('.'), -1);
        if (!byLowerCaseLastPart_.contains(lastPart))
            byLowerCaseLastPart_.insert(lastPart, file.id);
    }
}
