#include "store/StateSaving.h"

#include "model/ImportError.h"

#include <algorithm>

namespace {

constexpr qint64 quietSaveDelayMilliseconds = 300;
constexpr qint64 maxSaveDelayMilliseconds = 800;

}  // namespace

StateSaving::StateSaving(const Options& options, SavedState& state, ChangeBatcher& changes, SaveHost& host)
    : persistChanges_(options.persistChanges),
      state_(state),
      changes_(changes),
      host_(host),
      file_(std::make_unique<StateFile>(options.directory, persistChanges_, options.stateFile)),
      writer_(std::make_unique<StateWriter>(
          *file_, [this](const StateWriter::Outcome& outcome) { backgroundWriteFinished(outcome); }))
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { writer_->writeInBackground(state_); });
}

std::optional<QString> StateSaving::load()
{
    StateFile::Loaded loaded = file_->load();
    state_ = loaded.state;
    if (const auto blocked = file_->cannotWrite(); blocked && persistChanges_)
        failure_ = QStringLiteral("Nothing is being saved: ") + *blocked;
    return loaded.notice;
}

// Writing three years of history takes tens of milliseconds, too long to do on every keystroke
// in a name or the love note. Edits are written together, in the background, once the user
// pauses for quietSaveDelay and never later than maxSaveDelay after the first of them; save()
// (every other action, quitting, SIGTERM, the destructor) writes them at once.
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
    timer_.stop();
    if (!persistChanges_)
        return;
    ChangeBatcher::Batch batch(changes_);
    try {
        savedWithout(writer_->writeNow(state_));
    } catch (const ImportError& error) {
        failed(error.message());
    }
}

void StateSaving::failed(const QString& sentence)
{
    failure_ = QStringLiteral("Couldn't save your settings: ") + sentence;
    host_.showNotice(failure_);
}

// A write succeeded: a failure shown earlier is over, and history that went to an archive file
// has already left the state.
void StateSaving::savedWithout(const std::optional<QString>& archived)
{
    if (failure_) {
        failure_.reset();
        changes_.changed();
    }
    if (archived) {
        host_.historyChanged();
        host_.showNotice(archived);
    }
}

void StateSaving::backgroundWriteFinished(const StateWriter::Outcome& outcome)
{
    ChangeBatcher::Batch batch(changes_);
    if (outcome.failure) {
        failed(*outcome.failure);
        return;
    }
    if (outcome.archived) {
        const auto archived = [&](const auto& record) { return outcome.archivedRecords.contains(record.id); };
        state_.drinks.removeIf(archived);
        state_.breakHistory.removeIf(archived);
    }
    savedWithout(outcome.archived);
}
