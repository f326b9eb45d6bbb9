#pragma once

#include <QDateTime>
#include <QWidget>

class CapsuleProgress;
class DewbellStore;
class PlainButton;
class PrimaryButton;
class QLabel;
class QTimeZone;
class SoftButton;
class UpdateCheckButton;

// The popover's content, one column 350 wide: when the next reminder comes, today's water
// with the drink button, focus, pause and meeting protection, the update check, and links
// into the main window. Every button calls one store action or asks its owner through one of
// the signals.
class MenuBarView : public QWidget {
    Q_OBJECT
public:
    static constexpr int viewWidth = 350;

    explicit MenuBarView(DewbellStore* store, QWidget* parent = nullptr);

    // Reads the store again (done on every change while the view is on screen).
    void render();

    // "in N min", N rounded up; "soon" once the date is now or past.
    static QString countdownText(const QDateTime& due, const QDateTime& now);
    // The card's headline while no reminder is coming up.
    static QString headline(const DewbellStore& store);
    // "Around <time> · your pace, your choice", the time of day in `zone` in the user's short
    // format, without seconds.
    static QString aroundText(const QDateTime& due, const QTimeZone& zone);

signals:
    // Show the main window on "Your day", "The little crew" or "Settings".
    void openDashboard();
    void openCrew();
    void openSettings();
    // Save and end the application.
    void quit();

private:
    QWidget* makeHeader();
    QWidget* makeNextHelloCard();
    QWidget* makeWater();
    QWidget* makeFocusAndPause();
    QWidget* makeLinks();
    QWidget* makeFooter();
    void renderNextHello();
    void renderWater();
    void renderProtection();

    DewbellStore* store_;

    class HelloForms;
    HelloForms* helloForms_ = nullptr;
    QLabel* kindTitle_ = nullptr;
    QLabel* countdown_ = nullptr;
    QLabel* around_ = nullptr;
    QLabel* headline_ = nullptr;
    PlainButton* undo_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* goal_ = nullptr;
    QLabel* millilitres_ = nullptr;
    CapsuleProgress* progress_ = nullptr;
    PrimaryButton* drink_ = nullptr;
    SoftButton* focus_ = nullptr;
    SoftButton* pause_ = nullptr;
    PlainButton* meeting_ = nullptr;
    QLabel* saveFailure_ = nullptr;
};
