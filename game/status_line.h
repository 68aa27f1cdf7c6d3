/// @file status_line.h The status line and the window titles.
#pragma once

#include "game/frontend.h"
#include "game/game_state.h"

/// Month names, [language - 1][month index].
extern const char* const kMonthNames[2][kMonths];

/// "%s in %s, %s %d": the moving company, the selected town, the month and the year.
LocalText StatusLineText(const GameState& s);

/// Shows the status line through the frontend.
void WriteStatusLine(const GameState& s, Frontend& frontend);

/// The title in the language of the moment.
inline LocalText GameTitle() { return {"The TAVREK! War", "Tavrik! - Das Spiel"}; }
/// The English title, which some steps show in both languages.
inline LocalText EnglishGameTitle() { return BothLanguages("The TAVREK! War"); }
