// The session the window and tavrek-sim share: the file a game belongs to, the actions that need
// a running game, the language kept in the settings file. No directory is changed.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "commands/game_session.h"
#include "persistence/savegame.h"
#include "persistence/settings.h"
#include "recording_frontend.h"
#include "temp_dir.h"
#include "session_door.h"

namespace {

struct SessionFixture : ::testing::Test {
    TempDir dir;
    RecordingFrontend frontend;
    GameSession session{frontend, dir.Str()};
    std::string File(const char* name) const { return (dir / name).string(); }
};

}  // namespace

TEST_F(SessionFixture, WithoutAGameEveryActionThatNeedsOneDoesNothing)
{
    for (int mode = static_cast<int>(PanelMode::Idle); mode <= static_cast<int>(PanelMode::Statistics); ++mode) {
        session.EnterMode(static_cast<PanelMode>(mode));
        EXPECT_EQ(session.Panel().CommandMode, PanelMode::None) << mode;
    }
    session.NextTurn();
    session.PressOk();
    Command depot;
    depot.Kind = CommandKind::BuildDepot;
    EXPECT_FALSE(session.Execute(depot).Accepted);
    EXPECT_EQ(session.State().MonthCount, 1);
    EXPECT_EQ(session.Save(), SaveStatus::NoGame);
    EXPECT_EQ(session.SaveAs(File("none.tsg")), SaveStatus::NoGame);
    EXPECT_FALSE(std::filesystem::exists(File("none.tsg")));
    EXPECT_TRUE(session.SaveFile().empty());
    EXPECT_TRUE(frontend.Messages.empty());
    EXPECT_TRUE(frontend.Sounds.empty());
    EXPECT_TRUE(session.MayClose()) << "nothing to lose";
}

TEST_F(SessionFixture, SaveWritesWhereTheGameCameFromAndANewGameAsksForAFile)
{
    session.SetSeed(5);
    session.NewGame(NewGameSettings{});
    EXPECT_EQ(session.Panel().CommandMode, PanelMode::Idle);
    EXPECT_EQ(session.Save(), SaveStatus::CannotOpen) << "no file yet: the window asks for one";

    WritableState(session).MonthCount = 9;
    ASSERT_EQ(session.SaveAs(File("a.tsg")), SaveStatus::Saved);
    WritableState(session).MonthCount = 3;
    ASSERT_EQ(session.SaveAs(File("b.tsg")), SaveStatus::Saved);
    ASSERT_TRUE(session.Open(File("a.tsg")));
    EXPECT_EQ(session.State().MonthCount, 9);
    EXPECT_EQ(session.SaveFile(), File("a.tsg"));
    WritableState(session).MonthCount = 10;
    ASSERT_EQ(session.Save(), SaveStatus::Saved);

    GameSession reader(frontend, dir.Str());
    ASSERT_EQ(reader.Load(File("a.tsg")), LoadStatus::Loaded);
    EXPECT_EQ(reader.State().MonthCount, 10);
    ASSERT_EQ(reader.Load(File("b.tsg")), LoadStatus::Loaded);
    EXPECT_EQ(reader.State().MonthCount, 3) << "the other file kept its game";

    // A failed Open keeps the running game and its file, and says why.
    frontend.Messages.clear();
    std::ofstream(File("junk.tsg")) << "junk\n";
    EXPECT_FALSE(session.Open(File("junk.tsg")));
    EXPECT_EQ(session.SaveFile(), File("a.tsg"));
    EXPECT_EQ(session.State().MonthCount, 10);
    EXPECT_EQ(frontend.EnglishTexts(), std::vector<std::string>{"This file is not a valid savegame!"});

    // Writing elsewhere leaves the game's file as it is.
    ASSERT_TRUE(session.WriteTo(File("copy.tsg")).Game);
    EXPECT_EQ(session.SaveFile(), File("a.tsg"));

    session.NewGame(NewGameSettings{});
    EXPECT_TRUE(session.SaveFile().empty());
}

TEST_F(SessionFixture, TheLanguageIsKeptInTheSettingsFileOfTheGamesFolder)
{
    session.SwitchLanguage(Language::German);
    EXPECT_EQ(session.State().Program.Language, Language::German);
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kLanguage), "2");
    session.SwitchLanguage(Language::English);
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kLanguage), "1");
}

