/// @file map_animation.cpp The map animation's state machine and its drawing per tick.
#include "commands/map_animation.h"

int StageSprite(int stage)
{
    switch (stage) {
    case kAnimDepotAppears:
        return kSpriteDepot;
    case kAnimBreweryAppears:
    case kAnimBreweryGrows:
        return kSpriteBrewery;
    case kAnimBarrelsLeave:
    case kAnimBarrelsArrive:
        return kSpriteBarrels;
    case kAnimMoneyLeaves:
    case kAnimMoneyArrives:
        return kSpriteMoney;
    default:
        return 0;
    }
}

bool MapAnimation::Start(int town, int nextTown, int stage)
{
    if (running_ || town < 0 || town >= kTowns || nextTown < 0 || nextTown >= kTowns || stage < kAnimErase ||
        stage > kAnimBreweryGrows)
        return false;
    Begin(town, nextTown, stage);
    return true;
}

void MapAnimation::Begin(int town, int nextTown, int stage)
{
    town_ = town;
    nextTown_ = nextTown;
    stage_ = stage;
    step_ = 0;
    running_ = true;
}

AnimationTick MapAnimation::Step(int mapNumber)
{
    AnimationTick tick;
    if (!running_)
        return tick;
    const bool onMap = mapNumber >= 1 && mapNumber <= kMaps;
    const int x = onMap ? kAnimationAnchors[mapNumber - 1][town_].X : 0;
    const int y = onMap ? kAnimationAnchors[mapNumber - 1][town_].Y : 0;
    const int sprite = StageSprite(stage_);
    const int mask = sprite + kMaskOffset;
    const int s = step_;
    auto draw = [&](BlitMode mode, int picture, AnimRect source, AnimRect target) {
        if (onMap)
            tick.Draws.push_back({mode, picture, source, target});
    };
    auto restore = [&](AnimRect area) { draw(BlitMode::Copy, kPictureMap, area, area); };

    if (stage_ == kAnimErase) {
        // The map alone comes back: a marker inside the area waits for the next full repaint.
        running_ = false;
        restore({x, y, x + kAnimationAreaSide, y + kAnimationAreaSide});
        tick.TimerOn = false;
        return tick;
    }

    if (stage_ == kAnimBarrelsLeave || stage_ == kAnimMoneyLeaves) {
        if (s == 0) {
            const AnimRect whole{0, 0, kSpriteSize, kSpriteSize};
            const AnimRect at{x, y, x + kSpriteSize, y + kSpriteSize};
            draw(BlitMode::And, mask, whole, at);
            draw(BlitMode::Or, sprite, whole, at);
        }
        // A two-row strip of map wipes the sprite from the top down.
        restore({x, y + s - 1, x + kSpriteSize, y + s + 1});
        ++step_;
        if (step_ >= kAnimStepsPerStage)
            Begin(nextTown_, 0, stage_ + 1);  // the follow-up runs at the destination
        tick.TimerOn = true;
        return tick;
    }

    if (stage_ == kAnimBreweryGrows && s == 0) {
        const AnimRect half{0, 0, 12, kSpriteSize};
        const AnimRect at{x, y, x + 12, y + kSpriteSize};
        draw(BlitMode::And, mask, half, at);
        draw(BlitMode::Or, sprite, half, at);
    }
    // One row of the sprite from the bottom up, one pixel below the anchor; 24 source
    // columns stretched over 25.
    const AnimRect row{0, 24 - s, 24, 25 - s};
    const AnimRect at{x, y + 25 - s, x + kSpriteSize, y + 26 - s};
    draw(BlitMode::And, mask, row, at);
    draw(BlitMode::Or, sprite, row, at);
    ++step_;
    if (step_ >= kAnimStepsPerStage) {
        stage_ = kAnimErase;  // the next tick erases the sprite
        step_ = 0;
    }
    tick.TimerOn = true;
    return tick;
}
