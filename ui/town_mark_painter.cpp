/// @file town_mark_painter.cpp The selected town's frame on the map.
#include "ui/town_mark_painter.h"

#include <QPen>
#include <QRegion>

#include "commands/town_mark.h"

void DrawSelectedTownFrame(QPainter& p, const GameState& s)
{
    if (!s.GameActive)
        return;
    const MapRect frame = SelectedTownFrame(s.MapNumber, s.SelectedTown);
    if (frame.Width == 0)
        return;
    QRegion allowed(frame.X, frame.Y, frame.Width, frame.Height);
    for (const MapRect& strip : TownFrameKeepsClear(s.MapNumber))
        allowed -= QRegion(strip.X, strip.Y, strip.Width, strip.Height);
    p.save();
    p.setClipRegion(allowed);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Two pixels wide, inside the frame's rectangle.
    p.setPen(QPen(kTownFrameColour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(frame.X + 1, frame.Y + 1, frame.Width - 2, frame.Height - 2));
    p.restore();
}
