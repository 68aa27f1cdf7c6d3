/// @file history_fuzz.cpp Fuzzes the reader of the record beside a savegame: every input is
/// refused or read into a record that the writer stores and the reader takes back unchanged. Each
/// input is also read once more with its closing sum made right, so that the fuzzer reaches the
/// lines behind the sum.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "persistence/history_file.h"

namespace {

// The game the seed corpus belongs to.
constexpr uint64_t kGame = 0x0123456789abcdefull;

void Check(std::string_view text)
{
    GameHistory history;
    std::string reason;
    const HistoryLoad result = ParseHistory(text, kGame, history, &reason);
    if (result != HistoryLoad::Loaded) {
        if (reason.empty() || !history.Months.empty() || !history.Messages.empty())
            std::abort();  // a refusal says why and leaves the record alone
        return;
    }
    GameHistory again;
    if (ParseHistory(HistoryText(history, kGame), kGame, again) != HistoryLoad::Loaded || !(again == history) ||
        again.OpenTransport != history.OpenTransport)
        std::abort();
    (void)history.MemoryBytes();
    for (const MonthRecord& r : history.Months)
        if (history.FindMonth(r.Month) != &r)
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(text);
    // The same text with a right closing sum: everything after the last "end " line is replaced.
    std::string body(text);
    const auto end = body.rfind("\nend ");
    if (end != std::string::npos)
        body.resize(end + 1);
    Check(SealHistoryText(std::move(body)));
    return 0;
}
