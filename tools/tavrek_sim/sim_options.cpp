/// @file sim_options.cpp The command line of tavrek-sim.
#include "tools/tavrek_sim/sim_options.h"

#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>

#include "commands/guided_game.h"
#include "persistence/history_file.h"
#include "platform/cp1252.h"

namespace {

// A whole decimal number and nothing else, within [low, high].
bool ParseWhole(const std::string& text, int64_t low, int64_t high, int64_t& out)
{
    if (text.empty())
        return false;
    int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

}  // namespace

const char* SimUsage()
{
    return "usage: tavrek-sim [--dir DIR] [--seed N] [--map 1|2|3] [--start T] [--start2 T]\n"
           "                  [--name NAME] [--name2 NAME] [--expert] [--no-delay] [--no-events]\n"
           "                  [--reduce] [--share TEXT] [--months N] [--save FILE] [--load FILE]\n"
           "                  [--commands FILE] [--history FILE] [--advise] [--guided] [--help]\n"
           "                  [--version]\n"
           "       tavrek-sim --replay FILE.tsg.history [--dir DIR] [--save FILE] [--history FILE]\n"
           "       tavrek-sim --server URL [--ca FILE] --host [game options] [--months N]\n"
           "                  [--commands FILE]\n"
           "       tavrek-sim --server URL [--ca FILE] --join CODE [--months N] [--commands FILE]\n";
}

const char* SimHelp()
{
    return "Plays The TAVREK! War without a window: the players press Next Turn (and act as the\n"
           "--commands file says), every message box is printed as a line, and a table of the\n"
           "companies closes the run.\n"
           "\n"
           "  --dir DIR        folder of the settings file Tavrek!.ini and the names file\n"
           "                   TavrekNames.ini (default: the game folder it is started in or\n"
           "                   lies in, else the window's $XDG_DATA_HOME/tavrek)\n"
           "  --seed N         seed of the game's random generator (default: the time)\n"
           "  --map 1|2|3      Peninsula, Islands or Continental (default 1)\n"
           "  --start T        the first player's start town, 1 to 10; 0 for a random one\n"
           "  --start2 T       a second player and their start town\n"
           "  --name NAME      the first player's company name\n"
           "  --name2 NAME     the second player's company name\n"
           "  --expert         stronger computer companies\n"
           "  --no-delay       ordered brewery capacity arrives at once\n"
           "  --no-events      no random events\n"
           "  --reduce         breweries may be shrunk\n"
           "  --share TEXT     the winning share in percent, as typed (default 60)\n"
           "  --months N       rounds of Next Turn (default 0)\n"
           "  --save FILE      save the game after the last round, its history beside it as\n"
           "                   FILE.history\n"
           "  --load FILE      play on from a savegame (and the history beside it) instead of a\n"
           "                   new world\n"
           "  --commands FILE  the players' actions, one a line: MONTH PLAYER ACTION ARGS...\n"
           "  --history FILE   write the game's record as CSV, one row per month and company\n"
           "                   (its last columns, spending and other: money_before_market =\n"
           "                   previous money - spending + other)\n"
           "  --replay RECORD  play the inputs kept in a game's record (NAME.tsg.history) again and\n"
           "                   check every month against it: stops at the first month that\n"
           "                   differs, naming its first differing figure; the game is played in\n"
           "                   a scratch folder unless --dir is given\n"
           "  --advise         print the advisor's hints at the start of each human player's\n"
           "                   turn, one a line: advice MONTH PLAYER: TEXT\n"
           "  --guided         the guided first game's world (Fotzingfors on the Peninsula);\n"
           "                   prints each step of the guide as it is reached, guide MONTH: TEXT,\n"
           "                   and the month report when the guide asks to read it\n"
           "  --server URL     play one seat of a two-player game on a game server\n"
           "                   (tavrek-server), ws://HOST:PORT, or wss://HOST:PORT over TLS;\n"
           "                   the other seat plays elsewhere\n"
           "  --ca FILE        with a wss:// server: trust the PEM certificates in FILE (its own\n"
           "                   or its authority's) as well as the system's; a server whose\n"
           "                   certificate nothing trusts is refused\n"
           "  --host           with --server: start the game with the game options above, print\n"
           "                   \"invite CODE\" first and play player 1\n"
           "  --join CODE      with --server: take the seat the invite code offers, player 2\n"
           "                   (network play prints \"game ID\" when its months are played)\n"
           "  --help           print this help and exit\n"
           "  --version        print the version and exit\n"
           "\n"
           "Exit status: 0 after the last round, 1 when a file cannot be read or written (the\n"
           "history beside a savegame too) or a record cannot be played again, 2 for a bad\n"
           "argument, files named so that one would overwrite another, or a faulty --commands\n"
           "line. A network player ends with 1 when the server refuses it or cannot be reached.\n";
}

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error)
{
    SimOptions o;
    // The guided game makes its own world: an option that would choose another is refused.
    std::string worldOption;
    o.Settings.Map = 1;
    o.Settings.DelayBuilding = true;
    o.Settings.Events = true;
    o.Settings.WinningShareText = "60";
    // Options that choose the world: only the host of a network game may give them.
    bool worldChosen = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        const auto number = [&](int64_t low, int64_t high, int64_t& out) {
            std::string text;
            if (!value(text))
                return false;
            if (!ParseWhole(text, low, high, out)) {
                error = "option " + a + " needs a whole number from " + std::to_string(low) + " to " +
                        std::to_string(high) + ", not '" + text + "'";
                return false;
            }
            return true;
        };
        // A file option with an empty name would silently do nothing: refuse it.
        const auto fileName = [&](std::string& out) {
            if (!value(out))
                return false;
            if (out.empty()) {
                error = "option " + a + " needs a file name, not an empty text";
                return false;
            }
            return true;
        };
        int64_t n = 0;
        static const char* const kWorldOptions[] = {"--seed",   "--map",    "--start",    "--start2",
                                                    "--name2",  "--expert", "--no-delay", "--no-events",
                                                    "--reduce", "--share",  "--load"};
        for (const char* world : kWorldOptions)
            if (a == world && worldOption.empty())
                worldOption = a;
        // Asking for help or the version plays nothing, whatever else the line says.
        if (a == "--help" || a == "-h" || a == "--version") {
            SimOptions asked;
            asked.Help = a != "--version";
            asked.Version = a == "--version";
            return asked;
        }
        if (a == "--dir") {
            if (!value(o.Directory))
                return std::nullopt;
            if (o.Directory.empty()) {
                error = "option --dir needs a folder, not an empty text";
                return std::nullopt;
            }
        } else if (a == "--seed") {
            worldChosen = true;
            if (!number(0, std::numeric_limits<uint32_t>::max(), n))
                return std::nullopt;
            o.Seed = static_cast<uint32_t>(n);
        } else if (a == "--map") {
            worldChosen = true;
            if (!number(1, 3, n))
                return std::nullopt;
            o.Settings.Map = static_cast<int32_t>(n);
        } else if (a == "--start" || a == "--start2") {
            worldChosen = true;
            if (!number(0, 10, n))
                return std::nullopt;
            if (a == "--start") {
                o.Settings.Player1Start = static_cast<int32_t>(n);
            } else {
                o.Settings.Player2Start = static_cast<int32_t>(n);
                o.Settings.TwoPlayer = true;
            }
        } else if (a == "--name" || a == "--name2") {
            worldChosen = true;
            std::string& name = a == "--name" ? o.Settings.Player1Name : o.Settings.Player2Name;
            if (!value(name))
                return std::nullopt;
            // As the new-game dialog: a name the savegame cannot hold would come back another.
            if (!FitsCp1252Line(name)) {
                error = "option " + a + " takes only characters a savegame can hold (Windows-1252, no control " +
                        "characters), not '" + name + "'";
                return std::nullopt;
            }
        } else if (a == "--expert") {
            worldChosen = true;
            o.Settings.Expert = true;
        } else if (a == "--no-delay") {
            worldChosen = true;
            o.Settings.DelayBuilding = false;
        } else if (a == "--no-events") {
            worldChosen = true;
            o.Settings.Events = false;
        } else if (a == "--reduce") {
            worldChosen = true;
            o.Settings.AdvancedOptions = true;
            o.Settings.ReduceCapacities = true;
        } else if (a == "--share") {
            worldChosen = true;
            if (!value(o.Settings.WinningShareText))
                return std::nullopt;
            o.Settings.AdvancedOptions = true;
        } else if (a == "--months") {
            if (!number(0, std::numeric_limits<int32_t>::max(), n))
                return std::nullopt;
            o.Months = static_cast<int32_t>(n);
        } else if (a == "--save") {
            if (!fileName(o.SaveFile))
                return std::nullopt;
        } else if (a == "--load") {
            if (!fileName(o.LoadFile))
                return std::nullopt;
        } else if (a == "--history") {
            if (!fileName(o.HistoryFile))
                return std::nullopt;
        } else if (a == "--replay") {
            if (!fileName(o.ReplayFile))
                return std::nullopt;
        } else if (a == "--advise") {
            o.Advise = true;
        } else if (a == "--guided") {
            o.Guided = true;
        } else if (a == "--commands") {
            if (!fileName(o.CommandsFile))
                return std::nullopt;
        } else if (a == "--server") {
            if (!value(o.Server))
                return std::nullopt;
            const size_t scheme = o.Server.rfind("ws://", 0) == 0 ? 5 : o.Server.rfind("wss://", 0) == 0 ? 6 : 0;
            if (scheme == 0 || o.Server.size() <= scheme) {
                error = "option --server needs an address ws://HOST:PORT or wss://HOST:PORT, not '" + o.Server + "'";
                return std::nullopt;
            }
        } else if (a == "--ca") {
            if (!fileName(o.CaFile))
                return std::nullopt;
        } else if (a == "--host") {
            o.Host = true;
        } else if (a == "--join") {
            if (!value(o.Invite))
                return std::nullopt;
            if (o.Invite.empty()) {
                error = "option --join needs an invite code, not an empty text";
                return std::nullopt;
            }
        } else {
            error = "unknown option '" + a + "'";
            return std::nullopt;
        }
    }
    if (o.Guided) {
        if (!worldOption.empty()) {
            error = "option --guided plays the guided game's own world: it takes no " + worldOption;
            return std::nullopt;
        }
        const std::string name = o.Settings.Player1Name;
        o.Settings = GuidedGameSettings();
        o.Settings.Player1Name = name;
        o.Seed = kGuidedSeed;
    }
    // A record plays its own game: nothing else may start or steer one.
    if (!o.ReplayFile.empty() &&
        (!o.LoadFile.empty() || !o.CommandsFile.empty() || o.Months != 0 || o.Seed || o.Guided)) {
        error = "--replay plays the record's own game: it takes no --load, --commands, --months, --seed or --guided";
        return std::nullopt;
    }
    // A network game is played on the server: nothing of it is on this machine to load or save.
    if (!o.Server.empty() || o.Host || !o.Invite.empty()) {
        if (o.Server.empty()) {
            error = std::string(o.Host ? "--host" : "--join") + " needs --server";
            return std::nullopt;
        }
        if (o.Host == !o.Invite.empty()) {
            error = "--server needs either --host or --join CODE";
            return std::nullopt;
        }
        if (!o.Invite.empty() && worldChosen) {
            error = "the host chooses the game: --join takes no game options";
            return std::nullopt;
        }
        const std::pair<bool, const char*> local[] = {
            {!o.Directory.empty(), "--dir"},       {!o.SaveFile.empty(), "--save"}, {!o.LoadFile.empty(), "--load"},
            {!o.HistoryFile.empty(), "--history"}, {o.Advise, "--advise"},          {o.Guided, "--guided"},
            {!o.ReplayFile.empty(), "--replay"}};
        for (const auto& [given, name] : local)
            if (given) {
                error = std::string(name) + " does not go with --server: the game is kept on the server";
                return std::nullopt;
            }
        o.Settings.TwoPlayer = true;
    }
    if (!o.CaFile.empty() && o.Server.rfind("wss://", 0) != 0) {
        error = "--ca trusts a certificate for a wss:// server: it needs --server wss://HOST:PORT";
        return std::nullopt;
    }
    return o;
}

