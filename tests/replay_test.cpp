// A game's record played again by tavrek-sim --replay: scripted, two-player, continued and
// reopened games come back byte for byte; an altered command is found at its month; records that
// cannot be played again are refused with one line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "commands/game_session.h"
#include "commands/replay.h"
#include "commands/town_selection.h"
#include "engine/month_digest.h"
#include "game/silent_frontend.h"
#include "persistence/history_file.h"
#include "recording_frontend.h"
#include "sim_runner.h"
#include "small_world.h"
#include "temp_dir.h"

namespace {

const std::filesystem::path kGames = std::filesystem::path(TAVREK_TEST_DATA).parent_path() / "games";

// Runs tavrek-sim and expects it to succeed.
void Sim(const std::string& args)
{
    const SimRun run = RunSim(args, true);
    ASSERT_EQ(run.Status, 0) << args << "\n" << run.Out;
}

// The record with one line replaced and its closing sum made right again, as a hand would.
std::string Altered(const std::string& record, const std::string& from, const std::string& to)
{
    std::string t = record;
    const auto at = t.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        t.replace(at, from.size(), to);
    t.resize(t.rfind("\nend ") + 1);
    return SealHistoryText(t);
}

// The record without its "do" lines, as one whose inputs could not be kept is written.
std::string WithoutInputs(const std::string& record)
{
    std::string t;
    for (size_t at = 0; at < record.size();) {
        const size_t end = record.find('\n', at) + 1;
        if (record.compare(at, 3, "do ") != 0)
            t += record.substr(at, end - at);
        at = end;
    }
    return t;
}

}  // namespace

TEST(Replay, GamesComeBackByteForByte)
{
    TempDir dir;
    const std::string d = dir.Str();
    WriteFile(dir / "two.txt",
              "1 1 transfer 5 200\n1 2 transfer 5 100\n2 1 select 4\n2 2 prices 2.5 - -\n"
              "3 1 depot\n4 2 new-brand yes\n");
    struct Case {
        const char* name;
        std::string play;  // the command lines that make `name`.tsg and its record
    };
    const Case cases[] = {
        {"scripted", "--dir " + d + " --seed 2024 --map 1 --start 3 --months 40 --commands " +
                         (kGames / "brewer_takes_the_lead.txt").string() + " --save " + d + "/scripted.tsg"},
        {"two", "--dir " + d + " --seed 4 --map 1 --start 3 --start2 9 --months 6 --commands " + d +
                    "/two.txt --save " + d + "/two.tsg"},
        // Saved, then opened again by another run with another generator: the record goes on.
        {"continued", "--dir " + d + " --seed 9 --map 2 --expert --months 10 --save " + d + "/continued.tsg"},
        // Opened from a savegame whose record is gone: the record begins with the savegame.
        {"reopened", "--dir " + d + " --seed 5 --map 3 --months 3 --save " + d + "/reopened.tsg"},
    };
    for (const Case& c : cases)
        Sim(c.play);
    Sim("--dir " + d + " --seed 77 --load " + d + "/continued.tsg --months 5 --save " + d + "/continued.tsg");
    std::filesystem::remove(dir / "reopened.tsg.history");
    Sim("--dir " + d + " --seed 78 --load " + d + "/reopened.tsg --months 4 --save " + d + "/reopened.tsg");

    for (const Case& c : cases) {
        const std::string name = c.name;
        const SimRun replay =
            RunSim("--replay " + d + "/" + name + ".tsg.history --save " + d + "/" + name + "-again.tsg", true);
        ASSERT_EQ(replay.Status, 0) << name << "\n" << replay.Out;
        EXPECT_NE(replay.Out.find("the savegame is the recorded one"), std::string::npos) << replay.Out;
        EXPECT_EQ(ReadFile(dir / (name + "-again.tsg")), ReadFile(dir / (name + ".tsg"))) << name;
        EXPECT_EQ(ReadFile(dir / (name + "-again.tsg.history")), ReadFile(dir / (name + ".tsg.history")))
            << name << ": the replay keeps the same record";
    }
    const std::string continued = ReadFile(dir / "continued.tsg.history");
    EXPECT_NE(continued.find("\nreopened 11 "), std::string::npos);
    EXPECT_NE(ReadFile(dir / "reopened.tsg.history").find("\nstart savegame "), std::string::npos);
}

