#pragma once

#include "model/LocalFiles.h"
#include "model/SavedState.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// How "state.json" is read and written.
struct StateFileOptions {
    // The largest "state.json" that is written, and the size past which the oldest history moves
    // to an archive file.
    qint64 limit = LocalFiles::stateLimit;
    // The largest "state.json" that is read. A file between the limit and this one was not grown
    // here (it came from a machine with a longer history, or from a newer Dewbell): it is read
    // and split as the writer splits. Only a damaged or hostile file is larger.
    qint64 ceiling = 1024 * LocalFiles::MiB;
    // A history of at least this many records is written in the background even after an
    // action: encoding it would hold up the interface for more than a frame.
    qsizetype backgroundFromRecords = 50'000;
    // What the file layer says about a path before it is read. Tests hand in their own answer:
    // a permission error cannot be staged when they run as root.
    std::function<LocalFiles::PathStatus(const QString& path)> probe = LocalFiles::pathStatus;
    // How a file is written whole; tests hand in a disk that fails. Called on the writer's
    // thread, which may be a background one.
    std::function<void(const QString& path, const QByteArray& bytes)> write = LocalFiles::writeAtomically;
};

// "state.json" in the private folder. A user's history is never lost: whatever cannot be read,
// or can be read only in part, is kept aside under a dated name before anything is written over
// it; a file that cannot even be looked at blocks saving altogether; data of the first format
// is copied once to "state-before-v2.json"; a file past the limit is split at load as the
// writer splits; and the writer never writes more than the reader accepts. Another program's
// file is never written over: one that holds none of the state's keys is kept aside like an
// unreadable one, and a "state.json" that is a link is written through (the target replaced
// whole, its mode kept) only when it points to a regular file of the user's that reads as a state.
class StateFile {
public:
    // `persist` false leaves every file on disk untouched.
    StateFile(const QString& folder, bool persist, StateFileOptions options = {});

    struct Loaded {
        SavedState state;
        // Set when the saved data could not be used as it was.
        std::optional<QString> notice;
        // The file holds exactly `state`: nothing was dropped, corrected or migrated on the way.
        bool asOnDisk = false;
    };

    Loaded load();

    // Writes atomically (0600, folder 0700). When the history would make the file larger than
    // the limit, its oldest records are first written to an archive file beside it and taken out
    // of `state`, and the returned sentence says where they went. Throws ImportError with a
    // readable description; nothing is taken out of `state` then.
    std::optional<QString> save(SavedState& state);

    QString path() const;

    // Why nothing may be written, when the saved data could neither be read nor kept aside.
    std::optional<QString> writeBlocked() const { return writeBlocked_; }
    // Why nothing can be saved, as found at load: writing is blocked, or the folder can't be
    // written (then saves are still tried, and succeed once it can).
    std::optional<QString> cannotWrite() const { return writeBlocked_ ? writeBlocked_ : unwritable_; }

private:
    Loaded read();
    std::optional<QString> refusedLink();
    void sayIfUnwritable(Loaded& loaded);
    void writeState(const QByteArray& bytes);
    Loaded startFresh(const QString& why, const QString& keptAs, const QString& whatToDo = {});
    Loaded keepAsideTooLarge(qint64 size);
    void splitPastTheLimit(Loaded& loaded);
    Loaded keepOut(const LocalFiles::PathStatus& status);
    std::optional<QString> keepPartlyRead(const DecodedState& decoded, const QByteArray& bytes);
    std::optional<QString> keepAside();
    std::optional<QString> keepCopy(const QString& prefix, const QByteArray& bytes);
    void backUpFirstFormat(const QByteArray& bytes);
    QString archiveOldest(SavedState& state, qint64 encodedSize);

    QString folder_;
    bool persist_;
    StateFileOptions options_;
    // Data that could neither be read nor kept aside must not be written over.
    std::optional<QString> writeBlocked_;
    std::optional<QString> unwritable_;
    // The file a linked "state.json" pointed to when it was read as a state.
    std::optional<QString> linkTarget_;
};
