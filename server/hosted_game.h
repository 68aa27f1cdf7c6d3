/// @file hosted_game.h One game the server referees: the real session, its seats' messages, and
/// its inputs (start and commands) from which it is rebuilt.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/command.h"
#include "commands/game_session.h"
#include "game/silent_frontend.h"
#include "game/world_generation.h"

/// The state's fingerprint at a month's start, which a client or a rebuilt game compares with
/// its own copy. One place to point at a shared per-month digest.
std::string StateDigest(const GameState& state);

/// Collects what the rules show, as lines "CAPTION: TEXT" in English, for the seat that sees
/// it: a command's messages for the player who gave it, and from a hand-over on, the news of
/// the turn that starts for the player who takes the machine.
class SeatFrontend : public SilentFrontend {
public:
    /// The game whose players' companies say which seat takes a hand-over.
    void Watch(const GameState* state) { state_ = state; }

    /// A command of `seat` begins: what follows is its answer, until a turn is handed over.
    void BeginCommand(int seat);
    /// The lines of the command just run; empties them.
    std::vector<std::string> TakeAnswer();
    /// The seat whose turn a hand-over started since the last call, if any.
    std::optional<int> TakeTurnStarted();
    /// Everything the seat was shown since its turn last started.
    const std::vector<std::string>& TurnMessages(int seat) const { return turn_[seat == 2 ? 1 : 0]; }

    void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon) override;
    bool AskYesNo(const LocalText& text, const LocalText& caption) override;
    void HandOverTo(int company) override;

private:
    void Add(const std::string& line);

    const GameState* state_ = nullptr;
    std::vector<std::string> answer_;
    std::vector<std::string> turn_[2];
    bool inAnswer_ = false;  ///< lines go to the answer (false: to the seat on turn's news)
    int newsSeat_ = 1;       ///< whose news the lines are once a turn was handed over
    std::optional<int> turnStarted_;
};

/// What became of one command of a seat.
struct PlayOutcome {
    bool Accepted = false;
    std::string Executed;               ///< the command's text as it ran, its answer included
    std::vector<std::string> Messages;  ///< what the player was shown while it ran
    std::optional<int> TurnStarted;     ///< the seat whose turn began through it
};

class HostedGame {
public:
    /// A new game from the settings and the seed, as a hot-seat game in `programDirectory`
    /// would begin.
    HostedGame(const std::string& programDirectory, const NewGameSettings& settings, uint32_t seed);
    HostedGame(const HostedGame&) = delete;
    HostedGame& operator=(const HostedGame&) = delete;

    /// 1 or 2: the seat whose company is on turn.
    int SeatOnTurn() const;
    int32_t Month() const { return session_.State().MonthCount; }
    const GameState& State() const { return session_.State(); }
    const std::vector<std::string>& TurnMessages(int seat) const { return frontend_.TurnMessages(seat); }

    /// Runs a command of the seat on turn, as the simulator's scripted player does: a refusal
    /// that left the panel open is given up with Cancel, so the next command starts afresh.
    PlayOutcome Play(const Command& command);

    /// Writes the savegame and its record.
    PairSave WriteTo(const std::string& path, std::string* reason) const { return session_.WriteTo(path, reason); }

private:
    SeatFrontend frontend_;
    GameSession session_;
};
