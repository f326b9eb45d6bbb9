#pragma once

#include "model/Preferences.h"
#include "model/ReminderKind.h"
#include "platform/UrlOpener.h"

#include <QUrl>
#include <QWidget>

class DewbellStore;
class PageCard;
class QLabel;
class QVBoxLayout;
class Stepper;

// The "Focus & breaks" page: starts and ends focus and meeting protection, switches and
// tunes the eye-rest and movement breaks, previews them, counts today's breaks and links to
// two pages of guidance. Every preference goes through the store; the only state of its own
// is the meeting length picked before starting protection, 60 minutes on every new page.
class WellbeingView : public QWidget {
    Q_OBJECT
public:
    explicit WellbeingView(DewbellStore* store, UrlOpener& opener = UrlOpener::desktop(), QWidget* parent = nullptr);

    // The guidance pages: the 20-20-20 rule, and breaks in work at display screens.
    static QUrl eyeRestGuidance();
    static QUrl workBreakGuidance();

private:
    PageCard* makeFocusCard();
    PageCard* makeMeetingCard();
    PageCard* makeBreaksCard();
    QWidget* makeEyeRestGroup(QWidget* parent);
    QWidget* makeMovementGroup(QWidget* parent);
    // A column of break settings, shown while its break is switched on.
    QWidget* makeBreakGroup(const char* name, QWidget* parent);
    // Names `stepper`, ties it to the break setting `setting` and adds it to `group`.
    void addBreakStepper(QWidget* group, Stepper* stepper, const char* name, int BreakPreferences::*setting);
    // A button that shows a reminder of `kind` at once, to see what it looks like.
    void addPreviewButton(QWidget* group, const QString& text, const char* name, ReminderKind kind);
    QWidget* makeGuidanceLinks(QWidget* parent);
    void refresh();

    DewbellStore* store_;
    UrlOpener& opener_;
    QWidget* focusRunning_ = nullptr;
    QWidget* focusIdle_ = nullptr;
    QWidget* endFocus_ = nullptr;
    QWidget* startFocus_ = nullptr;
    QLabel* focusStatus_ = nullptr;
    QWidget* meetingRunning_ = nullptr;
    QWidget* meetingIdle_ = nullptr;
    QWidget* endMeeting_ = nullptr;
    QWidget* protectSession_ = nullptr;
    Stepper* meetingMinutes_ = nullptr;
    QWidget* eyeRestGroup_ = nullptr;
    QWidget* movementGroup_ = nullptr;
    QLabel* completedBreaks_ = nullptr;
};
