// The window's clear end of a game and its guard against losing a game by a slip, decided by the
// session without a window: when a game is over, what the panel says then, when New, Open and
// Exit ask to save the running game, the window's title with the game's file; what the option
// "Comforts" changes of the game's own flow, off (the game as it always went) and on.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/game_session.h"
#include "persistence/settings.h"
#include "commands/statistics.h"
#include "recording_frontend.h"
#include "temp_dir.h"
#include "session_door.h"

namespace {

struct GameEndFixture : ::testing::Test {
    TempDir dir;
    RecordingFrontend frontend;
    GameSession session{frontend, dir.Str()};
    std::string File(const char* name) const { return (dir / name).string(); }
    /// Most cases here are the comforts'; the table at the end plays them off as well.
    bool comforts = true;

    void Start(bool twoPlayer = false)
    {
        session.StopAtTheEnd(true);
        WritableState(session).Program.Comforts = comforts;
        session.SetSeed(11);
        NewGameSettings settings;
        settings.TwoPlayer = twoPlayer;
        settings.Player2Start = 5;
        session.NewGame(settings);
        session.SetShowBestOpponent(false);
        frontend.Messages.clear();
    }
    void Bankrupt(int company) { WritableState(session).Account[company].fill(-1e9L); }
    /// Last month's sales of the company were the whole demand: it wins at the next test.
    void SellEverything(int company)
    {
        GameState& s = WritableState(session);
        for (int c = 0; c < kCompanies; ++c)
            for (auto& brand : s.Sales[c])
                brand.fill(0);
        s.Sales[company][0] = s.Demand;
    }
    std::vector<std::string> PanelTexts(Language language)
    {
        WritableState(session).Program.Language = language;
        std::vector<std::string> texts;
        for (const PanelText& t : session.Content().Texts)
            texts.push_back(t.Text);
        return texts;
    }
};

}  // namespace

