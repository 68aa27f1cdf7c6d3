/// @file game_folders.h Where a game keeps the player's files and finds its own: all in a game
/// folder, as the game always did, or, installed, in the user's data directory and the install
/// prefix.
#pragma once

#include <optional>
#include <string>

struct GameFolders {
    /// The settings file, the names file, highscores and "Autosave.tsg".
    std::string Data;
    /// The sound files and the help pages.
    std::string Resources;
    /// Data is the user's data directory, made on the first start.
    bool Installed = false;
};

/// A game started inside its game folder keeps everything there, as the game always did.
inline GameFolders FoldersIn(const std::string& gameFolder) { return {gameFolder, gameFolder}; }

/// What the choice looks at, gathered by the program at start.
struct FolderClues {
    std::string WorkingDirectory;     ///< the process's current directory
    std::string ExecutableDirectory;  ///< the folder of the running program file
    std::string InstalledResources;   ///< the install's sounds and help, relative to ExecutableDirectory or absolute
    std::optional<std::string> XdgDataHome;  ///< $XDG_DATA_HOME, when set
    std::optional<std::string> Home;         ///< $HOME, when set
};

/// A game folder holds the game's own files: its first sound and its English help page. A folder
/// a player merely started the game from ($HOME, a desktop) has neither, so nothing of the game is
/// ever written there.
bool IsGameFolder(const std::string& directory);

/// The user's data directory for the game, "$XDG_DATA_HOME/tavrek", or "$HOME/.local/share/tavrek"
/// when XDG_DATA_HOME is unset, empty or not an absolute path (such a value is ignored); nothing
/// without either.
std::optional<std::string> UserDataDirectory(const std::optional<std::string>& xdgDataHome,
                                             const std::optional<std::string>& home);

/// Chooses the folders, first match wins:
/// 1. the working directory is a game folder (the build's game folder, a game unpacked and
///    started inside its folder): everything there, exactly as the game has always done;
/// 2. the program's own folder is a game folder (the same folder started from a file manager
///    or from elsewhere): everything there, so a game folder keeps its own settings.
///    The install's own data folder never counts as a game folder here: it is the system's.
/// 3. otherwise the game is installed: the player's files in the user's data directory, the
///    sounds and help in the install's data folder. Nothing, with the reason in `why`, when no
///    user data directory can be named (neither XDG_DATA_HOME nor HOME).
std::optional<GameFolders> ChooseGameFolders(const FolderClues& clues, std::string& why);

/// Makes the folder of the player's files with the folders above it that are missing, each
/// readable by its owner only (as the XDG base directories ask); false, with the reason, when
/// it cannot. A folder that is already there is left as it is.
bool MakeDataFolder(const GameFolders& folders, std::string& why);
