/// @file game_history.cpp Looking up and sizing the game's record.
#include "game/game_history.h"

#include <algorithm>
#include <tuple>

const MonthRecord* GameHistory::FindMonth(int32_t month) const
{
    // Months are recorded in order, but a record read from a file is only checked to be rising.
    const auto it = std::lower_bound(Months.begin(), Months.end(), month,
                                     [](const MonthRecord& r, int32_t m) { return r.Month < m; });
    return it != Months.end() && it->Month == month ? &*it : nullptr;
}

double GameHistory::SpentOn(int company, SpendingKind kind) const
{
    if (Months.empty() || company < 0 || company >= kHistoryCompanies)
        return 0;
    return kind == SpendingKind::Transport ? Months.back().Companies[company].Transport
                                           : NewestSpent[company][static_cast<size_t>(kind)];
}

double TotalSpending(const CompanyMonth& m) { return m.Spent + m.Transport; }

void GameHistory::NoteSpending(int company, int town, SpendingKind kind, long double dollars)
{
    if (company < 0 || company >= kHistoryCompanies || town < 0 || town >= kHistoryTowns)
        return;
    if (kind == SpendingKind::Transport)
        OpenTransport[company] += dollars;
    else
        Open[company].Spent[static_cast<size_t>(kind)] += dollars;
    Open[company].TownSpent[town] += dollars;
}

MonthRecord& GameHistory::AddMonth(int32_t month)
{
    NewestCells.clear();
    NewestDemand.fill(0);
    NewestTownSpent = {};
    NewestSpent = {};
    NewestUnsold = {};
    MonthRecord& r = Months.emplace_back();
    r.Month = month;
    return r;
}

void GameHistory::DropNewestMonth()
{
    if (Months.empty())
        return;
    Months.pop_back();
    NewestCells.clear();
    NewestDemand.fill(0);
    NewestTownSpent = {};
    NewestSpent = {};
    NewestUnsold = {};
}

void GameHistory::SetDemand(const std::array<int32_t, kHistoryTowns>& demand)
{
    if (Months.empty())
        return;
    NewestDemand = demand;
    int64_t total = 0;
    for (const int32_t d : demand)
        total += d;
    Months.back().TotalDemand = total;
}

void GameHistory::SetLitres(int company, int brand, int town, int32_t supply, int32_t sales)
{
    if (Months.empty() || company < 0 || company >= kHistoryCompanies || brand < 0 || brand >= kHistoryBrands ||
        town < 0 || town >= kHistoryTowns)
        return;
    CompanyMonth& m = Months.back().Companies[company];
    const auto key = std::make_tuple(company, brand, town);
    const auto it =
        std::lower_bound(NewestCells.begin(), NewestCells.end(), key, [](const LitreCell& c, const auto& k) {
            return std::make_tuple(int{c.Company}, int{c.Brand}, int{c.Town}) < k;
        });
    const bool found =
        it != NewestCells.end() && std::make_tuple(int{it->Company}, int{it->Brand}, int{it->Town}) == key;
    if (found) {
        m.Supply -= it->Supply;
        m.Sales -= it->Sales;
    }
    m.Supply += supply;
    m.Sales += sales;
    if (supply == 0 && sales == 0) {
        if (found)
            NewestCells.erase(it);
    } else if (found) {
        it->Supply = supply;
        it->Sales = sales;
    } else {
        NewestCells.insert(it, {static_cast<uint8_t>(company), static_cast<uint8_t>(brand), static_cast<uint8_t>(town),
                                supply, sales});
    }
}

CompanyLitres GameHistory::Litres(const MonthRecord& r, int company) const
{
    CompanyLitres litres;
    if (company < 0 || company >= kHistoryCompanies)
        return litres;
    for (const LitreCell& c : CellsOf(r))
        if (c.Company == company) {
            litres.Supply[c.Brand][c.Town] = c.Supply;
            litres.Sales[c.Brand][c.Town] = c.Sales;
        }
    litres.TotalSupply = r.Companies[company].Supply;
    litres.TotalSales = r.Companies[company].Sales;
    return litres;
}

bool GameHistory::operator==(const GameHistory& other) const
{
    return Months == other.Months && NewestCells == other.NewestCells && NewestDemand == other.NewestDemand &&
           NewestTownSpent == other.NewestTownSpent && NewestSpent == other.NewestSpent &&
           NewestUnsold == other.NewestUnsold && Messages == other.Messages && End == other.End &&
           Inputs == other.Inputs;
}

std::size_t GameHistory::MemoryBytes() const
{
    std::size_t bytes = Months.size() * sizeof(MonthRecord) + NewestCells.capacity() * sizeof(LitreCell) +
                        Messages.capacity() * sizeof(RecordedMessage) +
                        Inputs.Entries.capacity() * sizeof(RecordedInput) +
                        Inputs.Details.capacity() * sizeof(TakenUp) + Inputs.Start.Savegame.capacity();
    const auto text = [&bytes](const std::string& t) {
        if (t.capacity() > 15)  // beyond the small-string buffer inside the string itself
            bytes += t.capacity() + 1;
    };
    for (const auto& m : Messages)
        for (const std::string* t : {&m.Text.English, &m.Text.German, &m.Caption.English, &m.Caption.German})
            text(*t);
    for (const auto& e : Inputs.Entries)
        text(e.Text);
    return bytes;
}
