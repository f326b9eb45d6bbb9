#pragma once

#include "model/CharacterPack.h"

#include <QList>
#include <QWidget>

class BuddyView;
class ClampedLabel;
class CompanionCard;
class DewbellStore;
class QHBoxLayout;
struct TourChoices;

// The tour's first step: the chosen companion in a showcase, one card per companion (six at
// most) to choose another, and where to find the rest. Choosing changes only the tour's
// pending companion.
class CrewStep : public QWidget {
    Q_OBJECT
public:
    static constexpr int maximumCards = 6;

    CrewStep(const DewbellStore* store, TourChoices& choices, QWidget* parent = nullptr);

    // Follows the store's packs and the pending choice.
    void refresh();

    QList<CompanionCard*> cards() const { return cards_; }
    BuddyView* showcaseBuddy() const { return showcaseBuddy_; }

private:
    QWidget* makeShowcase();
    void rebuildCards();
    void choose(const QString& packID);

    const DewbellStore* store_;
    TourChoices& choices_;
    ClampedLabel* showcaseLine_ = nullptr;
    BuddyView* showcaseBuddy_ = nullptr;
    QHBoxLayout* cardRow_ = nullptr;
    QList<CompanionCard*> cards_;
    QList<CharacterPack> cardPacks_;
};
