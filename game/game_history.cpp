/// @file game_history.cpp Looking up and sizing the game's record.
#include "game/game_history.h"

#include <algorithm>
#include <tuple>
#include <utility>

const MonthRecord* GameHistory::FindMonth(int32_t month) const
{
    // Months are recorded in order, but a record read from a file is only checked to be rising.
    const auto it = std::lower_bound(Months.begin(), Months.end(), month,
                                     [](const MonthRecord& r, int32_t m) { return r.Month < m; });
    return it != Months.end() && it->Month == month ? &*it : nullptr;
}

namespace {

// The entry of a company's month in a list ordered by month and company, or the list's end.
template <typename Entries>
auto FindEntry(Entries& entries, int32_t month, int company)
{
    const auto it = std::lower_bound(
        entries.begin(), entries.end(), std::make_pair(month, company),
        [](const auto& e, const std::pair<int32_t, int>& key) { return std::make_pair(e.Month, e.Company) < key; });
    return it != entries.end() && it->Month == month && it->Company == company ? it : entries.end();
}

}  // namespace

CompanyBooks GameHistory::BooksOf(int32_t month, int company) const
{
    const auto it = FindEntry(Books, month, company);
    return it != Books.end() ? *it : CompanyBooks{month, company, 0, 0};
}

double GameHistory::TotalSpending(const MonthRecord& r, int company) const
{
    if (company < 0 || company >= kHistoryCompanies)
        return 0;
    return BooksOf(r.Month, company).Spent + r.Companies[company].Transport;
}

double GameHistory::SpentOn(const MonthRecord& r, int company, SpendingKind kind) const
{
    if (company < 0 || company >= kHistoryCompanies)
        return 0;
    if (kind == SpendingKind::Transport)
        return r.Companies[company].Transport;
    const auto it = FindEntry(Kinds, r.Month, company);
    return it != Kinds.end() ? it->Spent[static_cast<size_t>(kind)] : 0;
}

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
    NewestUnsold = {};
    MonthRecord& r = Months.emplace_back();
    r.Month = month;
    return r;
}

void GameHistory::DropNewestMonth()
{
    if (Months.empty())
        return;
    const int32_t month = Months.back().Month;
    Months.pop_back();
    while (!Books.empty() && Books.back().Month >= month)
        Books.pop_back();
    while (!Kinds.empty() && Kinds.back().Month >= month)
        Kinds.pop_back();
    NewestCells.clear();
    NewestDemand.fill(0);
    NewestTownSpent = {};
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
           NewestTownSpent == other.NewestTownSpent && NewestUnsold == other.NewestUnsold && Books == other.Books &&
           Kinds == other.Kinds && Messages == other.Messages && End == other.End && Inputs == other.Inputs;
}

std::size_t GameHistory::MemoryBytes() const
{
    std::size_t bytes = Months.size() * sizeof(MonthRecord) + NewestCells.capacity() * sizeof(LitreCell) +
                        Books.capacity() * sizeof(CompanyBooks) + Kinds.capacity() * sizeof(KindSpending) +
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
