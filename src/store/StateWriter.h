#pragma once

#include "model/SavedState.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>
#include <functional>
#include <optional>

class QThread;
class StateFile;

// Writes the saved state through its StateFile: at once on the calling thread, or in the
// background on a worker thread of its own, from a copy of the state, so that encoding years of
// history never holds up the interface. One background write runs at a time; a state handed in
// meanwhile is written next, and only the newest one. A write at once first waits for the one
// in flight and reports it, so an older state can never land after a newer one.
class StateWriter : public QObject {
    Q_OBJECT
public:
    // How a background write went.
    struct Outcome {
        std::optional<QString> failure;
        // The state handed in, and what the file now holds when the write succeeded.
        SavedState handedIn;
        SavedState written;
        // StateFile's sentence when the oldest history went to an archive file, and which
        // records went there: the owner takes them out of its own state.
        std::optional<QString> archived;
        QSet<QUuid> archivedRecords;
    };

    // `finished` hears each background write's outcome, on the owner's thread.
    StateWriter(StateFile& file, std::function<void(const Outcome&)> finished, QObject* parent = nullptr);
    // Waits for a write in flight (its outcome is no longer reported).
    ~StateWriter() override;

    // StateFile::save on `state`, after the write in flight.
    std::optional<QString> writeNow(SavedState& state);
    void writeInBackground(const SavedState& state);
    // Waits for the write in flight and reports it. A state waiting to be written next is
    // dropped: the caller writes the newest one itself.
    void waitForWrite();
    // A state waiting to be written next becomes `state`: once an archive has taken records out
    // of the owner's state, the waiting copy must not bring them back.
    void replaceWaiting(const SavedState& state);

    bool isWriting() const { return worker_ != nullptr; }

private:
    void collect();
    void workerFinished(quint64 generation);

    StateFile& file_;
    std::function<void(const Outcome&)> finished_;
    QThread* worker_ = nullptr;
    quint64 generation_ = 0;
    std::shared_ptr<Outcome> outcome_;
    std::optional<SavedState> next_;
};
