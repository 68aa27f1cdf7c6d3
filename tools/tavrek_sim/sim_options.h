/// @file sim_options.h The command line of tavrek-sim.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/world_generation.h"

struct SimOptions {
    std::string Directory;         ///< settings and names files; empty: chosen as the window does
    std::optional<uint32_t> Seed;  ///< none: the calendar time in seconds
    NewGameSettings Settings;      ///< the new-game dialog's values
    int32_t Months = 0;            ///< rounds of "Next Turn"
    std::string SaveFile;          ///< save the game here at the end
    std::string LoadFile;          ///< play on from this savegame
    std::string CommandsFile;      ///< the players' actions, month by month
    std::string HistoryFile;       ///< write the game's record here as CSV at the end
    std::string ReplayFile;        ///< play this record's inputs again instead of a new game
    bool Advise = false;           ///< --advise: print the advisor's hints at each human turn
    bool Guided = false;           ///< --guided: the guided first game's world, its steps printed
    std::string Server;            ///< ws:// or wss://HOST:PORT of a game server: play one seat there
    std::string CaFile;            ///< --ca FILE: certificates to trust for wss:// beside the system's
    bool Host = false;             ///< --host: start a game on the server, play seat 1
    std::string Invite;            ///< --join CODE: take seat 2 of the game the code invites to
    bool Help = false;             ///< --help: print the help and play nothing
    bool Version = false;          ///< --version: print the version and play nothing
};

/// Parses the arguments (without the program name). On a bad argument returns nothing and
/// sets `error` to a one-line reason.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error);

/// Why the files named on the command line cannot all be used as asked: an output that would
/// overwrite an input, another output or the record beside the savegame; nothing when they can.
std::optional<std::string> FileClash(const SimOptions& options);

/// The usage text.
const char* SimUsage();
/// The usage text with a line for every option (--help).
const char* SimHelp();
