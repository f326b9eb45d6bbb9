#pragma once

#include "model/CharacterPack.h"

#include "ui/FilledCard.h"

class CardButton;
class DewbellStore;
class PlainButton;
class SoftButton;
class SymbolLabel;

// One companion on the crew page: a picture button (choose it) with a check mark while it is
// on duty, its name and subtitle, then "Choose" or "On duty" and "Try it". The outline is the
// accent while the companion is on duty. A long name wraps over three lines at most, the rest
// in the tooltip; the buttons are named with the companion for assistive tools.
class PackCard : public FilledCard {
    Q_OBJECT
public:
    PackCard(DewbellStore* store, const CharacterPack& pack, QWidget* parent = nullptr);

    const CharacterPack& pack() const { return pack_; }
    // Shows whether this companion is the one on duty.
    void setCurrent(bool current);
    bool isCurrent() const { return current_; }

    CardButton* pictureButton() const { return picture_; }
    PlainButton* chooseButton() const { return choose_; }
    SoftButton* tryButton() const { return try_; }
    SymbolLabel* statusSymbol() const { return status_; }

private:
    void choose();

    DewbellStore* store_;
    CharacterPack pack_;
    bool current_ = false;
    CardButton* picture_;
    SymbolLabel* status_;
    PlainButton* choose_;
    SoftButton* try_;
};
