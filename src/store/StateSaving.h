#pragma once

#include "store/ChangeBatcher.h"
#include "store/StateFile.h"
#include "store/StateWriter.h"

#include "model/SavedState.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

// What the store does when a write tells the user something or takes history away.
class SaveHost {
public:
    virtual void showNotice(const std::optional<QString>& notice) = 0;
    // Takes the notice down if it still says `notice`.
    virtual void withdrawNotice(const QString& notice) = 0;
    virtual void historyChanged() = 0;

protected:
    ~SaveHost() = default;
};

// Brings the saved state to its file. An action's change is written at once (save): on the
// calling thread, or in the background once the history is so long that encoding it would hold
// up the interface. Edits made keystroke by keystroke are written together in the background
// once the user pauses (saveSoon). Nothing is written while the file already holds the state.
// The sentence of a failed write is kept, and the write tried again on the store's clock with a
// growing pause, until a write succeeds. A store that does not persist changes writes nothing.
class StateSaving {
public:
    struct Options {
        QString directory;
        bool persistChanges = false;
        StateFileOptions stateFile = {};
    };

    // `now` is the store's clock, which paces the retries of a failed write.
    StateSaving(const Options& options, SavedState& state, const QDateTime& now, ChangeBatcher& changes,
                SaveHost& host);

    // Reads the state file into the state; the notice the file leaves for the user, if any.
    std::optional<QString> load();

    void saveSoon();
    void save();
    // Writes whatever the file lacks on the calling thread, long history or not, and returns once
    // it is on disk: for quitting.
    void saveAndWait();
    // While a failure is shown, tries the write again once its pause has passed.
    void retryIfDue();
    // True while a change is not on disk yet: an edit waits for the user to pause, or a write runs
    // in the background.
    bool hasUnsavedChanges() const { return timer_.isActive() || writer_->isWriting(); }
    const std::optional<QString>& failure() const { return failure_; }

private:
    enum class Attempt { action, retry };

    bool fileHoldsState() const;
    bool historyIsLong() const;
    void write(Attempt attempt);
    void writeNow(Attempt attempt);
    void writeInBackground(Attempt attempt);
    void failed(const QString& sentence, Attempt attempt);
    void succeeded(const SavedState& written, const std::optional<QString>& archived);
    void writeNoLongerOwed();
    void failureEnded();
    void backgroundWriteFinished(const StateWriter::Outcome& outcome);

    bool persistChanges_;
    qsizetype backgroundFromRecords_;
    SavedState& state_;
    const QDateTime& now_;
    ChangeBatcher& changes_;
    SaveHost& host_;
    std::unique_ptr<StateFile> file_;
    // Declared after the file it writes, so that it is gone (its write finished) before the file.
    std::unique_ptr<StateWriter> writer_;
    QTimer timer_;
    QElapsedTimer unsavedSince_;
    // What the file holds, as far as Dewbell wrote or read it; none when unknown.
    std::optional<SavedState> onDisk_;
    std::optional<QString> failure_;
    // Failed writes in a row, and when the next try is due.
    int failedWrites_ = 0;
    std::optional<QDateTime> retryAt_;
    // Whether the write running in the background was only a retry, whose failure the user has
    // already been told.
    bool retryInBackground_ = false;
};
