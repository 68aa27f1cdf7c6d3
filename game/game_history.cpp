/// @file game_history.cpp Looking up and sizing the game's record.
#include "game/game_history.h"

#include <algorithm>

const MonthRecord* GameHistory::FindMonth(int32_t month) const
{
    // Months are recorded in order, but a record read from a file is only checked to be rising.
    const auto it = std::lower_bound(Months.begin(), Months.end(), month,
                                     [](const MonthRecord& r, int32_t m) { return r.Month < m; });
    return it != Months.end() && it->Month == month ? &*it : nullptr;
}

std::size_t GameHistory::MemoryBytes() const
{
    std::size_t bytes = Months.capacity() * sizeof(MonthRecord) + Messages.capacity() * sizeof(RecordedMessage);
    for (const auto& m : Messages)
        for (const std::string* t : {&m.Text.English, &m.Text.German, &m.Caption.English, &m.Caption.German})
            if (t->capacity() > 15)  // beyond the small-string buffer inside the string itself
                bytes += t->capacity() + 1;
    return bytes;
}
