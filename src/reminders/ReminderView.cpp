#include "reminders/ReminderView.h"

#include "characters/BearBuddy.h"
#include "characters/BuddyView.h"
#include "characters/MovieBuddy.h"
#include "characters/SpriteBuddy.h"
#include "model/CompanionMotion.h"
#include "model/LocalFiles.h"
#include "model/PictureFormat.h"
#include "model/ReminderPlacement.h"
#include "reminders/BreakReminderView.h"
#include "reminders/PictureButton.h"
#include "reminders/SpeechBubbleCard.h"
#include "reminders/StoreAction.h"
#include "store/DewbellStore.h"
#include "ui/Palette.h"
#include "ui/ReduceMotion.h"
#include "ui/Typography.h"

#include <QImageReader>
#include <QPainter>

namespace {

constexpr int canvasPadding = 20;
// The timeline's shortest interval, 1/60 s rounded up to whole milliseconds.
constexpr int frameMilliseconds = 17;
// The water reminder's stack: the canvas less its padding.
constexpr int stackWidth = 370;

QImage readImage(const std::optional<QString>& path)
{
    QFile file(path.value_or(QString()));
    if (!path || !LocalFiles::openRegularFile(file))
        return {};
    QImageReader reader(&file);
    PictureFormat::pin(reader);
    return reader.read();
}

}  // namespace

ReminderView::ReminderView(DewbellStore* store, std::optional<double> fixedElapsed, QWidget* parent)
    : OnScreenWidget(parent),
      store_(store),
      fixedElapsed_(fixedElapsed),
      bubble_(new SpeechBubbleCard(store, this)),
      companion_(new PictureButton(this)),
      breakCard_(new BreakReminderView(store, this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(sizeHint());
    setTextColor(this, Palette::ink());
    companion_->setObjectName(QStringLiteral("companion"));
    // A movie's frame is opaque and reaches a few points under the card: keep the card whole.
    companion_->stackUnder(bubble_);
    connect(companion_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::snooze));

    timeline_.setInterval(frameMilliseconds);
    timeline_.setTimerType(Qt::PreciseTimer);
    connect(&timeline_, &QTimer::timeout, this, [this] {
        timelineDate_ = QDateTime::currentDateTimeUtc();
        drawCompanion();
        // The desktop may ask for reduced motion while the companion walks.
        refreshTimeline();
    });
    // The panel is hidden nearly all day while the store ticks every second: only a view on
    // screen follows it, and a view coming on screen catches up (onScreenChanged).
    connect(store_, &DewbellStore::changed, this, [this] {
        if (isVisible())
            refresh();
    });
}

QSize ReminderView::sizeHint() const
{
    return ReminderPlacement::canvas().toSize();
}

double ReminderView::elapsed() const
{
    if (fixedElapsed_)
        return *fixedElapsed_;
    const QDateTime started = store_->phaseStarted();
    if (!started.isValid())
        return 0;
    // A paused timeline keeps the date of its last frame, so a waiting companion holds still
    // instead of jumping along with every change the store publishes.
    const QDateTime date = timeline_.isActive() ? QDateTime::currentDateTimeUtc() : timelineDate_;
    if (!date.isValid())
        return 0;
    return std::max(0.0, started.msecsTo(date) / 1000.0);
}

double ReminderView::walkOffset() const
{
    if (ReduceMotion::isOn())
        return 0;
    return CompanionMotion::horizontalOffset(store_->phase(), elapsed(), store_->response());
}

void ReminderView::refresh()
{
    const bool water = store_->reminderKind() == ReminderKind::water;
    // A break card coming on screen reads the store before it is measured.
    companion_->setVisible(water);
    breakCard_->setVisible(!water);
    if (water)
        refreshWater();
    else
        refreshBreak();
    refreshTimeline();
}

void ReminderView::refreshBreak()
{
    placeBubble(false);
    const int height = breakCard_->heightForWidth(width());
    breakCard_->setGeometry(0, this->height() - height, width(), height);
}

void ReminderView::refreshWater()
{
    const DewbellStore& store = *store_;
    const CompanionPhase phase = store.phase();
    const bool responding = phase == CompanionPhase::celebrating || phase == CompanionPhase::declined;
    bubble_->refresh();
    placeBubble(phase == CompanionPhase::asking || responding);

    choosePicture();
    const bool preview = store.preview();
    companion_->setAccessibleName(preview ? QStringLiteral("Close companion preview")
                                          : QStringLiteral("Snooze water reminder for 10 minutes"));
    companion_->setToolTip(preview ? QStringLiteral("Click to close preview")
                                   : QStringLiteral("Click your buddy to snooze for 10 minutes"));
    companion_->setMirrored(phase == CompanionPhase::leaving);
    drawCompanion();
}

void ReminderView::placeBubble(bool visible)
{
    const int lift = CompanionPicture::bubbleLift(store_->presentedCompanion());
    const int height = bubble_->cardHeight(stackWidth);
    const QRect place(canvasPadding, this->height() - canvasPadding - lift - height, stackWidth, height);
    if (place == bubble_->geometry() && visible == bubble_->isVisibleTo(this))
        return;
    bubble_->setGeometry(place);
    bubble_->setVisible(visible);
    // The shadow reaches beyond the card: repaint all of it.
    update();
}

