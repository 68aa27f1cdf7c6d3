/// @file sim_folder.h Where tavrek-sim keeps the settings and names files when no --dir is given.
#pragma once

#include <string>

/// The folder the window would keep them in, chosen the same way: a game folder tavrek-sim is
/// started in or lies in, otherwise the user's data directory ($XDG_DATA_HOME/tavrek), made
/// when missing. False, with the reason in `why`, when there is none.
bool ChooseSimFolder(std::string& folder, std::string& why);
