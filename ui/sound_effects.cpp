/// @file sound_effects.cpp One sound effect at a time through Qt Multimedia.
#include "ui/sound_effects.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>

#include <map>

#include <sys/stat.h>

namespace {

class QtSoundDevice : public SoundDevice {
public:
    int Open(const QString& fileName) override
    {
        // Looked up in the current directory at the moment of playing.
        const QString path = QDir::current().absoluteFilePath(fileName);
        if (CheckSoundFile(path) != SoundFile::Playable || QMediaDevices::audioOutputs().isEmpty())
            return 0;
        const int id = ++lastId_;
        auto* effect = new QSoundEffect(&context_);
        effect->setSource(QUrl::fromLocalFile(path));
        sounds_[id] = {effect, {}, false};
        return id;
    }

    void Play(int id, std::function<void()> ended) override
    {
        const auto it = sounds_.find(id);
        if (it == sounds_.end())
            return;
        it->second.Ended = std::move(ended);
        QSoundEffect* effect = it->second.Effect;
        QObject::connect(effect, &QSoundEffect::playingChanged, &context_, [this, id, effect] {
            if (!effect->isPlaying())
                Notify(id);
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, &context_, [this, id, effect] {
            if (effect->status() == QSoundEffect::Error)  // unreadable file or device gone
                Notify(id);
        });
        effect->play();
    }

    void Stop(int id) override
    {
        const auto it = sounds_.find(id);
        if (it == sounds_.end())
            return;
        it->second.Effect->stop();
        // A stopped sound reports its end too, even when it had not started yet.
        Notify(id);
    }

    void Close(int id) override
    {
        const auto it = sounds_.find(id);
        if (it == sounds_.end())
            return;
        it->second.Effect->disconnect(&context_);
        it->second.Effect->deleteLater();
        // An end notice already on its way is still delivered.
        if (!it->second.Notified)
            Notify(id);
        sounds_.erase(it);
    }

private:
    struct Sound {
        QSoundEffect* Effect = nullptr;
        std::function<void()> Ended;
        bool Notified = false;
    };

    // Posts the sound's end notice once, as a later event on the window's thread.
    void Notify(int id)
    {
        const auto it = sounds_.find(id);
        if (it == sounds_.end() || it->second.Notified || !it->second.Ended)
            return;
        it->second.Notified = true;
        QMetaObject::invokeMethod(&context_, it->second.Ended, Qt::QueuedConnection);
    }

    QObject context_;  ///< owns the effects; pending notices die with it
    std::map<int, Sound> sounds_;
    int lastId_ = 0;
};

}  // namespace

SoundFile CheckSoundFile(const QString& fileName)
{
    // A pipe would keep the player's loader waiting for ever (and the program from ending); a
    // giant would be read into memory whole.
    struct stat info {};
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return SoundFile::Missing;
    if (!S_ISREG(info.st_mode) || info.st_size > kMaxSoundFileBytes)
        return SoundFile::Refused;
    return SoundFile::Playable;
}

std::unique_ptr<SoundDevice> MakeQtSoundDevice() { return std::make_unique<QtSoundDevice>(); }

SoundEffects::SoundEffects() : SoundEffects(MakeQtSoundDevice()) {}

SoundEffects::SoundEffects(std::unique_ptr<SoundDevice> device) : device_(std::move(device)) {}

SoundEffects::~SoundEffects()
{
    if (sound_ != 0) {
        device_->Stop(sound_);
        device_->Close(sound_);
    }
}

QString SoundEffects::FileName(int number)
{
    return QStringLiteral("sound%1.wav").arg(number, 2, 10, QLatin1Char('0'));
}

void SoundEffects::Play(int number)
{
    if (!enabled_)
        return;
    if (sound_ != 0) {
        device_->Stop(sound_);
        device_->Close(sound_);
        sound_ = 0;
    }
    if (number < 1 || number > 11)
        return;
    const QString file = directory_.isEmpty() ? FileName(number) : QDir(directory_).filePath(FileName(number));
    if (CheckSoundFile(file) == SoundFile::Refused)
        return;
    const int sound = device_->Open(file);
    sound_ = sound;
    // Each end notice names its own sound: the late notice of a sound that was cut off must
    // not close the one playing now (nor the one after it, after two quick cut-offs).
    if (sound != 0)
        device_->Play(sound, [this, sound] {
            if (sound == sound_)
                Stop();
        });
}

void SoundEffects::Stop()
{
    if (sound_ == 0)
        return;
    device_->Stop(sound_);
    device_->Close(sound_);
    sound_ = 0;
}

void SoundEffects::SetEnabled(bool on) { enabled_ = on; }

bool SoundEffects::Enabled() const { return enabled_; }
