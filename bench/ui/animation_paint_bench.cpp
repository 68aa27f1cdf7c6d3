/// @file animation_paint_bench.cpp Time to paint one map-animation tick onto the back buffer,
/// at scale 1 and 2, for a reveal tick (mask and sprite row) and the erase tick.
#include <benchmark/benchmark.h>

#include <QImage>

#include "commands/map_animation.h"
#include "ui/animation_painter.h"

namespace {

AnimationPictureSet Pictures(int ratio)
{
    AnimationPictureSet pictures;
    QImage map(800 * ratio, 400 * ratio, QImage::Format_RGB32);
    map.fill(qRgb(200, 180, 140));
    map.setDevicePixelRatio(ratio);
    pictures[kPictureMap] = map;
    for (int sprite = kSpriteDepot; sprite <= kSpriteMoney; ++sprite) {
        QImage image(kSpriteSize * ratio, kSpriteSize * ratio, QImage::Format_RGB32);
        image.fill(qRgb(90, 60, 20));
        image.setDevicePixelRatio(ratio);
        pictures[static_cast<size_t>(sprite)] = image;
        QImage mask = image;
        mask.fill(qRgb(0, 0, 0));
        pictures[static_cast<size_t>(sprite + kMaskOffset)] = mask;
    }
    return pictures;
}

// One tick of the kind the stage and step give, painted over and over.
void PaintTick(benchmark::State& state, int stage, int steps)
{
    const int ratio = static_cast<int>(state.range(0));
    const AnimationPictureSet pictures = Pictures(ratio);
    QImage buffer = pictures[kPictureMap].copy();
    buffer.setDevicePixelRatio(ratio);
    MapAnimation animation;
    animation.Start(4, 7, stage);
    AnimationTick tick;
    for (int i = 0; i <= steps; ++i)
        tick = animation.Step(1);
    for (auto _ : state)
        PaintAnimationTick(buffer, tick, pictures);
    benchmark::DoNotOptimize(buffer.constBits());
}

void BM_PaintRevealTick(benchmark::State& state) { PaintTick(state, kAnimDepotAppears, 12); }
void BM_PaintEraseTick(benchmark::State& state) { PaintTick(state, kAnimDepotAppears, 25); }
void BM_PaintFirstLeavingTick(benchmark::State& state) { PaintTick(state, kAnimBarrelsLeave, 0); }

BENCHMARK(BM_PaintRevealTick)->Arg(1)->Arg(2);
BENCHMARK(BM_PaintEraseTick)->Arg(1)->Arg(2);
BENCHMARK(BM_PaintFirstLeavingTick)->Arg(1)->Arg(2);

}  // namespace