TEST(SessionClose, TheWindowClosesOnlyWhenTheGameIsSafeOrGivenUp)
{
    struct Case {
        const char* What;
        bool GameActive;
        bool Autosave;
        bool AutosaveFails;
        std::deque<bool> Answers;
        bool MayClose;
        size_t Messages;  // failure messages and questions
    };
    const std::vector<Case> cases = {
        {"no game", false, true, false, {}, true, 0},
        {"autosave", true, true, false, {}, true, 0},
        {"autosave fails, leave anyway", true, true, true, {true}, true, 2},
        {"autosave fails, stay", true, true, true, {false}, false, 2},
        {"no autosave, leave", true, false, false, {true}, true, 1},
        {"no autosave, stay", true, false, false, {false}, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TempDir dir;
        // A program directory that is gone cannot take the autosave.
        const std::string program = c.AutosaveFails ? (dir / "missing").string() : dir.Str();
        RecordingFrontend f;
        GameSession session(f, program);
        session.SetSeed(6);
        if (c.GameActive)
            session.NewGame(NewGameSettings{});
        WritableState(session).Program.AutosaveOnExit = c.Autosave;
        f.Messages.clear();
        f.Answers = c.Answers;
        const std::string before = SavegameText(session.State());
        EXPECT_EQ(session.MayClose(), c.MayClose);
        EXPECT_EQ(session.State().GameActive, c.GameActive && !c.MayClose);
        ASSERT_EQ(f.Messages.size(), c.Messages);
        if (c.Messages > 0) {
            const auto& question = f.Messages.back();
            EXPECT_TRUE(question.Question);
            EXPECT_EQ(question.Text,
                      (LocalText{"Do you really want to leave this game?", "Wollen Sie das Spiel wirklich beenden?"}));
            EXPECT_EQ(question.Caption, (LocalText{"The TAVREK! War", "TAVRIK! - Das Spiel"}));
        }
        if (c.AutosaveFails) {
            EXPECT_EQ(f.Messages[0].Text, CannotOpenForSavingText(session.AutosavePath(), SaveProblem::NoFolder));
        }
        const std::string autosave = (dir / kAutosaveFileName).string();
        EXPECT_EQ(session.AutosavePath(), c.AutosaveFails ? (dir / "missing" / kAutosaveFileName).string() : autosave)
            << "the program directory's, never the working directory's";
        const bool saved = c.GameActive && c.Autosave && !c.AutosaveFails;
        EXPECT_EQ(std::filesystem::exists(autosave), saved);
        if (saved) {
            std::ifstream in(autosave, std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_EQ(text, before) << "the autosave holds the game as it was";
        }
    }
}

TEST(SessionClose, TheAutosaveIsAWholePathInTheProgramDirectory)
{
    // Not a bare name that the working directory at the close would place.
    RecordingFrontend f;
    for (const char* program : {".", "games/tavrek"}) {
        GameSession session(f, program);
        const std::filesystem::path autosave = session.AutosavePath();
        EXPECT_TRUE(autosave.is_absolute()) << program;
        EXPECT_EQ(autosave.lexically_normal(),
                  (std::filesystem::current_path() / program / kAutosaveFileName).lexically_normal());
    }
}

TEST_F(SessionFixture, AHintOpensItsCommandInItsTown)
{
    session.OpenCommand(CommandKind::ChangePrices, 4);
    EXPECT_EQ(session.Panel().CommandMode, PanelMode::None) << "no game, nothing opens";
    session.NewGame(NewGameSettings{});
    struct Case {
        CommandKind kind;
        int town;
        PanelMode mode;
    };
    for (const Case& c : {Case{CommandKind::ChangePrices, 4, PanelMode::ChangePrices},
                          Case{CommandKind::TransferMoney, 0, PanelMode::TransferMoney},
                          Case{CommandKind::BuildDepot, 9, PanelMode::BuildDepot},
                          Case{CommandKind::ExtendBrewery, 2, PanelMode::ExtendBrewery},
                          Case{CommandKind::TransportBeer, 7, PanelMode::TransportBeer},
                          Case{CommandKind::DeleteOrder, 3, PanelMode::DeleteOrder},
                          Case{CommandKind::BuildBrewery, 5, PanelMode::BuildBrewery}}) {
        session.OpenCommand(c.kind, c.town);
        EXPECT_EQ(session.State().SelectedTown, c.town);
        EXPECT_EQ(session.Panel().CommandMode, c.mode) << static_cast<int>(c.kind);
    }
    // Kinds without a mode, and towns off the map, change nothing.
    const int town = session.State().SelectedTown;
    for (const Case& c :
         {Case{CommandKind::NextTurn, 1, PanelMode::None}, Case{CommandKind::SelectTown, 1, PanelMode::None},
          Case{CommandKind::ChangePrices, 10, PanelMode::None}, Case{CommandKind::ChangePrices, -1, PanelMode::None}}) {
        session.OpenCommand(c.kind, c.town);
        EXPECT_EQ(session.State().SelectedTown, town);
        EXPECT_EQ(session.Panel().CommandMode, PanelMode::BuildBrewery);
    }
    EXPECT_EQ(session.State().MonthCount, 1) << "no turn ended";
}
