#include "store/StateFile.h"

#include "model/LocalFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

const QString stateName = QStringLiteral("state.json");
const QString firstFormatBackupName = QStringLiteral("state-before-v2.json");

}  // namespace

StateFile::StateFile(const QString& folder, bool persist) : folder_(folder), persist_(persist)
{ }

QString StateFile::path() const
{
    return QDir(folder_).filePath(stateName);
}

StateFile::Loaded StateFile::load()
{
    if (!QFileInfo::exists(path()) && !QFileInfo(path()).isSymLink())
        return {};
    QByteArray bytes;
    DecodedState decoded;
    try {
        bytes = LocalFiles::readBounded(path(), LocalFiles::stateLimit);
        decoded = decodeStateFile(bytes);
    } catch (const ImportError&) {
        return startFresh();
    }
    if (decoded.migratedFromVersion1)
        backUpFirstFormat(bytes);
    return {decoded.state, std::nullopt};
}

StateFile::Loaded StateFile::startFresh()
{
    const QString fresh = QStringLiteral("Your saved data couldn't be read, so Dewbell started fresh.");
    if (!persist_)
        return {SavedState{}, fresh};
    if (const auto keptName = keepAside())
        return {SavedState{}, fresh + QStringLiteral(" The old file is kept as %1.").arg(*keptName)};
    mayWrite_ = false;
    return {SavedState{},
            QStringLiteral("Your saved data couldn't be read or moved aside, so Dewbell started fresh and "
                           "won't save over it. Move \"%1\" away and restart Dewbell.")
                .arg(path())};
}

std::optional<QString> StateFile::keepAside()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QDir folder(folder_);
    for (int attempt = 1; attempt < 100; ++attempt) {
        const QString suffix = attempt == 1 ? QString() : QStringLiteral("-%1").arg(attempt);
        const QString name = QStringLiteral("state-unreadable-%1%2.json").arg(stamp, suffix);
        if (QFileInfo::exists(folder.filePath(name)))
            continue;
        if (QDir().rename(path(), folder.filePath(name)))
            return name;
        return std::nullopt;
    }
    return std::nullopt;
}

void StateFile::backUpFirstFormat(const QByteArray& bytes)
{
    const QString backup = QDir(folder_).filePath(firstFormatBackupName);
    if (!persist_ || QFileInfo::exists(backup))
        return;
    try {
        LocalFiles::writeAtomically(backup, bytes);
    } catch (const ImportError&) {
        // The data themselves were read and survive in the new format; only the copy is missing.
    }
}

void StateFile::save(const SavedState& state)
{
    if (!mayWrite_)
        throw ImportError(QStringLiteral("the earlier saved data couldn't be read or moved aside."));
    LocalFiles::ensurePrivateFolder(folder_);
    LocalFiles::writeAtomically(path(), encodeStateFile(state));
}
