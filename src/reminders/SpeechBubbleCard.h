#pragma once

#include "reminders/CardFrame.h"

#include <functional>

class ClampedLabel;
class DewbellStore;
class PlainButton;
class PrimaryButton;
class QLabel;
class SoftButton;

// The water reminder's speech bubble: who is speaking and why, the companion's line, the love
// note and its signature, and, until the user has answered, the answers.
//
// Children carry object names for tests and tools: "header", "closeButton", "headline",
// "loveNote", "signature", "answerRow", "drankButton", "notYetButton", "detailRow", "detail",
// "pauseButton", "footer".
class SpeechBubbleCard : public CardFrame {
    Q_OBJECT
public:
    explicit SpeechBubbleCard(DewbellStore* store, QWidget* parent = nullptr);

    // Reads the store again.
    void refresh();

private:
    void buildHeader();
    void buildAnswers();
    static QString headline(const DewbellStore& store, bool responding);

    DewbellStore* store_;
    QLabel* header_;
    PlainButton* close_;
    ClampedLabel* headline_;
    ClampedLabel* loveNote_;
    QLabel* signature_;
    QWidget* answerRow_;
    PrimaryButton* drank_;
    SoftButton* notYet_;
    QWidget* detailRow_;
    QLabel* detail_;
    PlainButton* pause_;
    QLabel* footer_;
    std::function<void()> pauseLive_;
    std::function<void()> closePreview_;
};