TEST_F(GameEndFixture, TheGameEndsWhenACompanyWinsOrTheOnlyPlayerIsLiquidated)
{
    struct Case {
        const char* what;
        int winner;     // who sells everything: 0 the player, 1 a computer company, -1 nobody
        bool bankrupt;  // the player ends the turn in debt
        GameEnd end;    // Points filled in below for a human winner
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {"the player wins",
         0,
         false,
         {0, true, 0, -1},
         "The game is over: %s has won with %d points.",
         "Das Spiel ist aus: %s hat mit %d Punkten gewonnen."},
        {"a computer company wins",
         1,
         false,
         {1, false, 0, -1},
         "The game is over: %s has won.",
         "Das Spiel ist aus: %s hat gewonnen."},
        {"the only player goes bankrupt",
         -1,
         true,
         {-1, false, 0, 0},
         "The game is over: %s's company has been liquidated.",
         "Das Spiel ist aus: Die Firma von %s ist Pleite."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start();
        const int me = session.State().CurrentCompany;
        const int other = (me + 1) % kCompanies;
        if (c.winner >= 0)
            SellEverything(c.winner == 0 ? me : other);
        if (c.bankrupt)
            Bankrupt(me);
        session.NextTurn();
        ASSERT_TRUE(session.End().has_value());
        GameEnd expected = c.end;
        for (int* company : {&expected.Winner, &expected.LastPlayer})
            if (*company >= 0)
                *company = *company == 0 ? me : other;
        if (expected.HumanWon) {
            EXPECT_GT(session.End()->Points, 0);
            expected.Points = session.End()->Points;
        }
        EXPECT_EQ(*session.End(), expected);
        EXPECT_EQ(session.Panel().CommandMode, PanelMode::GameOver);

        const int named = c.winner == 1 ? other : me;
        const char* name = session.State().CompanyName[named].c_str();
        const std::string english = c.end.HumanWon ? Format(c.english, name, expected.Points) : Format(c.english, name);
        const std::string german = c.end.HumanWon ? Format(c.german, name, expected.Points) : Format(c.german, name);
        EXPECT_EQ(PanelTexts(Language::English).at(0), english);
        EXPECT_EQ(PanelTexts(Language::German).at(0), german);
        const PanelContent content = session.Content();
        EXPECT_EQ(content.Button9Caption, "Neues Spiel");
        EXPECT_EQ(content.Button10Caption, "Spiel öffnen");
        EXPECT_EQ(content.Visible, (std::vector<PanelControl>{PanelControl::Button9, PanelControl::Button10}));
        WritableState(session).Program.Language = Language::English;

        // No further turn and no command: the rules' state stays as the end left it.
        const GameData ended = session.State();
        session.NextTurn();
        session.EnterMode(PanelMode::ChangePrices);
        session.PressOk();
        Command prices;
        prices.Kind = CommandKind::ChangePrices;
        prices.Prices = {"1.00", "1.00", "1.00"};
        EXPECT_FALSE(session.Execute(prices).Accepted);
        session.PressCancel();
        session.ClickMap(MouseButton::Right, false, 100, 220);
        EXPECT_TRUE(static_cast<const GameData&>(session.State()) == ended);
        EXPECT_EQ(session.Panel().CommandMode, PanelMode::GameOver);
        // A new game is played again.
        Start();
        EXPECT_FALSE(session.End().has_value());
        EXPECT_EQ(session.Panel().CommandMode, PanelMode::Idle);
    }
}

TEST_F(GameEndFixture, InATwoPlayerGameTheOtherPlayerGoesOnAloneAfterABankruptcy)
{
    Start(true);
    const int second = session.State().PlayerCompany[1];
    Bankrupt(session.State().PlayerCompany[0]);
    session.NextTurn();
    EXPECT_FALSE(session.End().has_value());
    EXPECT_EQ(session.State().CurrentCompany, second);
    EXPECT_EQ(session.Panel().CommandMode, PanelMode::Idle);
    // Now the only player, the second one's bankruptcy ends the game.
    Bankrupt(second);
    session.NextTurn();
    ASSERT_TRUE(session.End().has_value());
    EXPECT_EQ(session.End()->LastPlayer, second);
    // Saved and opened again, the game is still over: its record keeps the end.
    const GameEnd over = *session.End();
    ASSERT_EQ(session.SaveAs(File("over.tsg")), SaveStatus::Saved);
    GameSession reader(frontend, dir.Str());
    reader.StopAtTheEnd(true);
    ASSERT_TRUE(reader.Open(File("over.tsg")));
    ASSERT_TRUE(reader.End().has_value());
    EXPECT_EQ(*reader.End(), over);
    EXPECT_EQ(reader.Panel().CommandMode, PanelMode::GameOver);
    reader.NextTurn();
    EXPECT_EQ(reader.State().MonthCount, session.State().MonthCount) << "no further turn";
    // Without its record the savegame alone cannot tell: it opens running. Where the months go
    // on (tavrek-sim), the game runs on too.
    std::filesystem::remove(File("over.tsg.history"));
    ASSERT_TRUE(reader.Open(File("over.tsg")));
    EXPECT_FALSE(reader.End().has_value());
    ASSERT_EQ(session.Save(), SaveStatus::Saved);
    GameSession sim(frontend, dir.Str());
    ASSERT_EQ(sim.Load(File("over.tsg")), LoadStatus::Loaded);
    EXPECT_FALSE(sim.End().has_value());
    EXPECT_FALSE(sim.History().End.has_value());
    EXPECT_EQ(sim.Panel().CommandMode, PanelMode::Idle);
}

TEST_F(GameEndFixture, WithoutStoppingTheMonthsGoOnAsTheRulesLeaveThem)
{
    // tavrek-sim plays on after the end, as the game always did.
    Start();
    session.StopAtTheEnd(false);
    Bankrupt(session.State().CurrentCompany);
    session.NextTurn();
    EXPECT_FALSE(session.End().has_value());
    EXPECT_EQ(session.Panel().CommandMode, PanelMode::Idle);
    const int month = session.State().MonthCount;
    session.NextTurn();
    EXPECT_EQ(session.State().MonthCount, month + 1);
}

TEST_F(GameEndFixture, NewOpenAndExitAskToSaveOnlyAChangedGame)
{
    EXPECT_EQ(session.BeforeReplacingGame(), GameSession::Leaving::Go) << "no game";
    Start();
    EXPECT_FALSE(session.Changed()) << "a new game has nothing to lose yet";
    session.ClickMap(MouseButton::Left, false, 100, 220);
    EXPECT_FALSE(session.Changed()) << "choosing a town changes nothing";
    EXPECT_EQ(session.BeforeReplacingGame(), GameSession::Leaving::Go);
    EXPECT_TRUE(frontend.Messages.empty());

    Command prices;
    prices.Kind = CommandKind::ChangePrices;
    prices.Prices = {"3.25", "", ""};
    session.Execute(prices);
    EXPECT_TRUE(session.Changed());
    frontend.ThreeWayAnswers = {YesNoCancel::Yes, YesNoCancel::No, YesNoCancel::Cancel};
    EXPECT_EQ(session.BeforeReplacingGame(), GameSession::Leaving::SaveFirst);
    EXPECT_EQ(session.BeforeReplacingGame(), GameSession::Leaving::Go);
    EXPECT_EQ(session.BeforeReplacingGame(), GameSession::Leaving::Stay);
    ASSERT_EQ(frontend.Messages.size(), 3u);
    EXPECT_TRUE(frontend.Messages[0].Question);
    EXPECT_EQ(frontend.Messages[0].Text, (LocalText{"Save the running game?", "Das laufende Spiel speichern?"}));
    EXPECT_TRUE(session.State().GameActive) << "asking leaves the game as it is";

    // Saved, opened or ended by a month: changed again only by what comes after.
    ASSERT_EQ(session.SaveAs(File("kept.tsg")), SaveStatus::Saved);
    EXPECT_FALSE(session.Changed());
    session.NextTurn();
    EXPECT_TRUE(session.Changed());
    ASSERT_TRUE(session.Open(File("kept.tsg")));
    EXPECT_FALSE(session.Changed());
}

TEST_F(GameEndFixture, APlayersWinIsKeptInTheHighscoreTableOnceTheMonthIsOver)
{
    auto win = [&] {
        Start();
        const int me = session.State().CurrentCompany;
        SellEverything(me);
        session.NextTurn();
        EXPECT_TRUE(session.End().has_value() && session.End()->HumanWon);
        return session.End() ? session.End()->Points : 0;
    };
    const int map = session.State().MapNumber - 1;
    const int32_t points = win();
    ASSERT_GT(points, 0);
    EXPECT_EQ(frontend.EnglishTexts().back(), "New Highscore!");
    EXPECT_EQ(ReadBestScore(dir.Str(), map), points);
    const GameState& s = session.State();
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kHighscoreHolder[map]),
              s.CompanyName[s.PlayerCompany[0]] + " from " + s.TownName[s.PlayerCompany[0]]);

    // The same score again is no highscore: nothing said, the entry stays.
    RecordHighscore(dir.Str(), map, "Someone from Somewhere", points + 1);
    EXPECT_EQ(win(), points);
    EXPECT_NE(frontend.EnglishTexts().back(), "New Highscore!");
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kHighscoreHolder[map]), "Someone from Somewhere");
    EXPECT_EQ(ReadBestScore(dir.Str(), map), points + 1);
}

