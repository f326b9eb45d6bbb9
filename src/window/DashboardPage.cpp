#include "window/DashboardPage.h"

#include "store/DewbellStore.h"
#include "ui/CapsuleProgress.h"
#include "ui/ClampedLabel.h"
#include "ui/FigureLabel.h"
#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/PlainButton.h"
#include "ui/PrimaryButton.h"
#include "ui/RefreshOnScreen.h"
#include "ui/SoftButton.h"
#include "ui/SymbolLabel.h"
#include "ui/Typography.h"
#include "window/HeroPicture.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int cardPadding = 20;
constexpr int companionLines = 1000;
const QColor heartColor = Color(QStringLiteral("E4B6B8"));

// A card's heading: small capitals on the left, a symbol on the right.
QWidget* cardHeading(const QString& text, const QString& symbol, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = makeRow(row, 6);
    layout->addWidget(makeLabel(text, uiFont(9, QFont::Medium, FontDesign::standard, 1.2), Palette::muted(), row));
    layout->addStretch(1);
    layout->addWidget(new SymbolLabel(symbol, 10, Palette::muted(), row));
    return row;
}

FilledCard* figureCard(QWidget* parent)
{
    auto* card = new FilledCard(Palette::surface(), 17, parent);
    auto* layout = makeColumn(card, 15);
    layout->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
    return card;
}

}  // namespace

DashboardPage::DashboardPage(DewbellStore* store, QWidget* parent) : QWidget(parent), store_(store)
{
    auto* layout = makeColumn(this, 23);
    layout->addWidget(makeTitle());
    layout->addWidget(makeHero());
    auto* cards = makeRow(nullptr, 15);
    cards->addWidget(makeWaterCard(), 1, Qt::AlignTop);
    cards->addWidget(makeReminderCard(), 1, Qt::AlignTop);
    layout->addLayout(cards);
    layout->addWidget(makeClosingLine());

    refreshWhileOnScreen(this, store_, &DewbellStore::changed, [this] { refresh(); });
    refresh();
}

QString DashboardPage::litres(qint64 millilitres)
{
    const double value = double(millilitres) / 1000.0;
    if (value >= 99.5)
        return QString::number(qRound64(value));
    return QString::asprintf("%.2g", value);
}

QWidget* DashboardPage::makeTitle()
{
    auto* block = new QWidget(this);
    auto* layout = makeColumn(block, 7);
    auto* title = makeLabel(QStringLiteral("A little care for your day."), uiFont(35, QFont::Medium, FontDesign::serif),
                            Palette::ink(), block);
    title->setObjectName(QStringLiteral("pageTitle"));
    title->setWordWrap(true);
    auto* subtitle = makeLabel(QStringLiteral("Water, eye rest, movement and focus—with your little crew."),
                               uiFont(12.5), Palette::muted(), block);
    subtitle->setWordWrap(true);
    layout->addWidget(title);
    layout->addWidget(subtitle);
    return block;
}

QWidget* DashboardPage::makeHero()
{
    auto* card = new FilledCard(Palette::surface(), 22, this);
    card->setOutline(Palette::line());
    auto* layout = makeRow(card, 0);

    auto* words = makeColumn(nullptr, 16);
    words->setContentsMargins(25, 26, 0, 26);
    words->addWidget(makeLabel(QStringLiteral("A LITTLE CARE FOR YOUR WORKDAY"),
                               uiFont(8, QFont::DemiBold, FontDesign::standard, 1.6), Palette::accent(), card));
    // Never cut: a long name takes more lines, broken inside a word when it must.
    companionLine_ =
        new ClampedLabel(uiFont(30, QFont::Medium, FontDesign::serif), Palette::ink(), companionLines, 1, card);
    companionLine_->setObjectName(QStringLiteral("companionLine"));
    words->addWidget(companionLine_);
    personalityLine_ = makeLabel({}, uiFont(12), Palette::muted(), card);
    personalityLine_->setObjectName(QStringLiteral("personalityLine"));
    personalityLine_->setWordWrap(true);
    personalityLine_->setMaximumWidth(255);
    words->addWidget(personalityLine_);
    auto* meet = new PrimaryButton(QStringLiteral("Meet your reminder"), QStringLiteral("arrow.up.right"), card);
    meet->setObjectName(QStringLiteral("meetReminder"));
    meet->setSymbolTrailing(true);
    connect(meet, &QAbstractButton::clicked, this,
            [this] { store_->showReminder(true, ReminderKind::water, std::nullopt); });
    words->addWidget(meet, 0, Qt::AlignLeft);
    layout->addLayout(words, 1);

    picture_ = new HeroPicture(store_->companion(), card);
    layout->addWidget(picture_, 0, Qt::AlignVCenter);
    return card;
}

