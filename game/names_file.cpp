/// @file names_file.cpp The names file: defaults, loading and restoring.
#include "game/names_file.h"

#include "game/map_tables.h"
#include "game/status_line.h"
#include "game/text.h"
#include "platform/ini_file.h"

namespace {

constexpr size_t kNameBuffer = 30;  // names from the file keep at most 29 characters

std::string NamesFile(const GameState& s)
{
    return platform::PathIn(s.Program.ProgramDirectory, kNamesFileName);
}
std::string SettingsFile(const GameState& s)
{
    return platform::PathIn(s.Program.ProgramDirectory, kSettingsFileName);
}

}  // namespace

bool WriteDefaultNames(const GameState& s)
{
    // All 120 names in one step: a program started at the same time sees none or all of them.
    const bool written = platform::UpdateIniFile(NamesFile(s), [](platform::IniDocument& names) {
        for (int map = 1; map <= kMaps; ++map) {
            const std::string section = Format("MAP%d", map);
            for (int c = 0; c < kCompanies; ++c)
                for (int b = 0; b < kBrands; ++b)
                    names.Set(section, Format("BREW%d_%d", c + 1, b + 1), kDefaultNames[map - 1][c].Brands[b]);
            for (int c = 0; c < kCompanies; ++c)
                names.Set(section, Format("NAME%d", c + 1), kDefaultNames[map - 1][c].Company);
        }
    });
    // The marker only follows names that are really there.
    return written && platform::WriteProfileString(SettingsFile(s), settings::kNamesWritten.Section,
                                                   settings::kNamesWritten.Key, "1");
}

void EnsureDefaultNames(const GameState& s)
{
    const SettingKey& marker = settings::kNamesWritten;
    const std::string written =
        platform::ReadProfileString(SettingsFile(s), marker.Section, marker.Key, marker.Default, marker.Buffer);
    if (!written.empty() && written[0] == '0')
        WriteDefaultNames(s);
}

void LoadNames(GameState& s)
{
    EnsureDefaultNames(s);
    // One read of the file serves all forty names.
    const platform::IniDocument names = platform::ReadIniFile(NamesFile(s));
    const std::string section = Format("MAP%d", s.MapNumber);
    for (int c = 0; c < kCompanies; ++c) {
        for (int b = 0; b < kBrands; ++b)
            s.BrandName[c][b] =
                platform::ProfileString(names, section, Format("BREW%d_%d", c + 1, b + 1), "", kNameBuffer);
        s.CompanyName[c] = platform::ProfileString(names, section, Format("NAME%d", c + 1), "", kNameBuffer);
    }
}

void SetMapNames(GameState& s)
{
    LoadNames(s);
    if (s.MapNumber < 1 || s.MapNumber > kMaps)
        return;
    for (int t = 0; t < kTowns; ++t)
        s.TownName[t] = kTownNames[s.MapNumber - 1][t];
}

bool RestoreNames(GameState& s, Frontend& frontend)
{
    const bool yes =
        frontend.AskYesNo({"Do you really want to restore all names?", "Möchten Sie wirklich alle Namen zurücksetzen?"},
                          {"The TAVREK! War", "TAVRIK! - Das Spiel"});
    if (!yes)
        return false;
    WriteDefaultNames(s);
    if (!s.GameActive) {
        LoadNames(s);
        return true;
    }
    // The names the players typed are theirs, not the names file's.
    std::array<std::string, 2> playerNames;
    for (int p = 0; p < 2; ++p)
        if (s.PlayerCompany[p] >= 0 && s.PlayerCompany[p] < kCompanies)
            playerNames[p] = s.CompanyName[s.PlayerCompany[p]];
    LoadNames(s);
    for (int p = 0; p < 2; ++p)
        if (s.PlayerCompany[p] >= 0 && s.PlayerCompany[p] < kCompanies)
            s.CompanyName[s.PlayerCompany[p]] = playerNames[p];
    WriteStatusLine(s, frontend);
    return true;
}
