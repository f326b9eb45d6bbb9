#include "reminders/tour/RhythmStep.h"

#include "model/Counted.h"
#include "reminders/tour/BreakInfoButton.h"
#include "reminders/tour/TourChoices.h"
#include "reminders/tour/TourKit.h"
#include "reminders/tour/TourStepperRow.h"
#include "store/DewbellStore.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/TrailingSwitch.h"
#include "ui/Typography.h"

#include <QBoxLayout>
#include <QLabel>

namespace {

using namespace PreferenceLimits;
constexpr int stepMinutes = 5;

}  // namespace

RhythmStep::RhythmStep(const DewbellStore* store, TourChoices& choices, UrlOpener* opener, QWidget* parent)
    : QWidget(parent), store_(store), choices_(choices), opener_(opener)
{
    setObjectName(QStringLiteral("rhythmStep"));
    auto* outer = makeColumn(this);
    QWidget* card = TourKit::card(18, 18, 13, this);
    outer->addWidget(card);
    QBoxLayout* layout = TourKit::cardLayout(card);

    water_ = new TourStepperRow(
        QStringLiteral("drop"),
        {QStringLiteral("Remind me 5 minutes sooner"), QStringLiteral("Remind me 5 minutes later")}, card);
    water_->setObjectName(QStringLiteral("waterRow"));
    connectSteps(water_, choices_.interval, minIntervalMinutes, maxIntervalMinutes, &RhythmStep::showWater);
    layout->addWidget(water_);

    quiet_ = new TrailingSwitch(QString(), card);
    quiet_->setObjectName(QStringLiteral("quietSwitch"));
    quiet_->setFont(TourKit::stepFont());
    quiet_->setChecked(choices_.quiet);
    connect(quiet_, &QAbstractButton::toggled, this, [this](bool on) { choices_.quiet = on; });
    layout->addWidget(quiet_);
    layout->addWidget(TourKit::divider(card));

    focus_ = new TourStepperRow(
        QStringLiteral("moon"),
        {QStringLiteral("Shorten Focus by 5 minutes"), QStringLiteral("Lengthen Focus by 5 minutes")}, card);
    focus_->setObjectName(QStringLiteral("focusRow"));
    connectSteps(focus_, choices_.focusMinutes, minFocusMinutes, maxFocusMinutes, &RhythmStep::showFocus);
    layout->addWidget(focus_);
    layout->addWidget(TourKit::text(QStringLiteral("Saved as your one-click Focus. It starts only when you choose."),
                                    QStringLiteral("focusNote"), card));
    layout->addWidget(TourKit::divider(card));

    layout->addWidget(breakToggle(QStringLiteral("Eye-rest"), choices_.eyeRest, ReminderKind::eyeRest,
                                  QStringLiteral("eyeRestSwitch")));
    eyeRestText_ = TourKit::text(QString(), QStringLiteral("eyeRestSentence"), card);
    layout->addWidget(eyeRestText_);
    layout->addWidget(breakToggle(QStringLiteral("Movement"), choices_.movement, ReminderKind::movement,
                                  QStringLiteral("movementSwitch")));
    movementText_ = TourKit::text(QString(), QStringLiteral("movementSentence"), card);
    layout->addWidget(movementText_);

    showWater();
    showFocus();
    refresh();
}

QWidget* RhythmStep::breakToggle(const QString& title, bool isOn, ReminderKind kind, const QString& name)
{
    const QString label = title + QStringLiteral(" breaks");
    auto* row = new QWidget(this);
    auto* layout = makeRow(row, 8);
    layout->addWidget(makeLabel(label, TourKit::stepFont(), Palette::ink(), row));
    auto* info = new BreakInfoButton(kind, store_->preferences().breaks, opener_, row);
    info->setObjectName(name + QStringLiteral("Info"));
    layout->addWidget(info);
    layout->addStretch(1);

    auto* toggle = new TrailingSwitch(QString(), row);
    toggle->setObjectName(name);
    toggle->setAccessibleName(label);
    toggle->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    toggle->setChecked(isOn);
    const bool eyeRest = kind == ReminderKind::eyeRest;
    connect(toggle, &QAbstractButton::toggled, this,
            [this, eyeRest](bool on) { (eyeRest ? choices_.eyeRest : choices_.movement) = on; });
    layout->addWidget(toggle);
    (eyeRest ? eyeRestInfo_ : movementInfo_) = info;
    return row;
}

void RhythmStep::connectSteps(TourStepperRow* row, int& minutes, int least, int most, void (RhythmStep::*showMinutes)())
{
    connect(row, &TourStepperRow::sooner, this, [this, &minutes, least, showMinutes] {
        minutes = std::max(minutes - stepMinutes, least);
        (this->*showMinutes)();
    });
    connect(row, &TourStepperRow::later, this, [this, &minutes, most, showMinutes] {
        minutes = std::min(minutes + stepMinutes, most);
        (this->*showMinutes)();
    });
}

void RhythmStep::showWater()
{
    water_->setValue(QStringLiteral("A water break every %1 minutes").arg(choices_.interval),
                     choices_.interval > minIntervalMinutes, choices_.interval < maxIntervalMinutes);
}

void RhythmStep::showFocus()
{
    focus_->setValue(QStringLiteral("Focus length when you start it: %1 minutes").arg(choices_.focusMinutes),
                     choices_.focusMinutes > minFocusMinutes, choices_.focusMinutes < maxFocusMinutes);
}

void RhythmStep::refresh()
{
    const Preferences& stored = store_->preferences();
    quiet_->setText(quietLabel(stored));
    eyeRestText_->setText(eyeRestSentence(stored.breaks));
    movementText_->setText(movementSentence(stored.breaks));
    eyeRestInfo_->setPreferences(stored.breaks);
    movementInfo_->setPreferences(stored.breaks);
}

QString RhythmStep::quietLabel(const Preferences& preferences)
{
    return QStringLiteral("Keep my quiet hours (%1:00–%2:00)")
        .arg(preferences.quietStart, 2, 10, QLatin1Char('0'))
        .arg(preferences.quietEnd, 2, 10, QLatin1Char('0'));
}

QString RhythmStep::eyeRestSentence(const BreakPreferences& breaks)
{
    if (breaks.eyeIntervalMinutes == 20 && breaks.eyeDurationSeconds == 20)
        return QStringLiteral("The 20–20–20 habit: every 20 minutes, look about 6 metres (20 feet) away for 20 "
                              "seconds.");
    return QStringLiteral("Every %1 minutes, look about 6 metres (20 feet) away for %2 seconds.")
        .arg(breaks.eyeIntervalMinutes)
        .arg(breaks.eyeDurationSeconds);
}

QString RhythmStep::movementSentence(const BreakPreferences& breaks)
{
    return QStringLiteral("Every %1 minutes, %2 to stretch or walk. Both are optional; change them any time.")
        .arg(breaks.movementIntervalMinutes)
        .arg(countedMinutes(breaks.movementDurationMinutes));
}