void ReminderView::choosePicture()
{
    const DewbellStore& store = *store_;
    const CharacterPack pack = store.presentedCompanion();
    const CompanionPicture chosen = CompanionPicture::choose(pack, store.reminderVisible(), store.response());
    // A movie belongs to one reminder: the next reminder plays it from the start.
    const QUuid reminderID = chosen.kind == CompanionPicture::Kind::movie ? store.reminderID() : QUuid();
    const bool same =
        chosen == picture_ && pack.id == picturePackID_ && reminderID == pictureReminderID_ && companion_->picture();
    if (same)
        return;
    picture_ = chosen;
    picturePackID_ = pack.id;
    pictureReminderID_ = reminderID;
    companion_->resize(chosen.frame);
    drawnSpriteCell_.reset();
    drawnFrame_.reset();
    companion_->setPicture(makePicture(), chosen.kind == CompanionPicture::Kind::movie
                                              ? PictureButton::Drawing::showsItself
                                              : PictureButton::Drawing::paintedByButton);
}

QWidget* ReminderView::makePicture() const
{
    const DewbellStore& store = *store_;
    const CharacterPack pack = store.presentedCompanion();
    switch (picture_.kind) {
    case CompanionPicture::Kind::spriteBear:
    case CompanionPicture::Kind::humanSprite:
        return new SpriteBuddy(pack, store.phase(), store.phaseStarted(), store.response(), true, std::nullopt,
                               elapsed());
    case CompanionPicture::Kind::codeBear:
        return new BearBuddy(pack.kind, store.phase(), store.phaseStarted(), store.response(), true, elapsed());
    case CompanionPicture::Kind::movie: {
        auto* movie = new MovieBuddy(QUrl::fromLocalFile(picture_.movieFile));
        movie->setStill(readImage(pack.asset(pack.artwork)), Color(pack.tint));
        return movie;
    }
    case CompanionPicture::Kind::buddy:
        break;
    }
    return new BuddyView(pack, store.celebrating(), false);
}

// Brings the picture to this moment and puts the companion where its walk has taken it.
void ReminderView::drawCompanion()
{
    const DewbellStore& store = *store_;
    QWidget* picture = companion_->picture();
    const double seconds = elapsed();
    bool changed = true;
    if (auto* sprite = qobject_cast<SpriteBuddy*>(picture)) {
        sprite->setPhase(store.phase(), store.phaseStarted(), store.response());
        sprite->setElapsed(seconds);
        const SpriteBuddy::Choice cell = sprite->choice();
        changed = cell != drawnSpriteCell_;
        drawnSpriteCell_ = cell;
    } else if (auto* bear = qobject_cast<BearBuddy*>(picture)) {
        bear->setPhase(store.phase(), store.phaseStarted(), store.response());
        bear->setElapsed(seconds);
        changed = isNewFrame(bear->moment());
    } else if (auto* buddy = qobject_cast<BuddyView*>(picture)) {
        buddy->setHappy(store.celebrating());
        // A still picture for a host that draws a fixed moment.
        const bool animate = store.reminderVisible() && store.phase() != CompanionPhase::asking && !fixedElapsed_;
        if (buddy->animate() != animate)
            buddy->setAnimate(animate);
        changed = isNewFrame(buddy->moment());
    } else if (auto* movie = qobject_cast<MovieBuddy*>(picture)) {
        // The movie paints its own frames; a tick of the walk only moves it.
        movie->setMirrored(store.phase() == CompanionPhase::leaving);
        changed = false;
    }
    const QSize frame = picture_.frame;
    const int x = canvasPadding + (stackWidth - frame.width()) / 2 + qRound(walkOffset());
    companion_->move(x, height() - canvasPadding - frame.height());
    if (changed)
        companion_->redraw();
}

bool ReminderView::isNewFrame(const CompanionMoment& moment)
{
    const CompanionMoment frame = CompanionChoreography::frameOf(moment);
    const bool changed = frame != drawnFrame_;
    drawnFrame_ = frame;
    return changed;
}

void ReminderView::refreshTimeline()
{
    const DewbellStore& store = *store_;
    const bool run = !fixedElapsed_ && isVisible() && store.reminderVisible()
                     && store.reminderKind() == ReminderKind::water && store.phase() != CompanionPhase::asking
                     && !ReduceMotion::isOn();
    if (run && !timeline_.isActive())
        timeline_.start();
    else if (!run && timeline_.isActive()) {
        timelineDate_ = QDateTime::currentDateTimeUtc();
        timeline_.stop();
    }
}

void ReminderView::paintEvent(QPaintEvent*)
{
    if (!bubble_->isVisibleTo(this))
        return;
    QPainter painter(this);
    bubbleShadow_.paint(painter, bubble_->geometry());
}

void ReminderView::onScreenChanged(bool onScreen)
{
    if (onScreen)
        refresh();
    else
        refreshTimeline();
}
