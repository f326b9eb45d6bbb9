#include "reminders/lab/ReminderLab.h"

#include "model/DateCoding.h"
#include "model/LocalFiles.h"
#include "model/ReminderGate.h"
#include "store/DewbellStore.h"

#include <QDir>
#include <QUuid>

namespace {

QString freshFolder()
{
    const QString name = QStringLiteral("dewbell-lab-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    return QDir::temp().filePath(name);
}

QString startingStatus(LabPlayback step, LabPlayback playback)
{
    const bool both = playback == LabPlayback::both;
    switch (step) {
    case LabPlayback::yes:
        return both ? QStringLiteral("1 of 2 · Yes → celebrate → walk out")
                    : QStringLiteral("Yes → celebrate → walk out");
    case LabPlayback::notYet:
        return both ? QStringLiteral("2 of 2 · Not yet → shrug → sad → walk out")
                    : QStringLiteral("Not yet → shrug → sad → walk out");
    default:
        return QStringLiteral("Your turn. Click Yes or Not yet in the preview.");
    }
}

}  // namespace

ReminderLab::ReminderLab(DewbellStore* source, bool running, QObject* parent)
    : QObject(parent),
      folder_(freshFolder()),
      selectedID_(source->preferences().companionID),
      source_(source),
      nextStart_(QDateTime::fromMSecsSinceEpoch(0, Qt::UTC)),
      running_(running)
{
    try {
        LocalFiles::ensurePrivateFolder(folder_);
    } catch (const std::exception&) {
        // The player writes nothing there; it only needs a folder of its own to read.
    }
    player_ = std::make_unique<DewbellStore>(
        StoreOptions{.directory = folder_, .running = false, .persistChanges = false, .zone = source->zone()});
    player_->mutateState([&](SavedState& state) {
        state.preferences = source->preferences();
        state.nextDue = DateCoding::distantFuture();
    });
    player_->setPacks(source->packs());

    ticker_.setInterval(tickMilliseconds);
    connect(&ticker_, &QTimer::timeout, this, [this] { tick(QDateTime::currentDateTimeUtc()); });
}

ReminderLab::~ReminderLab()
{
    ticker_.stop();
    player_.reset();
    QDir(folder_).removeRecursively();
}

void ReminderLab::setSelectedID(const QString& id)
{
    if (id == selectedID_)
        return;
    stop();
    selectedID_ = id;
    player_->mutateState([&](SavedState& state) { state.preferences.companionID = id; });
    emit changed();
}

void ReminderLab::stop()
{
    ticker_.stop();
    queue_.clear();
    current_.reset();
    setPlaying(false);
    player_->dismiss();
    setStatus(QStringLiteral("Ready for another little test drive."));
}

void ReminderLab::play(LabPlayback playback, const QDateTime& date)
{
    stop();
    if (source_ && (source_->isFocused() || source_->inMeeting())) {
        setStatus(QStringLiteral("End Focus or meeting protection before starting a preview."));
        return;
    }
    copySourceIntoPlayer();
    player_->mutateState([&](SavedState& state) {
        state.preferences.companionID = selectedID_;
        state.nextDue = DateCoding::distantFuture();
        state.pausedUntil.reset();
        state.drinks.clear();
    });
    playback_ = playback;
    queue_ = playback == LabPlayback::both ? QList<LabPlayback>{LabPlayback::yes, LabPlayback::notYet}
                                           : QList<LabPlayback>{playback};
    nextStart_ = date;
    setPlaying(true);
    tick(date);
    if (running_ && isPlaying_)
        ticker_.start();
}

void ReminderLab::copySourceIntoPlayer()
{
    if (!source_)
        return;
    player_->mutateState([&](SavedState& state) { state.preferences = source_->preferences(); });
    player_->setPacks(source_->packs());
}

void ReminderLab::tick(const QDateTime& now)
{
    if (gatePauses(now))
        return;
    player_->tick(now);
    if (!isPlaying_)
        return;

    if (!current_ && !queue_.isEmpty() && now >= nextStart_) {
        startStep(queue_.takeFirst());
        return;
    }
    answerIfDue(now);

    if (!current_ || player_->reminderVisible())
        return;
    current_.reset();
    nextStart_ = now.addMSecs(gapMilliseconds);
    if (!queue_.isEmpty())
        return;
    setPlaying(false);
    ticker_.stop();
    setStatus(QStringLiteral("All done. Replay either response, or try another companion."));
}

// What would hold a real reminder back pauses the preview too, except what the user chose to
// switch off, pause or sleep through, and typing: starting a preview is a click, and the flow
// safeguard would otherwise pause every preview the moment it starts.
bool ReminderLab::gatePauses(const QDateTime& now)
{
    if (!source_)
        return false;
    SavedState judged = source_->state();
    judged.preferences.enabled = true;
    judged.preferences.quietEnabled = false;
    judged.pausedUntil.reset();
    const ContextSnapshot context = source_->contextProvider ? source_->contextProvider() : ContextSnapshot{};
    const GateDecision decision = ReminderGate::evaluate(now, judged, context, source_->zone());
    if (decision.allowed() || decision.cause == GateDecision::Cause::typing)
        return false;
    stop();
    setStatus(QStringLiteral("Preview paused: ") + decision.reason);
    return true;
}

void ReminderLab::startStep(LabPlayback step)
{
    current_ = step;
    hasResponded_ = false;
    player_->showReminder(true, ReminderKind::water);
    setStatus(startingStatus(step, playback_));
}

void ReminderLab::answerIfDue(const QDateTime& now)
{
    if (!current_ || hasResponded_ || player_->phase() != CompanionPhase::asking)
        return;
    if (player_->phaseStarted().msecsTo(now) < answerDelayMilliseconds)
        return;
    if (*current_ == LabPlayback::yes) {
        player_->answerYes();
        hasResponded_ = true;
    } else if (*current_ == LabPlayback::notYet) {
        player_->decline();
        hasResponded_ = true;
    }
}

void ReminderLab::setStatus(const QString& status)
{
    if (status == status_)
        return;
    status_ = status;
    emit changed();
}

void ReminderLab::setPlaying(bool playing)
{
    if (playing == isPlaying_)
        return;
    isPlaying_ = playing;
    emit changed();
}
