// The guided first game: its fixed world, each step done by the command it teaches and by
// nothing else, the steps in order, the guide's end when the game is replaced, its words in both
// languages, and tavrek-sim playing the guided game through to the end from a script.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "commands/game_session.h"
#include "commands/guided_game.h"
#include "recording_frontend.h"
#include "sim_runner.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kGames = fs::path(TAVREK_TEST_DATA).parent_path() / "games";

Command Make(const std::string& text)
{
    Command command;
    std::string error;
    EXPECT_TRUE(ParseCommand(text, command, error)) << text << ": " << error;
    return command;
}

struct GuidedFixture : ::testing::Test {
    TempDir dir;
    RecordingFrontend frontend;
    GameSession session{frontend, dir.Str()};
    GuidedProgress progress;

    void SetUp() override
    {
        StartGuidedGame(session);
        progress = BeginGuide(session.State());
    }
    // Runs a command as the player would and tells whether the session took it; the guide looks
    // at the game after each command, as the window's guide box and tavrek-sim do.
    bool Do(const std::string& text)
    {
        const CommandResult result = session.Execute(Make(text));
        if (!result.Accepted && session.Panel().CommandMode != PanelMode::Idle)
            session.PressCancel();
        CurrentGuidedStep(session.State(), progress);
        return result.Accepted;
    }
    GuidedStep Step() { return CurrentGuidedStep(session.State(), progress); }
};

}  // namespace

TEST_F(GuidedFixture, TheWorldIsTheSameEveryTimeAndWhatTheGuideSaysOfItHolds)
{
    TempDir other;
    RecordingFrontend quiet;
    GameSession again(quiet, other.Str());
    again.SetSeed(12345);  // whatever the program's generator held before
    StartGuidedGame(again);
    EXPECT_TRUE(static_cast<const GameData&>(again.State()) == static_cast<const GameData&>(session.State()));

    const GameState& s = session.State();
    EXPECT_FALSE(s.TwoPlayer);
    EXPECT_FALSE(s.EventsOn);
    EXPECT_EQ(s.PlayerCompany[0], kGuidedHomeTown);
    EXPECT_EQ(s.SelectedTown, kGuidedHomeTown);
    EXPECT_EQ(s.TownName[kGuidedHomeTown], "Fotzingfors");
    EXPECT_EQ(s.TownName[kGuidedNeighbourTown], "Kha'Sar");
    // What the steps' words take for granted: no money in the neighbour town, beer at home to
    // carry, home drinking far more than the player's brewery brews.
    EXPECT_EQ(s.Account[kGuidedHomeTown][kGuidedNeighbourTown], 0.0L);
    EXPECT_GE(s.Stock[kGuidedHomeTown][0][kGuidedHomeTown], 400);
    EXPECT_GT(s.Demand[kGuidedHomeTown], 5 * s.Capacity[kGuidedHomeTown][0][kGuidedHomeTown]);
    // The neighbour is thirsty, and the beer suits its wages (within 0.15: it sells at any fair
    // price there).
    int32_t brewed = 0;
    for (int c = 0; c < kCompanies; ++c)
        for (int b = 0; b < kBrands; ++b)
            brewed += s.Capacity[c][b][kGuidedNeighbourTown];
    EXPECT_GT(s.Demand[kGuidedNeighbourTown], 5 * brewed);
    EXPECT_LT(std::fabs(s.Quality[kGuidedHomeTown][0] - s.Wages[kGuidedNeighbourTown]), 0.15f);
    EXPECT_EQ(Step(), GuidedStep::SelectTown);
}

// Each step as the guide words it: the commands before it leave it open, its own command does it.
TEST_F(GuidedFixture, EachStepIsDoneByTheCommandItTeaches)
{
    const struct {
        GuidedStep Step;
        std::vector<std::string> Commands;
    } steps[] = {
        {GuidedStep::SelectTown, {"select 9"}},
        {GuidedStep::SetPrice, {"select 2", "prices 3.50 - -"}},
        {GuidedStep::TransportBeer, {"transport 0 9 400"}},
        {GuidedStep::TransferMoney, {"transfer 9 8000"}},
        {GuidedStep::BuildDepot, {"select 9", "depot"}},
        {GuidedStep::ExtendBrewery, {"select 2", "extend 0 5"}},
        {GuidedStep::StandingOrder, {"order 0 2 9 300"}},
        {GuidedStep::NextTurn, {"next-turn"}},
    };
    for (const auto& step : steps) {
        ASSERT_EQ(Step(), step.Step) << "before " << step.Commands.back();
        for (const std::string& command : step.Commands) {
            EXPECT_TRUE(Do(command)) << command;
            if (&command != &step.Commands.back()) {
                EXPECT_EQ(Step(), step.Step) << "after " << command;
            }
        }
    }
    ASSERT_EQ(Step(), GuidedStep::ReadReport);
    progress.ReportRead = true;
    EXPECT_EQ(Step(), GuidedStep::Done);
    EXPECT_EQ(Step(), GuidedStep::Done) << "the end stays the end";
}