namespace {

// The record as the version before wrote it: no books, no details of the newest month or of the
// open one, nothing marked whole.
std::string AsVersion3(const std::string& record)
{
    std::string out;
    std::size_t from = 0;
    const auto strip = [](std::string line) {
        if (line.size() >= 6 && line.compare(line.size() - 6, 6, " whole") == 0)
            line.resize(line.size() - 6);
        return line;
    };
    while (from < record.size()) {
        const std::size_t end = record.find('\n', from);
        const std::string line = record.substr(from, end - from);
        from = end + 1;
        if (line.rfind("end ", 0) == 0)
            break;
        const std::string kind = line.substr(0, line.find(' '));
        if (kind == "books" || kind == "kinds" || kind == "townspent" || kind == "unsold" || kind == "openbooks")
            continue;
        out += (kind == "TAVREK-HISTORY" ? std::string("TAVREK-HISTORY 3") : strip(line)) + "\n";
    }
    return SealHistoryText(out);
}

}  // namespace

TEST(Replay, ARecordOfTheVersionBeforePlaysAgain)
{
    // Its months' digests are the game's: the older record still plays again to the same bytes,
    // and a game opened beside it shows its months without their books.
    TempDir dir;
    const std::string d = dir.Str();
    Sim("--dir " + d + " --seed 2024 --map 1 --start 3 --months 40 --commands " +
        (kGames / "brewer_takes_the_lead.txt").string() + " --save " + d + "/a.tsg");
    const std::string record = ReadFile(dir / "a.tsg.history");
    const std::string older = AsVersion3(record);
    ASSERT_NE(older, record);
    ASSERT_EQ(older.find("\nbooks "), std::string::npos);
    WriteFile(dir / "a.tsg.history", older);
    const SimRun replay = RunSim("--replay " + d + "/a.tsg.history --save " + d + "/again.tsg", true);
    ASSERT_EQ(replay.Status, 0) << replay.Out;
    EXPECT_EQ(ReadFile(dir / "again.tsg"), ReadFile(dir / "a.tsg"));

    RecordingFrontend frontend;
    GameSession session(frontend, d);
    ASSERT_TRUE(session.Open(d + "/a.tsg"));
    ASSERT_EQ(session.LastHistoryLoad(), HistoryLoad::Loaded);
    ASSERT_EQ(session.History().Months.size(), 40u);
    EXPECT_FALSE(session.History().Months.back().Detailed);
    EXPECT_TRUE(session.History().Books.empty());
}

TEST(Replay, AnAlteredCommandIsFoundAtItsMonth)
{
    TempDir dir;
    const std::string d = dir.Str();
    Sim("--dir " + d + " --seed 2024 --map 1 --start 3 --months 40 --commands " +
        (kGames / "brewer_takes_the_lead.txt").string() + " --save " + d + "/a.tsg");
    const std::string record = ReadFile(dir / "a.tsg.history");
    struct Case {
        const char* from;
        const char* to;
        const char* says;
    };
    const Case cases[] = {
        // A brewery extended by one step less: the money before the market shows it first.
        {"\ndo 10 2 extend 0 5\n", "\ndo 10 2 extend 0 4\n",
         "month 10 (October 1750) differs: company 3's money before the market: recorded "},
        // Another first price: the month's sales.
        {"\ndo 1 2 prices 3.77 - -\n", "\ndo 1 2 prices 3.50 - -\n", "month 1 (January 1750) differs: company 3's "},
        // A command for a company that is not on turn.
        {"\ndo 10 2 extend 0 5\n", "\ndo 10 4 extend 0 5\n", "is for company 5 in month 10, but the game"},
        // A command the game turns down.
        {"\ndo 10 2 extend 0 5\n", "\ndo 10 2 extend 0 99999\n", "'extend 0 99999' was refused when played again"},
    };
    for (const Case& c : cases) {
        WriteFile(dir / "b.tsg.history", Altered(record, c.from, c.to));
        const SimRun run = RunSim("--replay " + d + "/b.tsg.history --save " + d + "/b.tsg", true);
        EXPECT_EQ(run.Status, 1) << c.to << "\n" << run.Out;
        EXPECT_NE(run.Out.find(c.says), std::string::npos) << c.to << "\n" << run.Out;
        EXPECT_EQ(run.Out.find('\n'), run.Out.size() - 1) << "one line: " << run.Out;
        EXPECT_FALSE(std::filesystem::exists(dir / "b.tsg")) << "nothing is saved";
    }
}

