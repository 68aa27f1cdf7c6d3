// Savegames: the file line by line, save -> load -> save, damaged files, failed writes and the
// close of the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "commands/construction.h"
#include "engine/end_of_game.h"
#include "engine/turn.h"
#include "game/names_file.h"
#include "game/world_generation.h"
#include "persistence/savegame.h"
#include "platform/cp1252.h"
#include "child_process.h"
#include "german_numbers.h"
#include "recording_frontend.h"
#include "sim_runner.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Where values stand in the file, counted from line 1. The test knows the layout itself rather
// than asking the code under test.
constexpr int kBlock6First = 6;      // ten accounts of the moving company in whole dollars
constexpr int kFirstDepotLine = 96;  // block 9: depot, account, depot, account...
constexpr int kFirstProductionLine = 296;
constexpr int kMarkerLine = 2096;
constexpr int kMapLine = 2109;
constexpr int kFirstOrderLine = 2116;
constexpr int kOlderFormatLines = 2095;
constexpr int kAfterBlock14 = 3415;

int AccountLine(int company, int town) { return kFirstDepotLine + 2 * (company * kTowns + town) + 1; }
bool IsMoneyLine(int line)
{
    return line > kFirstDepotLine && line < kFirstProductionLine && (line - kFirstDepotLine) % 2 == 1;
}
int ProductionLine(int company, int brand, int town, int field)
{
    return kFirstProductionLine + 6 * ((company * kTowns + town) * kBrands + brand) + field;
}
int OrderLine(int company, int slot) { return kFirstOrderLine + 13 * (company * kOrderSlots + slot); }

// The money code and its value as the format defines them, in extended precision.
long double DecodeMoney(int64_t n) { return static_cast<long double>(n) * (1.0L / 13.0L) - 12746.0L; }
int64_t EncodeMoney(long double v) { return static_cast<int64_t>(std::trunc((v + 12746.0L) * 13.0L)); }

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}
std::string Line(const std::string& text, int number) { return Lines(text).at(static_cast<size_t>(number - 1)); }
std::string WithLine(const std::string& text, int number, const std::string& replacement)
{
    auto lines = Lines(text);
    lines.at(static_cast<size_t>(number - 1)) = replacement;
    return Join(lines);
}
std::string FirstLines(const std::string& text, int count)
{
    auto lines = Lines(text);
    lines.resize(static_cast<size_t>(count));
    return Join(lines);
}

std::string SixDigits(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", v);
    return buffer;
}

struct TestGame {
    TempDir dir;
    GameState state;
    RecordingFrontend frontend;

    TestGame(const NewGameSettings& settings, uint32_t seed)
    {
        state.Program.ProgramDirectory = dir.Str();
        state.Program.Rng.Seed(seed);
        GenerateWorld(state, settings, frontend);
    }
    void PlayMonths(int months)
    {
        for (int m = 0; m < months; ++m) {
            const int presses = state.TwoPlayer ? 2 : 1;
            for (int p = 0; p < presses; ++p)
                NextTurn(state, frontend);
        }
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
};

NewGameSettings OnePlayer(int map, int start)
{
    NewGameSettings s;
    s.Map = map;
    s.Player1Start = start;
    return s;
}
NewGameSettings TwoPlayers(int map, int start1, int start2, std::string name1 = "", std::string name2 = "")
{
    NewGameSettings s = OnePlayer(map, start1);
    s.TwoPlayer = true;
    s.Player2Start = start2;
    s.Player1Name = std::move(name1);
    s.Player2Name = std::move(name2);
    return s;
}

// Every game value and every program value, exactly.
void ExpectSameGame(const GameState& a, const GameState& b)
{
    EXPECT_EQ(a.GameActive, b.GameActive);
    EXPECT_EQ(a.MapNumber, b.MapNumber);
    EXPECT_EQ(a.MonthCount, b.MonthCount);
    EXPECT_EQ(a.CurrentCompany, b.CurrentCompany);
    EXPECT_EQ(a.SelectedTown, b.SelectedTown);
    EXPECT_EQ(a.PlayerCompany, b.PlayerCompany);
    EXPECT_EQ(a.PlayerTown, b.PlayerTown);
    EXPECT_EQ(a.TwoPlayer, b.TwoPlayer);
    EXPECT_EQ(a.ExpertMode, b.ExpertMode);
    EXPECT_EQ(a.DelayBuilding, b.DelayBuilding);
    EXPECT_EQ(a.EventsOn, b.EventsOn);
    EXPECT_EQ(a.ReduceCapacities, b.ReduceCapacities);
    EXPECT_EQ(a.WinningShare, b.WinningShare);
    EXPECT_EQ(a.BrandOffered, b.BrandOffered);
    EXPECT_EQ(a.TownName, b.TownName);
    EXPECT_EQ(a.Demand, b.Demand);
    EXPECT_EQ(a.Wages, b.Wages);
    EXPECT_EQ(a.CompanyName, b.CompanyName);
    EXPECT_EQ(a.BrandName, b.BrandName);
    EXPECT_EQ(a.Quality, b.Quality);
    EXPECT_EQ(a.CostFactor, b.CostFactor);
    EXPECT_EQ(a.Price, b.Price);
    EXPECT_EQ(a.Capacity, b.Capacity);
    EXPECT_EQ(a.Stock, b.Stock);
    EXPECT_EQ(a.Supply, b.Supply);
    EXPECT_EQ(a.Sales, b.Sales);
    EXPECT_EQ(a.ConstructionPipeline, b.ConstructionPipeline);
    EXPECT_EQ(a.ProductionCost, b.ProductionCost);
    EXPECT_EQ(a.Account, b.Account);
    EXPECT_EQ(a.HasDepot, b.HasDepot);
    EXPECT_EQ(a.StandingOrder, b.StandingOrder);
    EXPECT_EQ(a.Program.Rng.State(), b.Program.Rng.State());
    EXPECT_EQ(a.Program.ProgramDirectory, b.Program.ProgramDirectory);
    EXPECT_EQ(a.Program.Language, b.Program.Language);
    EXPECT_EQ(a.Program.ShowBestOpponent, b.Program.ShowBestOpponent);
}

// The loaded game equals the saved one within what the file keeps: singles to six significant
// digits, money to 1/13 dollar, production costs to 1/10 dollar, everything else exactly.
// `fileNames` holds the company names the names file gives for the game's map.
void ExpectLoadedWithinResolution(const GameState& saved, const GameState& loaded,
                                  const PerCompany<std::string>& fileNames)
{
    EXPECT_TRUE(loaded.GameActive);
    EXPECT_EQ(loaded.MapNumber, saved.MapNumber);
    EXPECT_EQ(loaded.MonthCount, saved.MonthCount);
    EXPECT_EQ(loaded.CurrentCompany, saved.CurrentCompany);
    EXPECT_EQ(loaded.SelectedTown, saved.SelectedTown);
    EXPECT_EQ(loaded.PlayerCompany, saved.PlayerCompany);
    EXPECT_EQ(loaded.PlayerTown, saved.PlayerTown);
    EXPECT_EQ(loaded.TwoPlayer, saved.TwoPlayer);
    EXPECT_EQ(loaded.ExpertMode, saved.ExpertMode);
    EXPECT_EQ(loaded.DelayBuilding, saved.DelayBuilding);
    EXPECT_EQ(loaded.EventsOn, saved.EventsOn);
    EXPECT_EQ(loaded.ReduceCapacities, saved.ReduceCapacities);
    EXPECT_EQ(SixDigits(loaded.WinningShare), SixDigits(saved.WinningShare));
    EXPECT_EQ(loaded.BrandOffered, saved.BrandOffered);
    EXPECT_EQ(loaded.TownName, saved.TownName);
    EXPECT_EQ(loaded.BrandName, saved.BrandName);
    EXPECT_EQ(loaded.Demand, saved.Demand);
    EXPECT_EQ(loaded.Capacity, saved.Capacity);
    EXPECT_EQ(loaded.Stock, saved.Stock);
    EXPECT_EQ(loaded.Supply, saved.Supply);
    EXPECT_EQ(loaded.Sales, saved.Sales);
    EXPECT_EQ(loaded.ConstructionPipeline, saved.ConstructionPipeline);
    EXPECT_EQ(loaded.HasDepot, saved.HasDepot);
    EXPECT_EQ(loaded.StandingOrder, saved.StandingOrder);
    for (int c = 0; c < kCompanies; ++c) {
        // A one-player file names only the moving player: a second human who went bankrupt gets
        // the names file's name back.
        const bool nameKept = saved.TwoPlayer || !IsHumanCompany(saved, c) || c == saved.CurrentCompany;
        EXPECT_EQ(loaded.CompanyName[c], nameKept ? saved.CompanyName[c] : fileNames[c]) << c;
    }
    for (int t = 0; t < kTowns; ++t)
        EXPECT_EQ(SixDigits(loaded.Wages[t]), SixDigits(saved.Wages[t]));
    for (int c = 0; c < kCompanies; ++c) {
        for (int b = 0; b < kBrands; ++b) {
            EXPECT_EQ(SixDigits(loaded.Quality[c][b]), SixDigits(saved.Quality[c][b]));
            EXPECT_EQ(SixDigits(loaded.CostFactor[c][b]), SixDigits(saved.CostFactor[c][b]));
            for (int t = 0; t < kTowns; ++t) {
                EXPECT_EQ(SixDigits(loaded.Price[c][b][t]), SixDigits(saved.Price[c][b][t]));
                const long double cost = saved.ProductionCost[c][b][t];
                EXPECT_LE(std::fabs(loaded.ProductionCost[c][b][t] - cost), 0.1L + 1e-15L * std::fabs(cost));
            }
        }
        for (int t = 0; t < kTowns; ++t) {
            const long double v = saved.Account[c][t];
            EXPECT_LE(std::fabs(loaded.Account[c][t] - v), 1.0L / 13.0L + 1e-15L * (std::fabs(v) + 12746.0L))
                << c << "/" << t << ": " << static_cast<double>(v);
        }
    }
}

// save -> load -> save. The files must be the same line for line, with two exceptions that the
// format itself makes:
// - a money line may move by one code where decoding and encoding in extended precision do not
//   give back the same integer (1/13 is not exact in binary);
// - the moving company's whole-dollar accounts (block 6) are the integer part of the account,
//   and after a load that is the account as the money line holds it.
// Nothing else may differ.
void ExpectRoundTrip(const GameState& saved, const std::string& context)
{
    SCOPED_TRACE(context);
    const std::string first = SavegameText(saved);
    std::string why;
    const auto content = ParseSavegame(first, &why);
    ASSERT_TRUE(content) << why;
    GameState loaded;
    loaded.Program.ProgramDirectory = saved.Program.ProgramDirectory;
    ApplySavegame(loaded, *content);
    const std::string second = SavegameText(loaded);

    const auto a = Lines(first);
    const auto b = Lines(second);
    ASSERT_EQ(a.size(), b.size());
    ASSERT_EQ(a.size(), saved.TwoPlayer ? 3419u : 3417u);
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const int line = static_cast<int>(i) + 1;
        if (IsMoneyLine(line)) {
            const int64_t n = std::stoll(a[i]);
            const int64_t again = EncodeMoney(DecodeMoney(n));
            EXPECT_NE(again, n) << "line " << line;
            EXPECT_EQ(std::llabs(again - n), 1) << "line " << line;
            EXPECT_EQ(b[i], std::to_string(again)) << "line " << line;
        } else if (line >= kBlock6First && line < kBlock6First + kTowns) {
            const int town = line - kBlock6First;
            const int64_t n = std::stoll(a[static_cast<size_t>(AccountLine(saved.CurrentCompany, town) - 1)]);
            EXPECT_EQ(b[i], std::to_string(static_cast<int64_t>(std::trunc(DecodeMoney(n))))) << "line " << line;
        } else {
            ADD_FAILURE() << "line " << line << " changed from '" << a[i] << "' to '" << b[i] << "'";
        }
    }

