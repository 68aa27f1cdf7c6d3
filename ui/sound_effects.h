/// @file sound_effects.h The game's eleven sound effects, one at a time: a new sound cuts off
/// the one still playing, and the end of playback closes the sound. Missing files and a missing
/// audio device are silent.
///
/// Use from the window: keep one `SoundEffects`; the frontend's `PlaySoundEffect(n)` calls
/// `Play(n)`; the "Sound" menu entry calls `SetEnabled`. The end of playback reaches `Stop()` by
/// itself through the device.
#pragma once

#include <QString>

#include <functional>
#include <memory>

/// Our sound files are under 100 KB; a file beyond this is no sound effect and is not read.
inline constexpr long long kMaxSoundFileBytes = 4LL * 1024 * 1024;

/// What stands under a sound file's name.
enum class SoundFile {
    Missing,   ///< nothing: silent
    Playable,  ///< a plain file of at most kMaxSoundFileBytes (links followed)
    Refused,   ///< a pipe, a device, a folder or a giant: never opened, silent as a missing one
};
/// Looks at a sound file (relative to the current directory) without opening it.
SoundFile CheckSoundFile(const QString& fileName);

/// The platform's player behind the sounds, one open sound per identifier. The window uses Qt
/// Multimedia; tests put a fake here.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    /// Opens a wave file named relative to the current directory; 0 when it cannot be played
    /// (no such file, no audio device).
    virtual int Open(const QString& fileName) = 0;
    /// Starts playing and returns at once. `ended` runs later on the window's thread, exactly
    /// once: when the sound has played to its end, or after it was stopped.
    virtual void Play(int sound, std::function<void()> ended) = 0;
    virtual void Stop(int sound) = 0;
    virtual void Close(int sound) = 0;
};

class SoundEffects {
public:
    /// Sounds through Qt Multimedia.
    SoundEffects();
    /// Sounds through another device (tests).
    explicit SoundEffects(std::unique_ptr<SoundDevice> device);
    ~SoundEffects();
    SoundEffects(const SoundEffects&) = delete;
    SoundEffects& operator=(const SoundEffects&) = delete;

    /// Plays sound 1 to 11 ("sound01.wav" ... "sound11.wav" in the sounds' folder), cutting
    /// off a sound still playing; any other number only cuts off, and so does a file that
    /// CheckSoundFile refuses (it never reaches the device). Does nothing at all while sounds
    /// are off.
    void Play(int number);
    /// Stops and closes the sound playing now, if any. The end of playback calls it for its
    /// own sound; the end notice of a sound that was cut off is skipped.
    void Stop();
    /// The "Sound" option. Switching it off leaves a playing sound alone.
    void SetEnabled(bool on);
    bool Enabled() const;

    /// The file of a sound number, without a directory.
    static QString FileName(int number);
    /// The folder the sound files are in; empty (the start): the current directory.
    void SetDirectory(const QString& directory) { directory_ = directory; }

private:
    std::unique_ptr<SoundDevice> device_;
    bool enabled_ = true;
    QString directory_;
    int sound_ = 0;  ///< the open sound, 0 when none
};

/// Qt Multimedia's sound device (QSoundEffect), one per open sound.
std::unique_ptr<SoundDevice> MakeQtSoundDevice();
