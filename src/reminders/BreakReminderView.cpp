#include "reminders/BreakReminderView.h"

#include "characters/WellnessBuddy.h"
#include "model/BreakGuidance.h"
#include "model/CompanionVoice.h"
#include "reminders/CardFrame.h"
#include "reminders/CountdownLabel.h"
#include "reminders/PictureButton.h"
#include "reminders/StoreAction.h"
#include "store/DewbellStore.h"
#include "ui/ClampedLabel.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/PrimaryButton.h"
#include "ui/RefreshOnScreen.h"
#include "ui/SoftButton.h"
#include "ui/Typography.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

constexpr int outerPadding = 20;
constexpr int cardWidth = BreakReminderView::fullWidth - 2 * outerPadding;
constexpr QSize stickerSize{210, 240};
constexpr int promptLines = 1000;

QLabel* wrappingLabel(const QFont& font, const QColor& color, const QString& name, QWidget* parent)
{
    QLabel* label = makeLabel({}, font, color, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

template<typename Button>
Button* named(Button* button, const QString& name)
{
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

BreakReminderView::BreakReminderView(DewbellStore* store, QWidget* parent) : QWidget(parent), store_(store)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setTextColor(this, Palette::ink());
    buildCard();
    buildSticker();

    auto* column = makePaddedColumn(this, outerPadding, 12);
    column->addWidget(card_);
    column->addWidget(sticker_, 0, Qt::AlignHCenter);

    refreshWhileOnScreen(this, store_, &DewbellStore::changed, [this] { refresh(); });
}

void BreakReminderView::buildCard()
{
    card_ = new CardFrame(15, this);
    card_->setFixedWidth(cardWidth);

    auto* header = new QWidget(card_);
    QHBoxLayout* headerLayout = makeRow(header);
    header_ = makeLabel({}, uiFont(8, QFont::DemiBold, FontDesign::standard, 1.2), Palette::accent(), header);
    header_->setObjectName(QStringLiteral("header"));
    close_ = named(new PlainButton({}, QStringLiteral("xmark"), header), QStringLiteral("closeButton"));
    close_->setSymbolSize(13);
    // Room around the cross makes it easier to hit.
    close_->setContentsMargins(4, 4, 4, 4);
    connect(close_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::skipBreak));
    headerLayout->addWidget(header_);
    headerLayout->addStretch(1);
    headerLayout->addWidget(close_);
    card_->rows()->addWidget(header);

    title_ =
        wrappingLabel(uiFont(27, QFont::Normal, FontDesign::serif), Palette::ink(), QStringLiteral("title"), card_);
    // The prompt may hold a long name without spaces: it breaks inside the name rather than cut it.
    prompt_ = new ClampedLabel(uiFont(12, QFont::Medium), Palette::accent(), promptLines, 0, card_);
    prompt_->setObjectName(QStringLiteral("prompt"));
    instruction_ = wrappingLabel(uiFont(13), Palette::muted(), QStringLiteral("instruction"), card_);
    for (QWidget* label : std::initializer_list<QWidget*>{title_, prompt_, instruction_})
        card_->rows()->addWidget(label);

    buildStartRows();
    buildRunningRows();
}

void BreakReminderView::buildStartRows()
{
    startRow_ = new QWidget(card_);
    startRow_->setObjectName(QStringLiteral("startRow"));
    QHBoxLayout* layout = makeRow(startRow_);
    start_ =
        named(new PrimaryButton(QStringLiteral("Start break"), QString(), startRow_), QStringLiteral("startButton"));
    later_ = named(new SoftButton(QStringLiteral("Later"), QString(), startRow_), QStringLiteral("laterButton"));
    skip_ = named(new PlainButton(QStringLiteral("Skip"), {}, startRow_), QStringLiteral("skipButton"));
    skip_->setFont(uiFont(13));
    connect(start_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::startBreak));
    connect(later_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::snooze));
    connect(skip_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::skipBreak));
    layout->addWidget(start_);
    layout->addWidget(later_);
    layout->addWidget(skip_);
    layout->addStretch(1);
    card_->rows()->addWidget(startRow_);

    footer_ = wrappingLabel(uiFont(9), Palette::muted(), QStringLiteral("footer"), card_);
    card_->rows()->addWidget(footer_);
}