TEST_F(GameEndFixture, ClosingAsksToSaveAChangedGameUnlessAutosaveKeepsIt)
{
    Start();
    session.NextTurn();
    ASSERT_TRUE(session.Changed());
    frontend.Messages.clear();

    // Autosave: saved without a question, as always.
    session.SetAutosaveOnExit(true);
    EXPECT_EQ(session.AutosavePath(), File("Autosave.tsg")) << "in the program directory";
    EXPECT_EQ(session.BeforeClosing(), GameSession::Leaving::Go);
    session.SetAutosaveOnExit(false);
    EXPECT_TRUE(std::filesystem::exists(File("Autosave.tsg")));
    EXPECT_TRUE(frontend.Messages.empty());

    for (const YesNoCancel answer : {YesNoCancel::Cancel, YesNoCancel::Yes, YesNoCancel::No}) {
        Start();
        session.NextTurn();
        frontend.Messages.clear();
        frontend.ThreeWayAnswers = {answer};
        const GameSession::Leaving leaving = session.BeforeClosing();
        ASSERT_EQ(frontend.Messages.size(), 1u);
        EXPECT_EQ(frontend.Messages[0].Text.English, "Save the running game?");
        EXPECT_EQ(leaving, answer == YesNoCancel::Yes  ? GameSession::Leaving::SaveFirst
                           : answer == YesNoCancel::No ? GameSession::Leaving::Go
                                                       : GameSession::Leaving::Stay);
        // "No" leaves the game; the others keep it until it is saved.
        EXPECT_EQ(session.State().GameActive, answer != YesNoCancel::No);
    }

    // An unchanged game: the old question, as without our guard.
    Start();
    frontend.Answers = {false};
    EXPECT_EQ(session.BeforeClosing(), GameSession::Leaving::Stay);
    EXPECT_EQ(frontend.EnglishTexts(), std::vector<std::string>{"Do you really want to leave this game?"});
}

TEST_F(GameEndFixture, TheTitleNamesTheGamesFile)
{
    const LocalText caption{"The TAVREK! War", "TAVRIK! - Das Spiel"};
    Start();
    EXPECT_EQ(session.Title(caption), "The TAVREK! War");
    ASSERT_EQ(session.SaveAs(File("Bob's year.tsg")), SaveStatus::Saved);
    EXPECT_EQ(session.Title(caption), "Bob's year.tsg - The TAVREK! War");
    WritableState(session).Program.Language = Language::German;
    EXPECT_EQ(session.Title(caption), "Bob's year.tsg - TAVRIK! - Das Spiel");
    Start();
    EXPECT_EQ(session.Title(caption), "TAVRIK! - Das Spiel") << "a new game has no file";
}

