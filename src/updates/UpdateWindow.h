#pragma once

#include "updates/UpdateSession.h"

#include <QWidget>

class CapsuleButton;
class CapsuleProgress;
class QLabel;
class ReleaseNotesView;

// The small update window: what a check found, the download's progress, an update ready to
// install (or to save, where Dewbell cannot replace its own files) and what went wrong. It
// shows the session's status and answers each click with one action of the session.
class UpdateWindow : public QWidget {
    Q_OBJECT
public:
    explicit UpdateWindow(UpdateSession* session, QWidget* parent = nullptr);

    void present();
    // Shows one status; the window follows its session by itself.
    void render(const UpdateStatus& status);

signals:
    void installAndRelaunchRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void connectButtons();
    void showTexts(const UpdateStatus& status);
    void showControls(UpdatePhase phase);
    void chooseWhereToSave();

    UpdateSession* session_;
    UpdateStatus shown_;
    QLabel* title_;
    QLabel* body_;
    QLabel* detail_;
    QLabel* command_;
    QLabel* problem_;
    ReleaseNotesView* notes_;
    CapsuleProgress* progress_;
    CapsuleButton* skip_;
    CapsuleButton* remindLater_;
    CapsuleButton* install_;
    CapsuleButton* cancel_;
    CapsuleButton* later_;
    CapsuleButton* relaunch_;
    CapsuleButton* close_;
    CapsuleButton* save_;
    CapsuleButton* ok_;
};
