#include "shell/SoundPlayer.h"

#include "model/AppBundle.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

SoundPlayer::SoundPlayer(std::function<bool()> hasAudioOutput, QObject* parent)
    : QObject(parent),
      hasAudioOutput_(hasAudioOutput ? std::move(hasAudioOutput)
                                     : std::function<bool()>([] { return !QMediaDevices::audioOutputs().isEmpty(); }))
{ }

SoundPlayer::~SoundPlayer() = default;

QString SoundPlayer::soundPath(const QString& name)
{
    return AppBundle::path(QStringLiteral("Sounds/") + name.toLower() + QStringLiteral(".wav"));
}

void SoundPlayer::makePlayer()
{
    output_ = new QAudioOutput(this);
    player_ = new QMediaPlayer(this);
    player_->setAudioOutput(output_);
    // A failing backend stays quiet; the next sound simply tries again.
    connect(player_, &QMediaPlayer::errorOccurred, player_, &QMediaPlayer::stop);
}

void SoundPlayer::play(const QString& name)
{
    const QString path = soundPath(name);
    if (name.isEmpty() || !QFileInfo(path).isFile() || !hasAudioOutput_())
        return;
    if (!player_)
        makePlayer();
    player_->stop();
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
}
