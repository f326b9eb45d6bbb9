#include "window/WellbeingView.h"

#include "model/Counted.h"
#include "model/ReminderKind.h"
#include "store/DewbellStore.h"
#include "ui/FilledCard.h"
#include "ui/FocusHandOver.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/PrimaryButton.h"
#include "ui/RefreshOnScreen.h"
#include "ui/SoftButton.h"
#include "ui/TrailingSwitch.h"
#include "ui/Typography.h"
#include "window/PageCard.h"
#include "window/PageHelpers.h"
#include "window/Stepper.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int pageSpacing = 23;
constexpr int groupSpacing = 10;
constexpr int initialMeetingMinutes = 60;

QLabel* makeNote(const QString& text, QWidget* parent)
{
    QLabel* note = makeLabel(text, uiFont(11), Palette::muted(), parent);
    note->setWordWrap(true);
    return note;
}

// `format` holds %1 where the number and its unit, as `unit` counts them, go.
Stepper* makeStepper(const QString& format, QString (*unit)(qint64), int minimum, int maximum, int step,
                     QWidget* parent)
{
    auto* stepper =
        new Stepper([format, unit](int value) { return format.arg(unit(value)); }, minimum, maximum, step, parent);
    stepper->setFont(uiFont(12));
    return stepper;
}

// Buttons side by side at their own width, the platform's spacing apart.
QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = makeRow();
    for (QWidget* button : buttons)
        row->addWidget(button, 0, Qt::AlignVCenter);
    row->addStretch(1);
    return row;
}

// A column whose contents appear or vanish together (a card's two forms, a break group).
QWidget* makeGroup(QWidget* parent, int spacing)
{
    auto* group = new QWidget(parent);
    makeColumn(group, spacing);
    return group;
}

QVBoxLayout* column(QWidget* group)
{
    return static_cast<QVBoxLayout*>(group->layout());
}