    GameState fromFile;
    fromFile.Program.ProgramDirectory = saved.Program.ProgramDirectory;
    fromFile.MapNumber = saved.MapNumber;
    SetMapNames(fromFile);
    ExpectLoadedWithinResolution(saved, loaded, fromFile.CompanyName);
}

}  // namespace

TEST(SavegameFormat, FreshGamesHaveTheirLinesAndLandmarks)
{
    TestGame one(OnePlayer(2, 5), 7);
    const std::string text = SavegameText(one.state);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 3417u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i].find_first_of("\r\n"), std::string::npos) << "line " << i + 1 << ": every line ends CR LF";
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1], "0");
    EXPECT_EQ(lines[2], "4");
    EXPECT_EQ(lines[3], "4");
    EXPECT_EQ(lines[4], Utf8ToCp1252(one.state.CompanyName[4]));
    EXPECT_EQ(Line(text, kMarkerLine), "132");
    EXPECT_EQ(Line(text, kMapLine), "2");
    EXPECT_EQ(Line(text, OrderLine(0, 0)), "-1");
    EXPECT_EQ(lines[3415], "60");
    EXPECT_EQ(lines[3416], "0");

    TestGame two(TwoPlayers(3, 9, 2, "Anna", "Bert"), 7);
    const std::string text2 = SavegameText(two.state);
    const auto lines2 = Lines(text2);
    ASSERT_EQ(lines2.size(), 3419u);
    EXPECT_EQ(lines2[2], "1") << "the lower company moves first";
    EXPECT_EQ(Line(text2, kMapLine + 1), "1");
    EXPECT_EQ(Line(text2, kMapLine + 2), "8");
    EXPECT_EQ(lines2[3415], "Anna") << "player 1 takes the lower company";
    EXPECT_EQ(lines2[3416], "Bert");
    EXPECT_EQ(lines2[3417], "60");
}

TEST(SavegameFormat, MoneyCostsAndDecimalsAreEncodedAsDefined)
{
    TestGame game(OnePlayer(1, 1), 3);
    GameState& s = game.state;
    struct Money {
        long double Dollars;
        const char* Line;
    };
    // The last two lie beyond the 32-bit range of the code: they keep their exact value.
    const std::vector<Money> money = {{20000.0L, "425698"},
                                      {0.0L, "165698"},
                                      {-100.0L, "164398"},
                                      {-12746.0L, "0"},
                                      {-12750.5L, "-58"},
                                      {300000000.0L, "3900165698"},
                                      {-300000000.0L, "-3899834302"}};
    for (const Money& m : money) {
        s.Account[3][7] = m.Dollars;
        const std::string text = SavegameText(s);
        EXPECT_EQ(Line(text, AccountLine(3, 7)), m.Line) << static_cast<double>(m.Dollars);
        const auto content = ParseSavegame(text);
        ASSERT_TRUE(content);
        EXPECT_NEAR(static_cast<double>(content->Game.Account[3][7]), static_cast<double>(m.Dollars), 1.0 / 13.0);
    }

    // The moving company's accounts also appear in whole dollars, cut toward zero.
    s.Account[0][2] = -99.9L;
    s.Account[0][3] = 3000000000.7L;
    s.ProductionCost[2][1][5] = 1234.56L;
    s.Price[2][1][5] = 3.75f;
    s.Quality[4][2] = 0.8f;
    s.CostFactor[4][2] = 0.7f;
    s.Wages[6] = 2.05f;
    s.CostFactor[5][0] = 1234567.0f;
    s.Wages[8] = 0.00001f;
    s.WinningShare = 87.0;
    const std::string text = SavegameText(s);
    EXPECT_EQ(Line(text, kBlock6First + 2), "-99");
    EXPECT_EQ(Line(text, kBlock6First + 3), "3000000000");
    EXPECT_EQ(Line(text, ProductionLine(2, 1, 5, 3)), "12345");
    EXPECT_EQ(Line(text, ProductionLine(2, 1, 5, 1)), "3.75");
    EXPECT_EQ(Line(text, 36 + 2 * (4 * kBrands + 2)), "0.8");
    EXPECT_EQ(Line(text, 36 + 2 * (4 * kBrands + 2) + 1), "0.7");
    EXPECT_EQ(Line(text, 16 + 12), "2.05");
    EXPECT_EQ(Line(text, 36 + 2 * (5 * kBrands) + 1), "1.23457e+06");
    EXPECT_EQ(Line(text, 16 + 16), "1e-05");
    EXPECT_EQ(Lines(text)[3415], "87");
    const auto content = ParseSavegame(text);
    ASSERT_TRUE(content);
    EXPECT_NEAR(static_cast<double>(content->Game.ProductionCost[2][1][5]), 1234.5, 1e-12);
    EXPECT_EQ(content->Game.Price[2][1][5], 3.75f);
    EXPECT_EQ(content->Game.Quality[4][2], 0.8f);
    EXPECT_EQ(content->Game.CostFactor[5][0], 1234570.0f);
}

