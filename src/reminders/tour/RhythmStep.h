#pragma once

#include "model/Preferences.h"
#include "model/ReminderKind.h"

#include <QWidget>

class BreakInfoButton;
class DewbellStore;
class QLabel;
class TourStepperRow;
class TrailingSwitch;
class UrlOpener;
struct TourChoices;

// The tour's third step: how often to drink, whether quiet hours apply, how long a one-click
// Focus lasts, and whether eye-rest and movement breaks are on. The numbers of the quiet hours
// and of the breaks are the stored ones; the tour only switches them on or off.
class RhythmStep : public QWidget {
    Q_OBJECT
public:
    RhythmStep(const DewbellStore* store, TourChoices& choices, UrlOpener* opener, QWidget* parent = nullptr);

    // Follows the stored quiet hours and break rhythms.
    void refresh();

    static QString quietLabel(const Preferences& preferences);
    static QString eyeRestSentence(const BreakPreferences& breaks);
    static QString movementSentence(const BreakPreferences& breaks);

private:
    QWidget* breakToggle(const QString& title, bool isOn, ReminderKind kind, const QString& name);
    // The row's buttons move `minutes` one step down or up within [least, most], then call `showMinutes`.
    void connectSteps(TourStepperRow* row, int& minutes, int least, int most, void (RhythmStep::*showMinutes)());
    void showWater();
    void showFocus();

    const DewbellStore* store_;
    TourChoices& choices_;
    UrlOpener* opener_;
    TourStepperRow* water_;
    TourStepperRow* focus_;
    TrailingSwitch* quiet_;
    QLabel* eyeRestText_;
    QLabel* movementText_;
    BreakInfoButton* eyeRestInfo_ = nullptr;
    BreakInfoButton* movementInfo_ = nullptr;
};
