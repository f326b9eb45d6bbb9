#pragma once

#include "ui/FilledCard.h"

class QLabel;
class QVBoxLayout;

// A titled card of the focus and settings pages: the title in small letter-spaced capitals,
// then the card's content, 14 points apart, 21 points in from every edge of a rounded
// Palette::surface rectangle that takes the page's full width.
//
// A font set on the card is the default of everything inside it but the title.
class PageCard : public FilledCard {
    Q_OBJECT
public:
    explicit PageCard(const QString& title, QWidget* parent = nullptr);

    // Where the card's content goes, below the title.
    QVBoxLayout* content() const { return content_; }

    static constexpr int spacing = 14;
    static constexpr int padding = 21;
    static constexpr qreal cornerRadius = 16;

private:
    QVBoxLayout* content_;
};

// The caps title of a card: 9 points, semibold, tracked 1.3, Palette::muted.
QLabel* makeCardTitle(const QString& title, QWidget* parent);

// Text of a disabled label, stepper or picker on `page` dims the way a disabled switch does.
void dimDisabledText(QWidget* page);
