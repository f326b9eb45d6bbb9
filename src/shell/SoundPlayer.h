#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

struct ca_context;

// Plays the bundle's short sounds ("Pop" is Sounds/pop.wav) through libcanberra, the desktop's
// library for event sounds (PulseAudio or PipeWire, else ALSA). Its context, with the sound
// server's connection and thread, lives only while a sound plays: a pop every so often must not
// keep an audio pipeline in memory all day. No audio output, a missing file or a failing server
// all mean silence: a sound never shows an error.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    // How often a playing sound is asked whether it has ended.
    static constexpr int pollMilliseconds = 200;
    // A sound still "playing" after this long is cut off: the server has stopped answering.
    static constexpr int longestSoundMilliseconds = 10000;

    // `hasAudioOutput` says whether the desktop offers an output (asked at each sound); by
    // default libcanberra finds out by itself.
    explicit SoundPlayer(std::function<bool()> hasAudioOutput = {}, QObject* parent = nullptr);
    ~SoundPlayer() override;

    // Starts the sound of a name; one still playing stops first.
    void play(const QString& name);
    // A sound is under way and holds the sound server's connection.
    bool isPlaying() const { return context_ != nullptr; }

    // Where the sound of a name lives in the bundle.
    static QString soundPath(const QString& name);

private:
    void checkPlaying();
    void release();

    std::function<bool()> hasAudioOutput_;
    ca_context* context_ = nullptr;
    QTimer poll_;
    int polls_ = 0;
};
