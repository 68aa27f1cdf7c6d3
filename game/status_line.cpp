/// @file status_line.cpp The status line.
#include "game/status_line.h"

#include "game/text.h"

const char* const kMonthNames[2][kMonths] = {
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October", "November",
     "December"},
    {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober", "November",
     "Dezember"},
};

LocalText StatusLineText(const GameState& s)
{
    const auto line = [&s](int monthNames) {
        const auto name = [](const auto& names, int index) -> const char* {
            return index >= 0 && index < static_cast<int>(names.size()) ? names[index].c_str() : "";
        };
        int month = MonthIndex(s);
        if (month < 0)
            month = 0;
        return Format("%s in %s, %s %d", name(s.CompanyName, s.CurrentCompany), name(s.TownName, s.SelectedTown),
                      kMonthNames[monthNames][month], Year(s));
    };
    return {line(0), line(1)};
}

void WriteStatusLine(const GameState& s, Frontend& frontend) { frontend.ShowStatusLine(StatusLineText(s)); }
