/// @file names_file.cpp The names file: defaults, loading and restoring.
#include "game/names_file.h"

#include "game/map_tables.h"
#include "game/status_line.h"
#include "game/text.h"
#include "platform/ini_file.h"

namespace {

constexpr size_t kNameBuffer = 30;  // names from the file keep at most 29 characters

std::string NamesFile(const GameState& s) { return platform::PathIn(s.Program.ProgramDirectory, kNamesFileName); }
std::string SettingsFile(const GameState& s) { return platform::PathIn(s.Program.ProgramDirectory, kSettingsFileName); }

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

bool EnsureDefaultNames(const GameState& s)
{
    const SettingKey& marker = settings::kNamesWritten;
    const std::string written =
        platform::ReadProfileString(SettingsFile(s), marker.Section, marker.Key, marker.Default, marker.Buffer);
    if (!written.empty() && written[0] == '0')
        return WriteDefaultNames(s);
    return true;
}

namespace {

/// Where a map's names come from.
enum class NameSource {
    File,              ///< the names file alone (a missing name is empty)
    FileElseDefaults,  ///< the defaults could not be written: the file's names, else the defaults
    Defaults,          ///< "Restore Names" could not write them: the defaults alone
};

void ReadNames(GameState& s, NameSource source)
{
    // One read of the file serves all forty names.
    const platform::IniDocument names =
        source == NameSource::Defaults ? platform::IniDocument() : platform::ReadIniFile(NamesFile(s));
    const std::string section = Format("MAP%d", s.MapNumber);
    const bool knownMap = s.MapNumber >= 1 && s.MapNumber <= kMaps;
    const auto read = [&](const std::string& key, const char* fallback) {
        const std::string def = source != NameSource::File && knownMap ? fallback : "";
        return platform::ProfileString(names, section, key, def, kNameBuffer);
    };
    for (int c = 0; c < kCompanies; ++c) {
        const DefaultCompanyNames& defaults = kDefaultNames[knownMap ? s.MapNumber - 1 : 0][c];
        for (int b = 0; b < kBrands; ++b)
            s.BrandName[c][b] = read(Format("BREW%d_%d", c + 1, b + 1), defaults.Brands[b]);
        s.CompanyName[c] = read(Format("NAME%d", c + 1), defaults.Company);
    }
}

}  // namespace

void LoadNames(GameState& s) { ReadNames(s, EnsureDefaultNames(s) ? NameSource::File : NameSource::FileElseDefaults); }

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
                          CapitalGameTitle());
    if (!yes)
        return false;
    // A folder that cannot be written still gives the game its default names.
    const NameSource source = WriteDefaultNames(s) ? NameSource::File : NameSource::Defaults;
    if (!s.GameActive) {
        ReadNames(s, source);
        return true;
    }
    // The names the players typed are theirs, not the names file's.
    std::array<std::string, 2> playerNames;
    for (int p = 0; p < 2; ++p)
        if (s.PlayerCompany[p] >= 0 && s.PlayerCompany[p] < kCompanies)
            playerNames[p] = s.CompanyName[s.PlayerCompany[p]];
    ReadNames(s, source);
    for (int p = 0; p < 2; ++p)
        if (s.PlayerCompany[p] >= 0 && s.PlayerCompany[p] < kCompanies)
            s.CompanyName[s.PlayerCompany[p]] = playerNames[p];
    WriteStatusLine(s, frontend);
    return true;
}
