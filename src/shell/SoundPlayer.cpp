#include "shell/SoundPlayer.h"

#include "model/AppBundle.h"

#include <QFileInfo>
#include <canberra.h>

namespace {

// Every sound of this player is one event; libcanberra tells them apart by this number.
constexpr uint32_t soundID = 1;

}  // namespace

SoundPlayer::SoundPlayer(std::function<bool()> hasAudioOutput, QObject* parent)
    : QObject(parent),
      hasAudioOutput_(hasAudioOutput ? std::move(hasAudioOutput) : std::function<bool()>([] { return true; }))
{
    poll_.setInterval(pollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &SoundPlayer::checkPlaying);
}

SoundPlayer::~SoundPlayer()
{
    release();
}

QString SoundPlayer::soundPath(const QString& name)
{
    return AppBundle::path(QStringLiteral("Sounds/") + name.toLower() + QStringLiteral(".wav"));
}

void SoundPlayer::play(const QString& name)
{
    const QString path = soundPath(name);
    if (name.isEmpty() || !QFileInfo(path).isFile() || !hasAudioOutput_())
        return;
    release();
    if (ca_context_create(&context_) != CA_SUCCESS) {
        context_ = nullptr;
        return;
    }
    ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Dewbell", CA_PROP_APPLICATION_ID,
                            "app.dewbell.Dewbell", nullptr);
    const QByteArray file = QFile::encodeName(path);
    const QByteArray description = name.toUtf8();
    if (ca_context_play(context_, soundID, CA_PROP_MEDIA_FILENAME, file.constData(), CA_PROP_EVENT_DESCRIPTION,
                        description.constData(), CA_PROP_MEDIA_ROLE, "event", nullptr)
        != CA_SUCCESS) {
        release();
        return;
    }
    polls_ = 0;
    poll_.start();
}

// Asked from the main thread: libcanberra's own completion call comes from its thread.
void SoundPlayer::checkPlaying()
{
    int playing = 0;
    const bool known = ca_context_playing(context_, soundID, &playing) == CA_SUCCESS;
    if (!known || !playing || ++polls_ * pollMilliseconds >= longestSoundMilliseconds)
        release();
}

void SoundPlayer::release()
{
    poll_.stop();
    if (context_)
        ca_context_destroy(context_);
    context_ = nullptr;
}