std::optional<std::string> FileClash(const SimOptions& o)
{
    // Names are compared as the files they stand for: "./a.tsg" is "a.tsg".
    const auto same = [](const std::string& a, const std::string& b) {
        if (a.empty() || b.empty())
            return false;
        std::error_code ec;
        const auto ca = std::filesystem::weakly_canonical(a, ec);
        if (ec)
            return a == b;
        const auto cb = std::filesystem::weakly_canonical(b, ec);
        return ec ? a == b : ca == cb;
    };
    struct Named {
        const char* what;
        std::string path;
    };
    const std::string saveRecord = o.SaveFile.empty() ? std::string() : HistoryFileName(o.SaveFile);
    const std::string loadRecord = o.LoadFile.empty() ? std::string() : HistoryFileName(o.LoadFile);
    // What each output must not replace. The savegame may be the one loaded: the game is saved back.
    const Named historyMustSpare[] = {{"--replay", o.ReplayFile},
                                      {"--save", o.SaveFile},
                                      {"the history beside --save", saveRecord},
                                      {"--load", o.LoadFile},
                                      {"the history beside --load", loadRecord},
                                      {"--commands", o.CommandsFile}};
    for (const Named& n : historyMustSpare)
        if (same(o.HistoryFile, n.path))
            return "--history '" + o.HistoryFile + "' names the same file as " + n.what;
    const Named saveMustSpare[] = {
        {"--commands", o.CommandsFile}, {"the history beside --load", loadRecord}, {"--replay", o.ReplayFile}};
    for (const Named& n : saveMustSpare)
        if (same(o.SaveFile, n.path))
            return "--save '" + o.SaveFile + "' names the same file as " + n.what;
    if (same(saveRecord, o.CommandsFile))
        return "the history beside --save '" + o.SaveFile + "' names the same file as --commands";
    return std::nullopt;
}
