#pragma once

#include <QWidget>

class BuddyView;
struct CharacterPack;

// The dashboard's companion: its still, neutral picture over a faint disc and ring in the
// companion's tint.
class HeroPicture : public QWidget {
    Q_OBJECT
public:
    explicit HeroPicture(const CharacterPack& pack, QWidget* parent = nullptr);

    void setPack(const CharacterPack& pack);
    BuddyView* buddy() const { return buddy_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BuddyView* buddy_;
    QColor tint_;
};
