// The sound effects behind a fake player: the file of every sound, the towns' demand bands,
// one sound at a time, the late end notice of a cut-off sound, the option, and silence
// without a file.
#include <gtest/gtest.h>

#include <QDir>

#include <filesystem>

#include <sys/stat.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "commands/town_selection.h"
#include "recording_frontend.h"
#include "small_world.h"
#include "temp_dir.h"
#include "ui/sound_effects.h"

namespace {

// Keeps every call and each sound's end notice, for the test to deliver when it likes.
struct FakeLog {
    std::vector<std::string> Calls;
    std::map<int, std::function<void()>> Notices;
    std::vector<std::string> Missing;  ///< files that do not open
};

class FakeDevice : public SoundDevice {
public:
    explicit FakeDevice(FakeLog& log) : log_(log) {}
    int Open(const QString& fileName) override
    {
        const std::string name = fileName.toStdString();
        log_.Calls.push_back("open " + name);
        for (const auto& missing : log_.Missing)
            if (missing == name)
                return 0;
        return ++last_;
    }
    void Play(int sound, std::function<void()> ended) override
    {
        log_.Calls.push_back("play " + std::to_string(sound));
        log_.Notices[sound] = std::move(ended);
    }
    void Stop(int sound) override { log_.Calls.push_back("stop " + std::to_string(sound)); }
    void Close(int sound) override { log_.Calls.push_back("close " + std::to_string(sound)); }

private:
    FakeLog& log_;
    int last_ = 0;
};

using Calls = std::vector<std::string>;

TEST(SoundEffects, EveryNumberPlaysItsOwnFile)
{
    FakeLog log;
    SoundEffects sounds(std::make_unique<FakeDevice>(log));
    for (int n = 1; n <= 11; ++n) {
        log.Calls.clear();
        sounds.Play(n);
        const std::string file = n < 10 ? "sound0" + std::to_string(n) + ".wav" : "sound" + std::to_string(n) + ".wav";
        ASSERT_FALSE(log.Calls.empty());
        // From the second on, the previous sound is cut off first.
        EXPECT_EQ(log.Calls[log.Calls.size() - 2], "open " + file);
        EXPECT_EQ(log.Calls.back(), "play " + std::to_string(n));
    }
    EXPECT_EQ(SoundEffects::FileName(3), "sound03.wav");
    EXPECT_EQ(SoundEffects::FileName(11), "sound11.wav");
}

TEST(SoundEffects, ANumberOutsideTheElevenOnlyCutsOff)
{
    FakeLog log;
    SoundEffects sounds(std::make_unique<FakeDevice>(log));
    sounds.Play(4);
    sounds.Play(12);
    sounds.Play(0);
    EXPECT_EQ(log.Calls, (Calls{"open sound04.wav", "play 1", "stop 1", "close 1"}));
}

// Forwards the rules' sounds to the sound effects, as the window does.
class SoundingFrontend : public RecordingFrontend {
public:
    explicit SoundingFrontend(SoundEffects& sounds) : sounds_(sounds) {}
    void PlaySoundEffect(int number) override { sounds_.Play(number); }

private:
    SoundEffects& sounds_;
};

TEST(SoundEffects, AClickedTownSoundsByItsDemand)
{
    struct Case {
        int32_t Demand;
        const char* File;
    };
    const Case cases[] = {{0, "sound08.wav"},     {3000, "sound08.wav"},  {3001, "sound09.wav"},
                          {10000, "sound09.wav"}, {10001, "sound10.wav"}, {16000, "sound10.wav"},
                          {16001, "sound07.wav"}, {90000, "sound07.wav"}};
    for (const Case& c : cases) {
        FakeLog log;
        SoundEffects sounds(std::make_unique<FakeDevice>(log));
        SoundingFrontend frontend(sounds);
        GameState s = TenNamedCompanies(1);
        s.SelectedTown = 0;
        s.Demand[4] = c.Demand;
        PanelState panel;
        const TownRect r = kTownHitRects[0][4];
        ClickMap(s, panel, frontend, MouseButton::Left, false, r.XFrom + 1, r.YFrom + 1);
        ASSERT_EQ(s.SelectedTown, 4);
        EXPECT_EQ(log.Calls, (Calls{std::string("open ") + c.File, "play 1"})) << "demand " << c.Demand;
        // The town already selected plays nothing.
        ClickMap(s, panel, frontend, MouseButton::Left, false, r.XFrom + 1, r.YFrom + 1);
        EXPECT_EQ(log.Calls.size(), 2u);
    }
}

TEST(SoundEffects, ANewSoundCutsOffTheOldAndTheLateNoticeIsSkipped)
{
    FakeLog log;
    SoundEffects sounds(std::make_unique<FakeDevice>(log));
    sounds.Play(1);
    sounds.Play(2);
    EXPECT_EQ(log.Calls, (Calls{"open sound01.wav", "play 1", "stop 1", "close 1", "open sound02.wav", "play 2"}));
    log.Calls.clear();
    log.Notices[1]();  // the cut-off sound's notice arrives late
    EXPECT_TRUE(log.Calls.empty()) << "the playing sound is kept";
    log.Notices[2]();  // the second sound ends
    EXPECT_EQ(log.Calls, (Calls{"stop 2", "close 2"}));
    log.Calls.clear();
    sounds.Play(3);  // nothing left to cut off
    EXPECT_EQ(log.Calls, (Calls{"open sound03.wav", "play 3"}));
}

TEST(SoundEffects, ThreeQuickSoundsLetTheLastPlayToItsEnd)
{
    FakeLog log;
    SoundEffects sounds(std::make_unique<FakeDevice>(log));
    sounds.Play(1);
    sounds.Play(2);
    sounds.Play(3);
    log.Calls.clear();
    log.Notices[1]();
    log.Notices[2]();
    EXPECT_TRUE(log.Calls.empty()) << "two late notices must not stop the third sound";
    log.Notices[3]();
    EXPECT_EQ(log.Calls, (Calls{"stop 3", "close 3"}));
}

TEST(SoundEffects, SoundOffKeepsNewOnesFromStartingButLeavesAPlayingOne)
{
    FakeLog log;
    SoundEffects sounds(std::make_unique<FakeDevice>(log));
    EXPECT_TRUE(sounds.Enabled());
    sounds.Play(5);
    sounds.SetEnabled(false);
    EXPECT_FALSE(sounds.Enabled());
    sounds.Play(6);
    EXPECT_EQ(log.Calls, (Calls{"open sound05.wav", "play 1"}));
    log.Notices[1]();  // it still closes when it ends
    EXPECT_EQ(log.Calls.back(), "close 1");
    sounds.SetEnabled(true);
    sounds.Play(6);
    EXPECT_EQ(log.Calls.back(), "play 2");
}

TEST(SoundEffects, AMissingFileIsSilentAndLeavesNothingOpen)
{
    FakeLog log;
    log.Missing = {"sound09.wav"};
    SoundEffects sounds(std::make_unique<FakeDevice>(log));
    sounds.Play(9);
    sounds.Play(9);
    sounds.Stop();
    EXPECT_EQ(log.Calls, (Calls{"open sound09.wav", "open sound09.wav"}));
}

TEST(SoundEffects, TheQtDeviceFindsNoFileOutsideTheCurrentDirectory)
{
    TempDir dir;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.Str())));
    const auto device = MakeQtSoundDevice();
    EXPECT_EQ(device->Open(QStringLiteral("sound01.wav")), 0);
    SoundEffects sounds;
    sounds.Play(1);  // no file, perhaps no device: nothing happens, nothing is reported
    sounds.Stop();
    QDir::setCurrent(before);
}

