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

double SpentOn(const CompanyMonth& m, SpendingKind kind)
{
    return kind == SpendingKind::Transport ? m.Transport : m.Spent[static_cast<size_t>(kind)];
}

double TotalSpending(const CompanyMonth& m)
{
    double total = m.Transport;
    for (const double spent : m.Spent)
        total += spent;
    return total;
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
    MonthRecord& r = Months.emplace_back();
    r.Month = month;
    r.FirstCell = static_cast<uint32_t>(Cells.size());
    return r;
}

void GameHistory::DropNewestMonth()
{
    if (Months.empty())
        return;
    Cells.resize(Months.back().FirstCell);
    Months.pop_back();
}

void GameHistory::SetLitres(int company, int brand, int town, int32_t supply, int32_t sales)
{
    if (Months.empty() || company < 0 || company >= kHistoryCompanies || brand < 0 || brand >= kHistoryBrands ||
        town < 0 || town >= kHistoryTowns)
        return;
    MonthRecord& r = Months.back();
    if (r.CellCount == 0)
        r.FirstCell = static_cast<uint32_t>(Cells.size());
    const auto key = std::make_tuple(company, brand, town);
    const auto begin = Cells.begin() + r.FirstCell;
    const auto end = begin + r.CellCount;
    const auto it = std::lower_bound(begin, end, key, [](const LitreCell& c, const auto& k) {
        return std::make_tuple(int{c.Company}, int{c.Brand}, int{c.Town}) < k;
    });
    const bool found = it != end && std::make_tuple(int{it->Company}, int{it->Brand}, int{it->Town}) == key;
    if (supply == 0 && sales == 0) {
        if (found) {
            Cells.erase(it);
            --r.CellCount;
        }
    } else if (found) {
        it->Supply = supply;
        it->Sales = sales;
    } else {
        Cells.insert(it, {static_cast<uint8_t>(company), static_cast<uint8_t>(brand), static_cast<uint8_t>(town),
                          supply, sales});
        ++r.CellCount;
    }
}

CompanyLitres GameHistory::Litres(const MonthRecord& r, int company) const
{
    CompanyLitres litres;
    for (const LitreCell& c : CellsOf(r))
        if (c.Company == company) {
            litres.Supply[c.Brand][c.Town] = c.Supply;
            litres.Sales[c.Brand][c.Town] = c.Sales;
            litres.TotalSupply += c.Supply;
            litres.TotalSales += c.Sales;
        }
    return litres;
}

bool GameHistory::operator==(const GameHistory& other) const
{
    if (Months.size() != other.Months.size() || Messages != other.Messages || End != other.End)
        return false;
    for (std::size_t i = 0; i < Months.size(); ++i) {
        const MonthRecord& a = Months[i];
        const MonthRecord& b = other.Months[i];
        const auto cellsA = CellsOf(a);
        const auto cellsB = other.CellsOf(b);
        if (a.Month != b.Month || a.Demand != b.Demand || a.Companies != b.Companies || a.Detailed != b.Detailed ||
            !std::equal(cellsA.begin(), cellsA.end(), cellsB.begin(), cellsB.end()))
            return false;
    }
    return true;
}

std::size_t GameHistory::MemoryBytes() const
{
    std::size_t bytes = Months.capacity() * sizeof(MonthRecord) + Cells.capacity() * sizeof(LitreCell) +
                        Messages.capacity() * sizeof(RecordedMessage);
    for (const auto& m : Messages)
        for (const std::string* t : {&m.Text.English, &m.Text.German, &m.Caption.English, &m.Caption.German})
            if (t->capacity() > 15)  // beyond the small-string buffer inside the string itself
                bytes += t->capacity() + 1;
    return bytes;
}