TEST_F(GuidedFixture, ARefusedCommandDoesNotCountAsItsStep)
{
    ASSERT_TRUE(Do("select 9"));
    ASSERT_TRUE(Do("select 2"));
    // Change Prices left with Cancel sets no price.
    session.EnterMode(PanelMode::ChangePrices);
    session.PressCancel();
    EXPECT_EQ(Step(), GuidedStep::SetPrice);
    ASSERT_TRUE(Do("prices 3.40 - -"));
    // More beer than home holds, or from a town without any: refused, nothing arrived.
    EXPECT_FALSE(Do("transport 0 9 999999"));
    EXPECT_EQ(Step(), GuidedStep::TransportBeer);
    ASSERT_TRUE(Do("transport 0 9 300"));
    ASSERT_EQ(Step(), GuidedStep::TransferMoney);
    // A depot where the account is empty is refused; the money step stays open too.
    ASSERT_TRUE(Do("select 9"));
    EXPECT_FALSE(Do("depot"));
    EXPECT_FALSE(Do("transfer 2 8000")) << "no money in Kha'Sar to send";
    EXPECT_EQ(Step(), GuidedStep::TransferMoney);
    // An order from a town to itself is refused.
    EXPECT_FALSE(Do("order 0 2 2 300"));
    EXPECT_EQ(CurrentGuidedStep(session.State(), progress), GuidedStep::TransferMoney);
}

TEST_F(GuidedFixture, StepsComeInOrderAndWhatWasDoneAheadCountsWhenItsTurnComes)
{
    // The later lessons first: money, depot, extension, order. The guide still waits for the town.
    ASSERT_TRUE(Do("transfer 9 8000"));
    ASSERT_TRUE(Do("select 2"));
    ASSERT_TRUE(Do("extend 0 3"));
    ASSERT_TRUE(Do("order money 2 9 100"));
    EXPECT_EQ(Step(), GuidedStep::SelectTown);
    ASSERT_TRUE(Do("select 9"));
    ASSERT_TRUE(Do("depot"));
    EXPECT_EQ(Step(), GuidedStep::SetPrice);
    EXPECT_TRUE(GuidedStepDone(session.State(), progress, GuidedStep::BuildDepot));
    ASSERT_TRUE(Do("prices 3.00 - -")) << "a price in Kha'Sar counts too";
    EXPECT_EQ(Step(), GuidedStep::TransportBeer);
    ASSERT_TRUE(Do("select 2"));
    ASSERT_TRUE(Do("transport 0 9 200"));
    EXPECT_EQ(Step(), GuidedStep::NextTurn) << "money, depot, extension and order were done already";
    // The report cannot be read before a month has closed.
    progress.ReportRead = true;
    EXPECT_FALSE(GuidedStepDone(session.State(), progress, GuidedStep::ReadReport));
    ASSERT_TRUE(Do("next-turn"));
    EXPECT_EQ(Step(), GuidedStep::Done);
}

TEST_F(GuidedFixture, TheGuideFitsOnlyTheGameItBeganWith)
{
    EXPECT_TRUE(GuideStillFits(session.State(), progress));
    ASSERT_TRUE(Do("next-turn"));
    EXPECT_TRUE(GuideStillFits(session.State(), progress)) << "the months go on";

    const GuidedProgress started = progress;
    const struct {
        const char* What;
        NewGameSettings Settings;
    } others[] = {
        {"another map",
         [] {
             NewGameSettings s = GuidedGameSettings();
             s.Map = 2;
             return s;
         }()},
        {"another town",
         [] {
             NewGameSettings s = GuidedGameSettings();
             s.Player1Start = 5;
             return s;
         }()},
        {"two players",
         [] {
             NewGameSettings s = GuidedGameSettings();
             s.TwoPlayer = true;
             s.Player2Start = 6;
             return s;
         }()},
    };
    for (const auto& other : others) {
        StartGuidedGame(session);
        ASSERT_TRUE(Do("next-turn"));
        ASSERT_TRUE(GuideStillFits(session.State(), started));
        session.NewGame(other.Settings);
        EXPECT_FALSE(GuideStillFits(session.State(), started)) << other.What;
    }
    // A game of the same kind, but back before the month the guide has seen.
    StartGuidedGame(session);
    ASSERT_TRUE(Do("next-turn"));
    const GuidedProgress inFebruary = BeginGuide(session.State());
    StartGuidedGame(session);
    EXPECT_FALSE(GuideStillFits(session.State(), inFebruary));
    session.Leave();
    EXPECT_FALSE(GuideStillFits(session.State(), BeginGuide(session.State()))) << "no game runs";
}

