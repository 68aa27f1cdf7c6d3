/// @file sim_folder.cpp tavrek-sim's folder without --dir, as the window chooses its own.
#include "tools/tavrek_sim/sim_folder.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "persistence/game_folders.h"

namespace {

std::optional<std::string> Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

bool ChooseSimFolder(std::string& folder, std::string& why)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path working = fs::current_path(ec);
    if (ec) {
        why = "cannot tell the current directory: " + ec.message();
        return false;
    }
    // The program's own folder, as the window's Qt finds it; none when /proc is not mounted.
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    const FolderClues clues{working.string(), ec ? std::string() : program.parent_path().string(),
                            TAVREK_INSTALLED_RESOURCES, Environment("XDG_DATA_HOME"), Environment("HOME")};
    const std::optional<GameFolders> folders = ChooseGameFolders(clues, why);
    if (!folders || (folders->Installed && !MakeDataFolder(*folders, why)))
        return false;
    folder = folders->Data;
    return true;
}
