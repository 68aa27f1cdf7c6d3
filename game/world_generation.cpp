/// @file world_generation.cpp A new world: towns, ten companies, players and the first month.
#include "game/world_generation.h"

#include <cmath>
#include <utility>

#include "game/building.h"
#include "game/map_tables.h"
#include "game/names_file.h"
#include "game/number_text.h"
#include "game/status_line.h"
#include "game/text.h"
#include "platform/cp1252.h"
#include "platform/ini_file.h"

namespace {

constexpr long double kHumanStartMoney = 20000.0L;
constexpr long double kExpertStartMoney = 150000.0L;

int32_t StartCompany(GameState& s, int32_t start) { return start == 0 ? s.Program.Rng.Random(kCompanies) : start - 1; }

}  // namespace

int32_t WinningShareFromText(const std::string& text)
{
    long double share = std::floor(LeadingNumber(Utf8Prefix(text, 3)));
    if (!(share >= 50.0L))
        share = 50.0L;
    if (share > 100.0L)
        share = 100.0L;
    return static_cast<int32_t>(share);
}

namespace {

int32_t MapOf(const NewGameSettings& settings) { return settings.Map >= 1 && settings.Map <= kMaps ? settings.Map : 1; }

}  // namespace

WorldNames NamesForNewWorld(const GameState& s, const NewGameSettings& settings)
{
    GameState names;
    names.Program.ProgramDirectory = s.Program.ProgramDirectory;
    names.MapNumber = MapOf(settings);
    LoadNames(names);
    return {names.CompanyName, names.BrandName};
}

void GenerateWorld(GameState& s, const NewGameSettings& settings, Frontend& frontend)
{
    GenerateWorld(s, settings, NamesForNewWorld(s, settings), frontend);
}

