/// @file history_fuzz.cpp Fuzzes the reader of the record beside a savegame (every version): every
/// input is refused or read into a record within the savegame month's bounds, which the writer
/// stores and the reader takes back unchanged; written for an earlier month, what the writer
/// leaves is read back too. Each input is read at a few savegame months, and once more with its closing sum made
/// right, so that the fuzzer reaches the lines behind the sum.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "commands/history_views.h"
#include "persistence/history_file.h"

namespace {

// The game the seed corpus belongs to.
constexpr uint64_t kGame = 0x0123456789abcdefull;

// Savegame months: no bound to speak of, a long game, the first months.
constexpr int32_t kMonthCounts[] = {std::numeric_limits<int32_t>::max(), 601, 3};

void Check(std::string_view text, int32_t monthCount)
{
    GameHistory history;
    std::string reason;
    const HistoryLoad result = ParseHistory(text, kGame, monthCount, history, &reason);
    if (result != HistoryLoad::Loaded) {
        if (reason.empty() || !history.Months.empty() || !history.Messages.empty())
            std::abort();  // a refusal says why and leaves the record alone
        return;
    }
    const HistoryBounds bounds{monthCount};
    if (history.Messages.size() > bounds.MostMessages())
        std::abort();
    for (const MonthRecord& r : history.Months) {
        if (r.Month < 1 || r.Month >= monthCount || history.FindMonth(r.Month) != &r)
            std::abort();
        // The share follows from the month's litres and demand.
        for (const CompanyMonth& m : r.Companies)
            if (std::bit_cast<uint32_t>(m.Share) !=
                std::bit_cast<uint32_t>(ShareOfDemand(m.Sales, static_cast<double>(r.TotalDemand))))
                std::abort();
    }
    // The newest month's places: in order, inside the tables, none empty, adding up to its totals.
    int last = -1;
    std::array<int64_t, kHistoryCompanies> supply{}, sales{};
    for (const LitreCell& c : history.NewestCells) {
        const int place = (c.Company * kHistoryBrands + c.Brand) * kHistoryTowns + c.Town;
        if (history.Months.empty() || c.Company >= kHistoryCompanies || c.Brand >= kHistoryBrands ||
            c.Town >= kHistoryTowns || place <= last || (c.Supply == 0 && c.Sales == 0))
            std::abort();
        last = place;
        supply[c.Company] += c.Supply;
        sales[c.Company] += c.Sales;
    }
    if (!history.NewestCells.empty())
        for (int c = 0; c < kHistoryCompanies; ++c)
            if (supply[c] != history.Months.back().Companies[c].Supply ||
                sales[c] != history.Months.back().Companies[c].Sales)
                std::abort();
    // Inputs lie in the game's months, rising, each detail where its input says.
    int32_t lastInput = 1;
    for (const RecordedInput& e : history.Inputs.Entries) {
        if (e.Month < lastInput || e.Month > monthCount || e.Company < 0 || e.Company >= kHistoryCompanies ||
            (e.Kind != InputKind::Command && e.Detail >= history.Inputs.Details.size()))
            std::abort();
        lastInput = e.Month;
    }
    if (!history.Inputs.Entries.empty() && !history.Inputs.Replayable())
        std::abort();
    for (const RecordedMessage& m : history.Messages) {
        if (m.Month < 1 || m.Month > monthCount || m.Text.English.size() > HistoryBounds::kLongestText)
            std::abort();
        (void)RecordMonthName(m.Month, Language::German);
    }
    GameHistory again;
    if (ParseHistory(HistoryText(history, kGame, monthCount), kGame, monthCount, again) != HistoryLoad::Loaded ||
        !(again == history) || again.OpenTransport != history.OpenTransport || again.Open != history.Open ||
        again.OpenWhole != history.OpenWhole)
        std::abort();
    // The writer never writes what its reader refuses, whatever month it writes for.
    const int32_t earlier = history.Months.empty() ? 1 : history.Months.back().Month;
    GameHistory shorter;
    if (ParseHistory(HistoryText(history, kGame, earlier), kGame, earlier, shorter) != HistoryLoad::Loaded)
        std::abort();
    (void)history.MemoryBytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The same text with a right closing sum: everything after the last "end " line is replaced.
    std::string body(text);
    const auto end = body.rfind("\nend ");
    if (end != std::string::npos)
        body.resize(end + 1);
    const std::string sealed = SealHistoryText(std::move(body));
    for (const int32_t monthCount : kMonthCounts) {
        Check(text, monthCount);
        Check(sealed, monthCount);
    }
    return 0;
}
