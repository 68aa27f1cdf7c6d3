/// @file settings.cpp The settings file: access, the on/off rule and the first start.
#include "persistence/settings.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "game/names_file.h"
#include "platform/ascii.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kLegacyBuffer = 99;  // a value copied from an older file keeps at most 98 bytes
constexpr const char* kLegacyFileName = "Tavrek!.ini";
constexpr const char* kLegacyGermanFileName = "Tavrik!.ini";
// Room enough for the names file (about 4 KB) and the settings file beside it.
constexpr size_t kRoomForAFile = 16 * 1024;

// The older game's files were found without regard to case; on a case-sensitive disk they may
// be spelt "TAVREK!.INI" or "tavrek!.ini".
std::string FileInDirectory(const std::string& directory, std::string_view name)
{
    const std::string exact = platform::PathIn(directory, name);
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec))
        if (SameIgnoringAsciiCase(it->path().filename().string(), name))
            return it->path().string();
    return exact;
}

int32_t DefaultNumber(const SettingKey& key)
{
    int32_t value = 0;
    const std::string_view text = key.Default;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Copies one key from an older file when it holds something.
void CopyLegacy(const std::string& legacyFile, std::string_view fromSection, std::string_view fromKey,
                const std::string& programDirectory, const SettingKey& to)
{
    const std::string value = platform::ReadProfileString(legacyFile, fromSection, fromKey, "", kLegacyBuffer);
    if (!value.empty())
        WriteSetting(programDirectory, to, value);
}

void CopyLegacy(const std::string& legacyFile, const std::string& programDirectory, const SettingKey& key)
{
    CopyLegacy(legacyFile, key.Section, key.Key, programDirectory, key);
}

}  // namespace

std::string SettingsFilePath(const std::string& programDirectory)
{
    return platform::PathIn(programDirectory, kSettingsFileName);
}

std::string ReadSetting(const std::string& programDirectory, std::string_view section, std::string_view key,
                        std::string_view def, size_t bufferSize)
{
    return platform::ReadProfileString(SettingsFilePath(programDirectory), section, key, def, bufferSize);
}

int32_t ReadSettingInt(const std::string& programDirectory, std::string_view section, std::string_view key, int32_t def)
{
    return platform::ReadProfileInt(SettingsFilePath(programDirectory), section, key, def);
}

bool WriteSetting(const std::string& programDirectory, std::string_view section, std::string_view key,
                  std::string_view value)
{
    return platform::WriteProfileString(SettingsFilePath(programDirectory), section, key, value);
}

std::string ReadSetting(const std::string& programDirectory, const SettingKey& key)
{
    return ReadSetting(programDirectory, key.Section, key.Key, key.Default, key.Buffer);
}

int32_t ReadSettingInt(const std::string& programDirectory, const SettingKey& key)
{
    return ReadSettingInt(programDirectory, key.Section, key.Key, DefaultNumber(key));
}

bool WriteSetting(const std::string& programDirectory, const SettingKey& key, std::string_view value)
{
    return WriteSetting(programDirectory, key.Section, key.Key, value);
}

bool IsOn(std::string_view value) { return value.empty() || value.front() != '0'; }

bool ReadOnOff(const std::string& programDirectory, const SettingKey& key)
{
    return IsOn(ReadSetting(programDirectory, key));
}

bool WriteOnOff(const std::string& programDirectory, const SettingKey& key, bool on)
{
    return WriteSetting(programDirectory, key, on ? "1" : "0");
}

void InitialiseSettings(const std::string& programDirectory, const std::optional<std::string>& legacyDirectory)
{
    using namespace settings;
    if (legacyDirectory) {
        const std::string english = FileInDirectory(*legacyDirectory, kLegacyFileName);
        const std::string german = FileInDirectory(*legacyDirectory, kLegacyGermanFileName);
        if (!platform::ReadProfileString(english, kPlayer1.Section, kPlayer1.Key, "", kLegacyBuffer).empty()) {
            for (const SettingKey& key :
                 {kPlayer1, kPlayer2, kSound, kAutosave, kHighscoreHolder[0], kHighscoreHolder[1], kHighscoreHolder[2],
                  kNamesWritten, kHighscorePoints[0], kHighscorePoints[1], kHighscorePoints[2]})
                CopyLegacy(english, programDirectory, key);
        } else if (!platform::ReadProfileString(german, "Namen", "Spieler1", "", kLegacyBuffer).empty()) {
            CopyLegacy(german, "Namen", "Spieler1", programDirectory, kPlayer1);
            CopyLegacy(german, "Namen", "Spieler2", programDirectory, kPlayer2);
            for (const SettingKey& key : kHighscoreHolder)
                CopyLegacy(german, programDirectory, key);
            const char* const points[3] = {"Punkte1", "Punkte2", "Punkte3"};
            for (int map = 0; map < 3; ++map)
                CopyLegacy(german, "High", points[map], programDirectory, kHighscorePoints[map]);
        }
    }
    WriteSetting(programDirectory, kInitialized, "1");
}

