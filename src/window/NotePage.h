#pragma once

#include <QWidget>

class ClampedLabel;
class DewbellStore;
class QLabel;
class QPlainTextEdit;

// "A note for you": pet names or the user's own name, who the reminders are from, and the
// love note every water reminder carries, with a live preview of it; a preview reminder; and
// saving or opening a care package (the store runs the file dialogs and reports the outcome in
// its notice).
class NotePage : public QWidget {
    Q_OBJECT
public:
    explicit NotePage(DewbellStore* store, QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return editor_; }

    // What the preview shows for a note: the note itself, or a fallback when it is empty.
    static QString previewText(const QString& loveNote);

private:
    QWidget* makeSettingsCard();
    QWidget* makePreview();
    QWidget* makeCarePackage();
    void refresh();

    DewbellStore* store_;
    QWidget* recipientField_ = nullptr;
    QPlainTextEdit* editor_ = nullptr;
    ClampedLabel* preview_ = nullptr;
    QLabel* senderLine_ = nullptr;
};
