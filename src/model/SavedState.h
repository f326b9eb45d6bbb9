#pragma once

#include "model/HistoryRecords.h"
#include "model/Preferences.h"
#include "model/ReminderKind.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QUuid>
#include <optional>

struct SavedState {
    static constexpr int currentSchemaVersion = 2;

    int schemaVersion = currentSchemaVersion;
    Preferences preferences;
    QList<Drink> drinks;
    QDateTime nextDue = QDateTime::fromSecsSinceEpoch(978307200, Qt::UTC);
    std::optional<QDateTime> pausedUntil;
    std::optional<QDateTime> nextEyeDue;
    std::optional<QDateTime> nextMovementDue;
    std::optional<QDateTime> focusUntil;
    bool focusIndefinite = false;
    std::optional<QDateTime> meetingUntil;
    bool meetingIndefinite = false;
    QList<BreakRecord> breakHistory;
    std::optional<ReminderKind> activeBreakKind;
    int tourVersion = 0;

    bool operator==(const SavedState&) const = default;
};

QJsonObject encode(const SavedState& state);

struct DecodedState {
    SavedState state;
    // The file had no schemaVersion (or one below the current): it needs a one-time backup.
    bool migratedFromVersion1 = false;
    // Malformed drinks and break records skipped so that the rest of the history survives.
    int droppedRecords = 0;
    // Records kept with a value brought within what Dewbell records (RecordLimits).
    int correctedRecords = 0;
    // The object holds keys but none of the state's: another program's file, not an empty or
    // older state (those hold some of the keys, or none at all).
    bool foreign = false;
};

// Every key is optional. A top-level value that is not an object is an error.
DecodedState decodeSavedState(const QJsonObject& json);

// Whole-file coding of "state.json". decodeStateFile throws ImportError when the bytes
// are not a JSON object. A file in the writer's own form is read record by record without a
// JSON object per record, so decades of history load in a fraction of the time and memory;
// any other form of the same JSON reads the same.
QByteArray encodeStateFile(const SavedState& state);
DecodedState decodeStateFile(const QByteArray& bytes);
// As decodeStateFile, for files too large to parse whole safely (the parser's tree takes many
// times the file's size): only record by record, and an ImportError for a file that would need
// the parser's reading of the whole.
DecodedState decodeLargeStateFile(const QByteArray& bytes);