std::optional<std::string> LegacySettingsDirectory(const std::string& homeDirectory)
{
    if (homeDirectory.empty())
        return std::nullopt;
    const fs::path windows = fs::path(homeDirectory) / ".wine" / "drive_c" / "windows";
    std::error_code ec;
    if (!fs::is_directory(windows, ec))
        return std::nullopt;
    return windows.string();
}

std::optional<std::string> LegacySettingsDirectory()
{
    const char* home = std::getenv("HOME");
    return home ? LegacySettingsDirectory(home) : std::nullopt;
}

StartupSettings ReadStartupSettings(const std::string& programDirectory,
                                    const std::optional<std::string>& legacyDirectory)
{
    StartupSettings result;
    if (IsOn(ReadSetting(programDirectory, settings::kInitialized)))
        result.Language = LanguageFromNumber(ReadSettingInt(programDirectory, settings::kLanguage));
    else
        InitialiseSettings(programDirectory, legacyDirectory);
    result.SoundOn = ReadOnOff(programDirectory, settings::kSound);
    result.AutosaveOnExit = ReadOnOff(programDirectory, settings::kAutosave);
    result.Zoom = ReadZoom(programDirectory);
    result.Comforts = ReadOnOff(programDirectory, settings::kComforts);
    return result;
}

int32_t ReadZoom(const std::string& programDirectory)
{
    // Read as text, so that "150 %" or "1500" is not taken for a step.
    const std::string text = ReadSetting(programDirectory, settings::kZoom);
    for (const int32_t step : kZoomSteps)
        if (text == std::to_string(step))
            return step;
    return kZoomSteps[0];
}

bool WriteZoom(const std::string& programDirectory, int32_t zoom)
{
    if (std::find(kZoomSteps.begin(), kZoomSteps.end(), zoom) == kZoomSteps.end())
        return false;
    return WriteSetting(programDirectory, settings::kZoom, std::to_string(zoom));
}

bool CanKeepSettingsAndNames(const std::string& programDirectory)
{
    return platform::CanWriteFile(SettingsFilePath(programDirectory), kRoomForAFile) &&
           platform::CanWriteFile(platform::PathIn(programDirectory, kNamesFileName), kRoomForAFile);
}

LocalText CannotKeepSettingsText(const std::string& programDirectory)
{
    const char* folder = programDirectory.c_str();
    return {Format("The game folder %s cannot be written: settings and names will not be kept.", folder),
            Format("In den Spielordner %s kann nicht geschrieben werden: Einstellungen und Namen werden nicht "
                   "gespeichert.",
                   folder)};
}

int32_t ReadBestScore(const std::string& programDirectory, int map)
{
    const SettingKey& points = settings::kHighscorePoints[map >= 0 && map < 3 ? map : 0];
    return platform::ReadProfileInt(SettingsFilePath(programDirectory), points.Section, points.Key, 0);
}

bool RecordHighscore(const std::string& programDirectory, int map, std::string_view holder, int32_t points)
{
    const int m = map >= 0 && map < 3 ? map : 0;
    const SettingKey& holderKey = settings::kHighscoreHolder[m];
    const SettingKey& pointsKey = settings::kHighscorePoints[m];
    bool kept = false;
    const bool written = platform::UpdateIniFile(SettingsFilePath(programDirectory), [&](platform::IniDocument& file) {
        if (points <= platform::ProfileInt(file, pointsKey.Section, pointsKey.Key, 0))
            return;
        file.Set(holderKey.Section, holderKey.Key, holder);
        file.Set(pointsKey.Section, pointsKey.Key, Format("%d", points));
        kept = true;
    });
    return written && kept;
}
