#include "updates/UpdatePreparation.h"

#include "updates/ReleaseVersion.h"
#include "updates/SignatureCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

PreparedUpdate refused(UpdateProblem problem)
{
    return {problem, {}};
}

// A private folder beside the downloaded archive, where an update that is only saved is
// unpacked once to be checked like one that is installed.
QString makeTrialFolder(const QString& archiveFile)
{
    QTemporaryDir folder(QFileInfo(archiveFile).absolutePath() + QStringLiteral("/.check-XXXXXX"));
    if (!folder.isValid())
        return {};
    folder.setAutoRemove(false);
    return folder.path();
}

bool holdsVersion(const QString& folder, const QString& version)
{
    const auto inside = releaseVersion(Installation::versionOf(folder));
    return inside && inside == releaseVersion(version);
}

std::optional<UpdateProblem> unpackAndCheck(QByteArrayView archive, const QString& folder, const QString& version,
                                            const UpdateArchive::Limits& limits)
{
    if (const auto problem = UpdateArchive::unpack(archive, folder, limits))
        return problem;
    if (!Installation::holdsDewbell(folder))
        return UpdateProblem::notDewbell;
    // A genuinely signed older release announced as a newer one would roll Dewbell back.
    if (!holdsVersion(folder, version))
        return UpdateProblem::wrongVersion;
    return std::nullopt;
}

}  // namespace

PreparedUpdate prepareUpdate(const QString& archiveFile, const FeedItem& item, const QByteArray& publicKey,
                             const std::optional<Installation>& installation, const UpdateArchive::Limits& limits)
{
    QFile file(archiveFile);
    if (!file.open(QIODevice::ReadOnly))
        return refused(UpdateProblem::installFailed);
    if (file.size() != item.archiveLength)
        return refused(UpdateProblem::wrongSize);
    // Mapped, not read: the archive is checked and unpacked from the very same bytes, and a
    // large one costs no copy.
    const uchar* mapped = file.map(0, file.size());
    if (!mapped)
        return refused(UpdateProblem::installFailed);
    const QByteArrayView archive(mapped, file.size());
    if (!SignatureCheck::matches(archive, item.signature, publicKey))
        return refused(UpdateProblem::badSignature);
    const QString unpacked = installation ? installation->makeStagingFolder() : makeTrialFolder(archiveFile);
    if (unpacked.isEmpty())
        return refused(UpdateProblem::installFailed);
    const auto problem = unpackAndCheck(archive, unpacked, item.version, limits);
    if (problem || !installation) {
        Installation::discard(unpacked);
        return {problem, {}};
    }
    return {std::nullopt, unpacked};
}
