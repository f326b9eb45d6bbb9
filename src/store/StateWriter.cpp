#include "store/StateWriter.h"

#include "store/StateFile.h"

#include "model/ImportError.h"

#include <QThread>
#include <memory>

namespace {

// The records of `before` that are no longer in `after`.
QSet<QUuid> recordsTakenOut(const SavedState& before, const SavedState& after)
{
    QSet<QUuid> kept;
    for (const Drink& drink : after.drinks)
        kept.insert(drink.id);
    for (const BreakRecord& record : after.breakHistory)
        kept.insert(record.id);
    QSet<QUuid> taken;
    for (const Drink& drink : before.drinks) {
        if (!kept.contains(drink.id))
            taken.insert(drink.id);
    }
    for (const BreakRecord& record : before.breakHistory) {
        if (!kept.contains(record.id))
            taken.insert(record.id);
    }
    return taken;
}

}  // namespace

StateWriter::StateWriter(StateFile& file, std::function<void(const Outcome&)> finished, QObject* parent)
    : QObject(parent), file_(file), finished_(std::move(finished))
{ }

StateWriter::~StateWriter()
{
    if (!worker_)
        return;
    worker_->wait();
    delete worker_;
}

std::optional<QString> StateWriter::writeNow(SavedState& state)
{
    waitForWrite();
    return file_.save(state);
}

void StateWriter::waitForWrite()
{
    next_.reset();
    collect();
}

void StateWriter::replaceWaiting(const SavedState& state)
{
    if (next_)
        next_ = state;
}

void StateWriter::writeInBackground(const SavedState& state)
{
    if (worker_) {
        next_ = state;
        return;
    }
    // The copy shares the history's storage; the owner's next change detaches its own.
    auto outcome = std::make_shared<Outcome>();
    outcome->handedIn = state;
    outcome_ = outcome;
    worker_ = QThread::create([&file = file_, state, outcome] {
        SavedState written = state;
        try {
            outcome->archived = file.save(written);
            if (outcome->archived)
                outcome->archivedRecords = recordsTakenOut(state, written);
            outcome->written = std::move(written);
        } catch (const ImportError& error) {
            outcome->failure = error.message();
        }
    });
    connect(worker_, &QThread::finished, this, [this, generation = ++generation_] { workerFinished(generation); });
    worker_->start(QThread::LowPriority);
}

// Waits for the write in flight and reports how it went.
void StateWriter::collect()
{
    if (!worker_)
        return;
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    const std::shared_ptr<Outcome> outcome = std::move(outcome_);
    if (finished_)
        finished_(*outcome);
}

void StateWriter::workerFinished(quint64 generation)
{
    // A write at once may have collected this worker already.
    if (generation != generation_ || !worker_)
        return;
    collect();
    if (next_) {
        const SavedState state = std::move(*next_);
        next_.reset();
        writeInBackground(state);
    }
}
