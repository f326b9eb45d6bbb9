#pragma once

#include <QList>
#include <QWidget>

class CardButton;
class DewbellStore;
class QLabel;

// "Reminders": water reminders on or off and how often, the companion's personality, quiet
// hours, the pop sound, the glass size and the daily goal. Every control is tied to its
// preference through the store; the page itself only follows the personality and quiet hours.
class RemindersPage : public QWidget {
    Q_OBJECT
public:
    explicit RemindersPage(DewbellStore* store, QWidget* parent = nullptr);

    // The glass sizes and reminder intervals offered, in order.
    static const QList<int>& glassSizes();
    static const QList<int>& intervals();

private:
    QWidget* makeWaterCard();
    QWidget* makePersonalityBlock();
    QWidget* makeQuietCard();
    void refresh();

    DewbellStore* store_;
    QList<CardButton*> personalityCards_;
    QLabel* escalation_ = nullptr;
    QWidget* quietHours_ = nullptr;
};
