#include "model/AppBundle.h"

#include "model/LocalFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

namespace AppBundle {

QString directory()
{
    const QString overridden = qEnvironmentVariable("DEWBELL_BUNDLE_DIR");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    // /proc/self/exe works before any QCoreApplication exists, unlike applicationDirPath().
    const QString binaryFolder =
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
    return QDir::cleanPath(binaryFolder + QLatin1Char('/') + QStringLiteral(DEWBELL_DATA_FROM_BINARY));
}

QString documentationFolder()
{
    return QDir::cleanPath(directory() + QLatin1Char('/') + QStringLiteral(DEWBELL_DOC_FROM_DATA));
}

QString path(const QString& relative)
{
    return directory() + QLatin1Char('/') + relative;
}

QJsonObject info()
{
    try {
        const QByteArray bytes = LocalFiles::readBounded(path(QStringLiteral("info.json")), LocalFiles::jsonLimit);
        return QJsonDocument::fromJson(bytes).object();
    } catch (const ImportError&) {
        return {};
    }
}

QString privateFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/dewbell");
}

}  // namespace AppBundle
