#pragma once

#include <QDateTime>
#include <functional>
#include <optional>
#include <stdexcept>

// What the update manager needs of an update engine. The manager makes one driver through its
// factory and talks to nothing else.
class UpdateDriving {
public:
    virtual ~UpdateDriving() = default;

    // A user-initiated check may start now.
    virtual bool canCheck() const = 0;
    virtual bool automaticallyChecks() const = 0;
    virtual void setAutomaticallyChecks(bool on) = 0;
    virtual bool automaticallyDownloads() const = 0;
    virtual void setAutomaticallyDownloads(bool on) = 0;
    // Whether automatic download and installation may be switched on.
    virtual bool allowsAutomaticDownloads() const = 0;
    virtual std::optional<QDateTime> lastCheck() const = 0;

    // Starts the engine; throws a std::runtime_error (or a subclass, such as UpdateStartError)
    // whose what() is a sentence for the user.
    virtual void start() = 0;
    // Starts a user-initiated check.
    virtual void check() = 0;

    // Called (on the main thread) whenever any of the readings above may have changed.
    std::function<void()> onChange;
};

class UpdateStartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
