#pragma once

#include "model/SavedState.h"

#include <QByteArray>
#include <QString>
#include <optional>

// "state.json" in the private folder. Loading never loses what is on disk: a file that cannot
// be read is kept aside under a dated name before anything new is written, and data of the
// first format is copied once to "state-before-v2.json".
class StateFile {
public:
    // `persist` false leaves every file on disk untouched.
    StateFile(const QString& folder, bool persist);

    struct Loaded {
        SavedState state;
        // Set when the saved data could not be used as it was.
        std::optional<QString> notice;
    };

    Loaded load();
    // Writes atomically (0600, folder 0700). Throws ImportError with a readable description.
    void save(const SavedState& state);

    QString path() const;

private:
    Loaded startFresh();
    std::optional<QString> keepAside();
    void backUpFirstFormat(const QByteArray& bytes);

    QString folder_;
    bool persist_;
    // An unreadable file that could not be moved aside must not be written over.
    bool mayWrite_ = true;
};
