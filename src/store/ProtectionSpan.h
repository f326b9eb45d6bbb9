#pragma once

#include <QDateTime>
#include <optional>

// How long a protection the user started lasts: until a time, or until the user ends it.
struct ProtectionSpan {
    std::optional<QDateTime> until;
    bool indefinite = false;

    // None: until ended. A length is clamped to the focus limits (5 to 240 minutes).
    static ProtectionSpan starting(const QDateTime& now, std::optional<int> minutes);

    bool isOn(const QDateTime& now) const { return indefinite || (until && *until > now); }
    // Forgets an end time that has passed; a protection until ended stays.
    void clearIfOver(const QDateTime& now);

    bool operator==(const ProtectionSpan&) const = default;
};
