/// @file end_of_game.cpp Bankruptcy, victory and scoring.
#include "engine/end_of_game.h"

#include <cmath>
#include <limits>

#include "game/building.h"
#include "game/names_file.h"
#include "game/text.h"

namespace {

constexpr long double kDepotValue = 5000.0L;
constexpr long double kBreweryValue = 15000.0L;  // a brewery with its first 1000 litres
constexpr long double kExtraLitreValue = 11.0L;  // each litre of capacity beyond those

void EmptyCompany(GameState& s, int c)
{
    // Whatever the accounts held or owed goes with the company.
    long double money = 0.0L;
    for (int t = 0; t < kTowns; ++t)
        money += s.Account[c][t];
    s.History.NoteOther(c, -money);
    for (int t = 0; t < kTowns; ++t) {
        s.HasDepot[c][t] = false;
        s.Account[c][t] = 0.0L;
        for (int b = 0; b < kBrands; ++b) {
            s.Capacity[c][b][t] = 0;
            s.Price[c][b][t] = 0.0f;
            s.Supply[c][b][t] = 0;
            s.ProductionCost[c][b][t] = 0.0L;
            s.Sales[c][b][t] = 0;
            s.Stock[c][b][t] = 0;
        }
    }
    for (int b = 0; b < kBrands; ++b) {
        s.Quality[c][b] = 0.0f;
        s.CostFactor[c][b] = 0.0f;
    }
}

}  // namespace

long double CompanyValue(const GameState& s, int c)
{
    long double value = 0.0L;
    for (int t = 0; t < kTowns; ++t) {
        if (s.HasDepot[c][t])
            value += kDepotValue;
        value += s.Account[c][t];
        for (int b = 0; b < kBrands; ++b) {
            const int32_t capacity = s.Capacity[c][b][t];
            if (capacity > 0) {
                value += kBreweryValue;
                if (capacity > kNewBreweryLitres)
                    value += kExtraLitreValue * (capacity - kNewBreweryLitres);
            }
        }
    }
    return value;
}

double TotalDemand(const GameState& s)
{
    double total = 0.0;
    for (int t = 0; t < kTowns; ++t)
        total += s.Demand[t];
    return total;
}

int64_t TotalSales(const GameState& s, int c) { return SumOfLitres(s.Sales, c); }

float MarketShare(const GameState& s, int c) { return ShareOfDemand(TotalSales(s, c), TotalDemand(s)); }

void Liquidate(GameState& s, Frontend& frontend, int c)
{
    frontend.PlaySoundEffect(11);
    const char* name = s.CompanyName[c].c_str();
    frontend.ShowMessage({Format("%s's company has been liquidated!", name), Format("%s's Firma ist Pleite!", name)},
                         {"Bankruptcy!", "Bankrott!"}, MessageIcon::Warning);
    for (auto& order : s.StandingOrder[c])
        order.Kind = kOrderEmpty;
    EmptyCompany(s, c);
    if (s.TwoPlayer && c == s.CurrentCompany) {
        s.TwoPlayer = false;
        if (c == s.PlayerCompany[0]) {
            s.CurrentCompany = s.PlayerCompany[1];
            s.SelectedTown = s.PlayerTown[1];
        } else if (c == s.PlayerCompany[1]) {
            s.CurrentCompany = s.PlayerCompany[0];
            s.SelectedTown = s.PlayerTown[0];
        }
    }
}

Victory DeclareWinner(GameState& s, Frontend& frontend, int w, int32_t bestScore)
{
    Victory victory;
    frontend.PlaySoundEffect(6);
    if (w == s.CurrentCompany) {
        // Two points for every month a win comes before month 200; worked out wide, so that no
        // month count can overflow it.
        int64_t bonus = (200 - static_cast<int64_t>(s.MonthCount)) * 2;
        if (bonus < 0)
            bonus = 0;
        // Points cut toward zero, held within the integer range instead of wrapping.
        const int32_t points = CutToInt32(CompanyValue(s, w) * 0.0001L + bonus);
        victory.Points = points;
        frontend.ShowMessage({Format("Congratulations, you have won the game and achieved %d Points!", points),
                              Format("Gratulation, Sie haben das Spiel gewonnen und %d Punkte erreicht!", points)},
                             {"VICTORY!", "SIEG!"}, MessageIcon::Warning);
        if (points > bestScore) {
            frontend.ShowMessage({"New Highscore!", "Neuer Highscore!"}, {}, MessageIcon::Warning);
            const char* name = s.CompanyName[w].c_str();
            const char* town = s.TownName[w].c_str();
            // The entry is written in the language of the moment.
            victory.Highscore = NewHighscore{
                s.MapNumber >= 1 && s.MapNumber <= 3 ? s.MapNumber - 1 : 0,
                LocalText{Format("%s from %s", name, town), Format("%s aus %s", name, town)}.In(s.Program.Language),
                points};
        }
    } else {
        const char* name = s.CompanyName[w].c_str();
        frontend.ShowMessage(
            {Format("You lose, %s won the game!", name), Format("Der Spieler %s hat das Spiel gewonnen!", name)},
            {"", "Leider verloren..."}, MessageIcon::Warning);
    }
    ClearAllCompanies(s);
    return victory;
}

void ClearAllCompanies(GameState& s)
{
    for (int c = 0; c < kCompanies; ++c)
        EmptyCompany(s, c);
}