void BreakReminderView::buildRunningRows()
{
    countdown_ = new CountdownLabel(uiFont(48, QFont::Light, FontDesign::rounded), Palette::accent(), card_);
    countdown_->setObjectName(QStringLiteral("countdown"));
    countdown_->setAccessibleName(QStringLiteral("Break time left"));
    card_->rows()->addWidget(countdown_);

    reassurance_ = wrappingLabel(uiFont(11), Palette::muted(), QStringLiteral("reassurance"), card_);
    card_->rows()->addWidget(reassurance_);

    runningRow_ = new QWidget(card_);
    runningRow_->setObjectName(QStringLiteral("runningRow"));
    QHBoxLayout* layout = makeRow(runningRow_);
    stop_ = named(new SoftButton(QStringLiteral("Stop early"), QString(), runningRow_), QStringLiteral("stopButton"));
    extendMinute_ = named(new SoftButton(QStringLiteral("+1 minute"), QString(), runningRow_),
                          QStringLiteral("extendMinuteButton"));
    extendSeconds_ = named(new SoftButton(QStringLiteral("+20 seconds"), QString(), runningRow_),
                           QStringLiteral("extendSecondsButton"));
    connect(stop_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::skipBreak));
    connect(extendMinute_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::extendBreak, 60));
    connect(extendSeconds_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::extendBreak, 20));
    layout->addWidget(stop_);
    layout->addWidget(extendMinute_);
    layout->addWidget(extendSeconds_);
    layout->addStretch(1);
    card_->rows()->addWidget(runningRow_);
}

void BreakReminderView::buildSticker()
{
    sticker_ = new PictureButton(this);
    sticker_->setObjectName(QStringLiteral("sticker"));
    sticker_->setFixedSize(stickerSize);
    stickerPicture_ = new WellnessBuddy(store_->presentedCompanion(), 0, ReminderKind::eyeRest);
    sticker_->setPicture(stickerPicture_);
    connect(sticker_, &QAbstractButton::clicked, this, storeAction(store_, &DewbellStore::snooze));
}

int BreakReminderView::stickerFrame(const DewbellStore& store)
{
    const QByteArray bytes = store.reminderID().toRfc4122();
    return BreakGuidance::stickerFrame(store.reminderKind(), static_cast<quint8>(bytes.at(0)));
}

void BreakReminderView::refreshSticker()
{
    const DewbellStore& store = *store_;
    stickerPicture_->setSticker(store.presentedCompanion(), stickerFrame(store), store.reminderKind());
    sticker_->redraw();
    const bool preview = store.preview();
    sticker_->setAccessibleName(preview ? QStringLiteral("Close break preview")
                                        : QStringLiteral("Snooze break reminder for 5 minutes"));
    sticker_->setToolTip(preview ? QStringLiteral("Click to close preview")
                                 : QStringLiteral("Click your buddy to snooze for 5 minutes"));
}

void BreakReminderView::refresh()
{
    const DewbellStore& store = *store_;
    const ReminderKind kind = store.reminderKind();
    const bool preview = store.preview();
    const bool started = store.breakEndsAt().has_value();

    header_->setText(preview ? QStringLiteral("BREAK PREVIEW · NO HISTORY")
                             : QStringLiteral("A LITTLE ROOM TO BREATHE"));
    close_->setAccessibleName(preview ? QStringLiteral("Close break preview") : QStringLiteral("Skip this break"));
    title_->setText(title(kind));
    instruction_->setText(started ? instruction(kind) : BreakGuidance::instruction(kind, store.preferences().breaks));

    prompt_->setVisible(!started);
    startRow_->setVisible(!started);
    footer_->setVisible(!started);
    sticker_->setVisible(!started);
    if (!started) {
        prompt_->setText(CompanionVoice(store.presentedCompanion()).breakPrompt(store.preferences(), kind));
        footer_->setText(preview ? QStringLiteral("Click your buddy to close the preview.")
                                 : QStringLiteral("Busy? Click your buddy to snooze for 5 minutes."));
        refreshSticker();
    }

    countdown_->setVisible(started);
    reassurance_->setVisible(started);
    runningRow_->setVisible(started);
    if (started) {
        countdown_->setSeconds(store.breakRemaining());
        reassurance_->setText(kind == ReminderKind::eyeRest
                                  ? QStringLiteral("No need to watch the countdown. Look away; I'll finish quietly.")
                                  : QStringLiteral("Enjoy your time away. I'll finish quietly."));
        extendMinute_->setVisible(kind == ReminderKind::movement);
        extendSeconds_->setVisible(kind == ReminderKind::eyeRest);
    }
    updateGeometry();
}

int BreakReminderView::heightForWidth(int) const
{
    int height = 2 * outerPadding + card_->cardHeight(cardWidth);
    if (!sticker_->isHidden())
        height += 12 + stickerSize.height();
    return height;
}

QSize BreakReminderView::sizeHint() const
{
    return {fullWidth, heightForWidth(fullWidth)};
}
