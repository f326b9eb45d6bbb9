#include "platform/MicrophoneReadings.h"

#include <QDir>
#include <QFile>

#include <pulse/pulseaudio.h>

#include <chrono>

namespace {

// How long the first reading waits for the server's first answer; later readings never wait.
constexpr auto firstAnswerWait = std::chrono::milliseconds(300);
// A server that was not there is looked for again after this long.
constexpr std::chrono::seconds retryAfter{60};
constexpr qint64 statusReadLimit = 4096;

}  // namespace

PulseMicrophoneReading::~PulseMicrophoneReading()
{
    disconnect();
}

std::optional<bool> PulseMicrophoneReading::microphoneInUse()
{
    std::unique_lock lock(mutex_);
    if (failed_ && retry_.hasExpired()) {
        lock.unlock();
        disconnect();
        lock.lock();
        failed_ = false;
        hasAnswer_ = false;
        inUse_.reset();
    }
    if (!loop_ && !failed_) {
        lock.unlock();
        connectToServer();
        lock.lock();
        answered_.wait_for(lock, firstAnswerWait, [this] { return hasAnswer_ || failed_; });
    }
    if (failed_)
        return std::nullopt;
    return inUse_;
}

void PulseMicrophoneReading::connectToServer()
{
    loop_ = pa_threaded_mainloop_new();
    if (!loop_) {
        fail();
        return;
    }
    pa_threaded_mainloop_lock(loop_);
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Dewbell");
    bool started = context_ != nullptr;
    if (started) {
        pa_context_set_state_callback(
            context_, [](pa_context*, void* self) { static_cast<PulseMicrophoneReading*>(self)->onContextState(); },
            this);
        started = pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0;
    }
    started = started && pa_threaded_mainloop_start(loop_) >= 0;
    pa_threaded_mainloop_unlock(loop_);
    if (!started)
        fail();
}

void PulseMicrophoneReading::disconnect()
{
    if (!loop_)
        return;
    pa_threaded_mainloop_lock(loop_);
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_set_subscribe_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    pa_threaded_mainloop_unlock(loop_);
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
    loop_ = nullptr;
    querying_ = false;
    queryAgain_ = false;
}

// Runs on the server's thread from here on, with the loop locked.
void PulseMicrophoneReading::onContextState()
{
    switch (pa_context_get_state(context_)) {
    case PA_CONTEXT_READY: {
        pa_context_set_subscribe_callback(
            context_,
            [](pa_context*, pa_subscription_event_type_t, uint32_t, void* self) {
                auto* reading = static_cast<PulseMicrophoneReading*>(self);
                if (reading->querying_)
                    reading->queryAgain_ = true;
                else
                    reading->startQuery();
            },
            this);
        const auto mask =
            static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SOURCE | PA_SUBSCRIPTION_MASK_SOURCE_OUTPUT);
        if (pa_operation* operation = pa_context_subscribe(context_, mask, nullptr, nullptr))
            pa_operation_unref(operation);
        startQuery();
        break;
    }
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        fail();
        break;
    default:
        break;
    }
}

void PulseMicrophoneReading::startQuery()
{
    querying_ = true;
    query_ = std::make_unique<Query>();
    if (pa_operation* operation = pa_context_get_source_info_list(context_, onSourceListed, this))
        pa_operation_unref(operation);
    else
        finishQuery(std::nullopt);
}

void PulseMicrophoneReading::onSourceListed(pa_context* context, const pa_source_info* source, int last, void* self)
{
    auto* reading = static_cast<PulseMicrophoneReading*>(self);
    if (last < 0) {
        reading->finishQuery(std::nullopt);
    } else if (last > 0) {
        if (pa_operation* next = pa_context_get_source_output_info_list(context, onOutputListed, self))
            pa_operation_unref(next);
        else
            reading->finishQuery(std::nullopt);
    } else if (source->monitor_of_sink != PA_INVALID_INDEX) {
        reading->query_->monitorSources.insert(source->index);
    }
}

// A stream that records from a monitor only listens to what the computer plays.
void PulseMicrophoneReading::onOutputListed(pa_context*, const pa_source_output_info* output, int last, void* self)
{
    auto* reading = static_cast<PulseMicrophoneReading*>(self);
    if (last < 0)
        reading->finishQuery(std::nullopt);
    else if (last > 0)
        reading->finishQuery(reading->query_->recording);
    else if (!output->corked && !reading->query_->monitorSources.contains(output->source))
        reading->query_->recording = true;
}

void PulseMicrophoneReading::finishQuery(std::optional<bool> inUse)
{
    querying_ = false;
    publish(inUse);
    if (std::exchange(queryAgain_, false))
        startQuery();
}

void PulseMicrophoneReading::publish(std::optional<bool> inUse)
{
    std::lock_guard lock(mutex_);
    hasAnswer_ = true;
    inUse_ = inUse;
    answered_.notify_all();
}

void PulseMicrophoneReading::fail()
{
    std::lock_guard lock(mutex_);
    failed_ = true;
    retry_ = QDeadlineTimer(retryAfter);
    answered_.notify_all();
}

AlsaCaptureReading::AlsaCaptureReading(QString soundFolder) : soundFolder_(std::move(soundFolder))
{ }

std::optional<bool> AlsaCaptureReading::microphoneInUse()
{
    bool sawCapture = false;
    const QDir sound(soundFolder_);
    for (const QString& card : sound.entryList({QStringLiteral("card*")}, QDir::Dirs)) {
        const QDir cardFolder(sound.filePath(card));
        for (const QString& device : cardFolder.entryList({QStringLiteral("pcm*c")}, QDir::Dirs)) {
            const QDir deviceFolder(cardFolder.filePath(device));
            for (const QString& substream : deviceFolder.entryList({QStringLiteral("sub*")}, QDir::Dirs)) {
                QFile status(deviceFolder.filePath(substream) + QStringLiteral("/status"));
                if (!status.open(QIODevice::ReadOnly))
                    continue;
                sawCapture = true;
                if (status.read(statusReadLimit).contains("RUNNING"))
                    return true;
            }
        }
    }
    return sawCapture ? std::optional<bool>(false) : std::nullopt;
}

FirstMicrophoneReading::FirstMicrophoneReading(std::unique_ptr<MicrophoneReading> first,
                                               std::unique_ptr<MicrophoneReading> second)
    : first_(std::move(first)), second_(std::move(second))
{ }

std::optional<bool> FirstMicrophoneReading::microphoneInUse()
{
    if (std::optional<bool> inUse = first_->microphoneInUse())
        return inUse;
    return second_->microphoneInUse();
}
