#include "updates/UpdateArchive.h"

#include <QFile>
#include <QSet>
#include <QStringList>
#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ArchiveHandle = std::unique_ptr<archive, decltype(&archive_read_free)>;

// A link may only lead further down from its own folder: "libfoo.so.1", "Characters/nimbi".
// A target that climbs ("..") could leave the installation through another link, however
// harmless it looks on paper.
bool isDownwardLinkTarget(const QString& target)
{
    if (target.isEmpty() || target.startsWith(QLatin1Char('/')))
        return false;
    for (const QString& part : target.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    return true;
}

bool passesThroughLink(const QString& path, const QSet<QString>& links)
{
    qsizetype slash = path.indexOf(QLatin1Char('/'));
    while (slash > 0) {
        if (links.contains(path.left(slash)))
            return true;
        slash = path.indexOf(QLatin1Char('/'), slash + 1);
    }
    return false;
}

bool makeFolders(const QString& destination, const QString& path)
{
    QString folder = destination;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        folder += QLatin1Char('/') + part;
        const QByteArray encoded = QFile::encodeName(folder);
        struct stat status { };
        if (::mkdir(encoded.constData(), 0755) != 0
            && !(errno == EEXIST && ::lstat(encoded.constData(), &status) == 0 && S_ISDIR(status.st_mode)))
            return false;
    }
    return true;
}

bool makeParentFolders(const QString& destination, const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 || makeFolders(destination, path.left(slash));
}

class Unpacker {
public:
    Unpacker(archive* reader, const QString& destination, const UpdateArchive::Limits& limits)
        : reader_(reader), destination_(destination), limits_(limits)
    { }

    std::optional<UpdateProblem> unpackEntry(archive_entry* entry)
    {
        if (++entries_ > limits_.entries)
            return UpdateProblem::unsafeArchive;
        const auto path = UpdateArchive::confinedPath(QString::fromUtf8(archive_entry_pathname(entry)));
        if (!path || passesThroughLink(*path, links_) || archive_entry_hardlink(entry))
            return UpdateProblem::unsafeArchive;
        switch (archive_entry_filetype(entry)) {
        case AE_IFDIR:
            return path->isEmpty() || makeFolders(destination_, *path) ? std::nullopt
                                                                       : std::optional(UpdateProblem::unsafeArchive);
        case AE_IFREG:
            return writeFile(*path, archive_entry_perm(entry));
        case AE_IFLNK:
            return makeLink(*path, QString::fromUtf8(archive_entry_symlink(entry)));
        default:
            return UpdateProblem::unsafeArchive;
        }
    }

private:
    std::optional<UpdateProblem> writeFile(const QString& path, mode_t permissions)
    {
        if (path.isEmpty() || !makeParentFolders(destination_, path))
            return UpdateProblem::unsafeArchive;
        const mode_t mode = (permissions & 0111) ? 0755 : 0644;
        const QByteArray encoded = QFile::encodeName(destination_ + QLatin1Char('/') + path);
        const int file = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (file < 0)
            return errno == EEXIST ? UpdateProblem::unsafeArchive : UpdateProblem::installFailed;
        const auto problem = copyData(file);
        const bool closed = ::close(file) == 0;
        return problem ? problem : closed ? std::nullopt : std::optional(UpdateProblem::installFailed);
    }

    std::optional<UpdateProblem> copyData(int file)
    {
        char buffer[64 * 1024];
        for (;;) {
            const la_ssize_t count = archive_read_data(reader_, buffer, sizeof buffer);
            if (count == 0)
                return std::nullopt;
            if (count < 0)
                return UpdateProblem::installFailed;
            unpackedBytes_ += count;
            if (unpackedBytes_ > limits_.unpackedBytes)
                return UpdateProblem::unsafeArchive;
            for (la_ssize_t written = 0; written < count;) {
                const ssize_t step = ::write(file, buffer + written, size_t(count - written));
                if (step < 0 && errno != EINTR)
                    return UpdateProblem::installFailed;
                written += std::max<ssize_t>(step, 0);
            }
        }
    }

    std::optional<UpdateProblem> makeLink(const QString& path, const QString& target)
    {
        if (path.isEmpty() || !isDownwardLinkTarget(target) || !makeParentFolders(destination_, path))
            return UpdateProblem::unsafeArchive;
        const QByteArray encoded = QFile::encodeName(destination_ + QLatin1Char('/') + path);
        if (::symlink(QFile::encodeName(target).constData(), encoded.constData()) != 0)
            return errno == EEXIST ? UpdateProblem::unsafeArchive : UpdateProblem::installFailed;
        links_.insert(path);
        return std::nullopt;
    }

    archive* reader_;
    QString destination_;
    UpdateArchive::Limits limits_;
    QSet<QString> links_;
    qint64 unpackedBytes_ = 0;
    int entries_ = 0;
};

}  // namespace

namespace UpdateArchive {

std::optional<QString> confinedPath(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return std::nullopt;
    QStringList parts;
    for (const QString& part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return std::nullopt;
        if (part != QLatin1String("."))
            parts.append(part);
    }
    return parts.join(QLatin1Char('/'));
}

std::optional<UpdateProblem> unpack(QByteArrayView bytes, const QString& destination, const Limits& limits)
{
    ArchiveHandle reader(archive_read_new(), &archive_read_free);
    archive_read_support_format_tar(reader.get());
    archive_read_support_filter_gzip(reader.get());
    archive_read_support_filter_xz(reader.get());
    if (archive_read_open_memory(reader.get(), bytes.data(), size_t(bytes.size())) != ARCHIVE_OK)
        return UpdateProblem::notDewbell;
    Unpacker unpacker(reader.get(), destination, limits);
    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF)
            return std::nullopt;
        if (status != ARCHIVE_OK)
            return UpdateProblem::notDewbell;
        if (const auto problem = unpacker.unpackEntry(entry))
            return problem;
    }
}

}  // namespace UpdateArchive
