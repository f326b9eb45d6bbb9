#include "store/StateFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <vector>

namespace {

const QString stateName = QStringLiteral("state.json");
const QString firstFormatBackupName = QStringLiteral("state-before-v2.json");

QString quoted(const QString& name)
{
    return QStringLiteral("“%1”").arg(name);
}

QString recordCount(int count)
{
    return count == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(count);
}

std::optional<QString> joined(const std::optional<QString>& first, const std::optional<QString>& second)
{
    if (!first || !second)
        return first ? first : second;
    return *first + QLatin1Char(' ') + *second;
}

QString stamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

// The date of the record at which the oldest `count` records end.
QDateTime cutoffAfter(const SavedState& state, qsizetype count)
{
    std::vector<qint64> dates;
    dates.reserve(size_t(state.drinks.size() + state.breakHistory.size()));
    for (const Drink& drink : state.drinks)
        dates.push_back(drink.date.toMSecsSinceEpoch());
    for (const BreakRecord& record : state.breakHistory)
        dates.push_back(record.date.toMSecsSinceEpoch());
    const auto cut = dates.begin() + (count - 1);
    std::nth_element(dates.begin(), cut, dates.end());
    return QDateTime::fromMSecsSinceEpoch(*cut, Qt::UTC);
}

// Moves the records dated up to `cutoff` from `from` to `to`, keeping the order of both.
template<typename Record>
void moveUpTo(const QDateTime& cutoff, QList<Record>& from, QList<Record>& to)
{
    QList<Record> kept;
    for (const Record& record : std::as_const(from))
        (record.date <= cutoff ? to : kept).append(record);
    from = std::move(kept);
}

}  // namespace

StateFile::StateFile(const QString& folder, bool persist, StateFileOptions options)
    : folder_(folder), persist_(persist), options_(std::move(options))
{ }

QString StateFile::path() const
{
    return QDir(folder_).filePath(stateName);
}

StateFile::Loaded StateFile::load()
{
    Loaded loaded = read();
    sayIfUnwritable(loaded);
    return loaded;
}

StateFile::Loaded StateFile::read()
{
    const LocalFiles::PathStatus status = options_.probe(path());
    if (status.kind == LocalFiles::PathStatus::Kind::absent)
        return {};
    if (status.kind != LocalFiles::PathStatus::Kind::present)
        return keepOut(status);
    if (const auto refused = refusedLink())
        return startFresh(*refused, QStringLiteral("The link is kept as %1."));
    if (const qint64 size = QFileInfo(path()).size(); size > options_.ceiling)
        return keepAsideTooLarge(size);
    const QString oldFileKept = QStringLiteral("The old file is kept as %1.");
    QByteArray bytes;
    DecodedState decoded;
    try {
        bytes = LocalFiles::readBounded(path(), options_.ceiling);
        decoded = bytes.size() > options_.limit ? decodeLargeStateFile(bytes) : decodeStateFile(bytes);
    } catch (const ImportError&) {
        linkTarget_.reset();
        return startFresh(QStringLiteral("Your saved data couldn't be read, so Dewbell started fresh."), oldFileKept);
    }
    if (decoded.foreign) {
        linkTarget_.reset();
        return startFresh(QStringLiteral("The file %1 in Dewbell's folder holds another program's data, so Dewbell "
                                         "started fresh and left that file as it was.")
                              .arg(quoted(stateName)),
                          oldFileKept);
    }
    if (decoded.migratedFromVersion1)
        backUpFirstFormat(bytes);
    Loaded loaded;
    loaded.notice = keepPartlyRead(decoded, bytes);
    loaded.state = std::move(decoded.state);
    loaded.asOnDisk = !decoded.migratedFromVersion1 && decoded.droppedRecords == 0 && decoded.correctedRecords == 0;
    if (bytes.size() > options_.limit) {
        bytes = QByteArray();
        splitPastTheLimit(loaded);
    }
    return loaded;
}

