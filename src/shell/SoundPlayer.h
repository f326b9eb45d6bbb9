#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAudioOutput;
class QMediaPlayer;

// Plays the bundle's short sounds ("Pop" is Sounds/pop.wav). The media player is made at the
// first sound, so a user with sound off never loads the media backend. No audio output, a
// missing file or a backend error all mean silence: a sound never shows an error.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    // `hasAudioOutput` says whether the desktop offers an output device (asked at each sound).
    explicit SoundPlayer(std::function<bool()> hasAudioOutput = {}, QObject* parent = nullptr);
    ~SoundPlayer() override;

    void play(const QString& name);

    // Where the sound of a name lives in the bundle.
    static QString soundPath(const QString& name);

    bool hasPlayer() const { return player_ != nullptr; }

private:
    void makePlayer();

    std::function<bool()> hasAudioOutput_;
    QMediaPlayer* player_ = nullptr;
    QAudioOutput* output_ = nullptr;
};