TEST(SavegameFormat, DecimalsAreThePrintfGeneralFormatWithSixDigits)
{
    TestGame game(OnePlayer(1, 1), 3);
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        // Cost factors take any single up to the limit the rules keep.
        for (int c = 0; c < kCompanies; ++c) {
            const uint32_t bits = random();
            float v = 0;
            std::memcpy(&v, &bits, sizeof v);
            game.state.CostFactor[c][0] = std::isfinite(v) && std::fabs(v) <= 1e30f ? v : 1.5f;
        }
        const auto lines = Lines(SavegameText(game.state));
        for (int c = 0; c < kCompanies; ++c)
            ASSERT_EQ(lines[static_cast<size_t>(35 + 2 * c * kBrands + 1)], SixDigits(game.state.CostFactor[c][0]));
    }
}

TEST(SavegameFormat, NumbersDoNotDependOnTheLocale)
{
    TestGame game(TwoPlayers(3, 2, 6), 5);
    game.PlayMonths(14);
    game.state.Price[1][0][3] = 3.75f;
    game.state.WinningShare = 72.5;
    const std::string inC = SavegameText(game.state);

    const GermanNumbers german;
    if (!german.Active())
        GTEST_SKIP() << "no German locale on this machine (de_DE.UTF-8)";
    char decimal[16];
    std::snprintf(decimal, sizeof decimal, "%.1f", 1.5);
    EXPECT_STREQ(decimal, "1,5") << "the German locale is in force";

    const std::string inGerman = SavegameText(game.state);
    const auto content = ParseSavegame(inGerman);
    EXPECT_EQ(inGerman, inC);
    ASSERT_TRUE(content);
    EXPECT_EQ(content->Game.Price[1][0][3], 3.75f);
    EXPECT_EQ(content->Game.WinningShare, 72.5);
    EXPECT_EQ(SavegameText(content->Game), inC);
}

TEST(SavegameRoundTrip, PlayedGamesOnAllMaps)
{
    const int checkpoints[] = {0, 1, 2, 12, 60, 150, 300};
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        const int map = 1 + static_cast<int>(seed % 3);
        NewGameSettings settings = seed % 2 ? OnePlayer(map, 0) : TwoPlayers(map, 0, 0, "Anna Müller", "Bert");
        settings.Expert = seed % 4 < 2;
        settings.Events = seed % 5 != 0;
        settings.DelayBuilding = seed % 3 != 0;
        if (seed % 4 == 3) {
            settings.AdvancedOptions = true;
            settings.ReduceCapacities = true;
            settings.WinningShareText = "75";
        }
        TestGame game(settings, seed * 7919);
        int played = 0;
        for (const int months : checkpoints) {
            game.PlayMonths(months - played);
            played = months;
            ExpectRoundTrip(game.state, "seed " + std::to_string(seed) + ", map " + std::to_string(map) + ", month " +
                                            std::to_string(months));
        }
    }
}

TEST(SavegameRoundTrip, EveryFieldAcrossItsRange)
{
    TestGame game(OnePlayer(1, 1), 1);
    std::mt19937_64 random(2024);
    const auto pick = [&random](int64_t low, int64_t high) {
        return low + static_cast<int64_t>(random() % static_cast<uint64_t>(high - low + 1));
    };
    const auto real = [&](long double magnitude) {
        const long double unit = static_cast<long double>(random() % 1000000007u) / 1000000007.0L;
        return (random() % 2 ? -1 : 1) * unit * magnitude;
    };
    // Every field within the range a game can hold (see ExpectRangesOfEveryField below).
    const auto single = [&]() {
        const long double magnitudes[] = {0.0L, 1e-7L, 0.5L, 3.0L, 1000.0L, 1e9L, 1e30L};
        return static_cast<float>(real(magnitudes[random() % 7]));
    };
    const auto wages = [&]() {
        const long double magnitudes[] = {0.0L, 1e-7L, 0.5L, 3.0L, 1000.0L, 1e6L};
        return static_cast<float>(real(magnitudes[random() % 6]));
    };
    const auto quality = [&]() {
        const long double magnitudes[] = {0.0L, 0.5L, 3.0L, 1000.0L, 2e6L};
        const float q = static_cast<float>(std::fabs(real(magnitudes[random() % 5])));
        return q == 0.0f || q >= 0.5f ? q : 0.5f;
    };
    const auto whole = [&]() {
        return static_cast<int32_t>(random() % 5 == 0 ? pick(INT32_MIN, INT32_MAX) : pick(-5000, 500000));
    };
    const auto litres = [&]() {
        return static_cast<int32_t>(random() % 5 == 0 ? pick(0, INT32_MAX) : pick(0, 500000));
    };
    const std::vector<std::string> names = {"Anna Müller", "Café Crème & Söhne", "~Tilde", "Åsa Øberg",
                                            std::string(99, 'x')};
    for (int round = 0; round < 40; ++round) {
        GameState& s = game.state;
        s.MapNumber = static_cast<int32_t>(pick(1, 3));
        SetMapNames(s);
        s.MonthCount = static_cast<int32_t>(random() % 5 == 0 ? pick(1, INT32_MAX) : pick(1, 100000));
        s.TwoPlayer = random() % 2;
        s.PlayerCompany[0] = static_cast<int32_t>(pick(0, 8));
        s.PlayerCompany[1] = s.TwoPlayer ? static_cast<int32_t>(pick(s.PlayerCompany[0] + 1, 9)) : -1;
        s.PlayerTown[0] = static_cast<int32_t>(pick(0, 9));
        s.PlayerTown[1] = s.TwoPlayer ? static_cast<int32_t>(pick(0, 9)) : -1;
        s.CurrentCompany = s.PlayerCompany[s.TwoPlayer ? random() % 2 : 0];
        s.SelectedTown = static_cast<int32_t>(pick(0, 9));
        s.CompanyName[s.PlayerCompany[0]] = names[random() % names.size()];
        if (s.TwoPlayer)
            s.CompanyName[s.PlayerCompany[1]] = names[random() % names.size()];
        s.ExpertMode = random() % 2;
        s.DelayBuilding = random() % 2;
        s.EventsOn = random() % 2;
        s.ReduceCapacities = random() % 2;
        s.WinningShare = static_cast<double>(pick(500, 1000)) / 10.0;
        for (int t = 0; t < kTowns; ++t) {
            s.Demand[t] = static_cast<int32_t>(pick(0, 10000000));
            s.Wages[t] = wages();
        }
        for (int c = 0; c < kCompanies; ++c) {
            s.BrandOffered[c] = random() % 2;
            for (int b = 0; b < kBrands; ++b) {
                s.Quality[c][b] = quality();
                s.CostFactor[c][b] = single();
            }
            for (int t = 0; t < kTowns; ++t) {
                s.HasDepot[c][t] = random() % 2;
                const long double magnitudes[] = {0.0L, 1.0L, 100.0L, 12746.0L, 1e6L, 1e9L, 1e14L};
                s.Account[c][t] = real(magnitudes[random() % 7]);
                auto& order = s.StandingOrder[c][t];
                order.Kind = static_cast<int32_t>(pick(-1, 3));
                order.FromTown = order.Kind == kOrderEmpty ? whole() : static_cast<int32_t>(pick(0, 9));
                order.ToTown = order.Kind == kOrderEmpty ? whole() : static_cast<int32_t>(pick(0, 9));
                order.Amount = order.Kind == kOrderEmpty ? whole() : litres();
                for (int b = 0; b < kBrands; ++b) {
                    s.Capacity[c][b][t] = litres();
                    s.Stock[c][b][t] = whole();
                    s.Supply[c][b][t] = whole();
                    s.Sales[c][b][t] = whole();
                    s.Price[c][b][t] = single();
                    s.ProductionCost[c][b][t] = real(random() % 2 ? 1e5L : 1e12L);
                    for (auto& stage : s.ConstructionPipeline[c][b][t])
                        stage = litres();
                }
            }
        }
        ExpectRoundTrip(s, "round " + std::to_string(round));
    }
}