TEST(Replay, RecordsThatCannotBePlayedAgainAreRefusedWithTheirReason)
{
    TempDir dir;
    const std::string d = dir.Str();
    Sim("--dir " + d + " --seed 3 --map 2 --months 3 --save " + d + "/a.tsg");
    const std::string record = ReadFile(dir / "a.tsg.history");
    std::string old = "TAVREK-HISTORY 1\ngame 0123456789abcdef\nopen 0 0 0 0 0 0 0 0 0 0\n";
    struct Case {
        const char* what;
        std::string text;
        const char* says;
    };
    const Case cases[] = {
        {"version 1", SealHistoryText(old), "written by an older version of the game (format 1)"},
        {"version 2", SealHistoryText("TAVREK-HISTORY 2" + old.substr(16)),
         "written by an older version of the game (format 2)"},
        {"cut off", record.substr(0, record.size() / 2),
         "the record is damaged (line 1: the file is cut off or changed)"},
        {"newer", Altered(record, "TAVREK-HISTORY 4", "TAVREK-HISTORY 9"), "written by a newer version"},
        {"inputs the record could not keep",
         Altered(WithoutInputs(record), "\nmonth 1 ", "\nbroken a command was given by its panel\nmonth 1 "),
         "cannot play the game again: a command was given by its panel"},
        {"a command no one knows", Altered(record, "\ndo 1 ", "\ndo 1 0 frobnicate\ndo 1 "), "input 1 "},
        {"another start", Altered(record, "start new 0000000000000003 ", "start new 0000000000000004 "),
         "the game does not begin as recorded"},
        {"another game's savegame",
         Altered(record, record.substr(record.find("\ngame "), 22), "\ngame 0000000000000000"),
         "after its 3 inputs the game differs from the savegame the record belongs to"},
    };
    for (const Case& c : cases) {
        WriteFile(dir / "r.history", c.text);
        const SimRun run = RunSim("--replay " + d + "/r.history --save " + d + "/r.tsg", true);
        EXPECT_EQ(run.Status, 1) << c.what << "\n" << run.Out;
        EXPECT_EQ(run.Out.rfind("tavrek-sim: cannot replay '" + d + "/r.history': ", 0), 0u) << c.what << run.Out;
        EXPECT_NE(run.Out.find(c.says), std::string::npos) << c.what << "\n" << run.Out;
        EXPECT_EQ(run.Out.find('\n'), run.Out.size() - 1) << "one line: " << run.Out;
        EXPECT_FALSE(std::filesystem::exists(dir / "r.tsg")) << c.what;
    }
    const SimRun missing = RunSim("--replay " + d + "/none.history", true);
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Out.find("the file cannot be read"), std::string::npos) << missing.Out;
    const SimRun mixed = RunSim("--replay " + d + "/a.tsg.history --months 3", true);
    EXPECT_EQ(mixed.Status, 2) << mixed.Out;
}