void GenerateWorld(GameState& s, const NewGameSettings& settings, const WorldNames& names, Frontend& shownFrontend)
{
    // A new game starts a new record; its take-over announcements are the record's first messages.
    s.History.Clear();
    s.History.OpenWhole = true;  // every coin of the first month is seen
    HistoryTap frontend(s.History, shownFrontend, s.MonthCount, s.CurrentCompany);
    // A start outside the lists' eleven entries is taken as a random town.
    const auto startEntry = [](int32_t start) { return start >= 0 && start <= kTowns ? start : 0; };
    const std::string settingsFile = platform::PathIn(s.Program.ProgramDirectory, kSettingsFileName);

    s.TwoPlayer = settings.TwoPlayer;
    s.MapNumber = MapOf(settings);
    s.ExpertMode = settings.Expert;
    s.DelayBuilding = settings.DelayBuilding;
    s.EventsOn = settings.Events;
    if (settings.AdvancedOptions) {
        s.ReduceCapacities = settings.ReduceCapacities;
        s.WinningShare = WinningShareFromText(settings.WinningShareText);
    } else {
        s.ReduceCapacities = false;
        s.WinningShare = 60.0;
    }
    s.GameActive = true;
    s.CompanyName = names.Company;
    s.BrandName = names.Brand;
    for (int t = 0; t < kTowns; ++t)
        s.TownName[t] = kTownNames[s.MapNumber - 1][t];

    s.CurrentCompany = StartCompany(s, startEntry(settings.Player1Start));
    s.SelectedTown = s.CurrentCompany;
    s.PlayerCompany = {s.CurrentCompany, -1};
    s.PlayerTown = {s.SelectedTown, -1};
    // A name is kept as the settings file and the savegame will hold it, so the game shows
    // what a reload gives back.
    const std::string name1 = AsCp1252Line(Utf8Prefix(settings.Player1Name, kTypedNameLength));
    if (!name1.empty()) {
        s.CompanyName[s.CurrentCompany] = name1;
        platform::WriteProfileString(settingsFile, settings::kPlayer1.Section, settings::kPlayer1.Key, name1);
    }

    if (s.TwoPlayer) {
        s.PlayerCompany[1] = StartCompany(s, startEntry(settings.Player2Start));
        while (s.PlayerCompany[1] == s.PlayerCompany[0])
            s.PlayerCompany[1] = s.Program.Rng.Random(kCompanies);
        s.PlayerTown[1] = s.PlayerCompany[1];
        const std::string name2 = AsCp1252Line(Utf8Prefix(settings.Player2Name, kTypedNameLength));
        if (!name2.empty()) {
            s.CompanyName[s.PlayerCompany[1]] = name2;
            platform::WriteProfileString(settingsFile, settings::kPlayer2.Section, settings::kPlayer2.Key, name2);
        }
        // The lower company number always moves first.
        if (s.PlayerCompany[0] > s.PlayerCompany[1]) {
            std::swap(s.CompanyName[s.PlayerCompany[0]], s.CompanyName[s.PlayerCompany[1]]);
            std::swap(s.PlayerCompany[0], s.PlayerCompany[1]);
            std::swap(s.PlayerTown[0], s.PlayerTown[1]);
        }
    }

    s.BrandOffered.fill(false);
    s.MonthCount = 1;

    const MapStartTable& table = kStartTables[s.MapNumber - 1];
    for (int t = 0; t < kTowns; ++t) {
        s.Wages[t] = table.Wages[t];
        s.Demand[t] = table.Demand[t];
    }
    for (int c = 0; c < kCompanies; ++c) {
        s.Quality[c][0] = table.Quality[c];
        s.CostFactor[c][0] = table.CostFactor[c];
    }

    for (int c = 0; c < kCompanies; ++c) {
        const bool expertComputer = s.ExpertMode && !IsHumanCompany(s, c);
        for (int t = 0; t < kTowns; ++t) {
            s.Price[c][0][t] = static_cast<float>(static_cast<long double>(s.Quality[c][0]) * 3.0L);
            s.HasDepot[c][t] = expertComputer;
            s.Account[c][t] = 0.0L;
            s.StandingOrder[c][t].Kind = kOrderEmpty;
            for (int b = 0; b < kBrands; ++b) {
                s.Capacity[c][b][t] = 0;
                s.Supply[c][b][t] = 0;
                s.Stock[c][b][t] = 0;
                s.ProductionCost[c][b][t] = 0.0L;
                s.Sales[c][b][t] = 0;
                s.ConstructionPipeline[c][b][t] = {0, 0, 0};
            }
        }
        s.Account[c][c] = expertComputer ? kExpertStartMoney : kHumanStartMoney;
        s.Capacity[c][0][c] = kNewBreweryLitres;
        s.Stock[c][0][c] = kNewBreweryLitres;
        s.Quality[c][1] = 0.0f;
        s.Quality[c][2] = 0.0f;
    }

    if (s.TwoPlayer) {
        s.CurrentCompany = s.PlayerCompany[0];
        s.SelectedTown = s.PlayerTown[0];
    }
    WriteStatusLine(s, frontend);
    frontend.SetCaption(EnglishGameTitle());

    if (s.TwoPlayer) {
        for (int p = 0; p < 2; ++p) {
            const int c = s.PlayerCompany[p];
            frontend.ShowMessage({Format("%s takes over the %s-Brewery in %s", s.CompanyName[c].c_str(),
                                         s.BrandName[c][0].c_str(), s.TownName[c].c_str()),
                                  Format("%s übernimmt die %s-Brauerei in %s", s.CompanyName[c].c_str(),
                                         s.BrandName[c][0].c_str(), s.TownName[c].c_str())},
                                 {}, MessageIcon::Information);
        }
    } else {
        const int c = s.CurrentCompany;
        frontend.ShowMessage(
            {Format("You take over the %s-Brewery in %s", s.BrandName[c][0].c_str(), s.TownName[c].c_str()),
             Format("Sie übernehmen die %s-Brauerei in %s", s.BrandName[c][0].c_str(), s.TownName[c].c_str())},
            {}, MessageIcon::Information);
    }
    frontend.Redraw();
}
