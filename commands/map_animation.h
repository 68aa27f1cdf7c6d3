/// @file map_animation.h The short sprite animation on the map after a construction, a transport
/// or a transfer: a state machine stepped once per 100 ms timer tick. Each tick returns the
/// drawing it needs (mask with AND, sprite with OR, map restores) and whether the timer keeps
/// running; the window only paints that onto its back buffer.
///
/// Use from the window:
///   - after a command: `if (animation.Start(town, nextTown, stage)) timer.start(100);`
///     (Start refuses while an animation runs, so a running one is never restarted);
///   - on each timer tick: `const AnimationTick tick = animation.Step(s.MapNumber);`
///     paint `tick.Draws` in order, then `if (!tick.TimerOn) timer.stop();`.
#pragma once

#include <array>
#include <vector>

#include "game/map_places.h"

/// The animation's stages; the sprite each one shows is in brackets.
enum AnimationStage : int {
    kAnimErase = 0,           ///< restores the sprite's area from the map and stops
    kAnimDepotAppears = 1,    ///< (10) revealed from the bottom up
    kAnimBreweryAppears = 2,  ///< (11) revealed from the bottom up
    kAnimBarrelsLeave = 3,    ///< (12) wiped from the top down, then stage 4 at the next town
    kAnimBarrelsArrive = 4,   ///< (12) revealed at the destination
    kAnimMoneyLeaves = 5,     ///< (13) wiped from the top down, then stage 6 at the next town
    kAnimMoneyArrives = 6,    ///< (13) revealed at the destination
    kAnimBreweryGrows = 7,    ///< (11) the left half at once, then revealed row by row
};

inline constexpr int kAnimStepsPerStage = 25;  ///< ticks of every stage but the erase
inline constexpr int kSpriteSize = 25;         ///< sprites and masks are 25 x 25

/// The pictures the animation draws from, by the game's picture numbers.
enum AnimationPicture : int {
    kPictureMap = 0,  ///< the current map's picture
    kSpriteDepot = 10,
    kSpriteBrewery = 11,
    kSpriteBarrels = 12,
    kSpriteMoney = 13,
    kMaskOffset = 5,  ///< a sprite's mask is its number + 5 (15 ... 18)
};

/// Left, top, right, bottom in logical pixels; right and bottom are outside.
struct AnimRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const AnimRect&) const = default;
};

enum class BlitMode {
    And,   ///< destination AND source: a mask blackens the sprite's area
    Or,    ///< destination OR source: a sprite on black leaves the rest unchanged
    Copy,  ///< opaque copy: restores the map
};

/// One drawing: the source rectangle of a picture onto the back buffer's target rectangle
/// (stretched where the sizes differ).
struct AnimationDraw {
    BlitMode Mode = BlitMode::Copy;
    int Picture = kPictureMap;  ///< kPictureMap, a sprite 10..13 or a mask 15..18
    AnimRect Source;
    AnimRect Target;

    bool operator==(const AnimationDraw&) const = default;
};

/// What one tick asks of the window.
struct AnimationTick {
    std::vector<AnimationDraw> Draws;  ///< in this order
    bool TimerOn = false;              ///< whether the timer keeps ticking afterwards
};

class MapAnimation {
public:
    /// Starts an animation at a town (and its follow-up at `nextTown` for stages 3 and 5).
    /// Refused (false, nothing changes) while one is running, and for a town outside 0..9 or
    /// a stage outside 0..7.
    bool Start(int town, int nextTown, int stage);

    /// One timer tick. The anchor is looked up afresh on the current map; a map number outside
    /// 1..3 draws nothing but the animation still runs its course. Without a running animation
    /// nothing happens.
    AnimationTick Step(int mapNumber);

    bool Running() const { return running_; }  ///< the timer is on
    int Town() const { return town_; }         ///< town whose anchor the stage uses
    int Stage() const { return stage_; }
    int StepInStage() const { return step_; }  ///< ticks done in the stage

private:
    void Begin(int town, int nextTown, int stage);

    bool running_ = false;
    int town_ = 0;
    int nextTown_ = 0;
    int stage_ = kAnimErase;
    int step_ = 0;
};

/// The sprite a stage shows; 0 for the erase stage.
int StageSprite(int stage);
