/// @file settings.h The settings file "Tavrek!.ini" in the program directory: options, the last
/// player names, the highscores and the names-file marker, and its set-up at the very first start.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/setting_keys.h"
#include "game/text.h"

/// The settings file's path in a program directory.
std::string SettingsFilePath(const std::string& programDirectory);

/// The value of a key, or `def` when the file or key is missing, cut to `bufferSize` - 1
/// characters.
std::string ReadSetting(const std::string& programDirectory, std::string_view section, std::string_view key,
                        std::string_view def, size_t bufferSize);
/// The value of a key read as a decimal integer, or `def` when the file or key is missing.
int32_t ReadSettingInt(const std::string& programDirectory, std::string_view section, std::string_view key,
                       int32_t def);
/// Stores a value, creating the file and the section when needed; false when it could not.
bool WriteSetting(const std::string& programDirectory, std::string_view section, std::string_view key,
                  std::string_view value);

/// The same three with a key's own section, default and buffer.
std::string ReadSetting(const std::string& programDirectory, const SettingKey& key);
int32_t ReadSettingInt(const std::string& programDirectory, const SettingKey& key);
bool WriteSetting(const std::string& programDirectory, const SettingKey& key, std::string_view value);

/// An on/off value is off exactly when its first character is '0'; anything else, an empty
/// text included, is on.
bool IsOn(std::string_view value);
/// Reads an on/off key (its default when missing).
bool ReadOnOff(const std::string& programDirectory, const SettingKey& key);
/// Writes an on/off key as "1" or "0".
bool WriteOnOff(const std::string& programDirectory, const SettingKey& key, bool on);

/// The best score on a map (0..2) in the highscore table; 0 without one.
int32_t ReadBestScore(const std::string& programDirectory, int map);
/// Writes a winner's entry and points for a map (0..2), both in one step and only over a lower
/// score: another program at the same folder may have stored a better one meanwhile. Returns
/// whether the file holds the entry now.
bool RecordHighscore(const std::string& programDirectory, int map, std::string_view holder, int32_t points);

/// The first start: copies the player names, options, highscores and names-file marker from an
/// older settings file in `legacyDirectory` ("Tavrek!.ini", or else the German "Tavrik!.ini"),
/// when there is one, then marks the settings file initialised. Without a legacy directory
/// nothing is copied.
void InitialiseSettings(const std::string& programDirectory, const std::optional<std::string>& legacyDirectory);

/// Where the older game kept its settings: the Windows directory of the Wine prefix in
/// `homeDirectory`, when that directory exists.
std::optional<std::string> LegacySettingsDirectory(const std::string& homeDirectory);
/// The same for the user's home directory ($HOME); nothing without one.
std::optional<std::string> LegacySettingsDirectory();

/// The window's zoom steps in percent, the smallest (the original window) first.
inline constexpr std::array<int32_t, 3> kZoomSteps = {100, 150, 200};
/// The zoom the player chose: one of the steps, 100 when the key is missing or holds anything
/// else (a foreign or damaged value costs only the zoom).
int32_t ReadZoom(const std::string& programDirectory);
/// Keeps the player's zoom; a value that is no step is not written.
bool WriteZoom(const std::string& programDirectory, int32_t zoom);

/// What the window takes from the settings file when it is created.
struct StartupSettings {
    ::Language Language = ::Language::English;
    bool SoundOn = true;           ///< sound effects
    bool AutosaveOnExit = false;   ///< save to "Autosave.tsg" instead of asking on close
    int32_t Zoom = kZoomSteps[0];  ///< the zoom the player chose, in percent
    bool Comforts = false;         ///< today's comforts that change the flow of play
};

/// Reads the options at start: the language only once the file is initialised (otherwise the
/// first-start set-up runs and the game starts in English), then sound and autosave, then
/// our own zoom and comforts.
StartupSettings ReadStartupSettings(const std::string& programDirectory,
                                    const std::optional<std::string>& legacyDirectory);

/// Whether the options, the player names and the company and brand names can be kept: the
/// settings file and the names file can both be written in the program directory (a new file
/// beside each, with room for it, or an existing one rewritten in place). Tries a scratch file,
/// which it removes at once.
bool CanKeepSettingsAndNames(const std::string& programDirectory);

/// What the window says once at start when they cannot be kept.
LocalText CannotKeepSettingsText(const std::string& programDirectory);
