// The map animation stepped tick by tick: stages, tick counts, the erase tick, the refusal to
// restart, and the drawing of particular ticks.
#include <gtest/gtest.h>

#include <vector>

#include "commands/map_animation.h"

namespace {

struct Trace {
    std::vector<AnimationTick> Ticks;
    std::vector<int> Stages;  ///< stage at the start of each tick
    std::vector<int> Towns;   ///< town at the start of each tick
};

// Ticks until the timer goes off (with a generous bound so a fault cannot loop forever).
Trace RunToEnd(MapAnimation& animation, int map)
{
    Trace trace;
    for (int i = 0; i < 200 && animation.Running(); ++i) {
        trace.Stages.push_back(animation.Stage());
        trace.Towns.push_back(animation.Town());
        trace.Ticks.push_back(animation.Step(map));
    }
    return trace;
}

TEST(MapAnimation, OneTownAnimationsLastTwentySixTicks)
{
    for (const int stage : {kAnimDepotAppears, kAnimBreweryAppears, kAnimBreweryGrows}) {
        MapAnimation animation;
        ASSERT_TRUE(animation.Start(4, 0, stage));
        const Trace trace = RunToEnd(animation, 1);
        ASSERT_EQ(trace.Ticks.size(), 26u) << "stage " << stage;
        for (int i = 0; i < 25; ++i) {
            EXPECT_EQ(trace.Stages[i], stage);
            EXPECT_TRUE(trace.Ticks[i].TimerOn);
        }
        EXPECT_EQ(trace.Stages[25], kAnimErase);
        EXPECT_FALSE(trace.Ticks[25].TimerOn);
        EXPECT_FALSE(animation.Running());
        // A stopped timer ticks no more.
        EXPECT_TRUE(animation.Step(1).Draws.empty());
    }
}

TEST(MapAnimation, TransportsWipeAtTheSourceAndEndAtTheDestination)
{
    for (const int stage : {kAnimBarrelsLeave, kAnimMoneyLeaves}) {
        MapAnimation animation;
        ASSERT_TRUE(animation.Start(2, 7, stage));
        const Trace trace = RunToEnd(animation, 1);
        ASSERT_EQ(trace.Ticks.size(), 51u) << "stage " << stage;
        for (int i = 0; i < 25; ++i) {
            EXPECT_EQ(trace.Stages[i], stage);
            EXPECT_EQ(trace.Towns[i], 2);
        }
        for (int i = 25; i < 50; ++i) {
            EXPECT_EQ(trace.Stages[i], stage + 1);
            EXPECT_EQ(trace.Towns[i], 7);
        }
        EXPECT_EQ(trace.Stages[50], kAnimErase);
        EXPECT_EQ(trace.Towns[50], 7);
        const int x = kAnimationAnchors[0][7].X;
        const int y = kAnimationAnchors[0][7].Y;
        ASSERT_EQ(trace.Ticks[50].Draws.size(), 1u);
        EXPECT_EQ(trace.Ticks[50].Draws[0],
                  (AnimationDraw{BlitMode::Copy, kPictureMap, {x, y, x + 26, y + 26}, {x, y, x + 26, y + 26}}));
    }
}

TEST(MapAnimation, ARunningAnimationIsNeverRestarted)
{
    MapAnimation animation;
    ASSERT_TRUE(animation.Start(2, 7, kAnimBarrelsLeave));
    for (int i = 0; i < 30; ++i)
        animation.Step(1);
    // Into the destination's stage, a command's new animation is refused and changes nothing.
    EXPECT_FALSE(animation.Start(5, 0, kAnimDepotAppears));
    EXPECT_EQ(animation.Stage(), kAnimBarrelsArrive);
    EXPECT_EQ(animation.Town(), 7);
    EXPECT_EQ(animation.StepInStage(), 5);
    EXPECT_EQ(RunToEnd(animation, 1).Ticks.size(), 21u);
    // Once it has ended the next one starts.
    EXPECT_TRUE(animation.Start(5, 0, kAnimDepotAppears));
}

TEST(MapAnimation, RefusesTownsAndStagesOutsideTheTables)
{
    MapAnimation animation;
    EXPECT_FALSE(animation.Start(10, 0, kAnimDepotAppears));
    EXPECT_FALSE(animation.Start(-1, 0, kAnimDepotAppears));
    EXPECT_FALSE(animation.Start(1, 10, kAnimBarrelsLeave));
    EXPECT_FALSE(animation.Start(1, 0, 8));
    EXPECT_FALSE(animation.Running());
}

TEST(MapAnimation, RevealTicksDrawOneSpriteRowFromTheBottomUp)
{
    MapAnimation animation;
    ASSERT_TRUE(animation.Start(3, 0, kAnimDepotAppears));
    const int x = kAnimationAnchors[1][3].X;  // Islands: (170, 151)
    const int y = kAnimationAnchors[1][3].Y;
    ASSERT_EQ(x, 170);
    ASSERT_EQ(y, 151);
    const AnimationTick first = animation.Step(2);
    EXPECT_EQ(first.Draws, (std::vector<AnimationDraw>{
                               {BlitMode::And, 15, {0, 24, 24, 25}, {170, 176, 195, 177}},
                               {BlitMode::Or, 10, {0, 24, 24, 25}, {170, 176, 195, 177}},
                           }));
    for (int i = 1; i < 24; ++i)
        animation.Step(2);
    const AnimationTick last = animation.Step(2);  // s = 24: the sprite's top row
    EXPECT_EQ(last.Draws, (std::vector<AnimationDraw>{
                              {BlitMode::And, 15, {0, 0, 24, 1}, {170, 152, 195, 153}},
                              {BlitMode::Or, 10, {0, 0, 24, 1}, {170, 152, 195, 153}},
                          }));
}

TEST(MapAnimation, AGrowingBreweryShowsItsLeftHalfAtOnce)
{
    MapAnimation animation;
    ASSERT_TRUE(animation.Start(0, 0, kAnimBreweryGrows));
    const AnimationTick first = animation.Step(3);  // Continental town 0: (70, 35)
    EXPECT_EQ(first.Draws, (std::vector<AnimationDraw>{
                               {BlitMode::And, 16, {0, 0, 12, 25}, {70, 35, 82, 60}},
                               {BlitMode::Or, 11, {0, 0, 12, 25}, {70, 35, 82, 60}},
                               {BlitMode::And, 16, {0, 24, 24, 25}, {70, 60, 95, 61}},
                               {BlitMode::Or, 11, {0, 24, 24, 25}, {70, 60, 95, 61}},
                           }));
    EXPECT_EQ(animation.Step(3).Draws.size(), 2u);
}

TEST(MapAnimation, LeavingTicksDrawTheSpriteOnceThenWipeTwoRowStrips)
{
    MapAnimation animation;
    ASSERT_TRUE(animation.Start(1, 4, kAnimMoneyLeaves));
    const AnimationTick first = animation.Step(1);  // Peninsula town 1: (42, 210)
    EXPECT_EQ(first.Draws, (std::vector<AnimationDraw>{
                               {BlitMode::And, 18, {0, 0, 25, 25}, {42, 210, 67, 235}},
                               {BlitMode::Or, 13, {0, 0, 25, 25}, {42, 210, 67, 235}},
                               {BlitMode::Copy, kPictureMap, {42, 209, 67, 211}, {42, 209, 67, 211}},
                           }));
    const AnimationTick second = animation.Step(1);
    EXPECT_EQ(second.Draws, (std::vector<AnimationDraw>{
                                {BlitMode::Copy, kPictureMap, {42, 210, 67, 212}, {42, 210, 67, 212}},
                            }));
}

TEST(MapAnimation, TheAnchorFollowsTheCurrentMap)
{
    MapAnimation animation;
    ASSERT_TRUE(animation.Start(9, 0, kAnimBreweryAppears));
    EXPECT_EQ(animation.Step(1).Draws[0].Target.Left, 430);
    EXPECT_EQ(animation.Step(3).Draws[0].Target.Left, 522);  // a load between two ticks
    EXPECT_TRUE(animation.Step(0).Draws.empty());
    EXPECT_TRUE(animation.Running());
}

}  // namespace