// A "state.json" that is a link is read only when it leads to a regular file of the user's.
// The link to anything else is kept aside; what it points to is neither read nor written.
std::optional<QString> StateFile::refusedLink()
{
    const QFileInfo link(path());
    if (!link.isSymLink())
        return std::nullopt;
    const QString target = link.canonicalFilePath();
    if (!target.isEmpty() && LocalFiles::isOwnRegularFile(target)) {
        linkTarget_ = target;
        return std::nullopt;
    }
    return QStringLiteral("The file %1 in Dewbell's folder is a link to %2, which isn't a file of yours, so Dewbell "
                          "started fresh and left that file alone.")
        .arg(quoted(stateName), quoted(link.symLinkTarget()));
}

// Said from the start, not at the first save: nothing the user does will be kept.
void StateFile::sayIfUnwritable(Loaded& loaded)
{
    if (!persist_ || writeBlocked_)
        return;
    const auto reason = LocalFiles::whyNotWritable(folder_);
    if (!reason)
        return;
    const bool missing = !QFileInfo(folder_).isDir();
    unwritable_ = missing ? QStringLiteral("Dewbell can't make its folder (%1).").arg(*reason)
                          : QStringLiteral("Dewbell can't write in its folder (%1).").arg(*reason);
    const QString sentence =
        missing ? QStringLiteral("Dewbell can't make its folder %1 (%2), so nothing you change will be saved until "
                                 "the folders above it let Dewbell make it.")
                      .arg(quoted(folder_), *reason)
                : QStringLiteral("Dewbell can't write in its folder %1 (%2), so nothing you change will be saved "
                                 "until the folder's permissions let Dewbell write there again (chmod 700).")
                      .arg(quoted(folder_), *reason);
    loaded.notice = loaded.notice ? *loaded.notice + QLatin1Char(' ') + sentence : sentence;
}

// Not knowing what is there is not the same as nothing being there: the file is left alone,
// and nothing is written until Dewbell can read it again.
StateFile::Loaded StateFile::keepOut(const LocalFiles::PathStatus& status)
{
    const bool folderClosed = status.kind == LocalFiles::PathStatus::Kind::unreachable;
    const QString problem =
        folderClosed
            ? QStringLiteral("Dewbell can't look inside its folder %1 (%2), so it can't tell whether your saved data "
                             "is there. Nothing was loaded and nothing will be saved until the folder's permissions "
                             "let Dewbell in again (chmod 700); then restart Dewbell.")
                  .arg(quoted(folder_), status.reason)
            : QStringLiteral("Dewbell can't read your saved data in %1 (%2). It is left as it is and nothing will be "
                             "saved over it until the file's permissions let Dewbell read it again (chmod 600); then "
                             "restart Dewbell.")
                  .arg(quoted(path()), status.reason);
    writeBlocked_ = folderClosed ? QStringLiteral("Dewbell can't look inside its folder (%1).").arg(status.reason)
                                 : QStringLiteral("Dewbell can't read the saved data (%1).").arg(status.reason);
    Loaded loaded;
    // Whoever has a data folder has been here before: the first-run tour is not for them.
    loaded.state.tourVersion = 1;
    loaded.notice = problem;
    return loaded;
}

// `why` says what was found; `keptAs` where it went (%1: the name it is kept under); `whatToDo`,
// when there is something the user can do about it, follows.
StateFile::Loaded StateFile::startFresh(const QString& why, const QString& keptAs, const QString& whatToDo)
{
    if (!persist_)
        return {SavedState{}, why};
    if (const auto keptName = keepAside())
        return {SavedState{}, why + QLatin1Char(' ') + keptAs.arg(*keptName) + whatToDo};
    writeBlocked_ = QStringLiteral("the earlier saved data couldn't be read or moved aside.");
    return {SavedState{},
            QStringLiteral("Your saved data couldn't be read or moved aside, so Dewbell started fresh and "
                           "won't save over it. Move \"%1\" away and restart Dewbell.")
                .arg(path())};
}

