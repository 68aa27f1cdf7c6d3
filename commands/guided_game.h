/// @file guided_game.h The guided first game: a fixed world on the Peninsula and the steps that
/// teach the commands one after the other. Each step is done when the game itself shows it (a
/// town chosen, a price changed, beer arrived, a depot standing...), so the same check serves
/// the window's guide box, tavrek-sim and the tests.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/game_state.h"
#include "game/text.h"
#include "game/world_generation.h"

/// The steps in the order they are taught.
enum class GuidedStep : uint8_t {
    SelectTown,     ///< click the thirsty town nearby
    SetPrice,       ///< Change Prices at home, with the forecast beside the field
    TransportBeer,  ///< carry beer to the neighbour
    TransferMoney,  ///< send money there, for the depot
    BuildDepot,     ///< a depot keeps what is not sold
    ExtendBrewery,  ///< home drinks far more than the brewery brews
    StandingOrder,  ///< beer to the neighbour every month
    NextTurn,       ///< end the month
    ReadReport,     ///< Statistics > Month report
    Done,           ///< the player plays on alone
};
inline constexpr int kGuidedSteps = static_cast<int>(GuidedStep::Done);  ///< steps before Done

/// The guided world's seed and the town numbers its texts use (Peninsula).
inline constexpr uint32_t kGuidedSeed = 1750;
inline constexpr int kGuidedHomeTown = 2;       ///< Fotzingfors: 22000 litres a month, one brewery
inline constexpr int kGuidedNeighbourTown = 9;  ///< Kha'Sar: near, thirsty, wages that suit the beer

/// The new-game settings of the guided world: the Peninsula, one player starting in
/// Fotzingfors, no random events (nothing should get in the way of a lesson) and breweries
/// that grow at once, so every step shows its effect in the same month.
NewGameSettings GuidedGameSettings();

class GameSession;
/// Starts the guided world through the session's new game, from the guided game's seed.
void StartGuidedGame(GameSession& session);

/// What the game looked like when the guide began; the steps compare with it.
struct GuidedStart {
    int32_t Company = 0;
    int32_t Month = 1;
    std::array<std::array<float, kTowns>, kBrands> Prices{};  ///< the player's prices
    long double NeighbourAccount = 0;
    int32_t Depots = 0;
    int64_t Capacity = 0;  ///< litres a month, with what is being built
    int32_t Orders = 0;
};

/// How far the player has come. The step only moves forward: a step once done stays done.
struct GuidedProgress {
    GuidedStart Start;
    GuidedStep Step = GuidedStep::SelectTown;
    /// The player has looked at a month report since the guide began (the window or tavrek-sim
    /// says so: the game's state cannot).
    bool ReportRead = false;
};

/// The guide for the game as it is now (call it right after the guided world was made).
GuidedProgress BeginGuide(const GameState& s);

/// Whether the running game is still the one the guide began with: a game runs, with one
/// player in the same company, on the same map, not gone back in time. A new or opened game of
/// another kind ends the guide.
bool GuideStillFits(const GameState& s, const GuidedProgress& progress);

/// Whether the player has done what the step asks, as the game shows it now.
bool GuidedStepDone(const GameState& s, const GuidedProgress& progress, GuidedStep step);

/// Moves the progress on over every step the game shows done, in order, and returns the step
/// the player is at now. A step done ahead of its turn counts when its turn comes, as long as
/// the game still shows it.
GuidedStep CurrentGuidedStep(const GameState& s, GuidedProgress& progress);

/// The words of a step in a language: a short title and what to do, with the towns' and the
/// brand's names of the running game.
struct GuidedText {
    std::string Name;   ///< "Transport beer"
    std::string Title;  ///< "Step 3 of 9: Transport beer"
    std::string Body;   ///< what to do and why, a few sentences
};
GuidedText GuidedStepText(const GameState& s, GuidedStep step, Language language);

/// The guide box's frame words.
struct GuideWords {
    LocalText Menu;      ///< Game menu entry
    LocalText Caption;   ///< the box's title
    LocalText Leave;     ///< the button that leaves the guide (the game goes on)
    LocalText Report;    ///< the button that opens the month report
    LocalText GameGone;  ///< said when the running game is no longer the guided one
    LocalText Close;     ///< the leave button once every step is done
};
extern const GuideWords kGuideWords;
