#pragma once

#include "model/CharacterPack.h"

#include <QAbstractButton>

// One companion to choose on the tour's crew step: the pack's name on a small rounded card,
// white on Palette::primary while it is the chosen one. Assistive technology hears "Choose"
// and the name, and "Selected" for the chosen card.
class CompanionCard : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr qreal fontSize = 11;
    // The name may shrink to this share of its size before it is cut short.
    static constexpr qreal minimumScale = 0.7;

    explicit CompanionCard(const CharacterPack& pack, QWidget* parent = nullptr);

    QString packID() const { return id_; }
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

    // The name as drawn at the card's width: its font size, and the text (elided only when
    // even the smallest size does not fit).
    qreal shownFontSize() const;
    QString shownName() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont fontAt(qreal size) const;
    int textWidth() const;

    QString id_;
    bool selected_ = false;
};
