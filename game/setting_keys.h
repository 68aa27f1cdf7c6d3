/// @file setting_keys.h The keys of the settings file "Tavrek!.ini", each typed once with its
/// section, the default a read gives when it is missing, and the reader's buffer. The rules
/// (names file, world generation, end of game) and the persistence layer use these, never raw
/// section and key texts.
#pragma once

#include <cstddef>

/// The settings file in the program directory.
inline constexpr const char* kSettingsFileName = "Tavrek!.ini";

/// One key of the settings file with what a read gives when it is missing.
struct SettingKey {
    const char* Section;
    const char* Key;
    const char* Default;  ///< text default; integer keys hold it as decimal text
    size_t Buffer;        ///< the reader's buffer: a value keeps at most Buffer - 1 characters
};

namespace settings {
inline constexpr SettingKey kInitialized{"Options", "Initialized", "0", 5};  ///< "1" after the first start
inline constexpr SettingKey kLanguage{"Options", "Language", "1", 12};       ///< 1 English, 2 German
inline constexpr SettingKey kSound{"Options", "Sound", "1", 5};              ///< on/off
inline constexpr SettingKey kAutosave{"Options", "Autosave", "0", 5};        ///< on/off
/// on/off: the month report opens at the start of each turn (a key of our own; older games ignore it)
inline constexpr SettingKey kMonthReport{"Options", "MonthReport", "0", 5};
inline constexpr SettingKey kPlayer1{"Name", "Player1", "", 30};  ///< last name of player 1
inline constexpr SettingKey kPlayer2{"Name", "Player2", "", 30};  ///< last name of player 2
inline constexpr SettingKey kHighscoreHolder[3] = {
    {"High", "map1", "", 60}, {"High", "map2", "", 60}, {"High", "map3", "", 60}};  ///< "%s from %s"
inline constexpr SettingKey kHighscorePoints[3] = {
    {"High", "Points1", "0", 12}, {"High", "Points2", "0", 12}, {"High", "Points3", "0", 12}};
inline constexpr SettingKey kNamesWritten{"NAME", "NAMEINI", "0", 30};  ///< "1" once the names file has its defaults

// Our own options: keys the older game never reads, so its files stay as they were.
/// on/off: the screen that covers map and panel between the turns of a two-player game
inline constexpr SettingKey kHandOverScreen{"Options", "HandOverScreen", "0", 5};
/// on/off: today's comforts that change the flow of play (questions, titles, preselections, keys)
inline constexpr SettingKey kComforts{"Options", "Comforts", "0", 5};
/// on/off: the advisor's hints open at the start of each human turn
inline constexpr SettingKey kAdvisorAfterTurn{"Options", "AdvisorAfterTurn", "0", 5};
/// Our own key, which the older game passes over: the window's zoom in percent (100, 150, 200).
inline constexpr SettingKey kZoom{"Options", "Zoom", "100", 12};
}  // namespace settings
