#pragma once

#include "platform/SystemReadings.h"

#include <QDeadlineTimer>
#include <QSet>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_source_info;
struct pa_source_output_info;

// Asks the PulseAudio server (also PipeWire's) for recording streams. One connection, made at
// first need and kept: the server tells us of every stream change and we query again on our
// own thread, so a reading only copies the last answer. The server is never started for us.
// Absent while no server answers or when a query fails.
class PulseMicrophoneReading : public MicrophoneReading {
public:
    PulseMicrophoneReading() = default;
    ~PulseMicrophoneReading() override;
    std::optional<bool> microphoneInUse() override;

private:
    // One round of questions to the server: the monitor sources first, then the recording streams.
    struct Query {
        QSet<uint32_t> monitorSources;
        bool recording = false;
    };

    void connectToServer();
    void disconnect();
    void onContextState();
    void startQuery();
    void finishQuery(std::optional<bool> inUse);
    void publish(std::optional<bool> inUse);
    void fail();
    static void onSourceListed(pa_context* context, const pa_source_info* source, int last, void* self);
    static void onOutputListed(pa_context* context, const pa_source_output_info* output, int last, void* self);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    bool querying_ = false;
    bool queryAgain_ = false;
    std::unique_ptr<Query> query_;

    std::mutex mutex_;
    std::condition_variable answered_;
    bool hasAnswer_ = false;
    bool failed_ = false;
    std::optional<bool> inUse_;
    QDeadlineTimer retry_;
};

// The kernel's sound cards: a capture substream that is running means a recording.
// Absent when the folder shows no capture substream at all.
class AlsaCaptureReading : public MicrophoneReading {
public:
    explicit AlsaCaptureReading(QString soundFolder = QStringLiteral("/proc/asound"));
    std::optional<bool> microphoneInUse() override;

private:
    QString soundFolder_;
};

// The first source that knows; absent when none does.
class FirstMicrophoneReading : public MicrophoneReading {
public:
    FirstMicrophoneReading(std::unique_ptr<MicrophoneReading> first, std::unique_ptr<MicrophoneReading> second);
    std::optional<bool> microphoneInUse() override;

private:
    std::unique_ptr<MicrophoneReading> first_;
    std::unique_ptr<MicrophoneReading> second_;
};
