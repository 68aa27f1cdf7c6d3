/// @file main.cpp tavrek-sim: plays games without a window, for balancing, reproducible bug
/// reports and benchmarks.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "commands/advisor.h"
#include "commands/game_session.h"
#include "commands/replay.h"
#include "engine/end_of_game.h"
#include "game/silent_frontend.h"
#include "persistence/history_csv.h"
#include "platform/cp1252.h"
#include "tools/tavrek_sim/printing_frontend.h"
#include "tools/tavrek_sim/sim_folder.h"
#include "tools/tavrek_sim/sim_guide.h"
#include "tools/tavrek_sim/sim_options.h"
#include "tools/tavrek_sim/sim_script.h"
#ifdef TAVREK_NETWORK
#include "tools/tavrek_sim/network/net_play.h"
#endif

namespace {

void PrintCompanies(const GameState& s)
{
    std::printf("%-3s %-30s %14s %8s %10s %10s\n", "no", "company", "value", "share", "capacity", "sales");
    for (int c = 0; c < kCompanies; ++c) {
        const int64_t capacity = SumOfLitres(s.Capacity, c);
        const int64_t sales = SumOfLitres(s.Sales, c);
        // The names file is anyone's to edit: its names reach the terminal without controls.
        std::printf("%-3d %-30s %14.2Lf %7.2f%% %10lld %10lld\n", c + 1, ControlsReplaced(s.CompanyName[c]).c_str(),
                    CompanyValue(s, c), static_cast<double>(MarketShare(s, c)), static_cast<long long>(capacity),
                    static_cast<long long>(sales));
    }
}

/// The advisor's hints for the human player on turn, "advice MONTH PLAYER: TEXT", numbered
/// as the --commands file numbers months and players.
void PrintAdvice(const GameState& s)
{
    const int c = s.CurrentCompany;
    const int player = c == s.PlayerCompany[0] ? 1 : c == s.PlayerCompany[1] ? 2 : 0;
    if (player == 0)
        return;
    for (const AdvisorHint& hint : ComputeAdvice(s, c, s.Program.Language))
        std::printf("advice %d %d: %s\n", s.MonthCount, player, ControlsReplaced(hint.Text).c_str());
}

/// Writes what the options ask for after the last round: the savegame with its record, the CSV.
int WriteOutputs(const SimOptions& options, const GameSession& session)
{
    // A file that could not be written fails the run, after everything else was written.
    bool failed = false;
    if (!options.SaveFile.empty()) {
        std::string reason;
        const PairSave saved = session.WriteTo(options.SaveFile, &reason);
        if (!saved.Game) {
            std::fprintf(stderr, "tavrek-sim: %s\n", ControlsReplaced(reason).c_str());
            return 1;
        }
        if (saved.Record != RecordSave::Saved) {
            std::fprintf(stderr, "tavrek-sim: the game was saved to '%s', but not its history: %s\n",
                         ControlsReplaced(options.SaveFile).c_str(), ControlsReplaced(saved.RecordReason).c_str());
            failed = true;
        }
    }
    if (!options.HistoryFile.empty()) {
        std::string reason;
        if (!WriteFileSafely(options.HistoryFile, HistoryCsv(session.History(), session.State().CompanyName),
                             &reason)) {
            std::fprintf(stderr, "tavrek-sim: %s\n", ControlsReplaced(reason).c_str());
            return 1;
        }
    }
    return failed ? 1 : 0;
}

// A folder of its own for a replay without --dir, removed at the end: the player's settings,
// names and highscores stay as they are.
struct ScratchFolder {
    std::string Path;
    ScratchFolder()
    {
        std::error_code ec;
        std::string pattern = (std::filesystem::temp_directory_path(ec) / "tavrek-replay-XXXXXX").string();
        if (!ec && ::mkdtemp(pattern.data()))
            Path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        if (!Path.empty())
            std::filesystem::remove_all(Path, ec);
    }
};

/// --replay: the record's inputs played again, each closed month checked against the record,
/// the end against the savegame it belongs to.
int Replay(const SimOptions& options)
{
    const std::string& file = options.ReplayFile;
    const auto fail = [&](const std::string& why) {
        std::fprintf(stderr, "tavrek-sim: cannot replay '%s': %s\n", ControlsReplaced(file).c_str(),
                     ControlsReplaced(why).c_str());
        return 1;
    };
    const auto text = ReadPlainFile(file, std::size_t{64} << 20);
    if (!text)
        return fail("the file cannot be read");
    GameHistory record;
    RecordHead head;
    std::string reason;
    if (ParseHistoryRecord(*text, nullptr, std::numeric_limits<int32_t>::max(), record, &head, &reason) !=
        HistoryLoad::Loaded)
        return fail("the record is damaged (" + reason + ")");
    if (const std::string why = WhyNotReplayable(record, head.Version); !why.empty())
        return fail(why);

    ScratchFolder scratch;
    const std::string directory = options.Directory.empty() ? scratch.Path : options.Directory;
    if (directory.empty())
        return fail("no scratch folder to play in");
    SilentFrontend silent;
    GameSession session(silent, directory);
    const ReplayResult result = ReplayRecord(session, record);
    if (!result.Ok)
        return fail(result.Reason);
    if (SavegameFingerprint(SavegameText(session.State())) != head.Fingerprint)
        return fail(
            Format("after its %zu inputs the game differs from the savegame the record belongs to", result.Inputs));
    PrintCompanies(session.State());
    std::printf("replayed %zu inputs; %d months agree with the record; the savegame is the recorded one\n",
                result.Inputs, result.Months);
    return WriteOutputs(options, session);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = ParseSimOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "tavrek-sim: %s\n%s", ControlsReplaced(error).c_str(), SimUsage());
        return 2;
    }
    if (options->Help) {
        std::printf("%s\n%s", SimUsage(), SimHelp());
        return 0;
    }
    if (options->Version) {
        std::printf("tavrek-sim %s\n", TAVREK_VERSION);
        return 0;
    }

    if (const auto clash = FileClash(*options)) {
        std::fprintf(stderr, "tavrek-sim: %s\n%s", ControlsReplaced(*clash).c_str(), SimUsage());
        return 2;
    }
    if (!options->ReplayFile.empty())
        return Replay(*options);
    if (!options->Server.empty()) {
        SimScript script;
        if (!script.Load(options->CommandsFile, error)) {
            std::fprintf(stderr, "tavrek-sim: %s\n", error.c_str());
            return 2;
        }
#ifdef TAVREK_NETWORK
        NetPlayOptions net;
        net.Url = options->Server;
        net.CaFile = options->CaFile;
        net.Host = options->Host;
        net.Invite = options->Invite;
        net.Settings = options->Settings;
        net.Seed = options->Seed;
        net.Months = options->Months;
        return PlayOverNetwork(net, script.Actions());
#else
        std::fprintf(stderr, "tavrek-sim: this build cannot play over the network (built without Qt)\n");
        return 2;
#endif
    }
    // Without --dir the settings and names files are the window's.
    std::string directory = options->Directory;
    if (directory.empty() && !ChooseSimFolder(directory, error)) {
        std::fprintf(stderr, "tavrek-sim: %s\n", error.c_str());
        return 1;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(directory, ec)) {
        std::fprintf(stderr, "tavrek-sim: --dir '%s' is not a directory\n%s", options->Directory.c_str(), SimUsage());
        return 2;
    }

    SimScript script;
    if (!script.Load(options->CommandsFile, error)) {
        std::fprintf(stderr, "tavrek-sim: %s\n", error.c_str());
        return 2;
    }

    PrintingFrontend printer;
    ScriptAnswers frontend(printer);
    GameSession session(frontend, directory);
    // The game seeds its generator once, with the calendar time in seconds.
    session.SetSeed(options->Seed ? *options->Seed : static_cast<uint32_t>(std::time(nullptr)));

    if (options->LoadFile.empty()) {
        session.NewGame(options->Settings);
    } else {
        std::string reason;
        if (session.Load(options->LoadFile, &reason) != LoadStatus::Loaded) {
            std::fprintf(stderr, "tavrek-sim: %s\n", ControlsReplaced(reason).c_str());
            return 1;
        }
        // A record that was there but could not be used is dropped: say so, the game plays on.
        const HistoryLoad record = session.LastHistoryLoad();
        if (record != HistoryLoad::Loaded && record != HistoryLoad::Missing)
            std::fprintf(stderr, "tavrek-sim: the history beside '%s' was dropped (%s): the record starts now\n",
                         ControlsReplaced(options->LoadFile).c_str(),
                         ControlsReplaced(session.LastHistoryReason()).c_str());
    }
    SimGuide guide;
    if (options->Guided)
        guide.Begin(session.State());
    for (int32_t round = 0; round < options->Months; ++round) {
        const int presses = session.State().TwoPlayer ? 2 : 1;
        for (int p = 0; p < presses; ++p) {
            if (options->Guided)
                guide.StartTurn(session.State());
            if (options->Advise)
                PrintAdvice(session.State());
            script.RunTurn(session, frontend, [&] {
                if (options->Guided)
                    guide.Check(session.State());
            });
            session.NextTurn();
        }
    }
    if (options->Guided)
        guide.StartTurn(session.State());
    PrintCompanies(session.State());
    return WriteOutputs(*options, session);
}
