#include "store/StateSaving.h"

#include "model/ImportError.h"

#include <QFileInfo>
#include <algorithm>

namespace {

constexpr qint64 quietSaveDelayMilliseconds = 300;
constexpr qint64 maxSaveDelayMilliseconds = 800;

// Takes the records that went to an archive file out of `records`. Usually nothing was logged
// while the write ran, and the list written is then the state's own, whole.
template<typename Record>
void takeOut(QList<Record>& records, const QList<Record>& handedIn, const QList<Record>& written,
             const QSet<QUuid>& archived)
{
    if (records == handedIn)
        records = written;
    else
        records.removeIf([&](const Record& record) { return archived.contains(record.id); });
}

// Two seconds after the first failed write, twice as long after each further one, never more
// than a minute: a disk that has room again is found soon, one that stays full is not pestered.
qint64 retryDelaySeconds(int failedWrites)
{
    return std::min<qint64>(qint64(2) << std::clamp(failedWrites - 1, 0, 5), 60);
}

}  // namespace

StateSaving::StateSaving(const Options& options, SavedState& state, const QDateTime& now, ChangeBatcher& changes,
                         SaveHost& host)
    : persistChanges_(options.persistChanges),
      backgroundFromRecords_(options.stateFile.backgroundFromRecords),
      state_(state),
      now_(now),
      changes_(changes),
      host_(host),
      file_(std::make_unique<StateFile>(options.directory, persistChanges_, options.stateFile)),
      writer_(std::make_unique<StateWriter>(
          *file_, [this](const StateWriter::Outcome& outcome) { backgroundWriteFinished(outcome); }))
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { writeInBackground(Attempt::action); });
}

std::optional<QString> StateSaving::load()
{
    StateFile::Loaded loaded = file_->load();
    state_ = loaded.state;
    if (loaded.asOnDisk)
        onDisk_ = state_;
    if (const auto blocked = file_->cannotWrite(); blocked && persistChanges_)
        failure_ = QStringLiteral("Nothing is being saved: ") + *blocked;
    return loaded.notice;
}

// Writing three years of history takes tens of milliseconds, too long to do on every keystroke
// in a name or the love note. Edits are written together, in the background, once the user
// pauses for quietSaveDelay and never later than maxSaveDelay after the first of them: within
// about a second of the last change. Every other change is written at once by save(), which
// takes an edit still waiting along, and so do quitting, SIGTERM and closing the store.
void StateSaving::saveSoon()
{
    if (!persistChanges_)
        return;
    if (!timer_.isActive())
        unsavedSince_.start();
    const qint64 left = maxSaveDelayMilliseconds - unsavedSince_.elapsed();
    timer_.start(int(std::clamp<qint64>(left, 0, quietSaveDelayMilliseconds)));
}

void StateSaving::save()
{
    write(Attempt::action);
}

void StateSaving::saveAndWait()
{
    timer_.stop();
    if (persistChanges_)
        writeNow(Attempt::action);
}

void StateSaving::retryIfDue()
{
    if (!retryAt_ || now_ < *retryAt_ || writer_->isWriting())
        return;
    retryAt_.reset();
    write(Attempt::retry);
}

bool StateSaving::fileHoldsState() const
{
    return onDisk_ && *onDisk_ == state_ && QFileInfo::exists(file_->path());
}

bool StateSaving::historyIsLong() const
{
    return state_.drinks.size() + state_.breakHistory.size() >= backgroundFromRecords_;
}

// Encoding decades of history takes a large part of a second: such a write goes to the
// background, where it never holds up the click that caused it.
void StateSaving::write(Attempt attempt)
{
    timer_.stop();
    if (!persistChanges_)
        return;
    if (historyIsLong())
        writeInBackground(attempt);
    else
        writeNow(attempt);
}

void StateSaving::writeNow(Attempt attempt)
{
    ChangeBatcher::Batch batch(changes_);
    writer_->waitForWrite();
    if (fileHoldsState()) {
        writeNoLongerOwed();
        return;
    }
    try {
        const std::optional<QString> archived = writer_->writeNow(state_);
        succeeded(state_, archived);
    } catch (const ImportError& error) {
        failed(error.message(), attempt);
    }
}

void StateSaving::writeInBackground(Attempt attempt)
{
    if (!writer_->isWriting() && fileHoldsState()) {
        ChangeBatcher::Batch batch(changes_);
        writeNoLongerOwed();
        return;
    }
    retryInBackground_ = attempt == Attempt::retry;
    writer_->writeInBackground(state_);
}

// The user hears of a failed action once, as the notice; a retry that fails too only keeps the
// failure where drinks are logged.
void StateSaving::failed(const QString& sentence, Attempt attempt)
{
    failure_ = QStringLiteral("Couldn't save your settings: ") + sentence;
    changes_.changed();
    if (attempt == Attempt::action)
        host_.showNotice(failure_);
    // Data that could neither be read nor kept aside stays blocked until Dewbell starts again.
    if (!file_->writeBlocked())
        retryAt_ = now_.addSecs(retryDelaySeconds(++failedWrites_));
}

// A write succeeded: a failure shown earlier is over, and history that went to an archive file
// has already left the state.
void StateSaving::succeeded(const SavedState& written, const std::optional<QString>& archived)
{
    onDisk_ = written;
    failureEnded();
    if (archived) {
        host_.historyChanged();
        host_.showNotice(archived);
    }
}

// The file already holds the state: a failed write it owed is over. A folder found unwritable at
// start stays said until a write lands there.
void StateSaving::writeNoLongerOwed()
{
    if (failedWrites_ > 0)
        failureEnded();
}

void StateSaving::failureEnded()
{
    failedWrites_ = 0;
    retryAt_.reset();
    if (!failure_)
        return;
    host_.withdrawNotice(*failure_);
    failure_.reset();
    changes_.changed();
}

void StateSaving::backgroundWriteFinished(const StateWriter::Outcome& outcome)
{
    ChangeBatcher::Batch batch(changes_);
    const Attempt attempt = retryInBackground_ ? Attempt::retry : Attempt::action;
    retryInBackground_ = false;
    if (outcome.failure) {
        failed(*outcome.failure, attempt);
        return;
    }
    if (outcome.archived) {
        takeOut(state_.drinks, outcome.handedIn.drinks, outcome.written.drinks, outcome.archivedRecords);
        takeOut(state_.breakHistory, outcome.handedIn.breakHistory, outcome.written.breakHistory,
                outcome.archivedRecords);
        writer_->replaceWaiting(state_);
    }
    succeeded(outcome.written, outcome.archived);
}
