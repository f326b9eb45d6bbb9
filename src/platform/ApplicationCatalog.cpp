#include "platform/ApplicationCatalog.h"

#include "platform/DesktopFiles.h"

#include <QLocale>
#include <algorithm>

namespace {

// Name[de_DE], then Name[de], then Name.
QString localized(const QHash<QString, QString>& keys, const QString& key, const QString& language)
{
    const QString withoutEncoding = language.section(QLatin1Char('.'), 0, 0);
    for (const QString& variant : {withoutEncoding, withoutEncoding.section(QLatin1Char('_'), 0, 0)}) {
        const QString value = keys.value(key + QLatin1Char('[') + variant + QLatin1Char(']'));
        if (!variant.isEmpty() && !value.isEmpty())
            return value;
    }
    return keys.value(key);
}

}  // namespace

std::optional<InstalledApplication> ApplicationCatalog::read(const QString& path, const QString& id,
                                                             const QString& language)
{
    const QHash<QString, QString> keys = DesktopFiles::mainGroup(path);
    const auto isTrue = [&keys](const char* key) { return keys.value(QLatin1String(key)) == QLatin1String("true"); };
    if (keys.value(QStringLiteral("Type")) != QLatin1String("Application") || isTrue("NoDisplay") || isTrue("Hidden"))
        return std::nullopt;
    QString name = localized(keys, QStringLiteral("Name"), language);
    if (name.isEmpty())
        name = localized(keys, QStringLiteral("GenericName"), language);
    return InstalledApplication{id, name.isEmpty() ? id : name};
}

QList<InstalledApplication> ApplicationCatalog::installed(const QStringList& applicationFolders)
{
    const QString language = QLocale().name();
    QList<InstalledApplication> applications;
    // An earlier folder's file hides a later one, even when it hides the application.
    for (const DesktopFile& file : DesktopFiles::scan(applicationFolders)) {
        if (const auto application = read(file.path, file.id, language))
            applications.append(*application);
    }
    std::sort(applications.begin(), applications.end(), [](const auto& left, const auto& right) {
        const int byName = left.name.compare(right.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : left.id < right.id;
    });
    return applications;
}

QList<InstalledApplication> ApplicationCatalog::installedOnThisSystem()
{
    return installed(DesktopFiles::applicationFolders());
}
