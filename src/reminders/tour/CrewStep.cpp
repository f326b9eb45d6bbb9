#include "reminders/tour/CrewStep.h"

#include "characters/BuddyView.h"
#include "reminders/tour/CompanionCard.h"
#include "reminders/tour/TourAccessibility.h"
#include "reminders/tour/TourChoices.h"
#include "reminders/tour/TourKit.h"
#include "store/DewbellStore.h"
#include "ui/ClampedLabel.h"
#include "ui/FilledCard.h"
#include "ui/Layouts.h"
#include "ui/Palette.h"
#include "ui/Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int showcaseHeight = 205;
// A long name wraps, inside a word when it must; what the card has no room for ends in "…".
constexpr int showcaseLines = 3;
constexpr QSize showcaseBuddySize{160, 185};
}  // namespace

CrewStep::CrewStep(const DewbellStore* store, TourChoices& choices, QWidget* parent)
    : QWidget(parent), store_(store), choices_(choices)
{
    setObjectName(QStringLiteral("crewStep"));
    auto* layout = makeColumn(this, 14);
    layout->addWidget(makeShowcase());
    cardRow_ = makeRow(nullptr, 6);
    layout->addLayout(cardRow_);
    layout->addWidget(
        TourKit::text(QStringLiteral("Choose or try any companion in The little crew, whenever you like."),
                      QStringLiteral("crewNote"), this));
    refresh();
}

// The showcase only repeats what the cards say, so assistive technology skips it.
QWidget* CrewStep::makeShowcase()
{
    auto* card = new FilledCard(Palette::surface(), 22, this);
    card->setObjectName(QStringLiteral("showcase"));
    card->setFixedHeight(showcaseHeight);
    TourAccessibility::present(card, TourAccessibility::Presence::hidden);
    auto* row = new QHBoxLayout(card);
    row->setSpacing(28);
    row->addStretch(1);

    auto* words = new QVBoxLayout;
    words->setSpacing(12);
    words->addStretch(1);
    words->addWidget(makeLabel(QStringLiteral("YOUR WORK CAN WAIT.\nTAKE A MOMENT."),
                               uiFont(21, QFont::Medium, FontDesign::serif), Palette::accent(), card));
    showcaseLine_ = new ClampedLabel(uiFont(11), Palette::muted(), showcaseLines, 0, card);
    showcaseLine_->setObjectName(QStringLiteral("showcaseLine"));
    words->addWidget(showcaseLine_);
    words->addStretch(1);
    row->addLayout(words);

    const CharacterPack buddy = tourBuddy(store_->packs(), choices_.companionID, store_->companion());
    showcaseBuddy_ = new BuddyView(buddy, false, false, card);
    showcaseBuddy_->setObjectName(QStringLiteral("showcaseBuddy"));
    showcaseBuddy_->setFixedSize(showcaseBuddySize);
    row->addWidget(showcaseBuddy_, 0, Qt::AlignVCenter);
    row->addStretch(1);
    return card;
}

void CrewStep::refresh()
{
    const CharacterPack buddy = tourBuddy(store_->packs(), choices_.companionID, store_->companion());
    showcaseLine_->setText(buddy.name + QStringLiteral("'s on your side."));
    if (!(showcaseBuddy_->pack() == buddy))
        showcaseBuddy_->setPack(buddy);

    const QList<CharacterPack> shown = store_->packs().mid(0, maximumCards);
    if (shown != cardPacks_)
        rebuildCards();
    for (CompanionCard* card : std::as_const(cards_))
        card->setSelected(card->packID() == choices_.companionID);
}

void CrewStep::rebuildCards()
{
    qDeleteAll(cards_);
    cards_.clear();
    cardPacks_ = store_->packs().mid(0, maximumCards);
    for (const CharacterPack& pack : std::as_const(cardPacks_)) {
        auto* card = new CompanionCard(pack, this);
        connect(card, &QAbstractButton::clicked, this, [this, id = pack.id] { choose(id); });
        cardRow_->addWidget(card, 1);
        cards_.append(card);
    }
}

void CrewStep::choose(const QString& packID)
{
    choices_.companionID = packID;
    refresh();
}