TEST(MonthDigest, EveryValueOfTheGameAndTheGeneratorCount)
{
    GameState base = TenNamedCompanies(1);
    base.Program.Rng.Seed(11);
    const uint64_t digest = MonthDigest(base);
    EXPECT_NE(digest, 0u);
    GameState copy = base;
    EXPECT_EQ(MonthDigest(copy), digest) << "a copy is the same game";
    copy.History.AddMonth(1);
    EXPECT_EQ(MonthDigest(copy), digest) << "the record is not the game";
    copy.Program.Language = Language::German;
    EXPECT_EQ(MonthDigest(copy), digest) << "nor the program's language";

    struct Change {
        const char* what;
        void (*apply)(GameState&);
    };
    const Change changes[] = {
        {"month", [](GameState& s) { ++s.MonthCount; }},
        {"selected town", [](GameState& s) { s.SelectedTown = (s.SelectedTown + 1) % kTowns; }},
        {"an account's last bit",
         [](GameState& s) { s.Account[3][4] = std::nextafter(s.Account[3][4], s.Account[3][4] + 1.0L); }},
        {"a production cost", [](GameState& s) { s.ProductionCost[9][2][9] += 0.5L; }},
        {"a price", [](GameState& s) { s.Price[1][0][5] = std::nextafter(s.Price[1][0][5], 10.0f); }},
        {"a stock", [](GameState& s) { s.Stock[2][1][3] += 1; }},
        {"the last market's sales", [](GameState& s) { s.Sales[9][2][9] += 1; }},
        {"a stage of construction", [](GameState& s) { s.ConstructionPipeline[5][1][2][2] += 100; }},
        {"a depot", [](GameState& s) { s.HasDepot[4][7] = !s.HasDepot[4][7]; }},
        {"a standing order", [](GameState& s) { s.StandingOrder[6][9].Amount += 1; }},
        {"a brand's name", [](GameState& s) { s.BrandName[8][2] += "x"; }},
        {"a town's demand", [](GameState& s) { s.Demand[9] += 1; }},
        {"a wage", [](GameState& s) { s.Wages[0] = std::nextafter(s.Wages[0], 10.0f); }},
        {"the winning share", [](GameState& s) { s.WinningShare += 1e-9; }},
        {"a brand offered", [](GameState& s) { s.BrandOffered[9] = !s.BrandOffered[9]; }},
        {"the second player", [](GameState& s) { s.PlayerCompany[1] = 5; }},
        {"the generator", [](GameState& s) { s.Program.Rng.Draw(); }},
    };
    for (const Change& c : changes) {
        GameState changed = base;
        c.apply(changed);
        EXPECT_NE(MonthDigest(changed), digest) << c.what;
    }
}

namespace {

// A session as the window drives it, in a folder of its own.
struct WindowLikeSession {
    TempDir dir;
    RecordingFrontend frontend;
    GameSession session{frontend, dir.Str()};
    WindowLikeSession()
    {
        session.SetSeed(21);
        session.SetShowBestOpponent(false);
        NewGameSettings settings;
        settings.Map = 2;
        session.NewGame(settings);
    }
};

}  // namespace

TEST(Replay, ClicksKeysAndRestoredNamesArePlayedAgainInASession)
{
    WindowLikeSession played;
    GameSession& s = played.session;
    const int town = (s.State().SelectedTown + 3) % kTowns;
    const TownRect& r = kTownHitRects[1][town];
    s.ClickMap(MouseButton::Left, false, (r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2);
    s.NextTurn();
    s.StepTown(1);
    s.ClickMap(MouseButton::Right, false, (r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2);
    played.frontend.Answers.push_back(true);
    ASSERT_TRUE(s.RestoreNames());
    for (int m = 0; m < 3; ++m)
        s.NextTurn();
    const GameInputs& inputs = s.History().Inputs;
    ASSERT_TRUE(inputs.Replayable());
    ASSERT_GE(inputs.Entries.size(), 7u) << "the clicks and the key that chose a town, the names, four turns";
    EXPECT_EQ(inputs.Entries[0].Text, Format("select %d", town));
    EXPECT_EQ(inputs.Entries[1].Text, "next-turn");
    EXPECT_EQ(inputs.Entries[2].Text.rfind("select ", 0), 0u) << "Page Down";
    EXPECT_EQ(std::count_if(inputs.Entries.begin(), inputs.Entries.end(),
                            [](const RecordedInput& e) { return e.Kind == InputKind::Names; }),
              1);

    TempDir elsewhere;
    SilentFrontend silent;
    GameSession again(silent, elsewhere.Str());
    const ReplayResult result = ReplayRecord(again, s.History());
    ASSERT_TRUE(result.Ok) << result.Reason;
    EXPECT_EQ(result.Months, 4);
    EXPECT_EQ(SavegameText(again.State()), SavegameText(s.State()));
    EXPECT_EQ(MonthDigest(again.State()), MonthDigest(s.State()));
}

TEST(Replay, OkInACommandModeIsNoDoorAroundTheRecord)
{
    // A command mode's OK is its command: the bare OK leaves the game and its inputs alone.
    WindowLikeSession played;
    GameSession& s = played.session;
    const std::string before = SavegameText(s.State());
    const size_t entries = s.History().Inputs.Entries.size();
    s.EnterMode(PanelMode::TransferMoney);
    s.PressOk();
    EXPECT_EQ(SavegameText(s.State()), before);
    EXPECT_TRUE(s.History().Inputs.Replayable());
    EXPECT_EQ(s.History().Inputs.Entries.size(), entries);
}
