#pragma once

#include "store/ChangeBatcher.h"
#include "store/StateFile.h"
#include "store/StateWriter.h"

#include "model/SavedState.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

// What the store does when a write tells the user something or takes history away.
class SaveHost {
public:
    virtual void showNotice(const std::optional<QString>& notice) = 0;
    virtual void historyChanged() = 0;

protected:
    ~SaveHost() = default;
};

// Brings the saved state to its file: at once (save), or, for edits made keystroke by keystroke,
// together in the background once the user pauses (saveSoon). Keeps the sentence of a failed
// write until a write succeeds. A store that does not persist changes writes nothing.
class StateSaving {
public:
    struct Options {
        QString directory;
        bool persistChanges = false;
        StateFileOptions stateFile = {};
    };

    StateSaving(const Options& options, SavedState& state, ChangeBatcher& changes, SaveHost& host);

    // Reads the state file into the state; the notice the file leaves for the user, if any.
    std::optional<QString> load();

    void saveSoon();
    void save();
    bool hasUnsavedEdits() const { return timer_.isActive(); }
    const std::optional<QString>& failure() const { return failure_; }

private:
    void failed(const QString& sentence);
    void savedWithout(const std::optional<QString>& archived);
    void backgroundWriteFinished(const StateWriter::Outcome& outcome);

    bool persistChanges_;
    SavedState& state_;
    ChangeBatcher& changes_;
    SaveHost& host_;
    std::unique_ptr<StateFile> file_;
    // Declared after the file it writes, so that it is gone (its write finished) before the file.
    std::unique_ptr<StateWriter> writer_;
    QTimer timer_;
    QElapsedTimer unsavedSince_;
    std::optional<QString> failure_;
};
