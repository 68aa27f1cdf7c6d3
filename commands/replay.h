/// @file replay.h A recorded game played again from its inputs, its months checked against the
/// record as they close (tavrek-sim --replay).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "commands/game_session.h"
#include "game/game_history.h"

/// How playing a record again went.
struct ReplayResult {
    bool Ok = false;
    std::string Reason;      ///< one line, when not Ok: where and how the game parted from the record
    int32_t Months = 0;      ///< months closed whose digest agreed
    std::size_t Inputs = 0;  ///< inputs played
};

/// Why a record cannot be played again (an older record without inputs, inputs the record could
/// not keep); empty when it can. `version` is the record's format version.
std::string WhyNotReplayable(const GameHistory& record, int32_t version);

/// Plays the record's inputs again in `session` (which should show nothing and answer nothing:
/// every answer is in the record). Stops at the first input that does not fit the game as
/// replayed, and at the first closed month whose digest differs from the recorded one, naming
/// the month and the first of its recorded figures that differs.
ReplayResult ReplayRecord(GameSession& session, const GameHistory& record);

/// The first figure in which two records of one month differ, as "company 3's money: recorded
/// 1234.56, replayed 1200.00"; empty when all agree.
std::string FirstDifference(const MonthRecord& recorded, const MonthRecord& replayed);
