/// @file game_folders.cpp Choosing between a game folder and an installed game.
#include "persistence/game_folders.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool IsGameFolder(const std::string& directory)
{
    if (directory.empty())
        return false;
    std::error_code ec;
    const fs::path dir(directory);
    return fs::is_regular_file(dir / "sound01.wav", ec) && fs::is_regular_file(dir / "help" / "index1.html", ec);
}

std::optional<std::string> UserDataDirectory(const std::optional<std::string>& xdgDataHome,
                                             const std::optional<std::string>& home)
{
    if (xdgDataHome && fs::path(*xdgDataHome).is_absolute())
        return (fs::path(*xdgDataHome) / "tavrek").lexically_normal().string();
    if (home && fs::path(*home).is_absolute())
        return (fs::path(*home) / ".local" / "share" / "tavrek").lexically_normal().string();
    return std::nullopt;
}

namespace {

bool SameFolder(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

}  // namespace

std::optional<GameFolders> ChooseGameFolders(const FolderClues& clues, std::string& why)
{
    const fs::path gameFiles = (fs::path(clues.ExecutableDirectory) / clues.InstalledResources).lexically_normal();
    // The install's own data folder holds the game's files too, but it belongs to the system:
    // a game started there still keeps the player's files in the user's data directory.
    for (const std::string& folder : {clues.WorkingDirectory, clues.ExecutableDirectory})
        if (IsGameFolder(folder) && !SameFolder(folder, gameFiles))
            return GameFolders{folder, folder, false};
    const std::optional<std::string> data = UserDataDirectory(clues.XdgDataHome, clues.Home);
    if (!data) {
        why = "neither XDG_DATA_HOME nor HOME names a folder for the settings, highscores and savegames";
        return std::nullopt;
    }
    return GameFolders{*data, gameFiles.string(), true};
}

bool MakeDataFolder(const GameFolders& folders, std::string& why)
{
    const fs::path target(folders.Data);
    std::error_code ec;
    if (fs::is_directory(target, ec))
        return true;
    // One level at a time, so every folder made here gets the owner-only permissions.
    fs::path level;
    for (const fs::path& part : target) {
        level /= part;
        if (fs::is_directory(level, ec))
            continue;
        // False without an error: made meanwhile by another start of the game.
        if (!fs::create_directory(level, ec) && ec) {
            why = "cannot make the folder " + level.string() + ": " + ec.message();
            return false;
        }
        fs::permissions(level, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    return true;
}
