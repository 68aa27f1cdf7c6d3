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

// The game's German title has two spellings, each kept where the game has always shown it.

/// The caption a month's turn sets back after an event or a liquidation ("Tavrik!").
inline LocalText GameTitle() { return {"The TAVREK! War", "Tavrik! - Das Spiel"}; }
/// The window's own caption and the caption of the save and Restore Names questions, the German
/// spelt in capitals ("TAVRIK!").
inline LocalText CapitalGameTitle() { return {"The TAVREK! War", "TAVRIK! - Das Spiel"}; }
/// The English title, which some steps show in both languages.
inline LocalText EnglishGameTitle() { return BothLanguages("The TAVREK! War"); }
/// The caption of every box that says a file could not be read or written.
inline LocalText FileErrorCaption() { return {"File Error", "Dateifehler"}; }
