#include "window/RemindersPage.h"

#include "model/Counted.h"
#include "model/EnumTable.h"
#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/RefreshOnScreen.h"
#include "ui/TrailingSwitch.h"
#include "ui/Typography.h"
#include "window/CardButton.h"
#include "window/ChoicePicker.h"
#include "window/PageHelpers.h"
#include "window/Stepper.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int cardPadding = 21;

FilledCard* settingsCard(int spacing, QWidget* parent)
{
    auto* card = new FilledCard(Palette::surface(), 16, parent);
    makePaddedColumn(card, cardPadding, spacing);
    return card;
}

QLabel* note(const QString& text, QWidget* parent)
{
    auto* label = makeLabel(text, uiFont(10.5), Palette::muted(), parent);
    label->setWordWrap(true);
    return label;
}

QWidget* divider(QWidget* parent)
{
    auto* line = new FilledCard(Palette::line(), 0, parent);
    line->setFixedHeight(1);
    return line;
}

TrailingSwitch* preferenceSwitch(const QString& label, const PreferenceBinding<bool>& preference, QWidget* parent)
{
    auto* toggle = new TrailingSwitch(label, parent);
    toggle->setFont(uiFont(13));
    bind(toggle, preference);
    return toggle;
}

constexpr std::array<EnumTable::Text<Personality>, 3> personalitySymbols{{
    {Personality::sweet, "\u2661"},
    {Personality::cheeky, "\u2726"},
    {Personality::menace, "\u26A1\uFE0E"},
}};

QString symbolOf(Personality personality)
{
    return EnumTable::textOf(personalitySymbols, personality);
}

}  // namespace

RemindersPage::RemindersPage(DewbellStore* store, QWidget* parent) : QWidget(parent), store_(store)
{
    auto* layout = makeColumn(this, 22);
    layout->addWidget(pageTitle(QStringLiteral("Care, on your terms."),
                                QStringLiteral("Find the sweet spot between helpful and delightfully annoying."),
                                this));
    layout->addWidget(makeWaterCard());
    layout->addWidget(makePersonalityBlock());
    layout->addWidget(makeQuietCard());

    refreshWhileOnScreen(this, store_, &DewbellStore::changed, [this] { refresh(); });
    refresh();
}

const QList<int>& RemindersPage::glassSizes()
{
    static const QList<int> sizes{150, 200, 250, 300, 350, 500};
    return sizes;
}

const QList<int>& RemindersPage::intervals()
{
    static const QList<int> minutes{5, 15, 30, 45, 60, 90, 120, 180};
    return minutes;
}

QWidget* RemindersPage::makeWaterCard()
{
    FilledCard* card = settingsCard(18, this);
    auto* layout = card->layout();
    layout->addWidget(
        preferenceSwitch(QStringLiteral("Water reminders"), binding(store_, &Preferences::enabled), card));
    layout->addWidget(divider(card));

    auto* row = new QHBoxLayout;
    auto* words = new QVBoxLayout;
    words->setSpacing(5);
    QLabel* every = makeLabel(QStringLiteral("Say hello every"), uiFont(13, QFont::Medium), Palette::ink(), card);
    words->addWidget(every);
    words->addWidget(note(QStringLiteral("The clock restarts after you log a drink."), card));
    row->addLayout(words, 1);
    ChoicePicker* interval = boundPicker(every, ChoicePicker::numbered(intervals(), QStringLiteral("%1 minutes")), 150,
                                         binding(store_, &Preferences::intervalMinutes), card);
    interval->setObjectName(QStringLiteral("intervalPicker"));
    row->addWidget(interval);
    static_cast<QVBoxLayout*>(layout)->addLayout(row);
    return card;
}

