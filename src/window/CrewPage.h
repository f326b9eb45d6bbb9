#pragma once

#include "model/CharacterPack.h"

#include <QList>
#include <QWidget>

class ClampedLabel;
class DewbellStore;
class PackCard;
class QGridLayout;

// "The little crew": every loaded companion as a card in two columns, the one on duty marked.
// A card's picture and its "Choose" button make that companion the everyday one (one update()
// of the store); "Try it" previews it without choosing it. Cards are made again only when the
// store's packs change; every other change updates them in place.
class CrewPage : public QWidget {
    Q_OBJECT
public:
    explicit CrewPage(DewbellStore* store, QWidget* parent = nullptr);

    QList<PackCard*> cards() const { return cards_; }

private:
    void refresh();
    void makeCards();

    DewbellStore* store_;
    ClampedLabel* onDuty_;
    QGridLayout* grid_;
    QList<PackCard*> cards_;
    QList<CharacterPack> shownPacks_;
};
