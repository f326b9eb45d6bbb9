#include "platform/SystemContext.h"

#include "model/AppBundle.h"
#include "model/EnumTable.h"
#include "model/Preferences.h"

#include <array>
#include <cmath>

namespace {

constexpr std::array<EnumTable::Text<FocusAuthorization>, 4> focusSentences{{
    {FocusAuthorization::authorized, "Following your desktop's Do Not Disturb."},
    {FocusAuthorization::notDetermined, "Focus sharing hasn't been allowed yet. Manual Focus still works."},
    {FocusAuthorization::restricted, "Do Not Disturb status is unavailable on this desktop. Manual Focus still works."},
    {FocusAuthorization::denied, "Do Not Disturb can't be read on this desktop. Manual Focus still works."},
}};

QString focusSentence(FocusAuthorization authorization)
{
    return EnumTable::textOf(focusSentences, authorization);
}

// Input times that are negative, infinite or undefined say nothing.
std::optional<double> usableSeconds(std::optional<double> seconds)
{
    if (seconds && std::isfinite(*seconds) && *seconds >= 0)
        return seconds;
    return std::nullopt;
}

void startSource(StateSource* source, std::function<void(bool)> deliver)
{
    if (source)
        source->start(std::move(deliver));
}

}  // namespace

SystemContext::SystemContext(QObject* parent) : SystemContext(SystemReadings::ofThisDesktop(), parent)
{ }

SystemContext::SystemContext(SystemReadings readings, QObject* parent) : QObject(parent), readings_(std::move(readings))
{
    startWatching();
}

SystemContext::~SystemContext() = default;

void SystemContext::startWatching()
{
    startSource(readings_.displaySleep.get(), [this](bool asleep) { setDisplaySleeping(asleep); });
    startSource(readings_.systemSleep.get(), [this](bool asleep) { setSystemSleeping(asleep); });
    startSource(readings_.lock.get(), [this](bool isLocked) { setLocked(isLocked); });
    startSource(readings_.sessionActive.get(), [this](bool active) { setSessionActive(active); });
}

void SystemContext::checkClocks()
{
    if (readings_.systemSleep)
        readings_.systemSleep->poll();
}

void SystemContext::setSystemSleeping(bool asleep)
{
    systemSleeping_ = asleep;
    refreshSleep();
}

void SystemContext::setDisplaySleeping(bool asleep)
{
    displaySleeping_ = asleep;
    refreshSleep();
}

void SystemContext::setLocked(bool isLocked)
{
    locked_ = isLocked;
    followPresence(isLocked);
}

void SystemContext::setSessionActive(bool active)
{
    announceChange(sessionInactive_, !active);
    followPresence(!active);
}

void SystemContext::refreshSleep()
{
    announceChange(sleeping_, systemSleeping_ || displaySleeping_);
    followPresence(sleeping_);
}

void SystemContext::followPresence(bool away)
{
    if (away)
        suppress();
    else
        resumeIfActive();
}

template<typename T>
void SystemContext::announceChange(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

// Every return calls onResume, also when the user already counted as back: the receiver
// treats each call as a fresh return.
void SystemContext::resumeIfActive()
{
    if (!sleeping_ && !sessionInactive_ && !locked_ && onResume)
        onResume();
}

void SystemContext::suppress()
{
    if (onSuppress)
        onSuppress();
}

SnapshotOptions SnapshotOptions::forSafeguards(const SafeguardPreferences& safeguards)
{
    SnapshotOptions options;
    options.activity = safeguards.flowDelay;
    options.idle = safeguards.pauseWhenIdle;
    options.microphone = safeguards.microphoneGuard;
    options.mirroring = safeguards.mirrorGuard;
    options.selectedApps = !safeguards.protectedApps.isEmpty();
    options.followFocus = safeguards.followSystemFocus;
    return options;
}

ContextSnapshot SystemContext::snapshot(const SnapshotOptions& options)
{
    std::optional<bool> doNotDisturbOn;
    if (options.followFocus)
        doNotDisturbOn = refreshFocus();

    ContextSnapshot snapshot;
    snapshot.isLocked = locked_ || sessionInactive_;
    snapshot.isSleeping = sleeping_;
    if (options.activity && readings_.keyOrClick)
        snapshot.recentInputSeconds = usableSeconds(readings_.keyOrClick->secondsSinceKeyOrClick());
    if (options.idle && readings_.idle)
        snapshot.inputIdleSeconds = usableSeconds(readings_.idle->secondsSinceAnyInput());
    if (options.microphone && readings_.microphone)
        snapshot.microphoneActive = readings_.microphone->microphoneInUse();
    if (options.mirroring && readings_.mirroring)
        snapshot.screenMirrored = readings_.mirroring->screenMirrored();
    if (options.selectedApps && readings_.frontApplication)
        snapshot.frontmostBundleID = readings_.frontApplication->frontApplicationID();
    snapshot.systemFocused = doNotDisturbOn;
    return snapshot;
}

void SystemContext::refreshFocusStatus()
{
    refreshFocus();
}

// Sets the status sentence and gives the Do Not Disturb state that an authorized source shares.
std::optional<bool> SystemContext::refreshFocus()
{
    if (!readings_.doNotDisturb) {
        setFocusStatusText(focusSentence(FocusAuthorization::restricted));
        return std::nullopt;
    }
    const FocusAuthorization authorization = readings_.doNotDisturb->authorization();
    if (authorization != FocusAuthorization::authorized) {
        setFocusStatusText(focusSentence(authorization));
        return std::nullopt;
    }
    const std::optional<bool> on = readings_.doNotDisturb->isOn();
    setFocusStatusText(
        on ? focusSentence(authorization)
           : QStringLiteral("Focus sharing is allowed but no status is shared. Manual Focus still works."));
    return on;
}

void SystemContext::requestFocusAccess()
{
    if (!AppBundle::info().contains(QLatin1String("NSFocusStatusUsageDescription"))) {
        setFocusStatusText(QStringLiteral("Focus sharing isn't available in this build. Manual Focus still works."));
        return;
    }
    if (!readings_.doNotDisturb) {
        setFocusStatusText(focusSentence(FocusAuthorization::restricted));
        return;
    }
    readings_.doNotDisturb->probe();
    setFocusStatusText(focusSentence(readings_.doNotDisturb->authorization()));
}

void SystemContext::setFocusStatusText(const QString& text)
{
    announceChange(focusStatusText_, text);
}