template<typename Button>
Button* makeButton(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new Button(text, QString(), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

WellbeingView::WellbeingView(DewbellStore* store, UrlOpener& opener, QWidget* parent)
    : QWidget(parent), store_(store), opener_(opener)
{
    setFont(uiFont(13));
    auto* layout = makeColumn(this, pageSpacing);
    QLabel* heading = makeLabel(QStringLiteral("Care, on your terms."), uiFont(32, QFont::Medium, FontDesign::serif),
                                Palette::ink(), this);
    heading->setObjectName(QStringLiteral("pageTitle"));
    layout->addWidget(heading);
    layout->addWidget(makeLabel(QStringLiteral("Quiet when you need it. A little nudge when you don't."), uiFont(12),
                                Palette::muted(), this));
    layout->addWidget(makeFocusCard());
    layout->addWidget(makeMeetingCard());
    layout->addWidget(makeBreaksCard());

    refreshWhileOnScreen(this, store_, &DewbellStore::changed, [this] { refresh(); });
    refresh();
}

QUrl WellbeingView::eyeRestGuidance()
{
    return QUrl(QStringLiteral("https://www.aao.org/eye-health/tips-prevention/computer-usage"));
}

QUrl WellbeingView::workBreakGuidance()
{
    return QUrl(QStringLiteral("https://www.hse.gov.uk/msd/dse/work-routine.htm"));
}

PageCard* WellbeingView::makeFocusCard()
{
    auto* card = new PageCard(QStringLiteral("FOCUS / DO NOT DISTURB"), this);
    card->setObjectName(QStringLiteral("focusCard"));
    card->content()->addWidget(makeNote(
        QStringLiteral("Silences this app's characters, sounds and reminders. Other apps keep their own settings."),
        card));

    focusRunning_ = makeGroup(card, PageCard::spacing);
    focusStatus_ = makeLabel({}, uiFont(14, QFont::DemiBold), Palette::accent(), focusRunning_);
    focusStatus_->setObjectName(QStringLiteral("focusStatus"));
    column(focusRunning_)->addWidget(focusStatus_);
    auto* end = makeButton<PrimaryButton>(QStringLiteral("End Focus"), "endFocus", focusRunning_);
    connect(end, &QAbstractButton::clicked, store_, &DewbellStore::endFocus);
    column(focusRunning_)->addWidget(end, 0, Qt::AlignLeft);
    endFocus_ = end;
    card->content()->addWidget(focusRunning_);

    focusIdle_ = makeGroup(card, PageCard::spacing);
    Stepper* length = makeStepper(QStringLiteral("Focus for %1"), countedMinutes, 5, 240, 5, focusIdle_);
    length->setObjectName(QStringLiteral("focusMinutes"));
    bind(length, binding(store_, &Preferences::focusMinutes));
    column(focusIdle_)->addWidget(length);
    column(focusIdle_)
        ->addWidget(makeNote(
            QStringLiteral("Your preferred length is remembered for the menu bar. Focus starts only when you choose."),
            focusIdle_));
    auto* start = makeButton<PrimaryButton>(QStringLiteral("Start Focus"), "startFocus", focusIdle_);
    connect(start, &QAbstractButton::clicked, store_, &DewbellStore::startPreferredFocus);
    startFocus_ = start;
    auto* untilEnded = makeButton<SoftButton>(QStringLiteral("Until I end it"), "focusUntilEnded", focusIdle_);
    connect(untilEnded, &QAbstractButton::clicked, store_, [this] { store_->startFocus(std::nullopt); });
    column(focusIdle_)->addLayout(buttonRow({start, untilEnded}));
    card->content()->addWidget(focusIdle_);
    return card;
}

PageCard* WellbeingView::makeMeetingCard()
{
    auto* card = new PageCard(QStringLiteral("MEETINGS & PRESENTATIONS"), this);
    card->setObjectName(QStringLiteral("meetingCard"));
    card->content()->addWidget(
        makeNote(QStringLiteral("Explicit protection works even when automatic signals aren't available."), card));

    meetingRunning_ = makeGroup(card, PageCard::spacing);
    QLabel* isProtected = makeLabel(QStringLiteral("Your session is protected."), font(), Palette::accent(), card);
    column(meetingRunning_)->addWidget(isProtected);
    auto* end = makeButton<SoftButton>(QStringLiteral("End protection"), "endMeeting", meetingRunning_);
    connect(end, &QAbstractButton::clicked, store_, &DewbellStore::endMeeting);
    column(meetingRunning_)->addWidget(end, 0, Qt::AlignLeft);
    endMeeting_ = end;
    card->content()->addWidget(meetingRunning_);

    meetingIdle_ = makeGroup(card, PageCard::spacing);
    meetingMinutes_ = makeStepper(QStringLiteral("Protect for %1"), countedMinutes, 5, 240, 5, meetingIdle_);
    meetingMinutes_->setObjectName(QStringLiteral("meetingMinutes"));
    meetingMinutes_->showValue(initialMeetingMinutes);
    column(meetingIdle_)->addWidget(meetingMinutes_);
    auto* protect = makeButton<PrimaryButton>(QStringLiteral("Protect session"), "protectSession", meetingIdle_);
    connect(protect, &QAbstractButton::clicked, store_, [this] { store_->startMeeting(meetingMinutes_->value()); });
    protectSession_ = protect;
    auto* untilEnded = makeButton<SoftButton>(QStringLiteral("Until I end it"), "meetingUntilEnded", meetingIdle_);
    connect(untilEnded, &QAbstractButton::clicked, store_, [this] { store_->startMeeting(std::nullopt); });
    column(meetingIdle_)->addLayout(buttonRow({protect, untilEnded}));
    card->content()->addWidget(meetingIdle_);
    return card;
}

PageCard* WellbeingView::makeBreaksCard()
{
    auto* card = new PageCard(QStringLiteral("SCREEN BREAKS"), this);
    card->setObjectName(QStringLiteral("breaksCard"));
    auto* eyeRest = new TrailingSwitch(QStringLiteral("Eye-rest reminders"), card);
    eyeRest->setObjectName(QStringLiteral("eyeRestSwitch"));
    bind(eyeRest, binding(store_, &Preferences::breaks, &BreakPreferences::eyeEnabled));
    card->content()->addWidget(eyeRest);
    card->content()->addWidget(makeEyeRestGroup(card));

    auto* divider = new FilledCard(Palette::line(), 0, card);
    divider->setFixedHeight(1);
    card->content()->addWidget(divider);

    auto* movement = new TrailingSwitch(QStringLiteral("Movement breaks"), card);
    movement->setObjectName(QStringLiteral("movementSwitch"));
    bind(movement, binding(store_, &Preferences::breaks, &BreakPreferences::movementEnabled));
    card->content()->addWidget(movement);
    card->content()->addWidget(makeMovementGroup(card));

    completedBreaks_ = makeLabel({}, uiFont(10), Palette::accent(), card);
    completedBreaks_->setObjectName(QStringLiteral("completedBreaks"));
    card->content()->addWidget(completedBreaks_);
    card->content()->addWidget(makeGuidanceLinks(card));
    return card;
}

QWidget* WellbeingView::makeEyeRestGroup(QWidget* parent)
{
    eyeRestGroup_ = makeBreakGroup("eyeRestGroup", parent);
    addBreakStepper(eyeRestGroup_, makeStepper(QStringLiteral("Every %1"), countedMinutes, 10, 120, 5, eyeRestGroup_),
                    "eyeRestInterval", &BreakPreferences::eyeIntervalMinutes);
    addBreakStepper(eyeRestGroup_,
                    makeStepper(QStringLiteral("Rest for %1"), countedSeconds, 20, 120, 10, eyeRestGroup_),
                    "eyeRestSeconds", &BreakPreferences::eyeDurationSeconds);
    QVBoxLayout* layout = column(eyeRestGroup_);
    layout->addWidget(makeNote(QStringLiteral("The 20–20–20 preset: every 20 minutes, look about 6 metres (20 feet) "
                                              "away for 20 seconds. A customizable suggestion, not a treatment."),
                               eyeRestGroup_));
    auto* preset = makeButton<SoftButton>(QStringLiteral("Use 20–20–20 preset"), "eyeRestPreset", eyeRestGroup_);
    connect(preset, &QAbstractButton::clicked, store_, [this] {
        store_->update([](Preferences& preferences) {
            preferences.breaks.eyeIntervalMinutes = 20;
            preferences.breaks.eyeDurationSeconds = 20;
        });
    });
    layout->addWidget(preset, 0, Qt::AlignLeft);
    addPreviewButton(eyeRestGroup_, QStringLiteral("Preview an eye rest"), "eyeRestPreview", ReminderKind::eyeRest);
    return eyeRestGroup_;
}

QWidget* WellbeingView::makeMovementGroup(QWidget* parent)
{
    movementGroup_ = makeBreakGroup("movementGroup", parent);
    addBreakStepper(movementGroup_, makeStepper(QStringLiteral("Every %1"), countedMinutes, 30, 180, 5, movementGroup_),
                    "movementInterval", &BreakPreferences::movementIntervalMinutes);
    addBreakStepper(movementGroup_,
                    makeStepper(QStringLiteral("Break for %1"), countedMinutes, 1, 15, 1, movementGroup_),
                    "movementMinutes", &BreakPreferences::movementDurationMinutes);
    column(movementGroup_)
        ->addWidget(makeNote(QStringLiteral("Short, regular breaks or a change of activity can help interrupt long "
                                            "stretches of screen work. Choose a duration that suits you. Timers "
                                            "cannot measure where you look or whether you move."),
                             movementGroup_));
    addPreviewButton(movementGroup_, QStringLiteral("Preview a movement break"), "movementPreview",
                     ReminderKind::movement);
    return movementGroup_;
}

QWidget* WellbeingView::makeBreakGroup(const char* name, QWidget* parent)
{
    QWidget* group = makeGroup(parent, groupSpacing);
    group->setObjectName(QLatin1String(name));
    group->setFont(uiFont(12));
    return group;
}

void WellbeingView::addBreakStepper(QWidget* group, Stepper* stepper, const char* name, int BreakPreferences::*setting)
{
    stepper->setObjectName(QLatin1String(name));
    bind(stepper, binding(store_, &Preferences::breaks, setting));
    column(group)->addWidget(stepper);
}

void WellbeingView::addPreviewButton(QWidget* group, const QString& text, const char* name, ReminderKind kind)
{
    auto* preview = makeButton<SoftButton>(text, name, group);
    connect(preview, &QAbstractButton::clicked, store_, [this, kind] { store_->showReminder(true, kind); });
    column(group)->addWidget(preview, 0, Qt::AlignLeft);
}

QWidget* WellbeingView::makeGuidanceLinks(QWidget* parent)
{
    auto* links = new QWidget(parent);
    auto* layout = makeRow(links);
    const auto addLink = [&](const QString& text, const char* name, const QUrl& address) {
        auto* link = new PlainButton(text, {}, links);
        link->setObjectName(QLatin1String(name));
        link->setFont(uiFont(10));
        link->setColor(Palette::accent());
        link->setToolTip(address.toString());
        connect(link, &QAbstractButton::clicked, this, [this, address] { opener_.open(address); });
        layout->addWidget(link);
    };
    addLink(QStringLiteral("Eye-rest guidance"), "eyeRestGuidance", eyeRestGuidance());
    addLink(QStringLiteral("Work-break guidance"), "workBreakGuidance", workBreakGuidance());
    layout->addStretch(1);
    return links;
}

void WellbeingView::refresh()
{
    // The button that starts something gives way to the one that ends it, and back.
    if (store_->isFocused()) {
        showInPlaceOf(focusRunning_, focusIdle_, endFocus_);
        focusStatus_->setText(store_->status());
    } else {
        showInPlaceOf(focusIdle_, focusRunning_, startFocus_);
    }
    if (store_->inMeeting())
        showInPlaceOf(meetingRunning_, meetingIdle_, endMeeting_);
    else
        showInPlaceOf(meetingIdle_, meetingRunning_, protectSession_);

    const BreakPreferences& breaks = store_->preferences().breaks;
    eyeRestGroup_->setEnabled(breaks.eyeEnabled);
    movementGroup_->setEnabled(breaks.movementEnabled);
    completedBreaks_->setText(
        counted(store_->completedBreaksToday(), QStringLiteral("completed break"), QStringLiteral("completed breaks"))
        + QStringLiteral(" today · water totals stay separate"));
}
