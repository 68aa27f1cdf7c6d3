/// @file window_hostile_files_test.cpp The window in a game folder it cannot write, and a save
/// whose file cannot be opened.
#include <QAction>
#include <QCoreApplication>

#include <sys/stat.h>

#include "child_process.h"
#include "persistence/savegame.h"
#include "persistence/settings.h"
#include "window_fixture.h"

namespace {

/// No sound at all: the child process below keeps away from the audio system.
class NoSound : public SoundDevice {
public:
    int Open(const QString&) override { return 0; }
    void Play(int, std::function<void()>) override {}
    void Stop(int) override {}
    void Close(int) override {}
};

}  // namespace

// A save that cannot be opened says why, in one line with the file's name, before the save
// dialog comes back; the dialog then offers another file.
TEST_F(WindowTest, TheSaveDialogComesBackAfterTheLineThatSaysWhy)
{
    TForm1& form = OpenWithGame(1);
    recorder_.Messages.clear();  // the take-over
    const std::filesystem::path pipe = dir_ / "pipe.tsg";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    const std::filesystem::path folder = dir_ / "no-such-folder" / "game.tsg";
    const std::filesystem::path good = dir_ / "good.tsg";
    std::vector<QString> answers{QString::fromStdString(pipe.string()), QString::fromStdString(folder.string()),
                                 QString::fromStdString(good.string())};
    std::vector<size_t> messagesAtDialog;
    form.ChooseSaveFile = [&] {
        messagesAtDialog.push_back(recorder_.Messages.size());
        if (messagesAtDialog.size() > answers.size())
            return QString();
        return answers[messagesAtDialog.size() - 1];
    };
    form.Menu(MenuEntry::Saveas1)->trigger();
    EXPECT_EQ(messagesAtDialog, (std::vector<size_t>{0, 1, 2}));
    ASSERT_EQ(recorder_.Messages.size(), 2u);
    EXPECT_EQ(recorder_.Messages[0].Text, CannotOpenForSavingText(pipe.string(), SaveProblem::NotAFile));
    EXPECT_EQ(recorder_.Messages[1].Text, CannotOpenForSavingText(folder.string(), SaveProblem::NoFolder));
    EXPECT_EQ(form.SaveFileName().toStdString(), good.string());
    EXPECT_TRUE(std::filesystem::is_regular_file(good));

    // Save to a file that turned into something else says why, then asks; cancelling ends it.
    std::filesystem::remove(good);
    std::filesystem::create_directory(good);
    recorder_.Messages.clear();
    messagesAtDialog.clear();
    answers.clear();
    form.Menu(MenuEntry::Save1)->trigger();
    EXPECT_EQ(messagesAtDialog, (std::vector<size_t>{1}));
    ASSERT_EQ(recorder_.Messages.size(), 1u);
    EXPECT_EQ(recorder_.Messages[0].Text, CannotOpenForSavingText(good.string(), SaveProblem::NotAFile));
}

// A game folder the player cannot write: the window says so once, in the player's language,
// and the game still has every company's name. Root would write anyway, so the window runs as
// an ordinary user in a child process; in a writable folder nothing is said.
TEST_F(WindowTest, AFolderThatCannotBeWrittenIsSaidOnceAndTheGameKeepsItsNames)
{
    Open();
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder_.Messages.empty()) << "a writable folder says nothing";
    form_.reset();

    std::filesystem::permissions(dir_.Path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                                  std::filesystem::perms::group_exec |
                                                  std::filesystem::perms::others_read |
                                                  std::filesystem::perms::others_exec);
    const std::string answer = AsNobody([this]() -> std::string {
        RecordingFrontend seen;
        TForm1 form(FoldersIn(dir_.Str()), nullptr, &seen, std::make_unique<NoSound>());
        form.show();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        const LocalText notice = CannotKeepSettingsText(dir_.Str());
        if (seen.Messages.size() != 1 || seen.Messages[0].Text != notice)
            return "the notice was not shown once at start (" + std::to_string(seen.Messages.size()) + " messages)";
        // Options that cannot be kept are not said again.
        form.Menu(MenuEntry::Sound2)->trigger();
        form.Menu(MenuEntry::FastExit1)->trigger();
        QCoreApplication::processEvents();
        if (seen.Messages.size() != 1)
            return "the notice came again";
        NewGameSettings settings;
        settings.Map = 1;
        settings.Player1Start = 9;  // Melkerstiege: town 8
        form.StartNewGame(settings);
        for (int c = 0; c < kCompanies; ++c)
            if (form.State().CompanyName[c].empty() || form.State().BrandName[c][0].empty())
                return "company " + std::to_string(c) + " has no name";
        const std::string takeOver = seen.Messages.back().Text.English;
        if (takeOver != "You take over the Gerber Pils-Brewery in Melkerstiege")
            return "the take-over says '" + takeOver + "'";
        return "";
    });
    EXPECT_EQ(answer, "");
}