TEST_F(GuidedFixture, EveryStepIsWordedInBothLanguagesWithTheGamesNames)
{
    const GameState& s = session.State();
    for (int i = 0; i <= kGuidedSteps; ++i) {
        const auto step = static_cast<GuidedStep>(i);
        const GuidedText english = GuidedStepText(s, step, Language::English);
        const GuidedText german = GuidedStepText(s, step, Language::German);
        for (const GuidedText* text : {&english, &german}) {
            EXPECT_FALSE(text->Title.empty()) << i;
            EXPECT_GT(text->Body.size(), 60u) << i;
            EXPECT_EQ(text->Body.find('{'), std::string::npos) << text->Body;
        }
        EXPECT_NE(english.Body, german.Body) << i;
        if (step != GuidedStep::Done) {
            EXPECT_EQ(english.Title.rfind("Step " + std::to_string(i + 1) + " of 9: ", 0), 0u) << english.Title;
            EXPECT_EQ(german.Title.rfind("Schritt " + std::to_string(i + 1) + " von 9: ", 0), 0u) << german.Title;
        }
    }
    EXPECT_NE(GuidedStepText(s, GuidedStep::SelectTown, Language::English).Body.find("Kha'Sar"), std::string::npos);
    EXPECT_NE(GuidedStepText(s, GuidedStep::TransportBeer, Language::German).Body.find(s.BrandName[2][0]),
              std::string::npos);
    // A name with a format's characters is put in as it stands.
    GameState odd = s;
    odd.TownName[kGuidedNeighbourTown] = "%s%n{h}";
    EXPECT_NE(GuidedStepText(odd, GuidedStep::SelectTown, Language::English).Body.find("%s%n{h}"), std::string::npos);
}

// The CI's run through the guided game: every step is reached in turn, so none can have become
// impossible, and the month report is read at the end.
TEST(GuidedGameSim, TavrekSimPlaysTheGuidedGameThroughToTheEnd)
{
    TempDir dir;
    const SimRun run =
        RunSim("--dir " + dir.Str() + " --guided --months 1 --commands " + (kGames / "guided_game.txt").string());
    ASSERT_EQ(run.Status, 0) << run.Out;
    std::vector<std::string> guide;
    int reportLines = 0;
    std::istringstream lines(run.Out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("guide ", 0) == 0)
            guide.push_back(line);
        if (line.rfind("report 2: ", 0) == 0)
            ++reportLines;
    }
    // A fresh session words the steps the same way the simulator does.
    RecordingFrontend quiet;
    GameSession session(quiet, dir.Str());
    StartGuidedGame(session);
    ASSERT_EQ(guide.size(), static_cast<size_t>(kGuidedSteps + 1)) << run.Out;
    for (int i = 0; i <= kGuidedSteps; ++i) {
        const int month = i <= static_cast<int>(GuidedStep::NextTurn) ? 1 : 2;
        EXPECT_EQ(guide[static_cast<size_t>(i)],
                  "guide " + std::to_string(month) + ": " +
                      GuidedStepText(session.State(), static_cast<GuidedStep>(i), Language::English).Title);
    }
    EXPECT_GE(reportLines, 3) << "the month report is read: " << run.Out;
    EXPECT_NE(run.Out.find("report 2: Report for January 1750"), std::string::npos) << run.Out;
}

TEST(GuidedGameSim, TheGuidedWorldTakesNoOptionThatChoosesAnother)
{
    TempDir dir;
    for (const char* world : {"--map 2", "--seed 7", "--start 4", "--no-events", "--load x.tsg", "--share 70"}) {
        const SimRun run = RunSim("--dir " + dir.Str() + " --guided " + world, true);
        EXPECT_EQ(run.Status, 2) << world;
        EXPECT_NE(run.Out.find("--guided"), std::string::npos) << run.Out;
    }
    // Without a script it is the guided world all the same, waiting at its first step.
    const SimRun run = RunSim("--dir " + dir.Str() + " --guided --months 1");
    ASSERT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("guide 1: Step 1 of 9: Select a town"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("Step 2 of 9"), std::string::npos) << run.Out;
}