QWidget* DashboardPage::makeWaterCard()
{
    FilledCard* card = figureCard(this);
    auto* layout = static_cast<QVBoxLayout*>(card->layout());
    layout->addWidget(cardHeading(QStringLiteral("YOUR SIPS TODAY"), QStringLiteral("drop"), card));

    // The goal sits on the total's baseline: both rest on the row's bottom, the goal raised by
    // the difference of their descents.
    auto* amount = makeRow(nullptr, 5);
    total_ = new FigureLabel(uiFont(33, QFont::Medium, FontDesign::rounded), Palette::ink(), card);
    total_->setObjectName(QStringLiteral("totalLitres"));
    total_->setAccessibleName(QStringLiteral("Today's total"));
    goal_ = new FigureLabel(uiFont(13), Palette::muted(), card);
    goal_->setObjectName(QStringLiteral("goalLitres"));
    goal_->setAccessibleName(QStringLiteral("Daily goal"));
    auto* raisedGoal = makeColumn();
    const int raise = QFontMetrics(total_->font()).descent() - QFontMetrics(goal_->font()).descent();
    raisedGoal->setContentsMargins(0, 0, 0, std::max(0, raise));
    raisedGoal->addWidget(goal_);
    amount->addWidget(total_, 0, Qt::AlignBottom);
    amount->addLayout(raisedGoal);
    amount->setAlignment(raisedGoal, Qt::AlignBottom);
    amount->addStretch(1);
    layout->addLayout(amount);

    progress_ = new CapsuleProgress(card);
    progress_->setAccessibleName(QStringLiteral("Today's progress toward your goal"));
    progress_->setFixedHeight(5);
    layout->addWidget(progress_);

    auto* buttons = makeRow(nullptr, 12);
    drink_ = new SoftButton({}, QStringLiteral("plus"), card);
    drink_->setObjectName(QStringLiteral("drink"));
    connect(drink_, &QAbstractButton::clicked, store_, &DewbellStore::drink);
    buttons->addWidget(drink_);
    undo_ = new PlainButton(QStringLiteral("Undo"), {}, card);
    undo_->setObjectName(QStringLiteral("undo"));
    undo_->setFont(uiFont(10));
    undo_->setColor(Palette::muted());
    connect(undo_, &QAbstractButton::clicked, store_, &DewbellStore::undo);
    buttons->addWidget(undo_);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return card;
}

QWidget* DashboardPage::makeReminderCard()
{
    FilledCard* card = figureCard(this);
    auto* layout = static_cast<QVBoxLayout*>(card->layout());
    layout->addWidget(cardHeading(QStringLiteral("NEXT LITTLE HELLO"), QStringLiteral("clock"), card));
    countdown_ = new FigureLabel(uiFont(31, QFont::Medium, FontDesign::rounded), Palette::ink(), card);
    countdown_->setObjectName(QStringLiteral("countdown"));
    countdown_->setAccessibleName(QStringLiteral("Next little hello"));
    layout->addWidget(countdown_);
    status_ = new ClampedLabel(uiFont(10.5), Palette::muted(), 1, 0, card);
    status_->setObjectName(QStringLiteral("status"));
    layout->addWidget(status_);
    pause_ = new SoftButton({}, {}, card);
    pause_->setObjectName(QStringLiteral("pause"));
    // The state may have moved since the label was drawn; the press decides on what is true now.
    connect(pause_, &QAbstractButton::clicked, this, [this] {
        if (store_->isPaused())
            store_->resume();
        else
            store_->pause();
    });
    layout->addWidget(pause_, 0, Qt::AlignLeft);
    return card;
}

QWidget* DashboardPage::makeClosingLine()
{
    auto* row = new QWidget(this);
    auto* layout = makeRow(row, 9);
    layout->setContentsMargins(3, 0, 3, 0);
    layout->addWidget(new SymbolLabel(QStringLiteral("heart"), 11, heartColor, row));
    auto* words = makeLabel(QStringLiteral("A sip counts. A break counts. Taking care of yourself counts."),
                            uiFont(10.5), Palette::muted(), row);
    words->setWordWrap(true);
    layout->addWidget(words, 1);
    return row;
}

void DashboardPage::refresh()
{
    const CharacterPack companion = store_->companion();
    companionLine_->setText(companion.name + QStringLiteral("'s on\nyour case."));
    personalityLine_->setText(store_->preferences().personality == Personality::sweet
                                  ? QStringLiteral("A pause, just for you.")
                                  : QStringLiteral("Big on caring. A little sassy about it."));
    picture_->setPack(companion);

    const QString total = litres(store_->totalML());
    total_->setText(total);
    total_->setSpokenText(total + QStringLiteral(" L"));
    const QString goal = litres(store_->goalML()) + QStringLiteral(" L");
    goal_->setText(QStringLiteral("/ ") + goal);
    goal_->setSpokenText(goal);
    progress_->setProgress(store_->progress());
    const QString drinkText = QStringLiteral("I drank %1 ml").arg(store_->preferences().glassML);
    if (drink_->text() != drinkText) {
        drink_->setText(drinkText);
        drink_->updateGeometry();
    }
    undo_->setVisible(!store_->today().isEmpty());

    countdown_->setText(store_->countdown());
    status_->setText(store_->status());
    const bool paused = store_->isPaused();
    const QString pauseText = paused ? QStringLiteral("Resume reminders") : QStringLiteral("Pause for an hour");
    if (pause_->text() != pauseText) {
        pause_->setText(pauseText);
        pause_->setSymbol(paused ? QStringLiteral("play") : QStringLiteral("pause"));
    }
}
