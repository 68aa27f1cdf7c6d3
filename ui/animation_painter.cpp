/// @file animation_painter.cpp Painting an animation tick with raster operations.
#include "ui/animation_painter.h"

#include <QPainter>

namespace {

QPainter::CompositionMode ModeOf(BlitMode mode)
{
    switch (mode) {
    case BlitMode::And:
        return QPainter::RasterOp_SourceAndDestination;
    case BlitMode::Or:
        return QPainter::RasterOp_SourceOrDestination;
    case BlitMode::Copy:
        break;
    }
    return QPainter::CompositionMode_Source;
}

}  // namespace

int AnimationPictureSet::Slot(int number)
{
    if (number == kPictureMap)
        return 0;
    if (number >= kSpriteDepot && number <= kSpriteMoney)
        return 1 + number - kSpriteDepot;
    if (number >= kSpriteDepot + kMaskOffset && number <= kSpriteMoney + kMaskOffset)
        return 5 + number - kSpriteDepot - kMaskOffset;
    return -1;
}

QImage& AnimationPictureSet::operator[](int number)
{
    const int slot = Slot(number);
    Q_ASSERT(slot >= 0);
    return images_[static_cast<size_t>(slot < 0 ? 0 : slot)];
}

const QImage& AnimationPictureSet::operator[](int number) const
{
    const int slot = Slot(number);
    Q_ASSERT(slot >= 0);
    return images_[static_cast<size_t>(slot < 0 ? 0 : slot)];
}

const QImage* AnimationPictureSet::Find(int number) const
{
    const int slot = Slot(number);
    return slot < 0 ? nullptr : &images_[static_cast<size_t>(slot)];
}

const char* AnimationPictureName(int number)
{
    static const char* const kSprites[] = {"sprite_depot", "sprite_brewery", "sprite_barrels", "sprite_money"};
    static const char* const kMasks[] = {"mask_depot", "mask_brewery", "mask_barrels", "mask_money"};
    if (number >= kSpriteDepot && number <= kSpriteMoney)
        return kSprites[number - kSpriteDepot];
    if (number >= kSpriteDepot + kMaskOffset && number <= kSpriteMoney + kMaskOffset)
        return kMasks[number - kSpriteDepot - kMaskOffset];
    return "";
}

void PaintAnimationTick(QImage& backBuffer, const AnimationTick& tick, const AnimationPictureSet& pictures)
{
    if (tick.Draws.empty() || backBuffer.isNull())
        return;
    QPainter painter(&backBuffer);
    for (const AnimationDraw& draw : tick.Draws) {
        const QImage* found = pictures.Find(draw.Picture);
        if (!found || found->isNull())
            continue;
        const QImage& picture = *found;
        // The source is in the picture's own pixels, the target in logical ones.
        const qreal ratio = picture.devicePixelRatio();
        const QRectF source(draw.Source.Left * ratio, draw.Source.Top * ratio, draw.Source.Width() * ratio,
                            draw.Source.Height() * ratio);
        const QRectF target(draw.Target.Left, draw.Target.Top, draw.Target.Width(), draw.Target.Height());
        painter.setCompositionMode(ModeOf(draw.Mode));
        painter.drawImage(target, picture, source);
    }
    // Back to plain drawing for whoever paints next.
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