QWidget* RemindersPage::makePersonalityBlock()
{
    auto* block = new QWidget(this);
    auto* layout = makeColumn(block, 13);
    layout->addWidget(makeLabel(QStringLiteral("HOW MUCH SASS?"), uiFont(9, QFont::DemiBold, FontDesign::standard, 1.4),
                                Palette::muted(), block));

    auto* cards = new QHBoxLayout;
    cards->setSpacing(10);
    for (Personality personality : allPersonalities) {
        auto* card = new CardButton(block);
        card->setObjectName(QStringLiteral("personality-") + rawValue(personality));
        card->setCard(Palette::surface(), 13);
        // Checked is the chosen one, as the outline shows; assistive tools hear it too.
        card->setCheckable(true);
        card->setAutoExclusive(true);
        card->setAccessibleName(title(personality));
        card->setAccessibleDescription(detail(personality));
        auto* face = makePaddedColumn(card, 15, 9);
        face->addWidget(makeLabel(symbolOf(personality), uiFont(23), Palette::accent(), card));
        face->addWidget(makeLabel(title(personality), uiFont(12, QFont::DemiBold), Palette::ink(), card));
        auto* words = makeLabel(detail(personality), uiFont(10), Palette::muted(), card);
        words->setWordWrap(true);
        words->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        words->setFixedHeight(28);
        face->addWidget(words);
        connect(card, &QAbstractButton::clicked, this, [this, personality] {
            store_->update([personality](Preferences& preferences) { preferences.personality = personality; });
        });
        cards->addWidget(card, 1);
        personalityCards_.append(card);
    }
    layout->addLayout(cards);

    layout->addWidget(
        note(QStringLiteral(
                 "Personality changes the wording and reminder timing. Your character keeps their own reactions."),
             block));
    escalation_ = note({}, block);
    escalation_->setObjectName(QStringLiteral("escalationNote"));
    layout->addWidget(escalation_);
    return block;
}

QWidget* RemindersPage::makeQuietCard()
{
    FilledCard* card = settingsCard(17, this);
    auto* layout = static_cast<QVBoxLayout*>(card->layout());
    layout->addWidget(
        preferenceSwitch(QStringLiteral("Quiet hours"), binding(store_, &Preferences::quietEnabled), card));

    quietHours_ = new QWidget(card);
    quietHours_->setObjectName(QStringLiteral("quietHours"));
    auto* hours = makeRow(quietHours_);
    QLabel* from = makeLabel(QStringLiteral("Let me sleep from"), uiFont(12), Palette::muted(), quietHours_);
    hours->addWidget(from);
    ChoicePicker* start = hourPicker(from, binding(store_, &Preferences::quietStart), quietHours_);
    start->setObjectName(QStringLiteral("quietStartPicker"));
    hours->addWidget(start);
    QLabel* to = makeLabel(QStringLiteral("to"), uiFont(12), Palette::muted(), quietHours_);
    hours->addWidget(to);
    ChoicePicker* end = hourPicker(to, binding(store_, &Preferences::quietEnd), quietHours_);
    end->setObjectName(QStringLiteral("quietEndPicker"));
    hours->addWidget(end);
    hours->addStretch(1);
    layout->addWidget(quietHours_);

    layout->addWidget(
        preferenceSwitch(QStringLiteral("A tiny pop sound"), binding(store_, &Preferences::soundEnabled), card));
    layout->addWidget(divider(card));

    auto* glass = new QHBoxLayout;
    QLabel* myGlass = makeLabel(QStringLiteral("My glass"), uiFont(12), Palette::ink(), card);
    glass->addWidget(myGlass);
    ChoicePicker* glassPicker = boundPicker(myGlass, ChoicePicker::numbered(glassSizes(), QStringLiteral("%1 ml")), 100,
                                            binding(store_, &Preferences::glassML), card);
    glassPicker->setObjectName(QStringLiteral("glassPicker"));
    glass->addWidget(glassPicker);
    glass->addStretch(1);
    auto* goal = new Stepper([](int glasses) { return QStringLiteral("Personal goal: ") + countedGlasses(glasses); },
                             PreferenceLimits::minDailyGoal, PreferenceLimits::maxDailyGoal, 1, card);
    goal->setObjectName(QStringLiteral("goalStepper"));
    bind(goal, binding(store_, &Preferences::dailyGoal));
    glass->addWidget(goal);
    layout->addLayout(glass);

    layout->addWidget(
        note(QStringLiteral("Your personal goal counts only drinks you log. It stays the same whether you "
                            "use your computer for 3 hours or 8."),
             card));
    return card;
}

void RemindersPage::refresh()
{
    const Preferences& preferences = store_->preferences();
    for (qsizetype index = 0; index < personalityCards_.size(); ++index) {
        const bool chosen = allPersonalities[size_t(index)] == preferences.personality;
        personalityCards_[index]->setOutline(chosen ? Palette::accent() : Palette::line());
        personalityCards_[index]->setChecked(chosen);
    }
    const int minutes = int(retrySeconds(preferences.personality) / 60);
    escalation_->setText(QStringLiteral("An unanswered reminder gets a new line every %1, up to three lines. "
                                        "Snooze and pause are always there.")
                             .arg(countedMinutes(minutes)));
    quietHours_->setEnabled(preferences.quietEnabled);
}
