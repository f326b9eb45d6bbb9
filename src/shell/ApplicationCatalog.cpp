#include "shell/ApplicationCatalog.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>

namespace {

constexpr qint64 desktopFileReadLimit = 64 * 1024;

// The keys of the "[Desktop Entry]" group.
QHash<QString, QString> mainGroup(const QString& path)
{
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inMainGroup = false;
    for (const QByteArray& rawLine : file.read(desktopFileReadLimit).split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || line.startsWith('#') || equals <= 0)
            continue;
        const QString key = QString::fromUtf8(line.left(equals).trimmed());
        if (!keys.contains(key))
            keys.insert(key, QString::fromUtf8(line.mid(equals + 1).trimmed()));
    }
    return keys;
}

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
    const QHash<QString, QString> keys = mainGroup(path);
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
    QSet<QString> seen;
    for (const QString& folder : applicationFolders) {
        const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
        QDirIterator files(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QString id = path.mid(prefix.size());
            id.chop(int(sizeof(".desktop") - 1));
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            // An earlier folder's file hides a later one, even when it hides the application.
            if (seen.contains(id))
                continue;
            seen.insert(id);
            if (const auto application = read(path, id, language))
                applications.append(*application);
        }
    }
    std::sort(applications.begin(), applications.end(), [](const auto& left, const auto& right) {
        const int byName = left.name.compare(right.name, Qt::CaseInsensitive);
        return byName != 0 ? byName < 0 : left.id < right.id;
    });
    return applications;
}

QList<InstalledApplication> ApplicationCatalog::installedOnThisSystem()
{
    return installed(QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation));
}
