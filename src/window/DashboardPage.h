#pragma once

#include <QWidget>

class BuddyView;
class ClampedLabel;
class CapsuleProgress;
class DewbellStore;
class FigureLabel;
class HeroPicture;
class PlainButton;
class QLabel;
class SoftButton;

// "Your day": the companion on duty with a preview, today's water against the goal with the
// drink and undo buttons, the time until the next reminder with pause or resume, and a closing
// line. Every figure comes from the store and every button calls one store action; the page
// updates its labels in place whenever the store publishes a change.
class DashboardPage : public QWidget {
    Q_OBJECT
public:
    explicit DashboardPage(DewbellStore* store, QWidget* parent = nullptr);

    // Litres with two significant digits ("0.75", "1.5", "12"); whole litres from 100 on,
    // where two digits would read "1e+02". Takes today's total as the store counts it, past
    // what an int holds.
    static QString litres(qint64 millilitres);

private:
    QWidget* makeTitle();
    QWidget* makeHero();
    QWidget* makeWaterCard();
    QWidget* makeReminderCard();
    QWidget* makeClosingLine();
    void refresh();

    DewbellStore* store_;
    ClampedLabel* companionLine_ = nullptr;
    QLabel* personalityLine_ = nullptr;
    HeroPicture* picture_ = nullptr;
    FigureLabel* total_ = nullptr;
    FigureLabel* goal_ = nullptr;
    CapsuleProgress* progress_ = nullptr;
    SoftButton* drink_ = nullptr;
    PlainButton* undo_ = nullptr;
    FigureLabel* countdown_ = nullptr;
    ClampedLabel* status_ = nullptr;
    SoftButton* pause_ = nullptr;
};
