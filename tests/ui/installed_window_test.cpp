// The window of an installed game: settings, names and "Autosave.tsg" in the player's data
// folder, the start sound and the help pages from the install, and nothing in the folder the
// game was started from.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "persistence/game_folders.h"
#include "window_fixture.h"

namespace {

namespace fs = std::filesystem;

// Keeps the files the window asks to play.
class OpenedSounds : public SoundDevice {
public:
    explicit OpenedSounds(std::vector<QString>& opened) : opened_(opened) {}
    int Open(const QString& fileName) override
    {
        opened_.push_back(fileName);
        return 0;  // silent
    }
    void Play(int, std::function<void()>) override {}
    void Stop(int) override {}
    void Close(int) override {}

private:
    std::vector<QString>& opened_;
};

}  // namespace

TEST_F(WindowTest, AnInstalledGameKeepsThePlayersFilesInItsDataFolder)
{
    TempDir data;
    // The install's data folder holds help/ as the source's assets/ does.
    const GameFolders folders{data.Str(), fs::path(TAVREK_HELP_DIR).parent_path().string(), true};
    std::vector<QString> sounds;
    TForm1 form(folders, nullptr, &recorder_, std::make_unique<OpenedSounds>(sounds));
    form.OpenDocument = [this](const QString& path) {
        opened_.push_back(path);
        return true;
    };
    form.show();
    const QDir install(QString::fromStdString(folders.Resources));

    // The first start's settings, and the start sound from the install.
    EXPECT_EQ(form.State().Program.ProgramDirectory, data.Str());
    EXPECT_TRUE(fs::exists(data / "Tavrek!.ini"));
    ASSERT_FALSE(sounds.empty());
    EXPECT_EQ(sounds.front(), install.filePath("sound05.wav"));

    form.Menu(MenuEntry::Contents1)->trigger();
    form.Menu(MenuEntry::EditNames1)->trigger();
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[0], install.filePath("help/index1.html"));
    EXPECT_EQ(fs::path(opened_[1].toStdString()), data / "TavrekNames.ini");
    EXPECT_TRUE(fs::exists(data / "TavrekNames.ini"));
    EXPECT_TRUE(recorder_.Messages.empty()) << "the help page was found";

    // Leaving a game with autosave on keeps it in the data folder.
    form.Menu(MenuEntry::FastExit1)->trigger();
    NewGameSettings settings;
    settings.Map = 3;
    form.StartNewGame(settings);
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(fs::exists(data / "Autosave.tsg"));

    EXPECT_TRUE(fs::is_empty(dir_.Path())) << "nothing in the working directory";
}