// What a player (or a prank) may put under a sound's name: only plain files of a sound's size
// reach the device; a pipe (which kept the program from ending), a device, a folder and a giant
// with a valid header (which was read whole) play nothing, as a missing file. A refused sound
// still cuts off the one playing, like any new sound.
TEST(SoundEffects, OnlyPlainFilesOfASoundsSizeReachTheDevice)
{
    TempDir dir;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.Str())));
    const std::string header = "RIFF\xFF\xFF\xFF\x7FWAVEfmt ";
    const auto sized = [&](const char* name, long long size) {
        WriteFile(dir / name, header);
        std::filesystem::resize_file(dir / name, static_cast<uintmax_t>(size));  // sparse: no disk used
    };
    ASSERT_EQ(::mkfifo((dir / "sound01.wav").c_str(), 0666), 0);
    sized("sound02.wav", 1LL << 30);  // a gigabyte
    sized("sound03.wav", kMaxSoundFileBytes + 1);
    std::filesystem::create_symlink("/dev/zero", dir / "sound04.wav");
    std::filesystem::create_directory(dir / "sound05.wav");
    sized("sound06.wav", kMaxSoundFileBytes);
    sized("sound07.wav", 66370);  // the size of our own
    std::filesystem::create_symlink("sound07.wav", dir / "sound08.wav");

    struct Case {
        int Number;
        SoundFile Kind;
    };
    const Case cases[] = {{1, SoundFile::Refused},  {2, SoundFile::Refused},  {3, SoundFile::Refused},
                          {4, SoundFile::Refused},  {5, SoundFile::Refused},  {6, SoundFile::Playable},
                          {7, SoundFile::Playable}, {8, SoundFile::Playable}, {9, SoundFile::Missing}};
    FakeLog log;
    SoundEffects sounds(std::make_unique<FakeDevice>(log));
    int opened = 0;
    for (const Case& c : cases) {
        const QString file = SoundEffects::FileName(c.Number);
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(CheckSoundFile(file), c.Kind);
        sounds.Play(7);  // a sound playing, to be cut off
        log.Calls.clear();
        sounds.Play(c.Number);
        Calls expected{"stop " + std::to_string(opened + 1), "close " + std::to_string(opened + 1)};
        ++opened;
        if (c.Kind != SoundFile::Refused) {
            expected.push_back("open " + file.toStdString());
            expected.push_back("play " + std::to_string(++opened));
        }
        EXPECT_EQ(log.Calls, expected);
    }
    // The Qt device itself never takes a refused file either.
    const auto device = MakeQtSoundDevice();
    for (const char* refused : {"sound01.wav", "sound02.wav", "sound04.wav", "sound05.wav"})
        EXPECT_EQ(device->Open(QString::fromLatin1(refused)), 0) << refused;
    QDir::setCurrent(before);
}

}  // namespace