TEST(SavegameNames, PlayersKeepTheirNamesInTheFileAndBack)
{
    TestGame game(TwoPlayers(1, 3, 8, "Zoë\r\nvan ✓ Berg", "Dr.~Who"), 2);
    const std::string text = SavegameText(game.state);
    ASSERT_EQ(Lines(text).size(), 3419u) << "a line break in a name does not break the file";
    // Windows-1252: ë is one byte; the check mark cannot be held and becomes '?'.
    EXPECT_EQ(Line(text, 3416), "Zo\xEB  van ? Berg");
    EXPECT_EQ(Line(text, 3417), "Dr.~Who");

    GameState running;
    running.Program.ProgramDirectory = game.dir.Str();
    const auto content = ParseSavegame(text);
    ASSERT_TRUE(content);
    ApplySavegame(running, *content);
    EXPECT_EQ(running.CompanyName[2], "Zoë  van ? Berg");
    EXPECT_EQ(running.CompanyName[7], "Dr. Who") << "a '~' after the first character reads as a space";
    EXPECT_EQ(running.CompanyName[0], game.state.CompanyName[0]) << "computer companies from the names file";

    // One player: the saved name wins over the names file's, a leading '~' stays, and a name is
    // cut to 99 characters.
    for (const std::string& saved : {std::string("~Tilde~Man"), std::string(120, 'y')}) {
        std::string one = FirstLines(text, kAfterBlock14) + "60\r\n0\r\n";
        one = WithLine(one, kMapLine - 2, "0");  // not two players
        one = WithLine(one, 5, saved);
        const auto c = ParseSavegame(one);
        ASSERT_TRUE(c) << saved;
        ApplySavegame(running, *c);
        const std::string expected = saved[0] == '~' ? "~Tilde Man" : std::string(99, 'y');
        EXPECT_EQ(running.CompanyName[running.CurrentCompany], expected);
    }
}

TEST(SavegameLoad, TheOlderFormatIsAOnePlayerGameOnMapOneThatCannotBeWonAtOnce)
{
    TestGame game(TwoPlayers(3, 4, 6, "Anna", "Bert"), 9);
    game.state.StandingOrder[3][2] = {kOrderMoney, 1, 2, 500};
    game.state.ConstructionPipeline[3][0][4] = {100, 200, 300};
    game.PlayMonths(3);
    const std::string older = FirstLines(SavegameText(game.state), kOlderFormatLines);

    // At program start nothing has set the winning share or "Reduce capacities".
    GameState start;
    start.Program.ProgramDirectory = game.dir.Str();
    start.WinningShare = 0.0;
    start.ReduceCapacities = true;
    RecordingFrontend f;
    const fs::path file = game.dir / "old.tsg";
    WriteFile(file, older);
    ASSERT_TRUE(OpenGame(start, file.string(), f));
    EXPECT_TRUE(start.GameActive);
    EXPECT_FALSE(start.TwoPlayer);
    EXPECT_FALSE(start.ExpertMode);
    EXPECT_EQ(start.MapNumber, 1);
    EXPECT_EQ(start.PlayerCompany, (std::array<int32_t, 2>{3, -1}));
    EXPECT_EQ(start.PlayerTown, (std::array<int32_t, 2>{start.SelectedTown, -1}));
    EXPECT_EQ(start.CompanyName[3], "Anna");
    EXPECT_FALSE(start.DelayBuilding);
    EXPECT_TRUE(start.EventsOn);
    EXPECT_EQ(start.WinningShare, 60.0);
    EXPECT_FALSE(start.ReduceCapacities);
    for (int c = 0; c < kCompanies; ++c)
        for (int j = 0; j < kOrderSlots; ++j) {
            EXPECT_EQ(start.StandingOrder[c][j].Kind, kOrderEmpty);
            for (int b = 0; b < kBrands; ++b)
                EXPECT_EQ(start.ConstructionPipeline[c][b][j], (std::array<int32_t, 3>{0, 0, 0}));
        }
    EXPECT_EQ(start.TownName[0], "Truestone") << "map 1's towns";

    f.Messages.clear();
    NextTurn(start, f);
    for (const auto& m : f.Messages)
        EXPECT_EQ(m.Caption.English.find("VICTORY"), std::string::npos) << m.Text.English;
    EXPECT_EQ(start.MonthCount, game.state.MonthCount + 1) << "the month went on";
}

TEST(SavegameLoad, FilesEndingBeforeTheWinningShareKeepTheDefaults)
{
    struct Case {
        bool TwoPlayer;
        int Lines;
        bool NamesRestored;
    };
    for (const Case& c :
         {Case{false, kAfterBlock14, true}, Case{true, kAfterBlock14, false}, Case{true, kAfterBlock14 + 2, true}}) {
        SCOPED_TRACE(std::to_string(c.Lines) + (c.TwoPlayer ? " two players" : " one player"));
        NewGameSettings settings = c.TwoPlayer ? TwoPlayers(2, 1, 5, "Anna", "Bert") : OnePlayer(2, 5);
        if (!c.TwoPlayer)
            settings.Player1Name = "Anna";
        settings.AdvancedOptions = true;
        settings.ReduceCapacities = true;
        settings.WinningShareText = "90";
        TestGame game(settings, 4);
        const std::string text = FirstLines(SavegameText(game.state), c.Lines);
        const auto content = ParseSavegame(text);
        ASSERT_TRUE(content);
        EXPECT_EQ(content->Layout, SavegameLayout::WithoutShare);
        GameState loaded;
        loaded.Program.ProgramDirectory = game.dir.Str();
        ApplySavegame(loaded, *content);
        EXPECT_EQ(loaded.WinningShare, 60.0);
        EXPECT_FALSE(loaded.ReduceCapacities);
        EXPECT_EQ(loaded.TwoPlayer, c.TwoPlayer);
        EXPECT_EQ(loaded.CompanyName[loaded.CurrentCompany], "Anna") << "the moving player's name of the first lines";
        if (c.TwoPlayer) {
            EXPECT_EQ(loaded.CompanyName[4] == "Bert", c.NamesRestored);
        }
    }
}