TEST_F(GameEndFixture, TheComfortsChangeTheFlowOnlyWhenTheyAreOn)
{
    const LocalText caption{"The TAVREK! War", "TAVRIK! - Das Spiel"};
    for (const Language language : {Language::English, Language::German})
        for (const bool on : {false, true}) {
            SCOPED_TRACE(std::string(on ? "on, " : "off, ") + (language == Language::German ? "German" : "English"));
            comforts = on;
            const bool german = language == Language::German;
            auto lastQuestion = [&] {
                return frontend.Messages.empty() ? std::string() : frontend.Messages.back().Text.In(language);
            };
            Start();
            WritableState(session).Program.Language = language;
            ASSERT_EQ(session.SaveAs(File("flow.tsg")), SaveStatus::Saved);
            session.NextTurn();
            ASSERT_TRUE(session.Changed());
            frontend.Messages.clear();

            // The title: the savegame's name and "*" for a change, or the caption alone.
            const std::string title = caption.In(language);
            EXPECT_EQ(session.Title(caption), on ? "flow.tsg* - " + title : title);

            // New and Open: a question on a changed game, or straight on.
            frontend.ThreeWayAnswers = {YesNoCancel::Cancel};
            EXPECT_EQ(session.BeforeReplacingGame(), on ? GameSession::Leaving::Stay : GameSession::Leaving::Go);
            EXPECT_EQ(lastQuestion(), on ? (german ? "Das laufende Spiel speichern?" : "Save the running game?") : "");

            // Exit: the save question, or the game's own question whatever changed.
            frontend.Messages.clear();
            frontend.ThreeWayAnswers = {YesNoCancel::Cancel};
            frontend.Answers = {false};
            EXPECT_EQ(session.BeforeClosing(), GameSession::Leaving::Stay);
            EXPECT_EQ(lastQuestion(), on ? (german ? "Das laufende Spiel speichern?" : "Save the running game?")
                                         : (german ? "Wollen Sie das Spiel wirklich beenden?"
                                                   : "Do you really want to leave this game?"));
            ASSERT_EQ(session.SaveAs(File("flow.tsg")), SaveStatus::Saved);
            frontend.Messages.clear();
            frontend.Answers = {false};
            EXPECT_EQ(session.BeforeClosing(), GameSession::Leaving::Stay);
            EXPECT_EQ(frontend.Messages.size(), 1u) << "an unchanged game: the game's own question in both";
            EXPECT_EQ(session.Title(caption), on ? "flow.tsg - " + title : title);

            // A list with one entry: chosen already, or left for the player.
            EXPECT_EQ(session.Content().PreselectSingleEntry, on);

            // The statistics view: the selected town and own company, kept; or item 0, key 0.
            session.ClickMap(MouseButton::Left, false, 100, 220);  // Tomsville
            const int town = session.State().SelectedTown;
            const int own = session.State().CurrentCompany;
            ASSERT_NE(town, 0);
            const StatisticsChoice kept{-1, 3, -1, 2};
            EXPECT_EQ(OpeningStatisticsChoice(session.State(), kept),
                      on ? (StatisticsChoice{town, 3, own, 2}) : (StatisticsChoice{0, 0, 0, 0}));
            EXPECT_EQ(OpeningStatisticsChoice(session.State(), StatisticsChoice{7, 1, 4, 4}),
                      on ? (StatisticsChoice{7, 1, 4, 4}) : (StatisticsChoice{0, 0, 0, 0}));

            // The only player's liquidation: the panel that ends the game, or the months run on.
            Start();
            Bankrupt(session.State().CurrentCompany);
            const int month = session.State().MonthCount;
            session.NextTurn();
            EXPECT_EQ(session.End().has_value(), on);
            EXPECT_EQ(session.Panel().CommandMode, on ? PanelMode::GameOver : PanelMode::Idle);
            session.NextTurn();
            EXPECT_EQ(session.State().MonthCount, on ? month + 1 : month + 2);

            // A victory ends the game in both.
            Start();
            SellEverything(session.State().CurrentCompany);
            session.NextTurn();
            EXPECT_TRUE(session.End().has_value());
            EXPECT_EQ(session.Panel().CommandMode, PanelMode::GameOver);
        }
}