// Dewbell moves old history aside long before its file comes near the ceiling: a file past it is
// damaged or was never Dewbell's, and reading it could take more memory than the computer has.
// It is kept aside unread, and the user is told how to bring a good copy back.
StateFile::Loaded StateFile::keepAsideTooLarge(qint64 size)
{
    return startFresh(QStringLiteral("Your saved data is %1, far more than Dewbell ever writes, so it may be damaged "
                                     "and wasn't read: Dewbell started fresh.")
                          .arg(QLocale().formattedDataSize(size)),
                      QStringLiteral("The old file is kept as %1."),
                      QStringLiteral(" If you have a backup of your Dewbell data, quit Dewbell, copy its "
                                     "\"state.json\" into %1 and start Dewbell again.")
                          .arg(quoted(folder_)));
}

// A file past the limit grew on another computer or in a newer Dewbell. Its oldest records go to
// an archive file now, as the writer would have moved them here, so that "state.json" is back
// within the limit before anything else is written.
void StateFile::splitPastTheLimit(Loaded& loaded)
{
    if (!persist_)
        return;
    try {
        loaded.notice = joined(loaded.notice, save(loaded.state));
        loaded.asOnDisk = true;
    } catch (const ImportError& error) {
        loaded.notice = joined(
            loaded.notice,
            QStringLiteral("Your history is larger than one file may hold, and its oldest part couldn't be moved "
                           "to a file of its own yet: %1 Nothing was lost; Dewbell tries again when it next saves.")
                .arg(error.message()));
        loaded.asOnDisk = false;
    }
}

// The next save writes only what was read, so the file as it was is copied aside first.
std::optional<QString> StateFile::keepPartlyRead(const DecodedState& decoded, const QByteArray& bytes)
{
    if (decoded.droppedRecords == 0 && decoded.correctedRecords == 0)
        return std::nullopt;
    QStringList what;
    if (decoded.droppedRecords > 0)
        what.append(QStringLiteral("%1 couldn't be read and %2 set aside")
                        .arg(recordCount(decoded.droppedRecords),
                             decoded.droppedRecords == 1 ? QStringLiteral("was") : QStringLiteral("were")));
    if (decoded.correctedRecords > 0)
        what.append(QStringLiteral("%1 held impossible amounts and %2 brought within bounds")
                        .arg(recordCount(decoded.correctedRecords),
                             decoded.correctedRecords == 1 ? QStringLiteral("was") : QStringLiteral("were")));
    const QString summary =
        QStringLiteral("Some of your saved history needed care: %1.").arg(what.join(QStringLiteral("; ")));
    if (!persist_)
        return summary;
    if (const auto copy = keepCopy(QStringLiteral("state-partly-read-"), bytes))
        return summary + QStringLiteral(" The file as it was is kept as %1.").arg(quoted(*copy));
    writeBlocked_ = QStringLiteral("the saved data as it was couldn't be kept aside.");
    return summary + QStringLiteral(" The file as it was couldn't be copied aside, so Dewbell won't save over it.");
}

std::optional<QString> StateFile::keepAside()
{
    const QDir folder(folder_);
    for (int attempt = 1; attempt < 100; ++attempt) {
        const QString suffix = attempt == 1 ? QString() : QStringLiteral("-%1").arg(attempt);
        const QString name = QStringLiteral("state-unreadable-%1%2.json").arg(stamp(), suffix);
        if (QFileInfo::exists(folder.filePath(name)))
            continue;
        if (QDir().rename(path(), folder.filePath(name)))
            return name;
        return std::nullopt;
    }
    return std::nullopt;
}