TEST(SavegameLoad, ADamagedFileIsRefusedAndTheRunningGameStaysAsItWas)
{
    TestGame source(TwoPlayers(2, 2, 7, "Anna", "Bert"), 21);
    source.state.StandingOrder[1][4] = {1, 3, 8, 700};
    const std::string good = SavegameText(source.state);
    ASSERT_TRUE(ParseSavegame(good));

    std::mt19937 random(5);
    std::string binary(4096, '\0');
    for (char& c : binary)
        c = static_cast<char>(random());

    struct Case {
        const char* What;
        std::string Text;
    };
    const int order = OrderLine(1, 4);
    int bystander = 0;  // a computer company
    while (bystander == source.state.PlayerCompany[0] || bystander == source.state.PlayerCompany[1])
        ++bystander;
    std::vector<std::string> withoutNames = Lines(good);
    withoutNames.erase(withoutNames.begin() + kAfterBlock14, withoutNames.begin() + kAfterBlock14 + 2);
    const std::vector<Case> cases = {
        {"an empty file", ""},
        {"only blanks", "\r\n \r\n"},
        {"a binary file", binary},
        {"cut in the production table", FirstLines(good, 1000)},
        {"cut in the middle of a line", good.substr(0, 3001)},
        {"cut after the player's name", FirstLines(good, 5)},
        {"cut in the standing orders", FirstLines(good, 3000)},
        {"cut between the two players' names", FirstLines(good, kAfterBlock14 + 1)},
        {"cut inside the last block", FirstLines(good, 3418)},
        {"text for a capacity", WithLine(good, ProductionLine(0, 0, 0, 0), "abc")},
        {"a number with a tail", WithLine(good, 1, "12abc")},
        {"a fraction for a stock", WithLine(good, ProductionLine(4, 1, 2, 5), "1.5")},
        {"not a price", WithLine(good, ProductionLine(4, 1, 2, 1), "nan")},
        {"an endless price", WithLine(good, ProductionLine(4, 1, 2, 1), "inf")},
        {"a quality too large for a single", WithLine(good, 40, "1e39")},
        {"a huge line of digits", WithLine(good, 300, std::string(200000, '9'))},
        {"month 0", WithLine(good, 1, "0")},
        {"company 10", WithLine(good, 3, "10")},
        {"town -1", WithLine(good, 4, "-1")},
        {"a flag of 2", WithLine(good, 2, "2")},
        {"a depot flag of -1", WithLine(good, kFirstDepotLine, "-1")},
        {"a demand beyond 32 bits", WithLine(good, 17, "2147483648")},
        {"a money code beyond 64 bits", WithLine(good, AccountLine(2, 2), "9223372036854775808")},
        {"a wrong marker", WithLine(good, kMarkerLine, "131")},
        {"map 4", WithLine(good, kMapLine, "4")},
        {"map 0", WithLine(good, kMapLine, "0")},
        {"player 1's company -1", WithLine(good, kMapLine + 1, "-1")},
        {"two players without a second", WithLine(good, kMapLine + 2, "-1")},
        {"two players in one company", WithLine(good, kMapLine + 2, Line(good, kMapLine + 1))},
        {"a moving company that no player plays", WithLine(good, 3, std::to_string(bystander))},
        {"a moving company that no player plays, one player",
         WithLine(WithLine(FirstLines(good, kAfterBlock14) + "60\r\n0\r\n", kMapLine - 2, "0"), 3,
                  std::to_string(bystander))},
        {"two players without their names", Join(withoutNames)},
        {"the players' names unlike the moving player's", WithLine(good, 5, "Somebody else")},
        {"player 2's town 10", WithLine(good, kMapLine + 4, "10")},
        {"a standing order of kind 4", WithLine(good, order, "4")},
        {"a standing order of kind -2", WithLine(good, order, "-2")},
        {"a standing order from town 10", WithLine(good, order + 1, "10")},
        {"a standing order to town -1", WithLine(good, order + 2, "-1")},
        {"a winning share of 45", WithLine(good, 3418, "45")},
        {"a winning share of 101", WithLine(good, 3418, "101")},
        {"a control character in a name", WithLine(good, 3416, std::string("An\0na", 5))},
        {"a demand of -2147483648", WithLine(good, 17, "-2147483648")},
        {"a negative demand", WithLine(good, 19, "-1")},
        {"a demand beyond any town", WithLine(good, 19, "10000001")},
        {"a wage level of a million and one", WithLine(good, 16, "1000001")},
        {"a quality at the top of a single", WithLine(good, 36, "3.40282e+38")},
        {"a quality below 0.5", WithLine(good, 36, "0.3")},
        {"a negative quality", WithLine(good, 38, "-1")},
        {"a cost factor beyond the single limit", WithLine(good, 37, "-1.1e30")},
        {"a price beyond the single limit", WithLine(good, ProductionLine(4, 1, 2, 1), "2e30")},
        {"a negative capacity", WithLine(good, ProductionLine(0, 0, 0, 0), "-1")},
        {"a negative amount in a standing order", WithLine(good, order + 3, "-1")},
        {"negative capacity under construction", WithLine(good, order + 4, "-100")},
        {"lines after the end", good + "7\r\n"},
        {"an extra line in the middle", WithLine(good, 500, Line(good, 500) + "\r\n0")},
    };

    TestGame running(OnePlayer(1, 4), 99);
    running.PlayMonths(5);
    running.state.Program.Language = Language::German;
    const GameState before = running.state;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        std::string why;
        EXPECT_FALSE(ParseSavegame(c.Text, &why));
        EXPECT_FALSE(why.empty());

        const fs::path file = running.dir / "damaged.tsg";
        WriteFile(file, c.Text);
        RecordingFrontend f;
        EXPECT_FALSE(OpenGame(running.state, file.string(), f));
        ASSERT_EQ(f.Messages.size(), 1u);
        EXPECT_EQ(f.Messages[0].Text,
                  (LocalText{"This file is not a valid savegame!", "Diese Datei ist kein gültiger Spielstand"}));
        EXPECT_EQ(f.Messages[0].Caption, (LocalText{"File Error", "Dateifehler"}));
        EXPECT_EQ(f.Messages[0].Icon, MessageIcon::Warning);
        EXPECT_TRUE(f.StatusLines.empty());
        EXPECT_EQ(f.Redraws, 0);
        ExpectSameGame(running.state, before);
    }

    // The damage table's own base file loads.
    RecordingFrontend f;
    WriteFile(running.dir / "good.tsg", good);
    EXPECT_TRUE(OpenGame(running.state, (running.dir / "good.tsg").string(), f));
}

// The second player of a game whose first player went bankrupt moves alone in a one-player
// game: the moving company is still a player's, and the file loads.
TEST(SavegameLoad, APlayerLeftAloneAfterALiquidationLoads)
{
    TestGame game(TwoPlayers(1, 2, 7, "Anna", "Bert"), 3);
    Liquidate(game.state, game.frontend, game.state.PlayerCompany[0]);
    ASSERT_FALSE(game.state.TwoPlayer);
    ASSERT_EQ(game.state.CurrentCompany, game.state.PlayerCompany[1]);
    std::string why;
    const auto content = ParseSavegame(SavegameText(game.state), &why);
    ASSERT_TRUE(content) << why;
    EXPECT_EQ(content->Game.CurrentCompany, game.state.PlayerCompany[1]);
    EXPECT_EQ(content->Game.CompanyName[game.state.PlayerCompany[1]], "Bert");
}

// Whatever the reader accepts can be played on, and whatever the game holds is written so that
// it loads again.
TEST(SavegameRanges, TheLargestMonthPlaysOnWithoutWrapping)
{
    TestGame game(TwoPlayers(1, 2, 5), 3);
    const std::string text = WithLine(SavegameText(game.state), 1, "2147483646");
    const auto content = ParseSavegame(text);
    ASSERT_TRUE(content);
    GameState& s = game.state;
    ApplySavegame(s, *content);
    for (int press = 0; press < 6; ++press)
        NextTurn(s, game.frontend);
    EXPECT_EQ(s.MonthCount, INT32_MAX);
    EXPECT_EQ(Line(SavegameText(s), 1), "2147483647");
    EXPECT_TRUE(ParseSavegame(SavegameText(s)));
}

