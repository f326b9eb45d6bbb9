#pragma once

#include "model/CharacterPack.h"
#include "reminders/tour/TourChoices.h"
#include "ui/OnScreenWidget.h"

#include <QPointer>
#include <QStringList>
#include <functional>

class DewbellStore;
class PlainButton;
class PrimaryButton;
class QLabel;
class QVBoxLayout;
class SoftButton;
class TourProgress;
class UrlOpener;

// The four-step first-run tour: crew, name, rhythm and home. The user's choices stay inside the
// tour while they move between the steps; the last step's button hands them all to the store
// at once (completeTour), "Skip tour" or Escape drops them (finishTour). Return is the primary
// button. While the home step is on screen the tour asks the store to point out the tray icon.
class OnboardingView : public OnScreenWidget {
    Q_OBJECT
public:
    static constexpr QSize contentSize{620, 700};
    static constexpr int lastStep = 3;

    // `initialStep` is clamped to the four steps. The documentation link opens through `opener`.
    OnboardingView(DewbellStore* store, int initialStep, UrlOpener* opener, QWidget* parent = nullptr);
    ~OnboardingView() override;

    int step() const { return step_; }
    const TourChoices& choices() const { return choices_; }
    // The companion the crew and name steps show: the pending one, else the store's.
    CharacterPack buddy() const;
    QWidget* stepView() const { return stepView_; }

    static const QStringList& titles();
    static const QStringList& subtitles();

protected:
    void onScreenChanged(bool onScreen) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeHostRow();
    QWidget* makeNavigation();
    void goTo(int step);
    void showStep();
    void next();
    void skip();
    void orderFocus();

    QPointer<DewbellStore> store_;
    UrlOpener* opener_;
    TourChoices choices_;
    int step_;
    PlainButton* skip_ = nullptr;
    TourProgress* progress_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* subtitle_ = nullptr;
    QVBoxLayout* stepArea_ = nullptr;
    QWidget* stepView_ = nullptr;
    std::function<void()> refreshStep_;
    SoftButton* back_ = nullptr;
    PrimaryButton* primary_ = nullptr;
};
