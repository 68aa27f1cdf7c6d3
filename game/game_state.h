/// @file game_state.h The one record of all game data, and the small helpers every rule uses.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "game/game_history.h"
#include "game/game_random.h"
#include "game/safe_numbers.h"
#include "game/text.h"

static_assert(std::numeric_limits<long double>::digits >= 64,
              "money needs the 64-bit mantissa of the x87 extended format");

inline constexpr int kCompanies = 10;   ///< always ten companies; company c starts in town c
inline constexpr int kTowns = 10;       ///< towns of a map
inline constexpr int kBrands = 3;       ///< brand slots per company
inline constexpr int kOrderSlots = 10;  ///< standing-order slots per company
inline constexpr int kStages = 3;       ///< construction stages
inline constexpr int kMonths = 12;

template <typename T>
using PerTown = std::array<T, kTowns>;
template <typename T>
using PerCompany = std::array<T, kCompanies>;
template <typename T>
using PerCompanyTown = std::array<std::array<T, kTowns>, kCompanies>;
template <typename T>
using PerCompanyBrand = std::array<std::array<T, kBrands>, kCompanies>;
template <typename T>
using PerCompanyBrandTown = std::array<std::array<std::array<T, kTowns>, kBrands>, kCompanies>;

/// Kind of an empty standing-order slot.
inline constexpr int32_t kOrderEmpty = -1;
/// Kind of a money standing order; kinds 0..2 move beer of that brand.
inline constexpr int32_t kOrderMoney = 3;

struct StandingOrderSlot {
    int32_t Kind = kOrderEmpty;  ///< 0..2 beer of that brand, 3 money, -1 empty slot
    int32_t FromTown = 0;        ///< town the goods leave
    int32_t ToTown = 0;          ///< town they arrive in
    int32_t Amount = 0;          ///< litres or dollars per month

    bool operator==(const StandingOrderSlot&) const = default;
};

/// The data of one game: everything a savegame holds and a load replaces.
struct GameData {
    // --- the running game: options, turn and month ---------------------------------------
    bool GameActive = false;                      ///< a game is running
    int32_t MapNumber = 1;                        ///< 1 Peninsula, 2 Islands, 3 Continental
    int32_t MonthCount = 1;                       ///< current month counted from 1 (January 1750)
    int32_t CurrentCompany = 0;                   ///< company of the human who is moving
    int32_t SelectedTown = 0;                     ///< town the panel shows and commands act on
    std::array<int32_t, 2> PlayerCompany{0, -1};  ///< players' companies; [1] = -1 with one player
    std::array<int32_t, 2> PlayerTown{0, -1};     ///< players' selected towns, kept across turns
    bool TwoPlayer = false;                       ///< two humans take turns
    bool ExpertMode = false;                      ///< stronger computer companies
    bool DelayBuilding = false;                   ///< new brewery capacity arrives through the pipeline
    bool EventsOn = false;                        ///< random events strike
    bool ReduceCapacities = false;                ///< breweries may be shrunk
    double WinningShare = 60.0;                   ///< market share in percent at which a company wins
    PerCompany<bool> BrandOffered{};              ///< the company asked for a new brand this month

    // --- towns ----------------------------------------------------------------------------
    PerTown<std::string> TownName{};  ///< names of the current map's towns
    PerTown<int32_t> Demand{};        ///< litres the town buys per month
    PerTown<float> Wages{};           ///< wage level; also the quality the market measures against

    // --- companies and brands -------------------------------------------------------------
    PerCompany<std::string> CompanyName{};
    PerCompanyBrand<std::string> BrandName{};
    PerCompanyBrand<float> Quality{};  ///< 0 = brand slot empty
    PerCompanyBrand<float> CostFactor{};
    PerCompanyBrandTown<float> Price{};       ///< dollars per litre
    PerCompanyBrandTown<int32_t> Capacity{};  ///< litres brewed per month; 0 = no brewery
    PerCompanyBrandTown<int32_t> Stock{};     ///< litres on hand for the next market
    PerCompanyBrandTown<int32_t> Supply{};    ///< litres offered at the last market
    PerCompanyBrandTown<int32_t> Sales{};     ///< litres sold at the last market
    PerCompanyBrandTown<std::array<int32_t, kStages>> ConstructionPipeline{};  ///< capacity being built
    PerCompanyBrandTown<long double> ProductionCost{};                         ///< brewery cost at the last month end
    PerCompanyTown<long double> Account{};  ///< dollars held in each town; may be negative
    PerCompanyTown<bool> HasDepot{};        ///< unsold beer is kept over the month end
    std::array<std::array<StandingOrderSlot, kOrderSlots>, kCompanies> StandingOrder{};  ///< repeated monthly

    /// Field by field: a view that must leave the game alone can be checked whole.
    bool operator==(const GameData&) const = default;
};

/// The program around the game: never saved with a game, kept when a game is loaded.
struct ProgramState {
    GameRandom Rng;                      ///< seeded once at program start
    std::string ProgramDirectory = ".";  ///< holds the settings file and the names file
    ::Language Language = ::Language::English;
    bool ShowBestOpponent = true;  ///< show the best-opponent comparison after each turn
    bool SoundOn = true;           ///< the sound effects (the settings file keeps it)
    bool AutosaveOnExit = false;   ///< closing saves to "Autosave.tsg" instead of asking (kept too)
    /// Today's comforts that change the flow of play; off, the game goes as it always went.
    bool Comforts = false;
};

/// The game with the program beside it. A load replaces the `GameData` part in one assignment,
/// so a field the window adds to the program cannot be forgotten there.
struct GameState : GameData {
    ProgramState Program;
    /// The record of the months played, kept beside the savegame, never in it.
    GameHistory History;
};

static_assert(kHistoryCompanies == kCompanies && kHistoryTowns == kTowns && kHistoryBrands == kBrands,
              "the record has the game's dimensions");

/// A brand slot is in use exactly when its quality is not 0.
inline bool BrandExists(const GameState& s, int company, int brand) { return s.Quality[company][brand] != 0.0f; }

/// The month end's step to the next month; the count stops at its largest value instead of
/// wrapping (that is some 178 million years of play).
inline void AdvanceMonth(GameData& s)
{
    if (s.MonthCount < std::numeric_limits<int32_t>::max())
        s.MonthCount += 1;
}

/// Month index 0..11 of the current month.
inline int MonthIndex(const GameState& s) { return (s.MonthCount - 1) % kMonths; }
/// Year of the current month; the first month is January 1750.
inline int Year(const GameState& s) { return 1750 + (s.MonthCount - 1) / kMonths; }

/// A company's litres in one of its tables (capacity, stock, supply, sales) over every brand and
/// town.
inline int64_t SumOfLitres(const PerCompanyBrandTown<int32_t>& table, int company)
{
    int64_t litres = 0;
    for (const auto& towns : table[company])
        for (const int32_t l : towns)
            litres += l;
    return litres;
}

/// A human plays this company (also after its liquidation).
inline bool IsHumanCompany(const GameState& s, int company)
{
    return company == s.PlayerCompany[0] || company == s.PlayerCompany[1];
}
