/// @file net_play.h tavrek-sim as a player of a game on a game server: one seat, its commands
/// from the script, the other seat elsewhere. The rules run on the server.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/world_generation.h"
#include "tools/tavrek_sim/sim_script.h"

struct NetPlayOptions {
    std::string Url;               ///< ws://HOST:PORT, or wss://HOST:PORT over TLS
    std::string CaFile;            ///< PEM certificates trusted for wss:// beside the system's
    bool Host = false;             ///< start the game (seat 1); false: join it (seat 2)
    std::string Invite;            ///< the invite code, when joining
    NewGameSettings Settings;      ///< the host's new game
    std::optional<uint32_t> Seed;  ///< the host's seed; none: the server draws one
    int32_t Months = 0;            ///< turns this seat plays
};

/// Plays the seat: the script's lines of each of its turns, then Next Turn, for `Months`
/// months; prints "invite CODE" first when hosting, each command, what the player is shown, and
/// "game ID" at the end. A lost connection is taken up again; a server whose certificate is not
/// trusted (by the system or by `CaFile`) is not. Returns the exit status.
int PlayOverNetwork(const NetPlayOptions& options, const std::vector<ScriptAction>& actions);
