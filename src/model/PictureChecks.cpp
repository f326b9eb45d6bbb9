#include "model/PictureChecks.h"

#include "model/ImportError.h"
#include "model/LocalFiles.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

// A record of a few thousand pictures.
constexpr qint64 recordLimit = LocalFiles::MiB;

struct Identity {
    QString file;     // device and inode
    QString version;  // size and modification time in nanoseconds
};

std::optional<Identity> identify(const QString& path)
{
    struct stat info { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return Identity{QStringLiteral("%1:%2").arg(quint64(info.st_dev)).arg(quint64(info.st_ino)),
                    QStringLiteral("%1:%2.%3")
                        .arg(qint64(info.st_size))
                        .arg(qint64(info.st_mtim.tv_sec))
                        .arg(qint64(info.st_mtim.tv_nsec), 9, 10, QLatin1Char('0'))};
}

}  // namespace

PictureChecks::PictureChecks(const QString& path) : path_(path)
{
    try {
        const QJsonObject record = QJsonDocument::fromJson(LocalFiles::readBounded(path_, recordLimit)).object();
        for (auto it = record.begin(); it != record.end(); ++it)
            known_.insert(it.key(), it.value().toString());
    } catch (const ImportError&) { }
}

PictureChecks PictureChecks::trustingShippedArt()
{
    PictureChecks shipped{QString()};
    shipped.trustsAll_ = true;
    return shipped;
}

QString PictureChecks::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
           + QStringLiteral("/dewbell/checked-pictures.json");
}

bool PictureChecks::isKnownGood(const QString& picturePath)
{
    if (trustsAll_)
        return true;
    const auto identity = identify(picturePath);
    if (!identity)
        return false;
    const auto found = known_.constFind(identity->file);
    if (found == known_.constEnd() || *found != identity->version)
        return false;
    seen_.insert(identity->file, identity->version);
    return true;
}

void PictureChecks::rememberGood(const QString& picturePath)
{
    if (const auto identity = identify(picturePath)) {
        changed_ = changed_ || known_.value(identity->file) != identity->version;
        known_.insert(identity->file, identity->version);
        seen_.insert(identity->file, identity->version);
    }
}

void PictureChecks::forgetUnseen()
{
    if (seen_.size() == known_.size())
        return;
    known_ = seen_;
    changed_ = true;
}

void PictureChecks::save()
{
    if (!changed_ || trustsAll_)
        return;
    QJsonObject record;
    for (auto it = known_.constBegin(); it != known_.constEnd(); ++it)
        record.insert(it.key(), it.value());
    try {
        LocalFiles::ensurePrivateFolder(QFileInfo(path_).absolutePath());
        LocalFiles::writeAtomically(path_, QJsonDocument(record).toJson(QJsonDocument::Compact));
        changed_ = false;
    } catch (const ImportError&) { }
}
