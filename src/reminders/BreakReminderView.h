#pragma once

#include <QWidget>

class CardFrame;
class ClampedLabel;
class CountdownLabel;
class DewbellStore;
class PictureButton;
class PlainButton;
class PrimaryButton;
class QLabel;
class SoftButton;
class WellnessBuddy;

// The eye-rest and movement reminder: an invitation to a break with a sticker of the companion
// below it, then, once the break has started, a countdown.
//
// Children carry object names for tests and tools: "header", "closeButton", "title", "prompt",
// "instruction", "startRow", "startButton", "laterButton", "skipButton", "footer", "countdown",
// "reassurance", "runningRow", "stopButton", "extendMinuteButton", "extendSecondsButton",
// "sticker".
class BreakReminderView : public QWidget {
    Q_OBJECT
public:
    explicit BreakReminderView(DewbellStore* store, QWidget* parent = nullptr);

    // Reads the store again; a view on screen does so whenever the store changes.
    void refresh();

    // The sticker frame of a reminder: its identifier's first byte picks among the kind's poses.
    static int stickerFrame(const DewbellStore& store);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

    static constexpr int fullWidth = 410;

private:
    void buildCard();
    void buildStartRows();
    void buildRunningRows();
    void buildSticker();
    void refreshSticker();

    DewbellStore* store_;
    CardFrame* card_;
    QLabel* header_;
    PlainButton* close_;
    QLabel* title_;
    ClampedLabel* prompt_;
    QLabel* instruction_;
    QWidget* startRow_;
    PrimaryButton* start_;
    SoftButton* later_;
    PlainButton* skip_;
    QLabel* footer_;
    CountdownLabel* countdown_;
    QLabel* reassurance_;
    QWidget* runningRow_;
    SoftButton* stop_;
    SoftButton* extendMinute_;
    SoftButton* extendSeconds_;
    PictureButton* sticker_;
    WellnessBuddy* stickerPicture_;
};
