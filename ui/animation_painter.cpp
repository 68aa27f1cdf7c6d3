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

void PaintAnimationTick(QImage& backBuffer, const AnimationTick& tick, const AnimationPictureSet& pictures)
{
    if (tick.Draws.empty() || backBuffer.isNull())
        return;
    QPainter painter(&backBuffer);
    for (const AnimationDraw& draw : tick.Draws) {
        if (draw.Picture < 0 || draw.Picture >= static_cast<int>(pictures.size()))
            continue;
        const QImage& picture = pictures[static_cast<size_t>(draw.Picture)];
        if (picture.isNull())
            continue;
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