// A dated copy of `bytes`, once: a copy with the same bytes already there is the one kept.
std::optional<QString> StateFile::keepCopy(const QString& prefix, const QByteArray& bytes)
{
    const QDir folder(folder_);
    const QStringList earlier = folder.entryList({prefix + QStringLiteral("*.json")}, QDir::Files);
    for (const QString& name : earlier) {
        if (QFileInfo(folder.filePath(name)).size() != bytes.size())
            continue;
        try {
            if (LocalFiles::readBounded(folder.filePath(name), options_.ceiling) == bytes)
                return name;
        } catch (const ImportError&) { }
    }
    for (int attempt = 1; attempt < 100; ++attempt) {
        const QString suffix = attempt == 1 ? QString() : QStringLiteral("-%1").arg(attempt);
        const QString name = prefix + stamp() + suffix + QStringLiteral(".json");
        if (QFileInfo::exists(folder.filePath(name)))
            continue;
        try {
            LocalFiles::writeAtomically(folder.filePath(name), bytes);
            return name;
        } catch (const ImportError&) {
            return std::nullopt;
        }
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

std::optional<QString> StateFile::save(SavedState& state)
{
    if (writeBlocked_)
        throw ImportError(*writeBlocked_);
    SavedState written = state;
    QByteArray bytes = encodeStateFile(written);
    std::optional<QString> archived;
    if (bytes.size() > options_.limit) {
        archived = archiveOldest(written, bytes.size());
        bytes = encodeStateFile(written);
    }
    LocalFiles::ensurePrivateFolder(folder_);
    writeState(bytes);
    if (archived)
        state = std::move(written);
    return archived;
}

// Through the link read at load while it still leads to the same file of the user's; otherwise
// "state.json" itself, a link put there since replaced rather than followed.
void StateFile::writeState(const QByteArray& bytes)
{
    const QFileInfo link(path());
    if (linkTarget_ && link.isSymLink() && link.canonicalFilePath() == *linkTarget_) {
        LocalFiles::replaceKeepingMode(*linkTarget_, bytes);
        return;
    }
    options_.write(path(), bytes);
}

// Down to three quarters of the limit, so that this happens once in years rather than at every
// save. The archive is written before anything leaves "state.json": a failure on the way costs
// at most a duplicate, never a record.
QString StateFile::archiveOldest(SavedState& state, qint64 encodedSize)
{
    const qint64 target = options_.limit / 4 * 3;
    SavedState archive;
    QDateTime cutoff;
    for (qint64 size = encodedSize; size > target; size = encodeStateFile(state).size()) {
        const qsizetype records = state.drinks.size() + state.breakHistory.size();
        if (records == 0)
            throw ImportError(QStringLiteral("your settings are larger than a saved state may be."));
        // Records differ a little in size: each round moves the share that is enough on average.
        const qsizetype share =
            std::min(records, qsizetype(double(records) * double(size - target) / double(size)) + 1);
        cutoff = cutoffAfter(state, share);
        moveUpTo(cutoff, state.drinks, archive.drinks);
        moveUpTo(cutoff, state.breakHistory, archive.breakHistory);
    }
    const QString name = QStringLiteral("state-history-until-%1.json").arg(cutoff.toString(QStringLiteral("yyyyMMdd")));
    QString archivePath = QDir(folder_).filePath(name);
    for (int attempt = 2; QFileInfo::exists(archivePath) && attempt < 100; ++attempt)
        archivePath = QDir(folder_).filePath(name.chopped(5) + QStringLiteral("-%1.json").arg(attempt));
    LocalFiles::ensurePrivateFolder(folder_);
    options_.write(archivePath, encodeStateFile(archive));
    return QStringLiteral("Your history grew larger than one file may hold, so your drinks and breaks up to %1 now "
                          "live in %2 beside your saved data. Nothing was lost.")
        .arg(cutoff.toString(QStringLiteral("yyyy-MM-dd")), quoted(QFileInfo(archivePath).fileName()));
}