TEST(SavegameRanges, TheWriterHoldsEveryValueWhereTheReaderTakesItBack)
{
    TestGame game(OnePlayer(2, 4), 9);
    GameState& s = game.state;
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    s.Price[0][0][0] = inf;
    s.Price[0][0][1] = -inf;
    s.Price[0][0][2] = nan;
    s.Price[0][0][3] = std::numeric_limits<float>::max();
    s.CostFactor[1][0] = nan;
    s.Quality[2][0] = inf;
    s.Quality[3][0] = 0.2f;
    s.Wages[4] = -inf;
    s.Demand[5] = -7;
    s.Capacity[6][0][6] = -1000;
    s.MonthCount = 0;
    s.WinningShare = std::numeric_limits<double>::quiet_NaN();
    const std::string text = SavegameText(s);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    std::string why;
    const auto content = ParseSavegame(text, &why);
    ASSERT_TRUE(content) << why;
    EXPECT_EQ(content->Game.Price[0][0][0], kSingleLimit);
    EXPECT_EQ(content->Game.Price[0][0][1], -kSingleLimit);
    EXPECT_EQ(content->Game.Price[0][0][2], 0.0f);
    EXPECT_EQ(content->Game.Price[0][0][3], kSingleLimit);
    EXPECT_EQ(content->Game.CostFactor[1][0], 0.0f);
    EXPECT_EQ(content->Game.Quality[2][0], 2e6f);
    EXPECT_EQ(content->Game.Quality[3][0], 0.5f);
    EXPECT_EQ(content->Game.Wages[4], -1e6f);
    EXPECT_EQ(content->Game.Demand[5], 0);
    EXPECT_EQ(content->Game.Capacity[6][0][6], 0);
    EXPECT_EQ(content->Game.MonthCount, 1);
    EXPECT_EQ(content->Game.WinningShare, 50.0);
}

// A wage level that drifted to 0 makes a new brand's cost factor infinite; the rules keep it
// finite so that the game still saves and loads.
TEST(SavegameRanges, ABrandBoughtWhereWagesDriftedToNothingSavesAndLoads)
{
    TestGame game(OnePlayer(1, 1), 5);
    GameState& s = game.state;
    const int t = s.SelectedTown;
    s.Wages[t] = 0.0f;
    s.Account[s.CurrentCompany][t] = 1e7L;
    s.BrandOffered[s.CurrentCompany] = false;
    RecordingFrontend f;
    f.Answers = {true};
    NewBrand(s, f);
    ASSERT_NE(s.Quality[s.CurrentCompany][1], 0.0f);
    EXPECT_TRUE(std::isfinite(s.CostFactor[s.CurrentCompany][1]));
    std::string why;
    EXPECT_TRUE(ParseSavegame(SavegameText(s), &why)) << why;
}

// Wage levels at the ends of what a file may hold: the computer companies buy brands, price
// and build there for a year, and every value stays finite and loads again.
TEST(SavegameRanges, WageLevelsAtTheirLimitsPlayOnAndSaveAgain)
{
    for (const float wage : {1e-30f, 1e6f, -1e6f}) {
        SCOPED_TRACE(wage);
        TestGame game(OnePlayer(3, 1), 12);
        GameState& s = game.state;
        s.ExpertMode = false;
        for (int t = 0; t < kTowns; ++t)
            s.Wages[t] = wage;
        for (int c = 0; c < kCompanies; ++c)
            for (int t = 0; t < kTowns; ++t)
                s.Account[c][t] = 1e12L;
        const auto content = ParseSavegame(SavegameText(s));
        ASSERT_TRUE(content);
        ApplySavegame(s, *content);
        game.PlayMonths(12);
        for (int c = 0; c < kCompanies; ++c)
            for (int b = 0; b < kBrands; ++b) {
                EXPECT_TRUE(std::isfinite(s.CostFactor[c][b])) << c << "/" << b;
                for (int t = 0; t < kTowns; ++t)
                    EXPECT_TRUE(std::isfinite(s.Price[c][b][t])) << c << "/" << b << "/" << t;
            }
        std::string why;
        EXPECT_TRUE(ParseSavegame(SavegameText(s), &why)) << why;
    }
}

TEST(SavegameLoad, AFileThatCannotBeReadIsReportedAsSuch)
{
    TestGame running(OnePlayer(3, 2), 8);
    const GameState before = running.state;
    fs::create_directory(running.dir / "folder.tsg");
    std::string huge(3 << 20, ' ');
    WriteFile(running.dir / "huge.tsg", SavegameText(running.state) + huge);
    struct Case {
        std::string Path;
        LocalText Text;
    };
    // A pipe with nobody writing to it would make an opening wait forever.
    ASSERT_EQ(::mkfifo(running.Path("pipe.tsg").c_str(), 0666), 0);
    for (const Case& c : {Case{running.Path("missing.tsg"), {"Cannot open file!", "Datei kann nicht geöffnet werden"}},
                          Case{running.Path("pipe.tsg"), {"Cannot open file!", "Datei kann nicht geöffnet werden"}},
                          Case{"", {"Cannot open file!", "Datei kann nicht geöffnet werden"}},
                          Case{running.Path("folder.tsg"), {"Cannot open file!", "Datei kann nicht geöffnet werden"}},
                          Case{running.Path("huge.tsg"),
                               {"This file is not a valid savegame!", "Diese Datei ist kein gültiger Spielstand"}}}) {
        SCOPED_TRACE(c.Path);
        RecordingFrontend f;
        EXPECT_FALSE(OpenGame(running.state, c.Path, f));
        ASSERT_EQ(f.Messages.size(), 1u);
        EXPECT_EQ(f.Messages[0].Text, c.Text);
        EXPECT_EQ(f.Messages[0].Caption, (LocalText{"File Error", "Dateifehler"}));
        ExpectSameGame(running.state, before);
    }
}

TEST(SavegameLoad, LoadingReplacesTheGameButNotTheProgram)
{
    TestGame saved(TwoPlayers(3, 1, 10, "Anna", "Bert"), 31);
    saved.PlayMonths(20);
    const std::string file = saved.Path("game.tsg");
    ASSERT_TRUE(WriteSavegameFile(saved.state, file));

    TestGame running(OnePlayer(1, 6), 77);
    running.PlayMonths(3);
    running.state.Program.Language = Language::German;
    running.state.Program.ShowBestOpponent = false;
    running.state.Program.ProgramDirectory = saved.dir.Str();
    const uint64_t rng = running.state.Program.Rng.State();
    RecordingFrontend f;
    ASSERT_TRUE(OpenGame(running.state, file, f));
    EXPECT_EQ(running.state.Program.Rng.State(), rng);
    EXPECT_EQ(running.state.Program.Language, Language::German);
    EXPECT_FALSE(running.state.Program.ShowBestOpponent);
    EXPECT_EQ(running.state.Program.ProgramDirectory, saved.dir.Str());
    EXPECT_EQ(running.state.MonthCount, saved.state.MonthCount);
    EXPECT_EQ(running.state.MapNumber, 3);
    EXPECT_TRUE(f.Messages.empty());
    ASSERT_EQ(f.StatusLines.size(), 1u);
    EXPECT_EQ(f.StatusLines[0].English.rfind("Anna in ", 0), 0u) << f.StatusLines[0].English;
    EXPECT_EQ(f.Captions, (std::vector<LocalText>{{"The TAVREK! War", "Tavrik! - Das Spiel"}}));
    EXPECT_EQ(f.Redraws, 1);
}

