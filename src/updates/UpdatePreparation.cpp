#include "updates/UpdatePreparation.h"

#include "updates/SignatureCheck.h"

#include <QFile>

namespace {

PreparedUpdate refused(UpdateProblem problem)
{
    return {problem, {}};
}

PreparedUpdate unpackBeside(QByteArrayView archive, const Installation& installation,
                            const UpdateArchive::Limits& limits)
{
    const QString staged = installation.makeStagingFolder();
    if (staged.isEmpty())
        return refused(UpdateProblem::installFailed);
    std::optional<UpdateProblem> problem = UpdateArchive::unpack(archive, staged, limits);
    if (!problem && !Installation::holdsDewbell(staged))
        problem = UpdateProblem::notDewbell;
    if (problem) {
        Installation::discard(staged);
        return refused(*problem);
    }
    return {std::nullopt, staged};
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
    if (!installation)
        return {};
    return unpackBeside(archive, *installation, limits);
}