TEST(SavegameSave, AWriteReplacesTheOldFileWhole)
{
    TestGame game(OnePlayer(2, 3), 4);
    const fs::path file = game.dir / "game.tsg";
    WriteFile(file, "an older save\r\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    RecordingFrontend f;
    ASSERT_TRUE(SaveGame(game.state, file.string(), f));
    EXPECT_TRUE(f.Messages.empty());
    EXPECT_EQ(ReadFile(file), SavegameText(game.state));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(game.dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Tavrek!.ini", "TavrekNames.ini", "game.tsg"})) << "no file left over";

    // Without a game "Save" does nothing.
    game.state.GameActive = false;
    EXPECT_FALSE(SaveGame(game.state, (game.dir / "other.tsg").string(), f));
    EXPECT_FALSE(fs::exists(game.dir / "other.tsg"));
    EXPECT_TRUE(f.Messages.empty());
}

// The line that says why, before the window shows the save dialog again.
void ExpectCannotOpenLine(const RecordingFrontend& f, const std::string& path, SaveProblem problem)
{
    ASSERT_EQ(f.Messages.size(), 1u);
    EXPECT_EQ(f.Messages[0].Text, CannotOpenForSavingText(path, problem));
    EXPECT_EQ(f.Messages[0].Caption, (LocalText{"File Error", "Dateifehler"}));
    EXPECT_EQ(f.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_FALSE(f.Messages[0].Question);
}

TEST(SavegameSave, AFileThatCannotBeOpenedIsLeftAloneAndTheLineSaysWhy)
{
    TestGame game(OnePlayer(2, 3), 4);
    WriteFile(game.dir / "plain-file", "x");
    fs::create_directory(game.dir / "folder.tsg");
    ASSERT_EQ(::mkfifo((game.dir / "pipe.tsg").c_str(), 0666), 0);
    fs::create_symlink("round-b.tsg", game.dir / "round-a.tsg");
    fs::create_symlink("round-a.tsg", game.dir / "round-b.tsg");
    struct Case {
        fs::path Target;
        SaveProblem Problem;
    };
    std::vector<Case> cases = {
        {game.dir / "no-such-dir" / "game.tsg", SaveProblem::NoFolder},
        {game.dir / "plain-file" / "game.tsg", SaveProblem::NoFolder},
        {game.dir / "folder.tsg", SaveProblem::NotAFile},
        {game.dir / "pipe.tsg", SaveProblem::NotAFile},
        {game.dir / "round-a.tsg", SaveProblem::Other},
        {"", SaveProblem::NoFileName},
    };
    // A device node, where one can be made (root): saving must not put a plain file in its place.
    if (::mknod((game.dir / "device.tsg").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        cases.push_back({game.dir / "device.tsg", SaveProblem::NotAFile});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Target.string());
        const fs::file_type before = fs::symlink_status(c.Target).type();
        std::string why;
        const SaveResult result = WriteSavegameFile(game.state, c.Target.string(), &why);
        EXPECT_EQ(result.Status, SaveStatus::CannotOpen);
        EXPECT_EQ(result.Problem, c.Problem);
        EXPECT_FALSE(why.empty());
        RecordingFrontend f;
        EXPECT_EQ(SaveGame(game.state, c.Target.string(), f).Status, SaveStatus::CannotOpen);
        if (c.Problem == SaveProblem::NoFileName)
            EXPECT_TRUE(f.Messages.empty()) << "without a file the save dialog simply asks for one";
        else
            ExpectCannotOpenLine(f, c.Target.string(), c.Problem);
        EXPECT_EQ(fs::symlink_status(c.Target).type(), before);
    }

    // Every reason is one line that names the file, in both languages.
    for (const SaveProblem problem :
         {SaveProblem::NoFolder, SaveProblem::NotAFile, SaveProblem::FileWriteProtected, SaveProblem::FileLocked,
          SaveProblem::FolderWriteProtected, SaveProblem::ReadOnlyDisk, SaveProblem::DiskFull, SaveProblem::Other}) {
        const LocalText line = CannotOpenForSavingText("/home/anna/Spiel 1.tsg", problem);
        for (const std::string& text : {line.English, line.German}) {
            EXPECT_NE(text.find("/home/anna/Spiel 1.tsg"), std::string::npos) << text;
            EXPECT_EQ(text.find('\n'), std::string::npos) << text;
        }
        EXPECT_NE(line.English, line.German);
    }
    EXPECT_EQ(CannotOpenForSavingText("a.tsg", SaveProblem::FileWriteProtected),
              (LocalText{"Cannot save \"a.tsg\": the file is write-protected.",
                         "„a.tsg“ kann nicht gespeichert werden: Die Datei ist schreibgeschützt."}));
    EXPECT_EQ(CannotOpenForSavingText("a\nb.tsg", SaveProblem::Other).English.find('\n'), std::string::npos);
}

// Files and folders that refuse the save for reasons root would not meet: the check runs as an
// ordinary user. A writable savegame in a write-protected folder is rewritten in place.
TEST(SavegameSave, ProtectedFilesAndFoldersSayWhyAndAWritableFileIsRewrittenInPlace)
{
    TestGame game(OnePlayer(2, 3), 4);
    const fs::perms readOnlyFile = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms writableFile =
        readOnlyFile | fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const fs::perms readOnlyFolder = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec;
    const std::string old = "the old save\r\n";
    fs::create_directory(game.dir / "open");
    fs::permissions(game.dir / "open", fs::perms::all);
    WriteFile(game.dir / "open" / "protected.tsg", old);
    fs::permissions(game.dir / "open" / "protected.tsg", readOnlyFile);
    fs::create_directory(game.dir / "closed");
    WriteFile(game.dir / "closed" / "mine.tsg", old);
    fs::permissions(game.dir / "closed" / "mine.tsg", writableFile);
    fs::permissions(game.dir / "closed", readOnlyFolder);

    const std::string protectedFile = (game.dir / "open" / "protected.tsg").string();
    const std::string newInClosed = (game.dir / "closed" / "new.tsg").string();
    const std::string mine = (game.dir / "closed" / "mine.tsg").string();
    EXPECT_CHILD_FINE(AsNobody([&]() -> std::string {
        for (const auto& [path, problem] : {std::pair{protectedFile, SaveProblem::FileWriteProtected},
                                            std::pair{newInClosed, SaveProblem::FolderWriteProtected}}) {
            RecordingFrontend f;
            const SaveResult result = SaveGame(game.state, path, f);
            if (result.Status != SaveStatus::CannotOpen || result.Problem != problem)
                return path + ": not refused for its reason";
            if (f.Messages.size() != 1 || f.Messages[0].Text != CannotOpenForSavingText(path, problem))
                return path + ": the line does not say why";
        }
        RecordingFrontend f;
        if (!SaveGame(game.state, mine, f))
            return "the writable savegame in a write-protected folder was not saved";
        return f.Messages.empty() ? "" : "a saved game was reported";
    }));
    EXPECT_EQ(ReadFile(protectedFile), old);
    EXPECT_FALSE(fs::exists(newInClosed));
    EXPECT_EQ(ReadFile(mine), SavegameText(game.state));
    EXPECT_EQ(fs::status(mine).permissions(), writableFile);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(game.dir / "closed"))
        ++entries;
    EXPECT_EQ(entries, 1u) << "no scratch file left over";

    // In place, a disk that fills up fails before a byte changes: the old game stays whole.
    const std::string small = "a shorter old save\r\n";
    fs::permissions(game.dir / "closed", fs::perms::all);
    WriteFile(mine, small);
    fs::permissions(game.dir / "closed", readOnlyFolder);
    EXPECT_CHILD_FINE(AsNobody([&]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 1000;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return "SKIP: cannot limit the file size";
        RecordingFrontend f;
        const SaveResult result = SaveGame(game.state, mine, f);
        if (result.Status != SaveStatus::WriteFailed)
            return "a write beyond the room it had was not reported as failed";
        if (f.Messages.size() != 1 || f.Messages[0].Text.English != "Cannot save file!")
            return "the failed write was not reported";
        return "";
    }));
    EXPECT_EQ(ReadFile(mine), small);
}

// An immutable savegame and a drive mounted read-only, where this machine can make them.
TEST(SavegameSave, LockedFilesAndReadOnlyDrivesSayWhy)
{
    TestGame game(OnePlayer(2, 3), 4);
    const fs::path locked = game.dir / "locked.tsg";
    WriteFile(locked, "the old save\r\n");
    {
        const int fd = ::open(locked.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        int flags = 0;
        const bool immutable = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                               (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
        if (immutable) {
            RecordingFrontend f;
            const SaveResult result = SaveGame(game.state, locked.string(), f);
            EXPECT_EQ(result.Problem, SaveProblem::FileLocked);
            ExpectCannotOpenLine(f, locked.string(), SaveProblem::FileLocked);
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
        EXPECT_EQ(ReadFile(locked), "the old save\r\n");
    }

    const fs::path mount = game.dir / "mounted";
    fs::create_directory(mount);
    EXPECT_CHILD_FINE(InChild([&]() -> std::string {
        // A mount of its own that dies with the child.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tavrek", mount.c_str(), "tmpfs", MS_RDONLY, nullptr) != 0)
            return "SKIP: no read-only mount can be made here";
        const std::string path = (mount / "game.tsg").string();
        RecordingFrontend f;
        const SaveResult result = SaveGame(game.state, path, f);
        if (result.Problem != SaveProblem::ReadOnlyDisk)
            return "not refused as a read-only drive";
        if (f.Messages.size() != 1 || f.Messages[0].Text != CannotOpenForSavingText(path, SaveProblem::ReadOnlyDisk))
            return "the line does not say why";
        return "";
    }));
}

// As a user without the right to write it: a write-protected savegame in a writable directory
// is not replaced. Root may write anything, so the check runs in a child that gives root up.
TEST(SavegameSave, AWriteProtectedSavegameIsNotReplaced)
{
    TestGame game(OnePlayer(2, 3), 4);
    const fs::path file = game.dir / "game.tsg";
    const std::string old = "the old save\r\n";
    WriteFile(file, old);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(game.dir.Path(), fs::perms::all);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const SaveResult result = WriteSavegameFile(game.state, file.string());
        ::_exit(result.Status == SaveStatus::CannotOpen ? 0 : result ? 1 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: replaced, 2: another failure, 3: could not give up root";
    EXPECT_EQ(ReadFile(file), old);
}

TEST(SavegameSave, LinksAreFollowedAndNoOtherFileIsTouched)
{
    TestGame game(OnePlayer(2, 3), 4);
    const fs::path dir = game.dir.Path();
    // A dangling link creates the file it names; the link stays a link.
    fs::create_directory(dir / "saves");
    fs::create_symlink("saves/real.tsg", dir / "link.tsg");
    ASSERT_TRUE(WriteSavegameFile(game.state, (dir / "link.tsg").string()));
    EXPECT_TRUE(fs::is_symlink(dir / "link.tsg"));
    EXPECT_EQ(ReadFile(dir / "saves" / "real.tsg"), SavegameText(game.state));
    // A link to a link to a file.
    fs::create_symlink("link.tsg", dir / "second.tsg");
    game.PlayMonths(1);
    ASSERT_TRUE(WriteSavegameFile(game.state, (dir / "second.tsg").string()));
    EXPECT_TRUE(fs::is_symlink(dir / "second.tsg"));
    EXPECT_EQ(ReadFile(dir / "saves" / "real.tsg"), SavegameText(game.state));
    // Links in a circle are no file.
    fs::create_symlink("round-b.tsg", dir / "round-a.tsg");
    fs::create_symlink("round-a.tsg", dir / "round-b.tsg");
    EXPECT_EQ(WriteSavegameFile(game.state, (dir / "round-a.tsg").string()).Status, SaveStatus::CannotOpen);
    // A file of the player's own beside the savegame, named as a scratch file might be, survives.
    WriteFile(dir / "x.tmp", "mine");
    WriteFile(dir / "x.tsg.tmp", "mine too");
    ASSERT_TRUE(WriteSavegameFile(game.state, (dir / "x").string()));
    ASSERT_TRUE(WriteSavegameFile(game.state, (dir / "x.tsg").string()));
    EXPECT_EQ(ReadFile(dir / "x.tmp"), "mine");
    EXPECT_EQ(ReadFile(dir / "x.tsg.tmp"), "mine too");
}

TEST(SavegameSave, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    TestGame game(OnePlayer(2, 3), 4);
    const fs::path file = game.dir / "game.tsg";
    const std::string old = "the old save\r\n";
    WriteFile(file, old);

    // A disk that fills up in the middle of the write: the file-size limit makes the write fail
    // after the file was opened, even for root.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    RecordingFrontend f;
    const SaveResult written = SaveGame(game.state, file.string(), f);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(written.Status, SaveStatus::WriteFailed);
    ASSERT_EQ(f.Messages.size(), 1u);
    EXPECT_EQ(f.Messages[0].Text, (LocalText{"Cannot save file!", "Datei kann nicht gespeichert werden"}));
    EXPECT_EQ(f.Messages[0].Caption, (LocalText{"File Error", "Dateifehler"}));
    EXPECT_EQ(f.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_EQ(ReadFile(file), old);
    for (const auto& entry : fs::directory_iterator(game.dir.Path()))
        EXPECT_EQ(entry.path().extension(), entry.path().filename() == "game.tsg" ? ".tsg" : ".ini")
            << "no scratch file left over: " << entry.path();
}

// Two programs saving different games to one file at the same moment: the file always ends as
// one of the two games, whole.
TEST(SavegameSave, SavesAtTheSameTimeLeaveOneWholeGame)
{
    TestGame a(OnePlayer(1, 2), 1);
    TestGame b(TwoPlayers(3, 4, 7), 2);
    b.PlayMonths(3);
    const std::string file = a.Path("shared.tsg");
    const std::string textA = SavegameText(a.state);
    const std::string textB = SavegameText(b.state);
    for (int round = 0; round < 10; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int i = 0; i < 20; ++i)
                ok = WriteSavegameFile(b.state, file) && ok;
            ::_exit(ok ? 0 : 1);
        }
        bool ok = true;
        for (int i = 0; i < 20; ++i)
            ok = WriteSavegameFile(a.state, file) && ok;
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(ok);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const std::string now = ReadFile(file);
        ASSERT_TRUE(now == textA || now == textB) << "round " << round << ": a mix of both games";
    }
}

TEST(SavegameSim, SaveAndLoadFromTheCommandLine)
{
    TempDir d;
    const std::string dir = "--dir " + d.Str() + " ";
    const std::string first = (d / "first.tsg").string();
    const std::string second = (d / "second.tsg").string();
    const SimRun save = RunSim(dir + "--seed 3 --map 2 --start 4 --start2 9 --months 24 --save " + first);
    ASSERT_EQ(save.Status, 0) << save.Out;
    EXPECT_EQ(Lines(ReadFile(first)).size(), 3419u);

    // Loading replaces the new world; playing on from the file is the same as playing on.
    const SimRun on = RunSim(dir + "--seed 8 --months 5 --load " + first + " --save " + second);
    ASSERT_EQ(on.Status, 0) << on.Out;
    EXPECT_EQ(on.Out.find("take over"), std::string::npos) << "no new world";
    GameState replay;
    replay.Program.ProgramDirectory = d.Str();
    replay.Program.Rng.Seed(8);
    ASSERT_EQ(LoadGameFile(replay, first), LoadStatus::Loaded);
    RecordingFrontend f;
    for (int m = 0; m < 5; ++m)
        for (int p = 0, presses = replay.TwoPlayer ? 2 : 1; p < presses; ++p)
            NextTurn(replay, f);
    EXPECT_EQ(ReadFile(second), SavegameText(replay));

    WriteFile(d / "bad.tsg", FirstLines(ReadFile(first), 2000));
    const SimRun bad = RunSim(dir + "--load " + (d / "bad.tsg").string(), true);
    EXPECT_EQ(bad.Status, 1);
    EXPECT_NE(bad.Out.find("is not a valid savegame: line 2001: the file ends before"), std::string::npos) << bad.Out;
    const SimRun missing = RunSim(dir + "--load " + (d / "nope.tsg").string(), true);
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Out.find("cannot open"), std::string::npos) << missing.Out;
    const SimRun unwritable = RunSim(dir + "--save " + (d / "nope" / "x.tsg").string(), true);
    EXPECT_EQ(unwritable.Status, 1);
    EXPECT_NE(unwritable.Out.find("tavrek-sim: cannot create"), std::string::npos) << unwritable.Out;
}
