/// @file town_mark_painter.cpp The selected town's frame on the map.
#include "ui/town_mark_painter.h"

#include <QPen>
#include <QRegion>

#include "commands/town_mark.h"
#include "game/map_places.h"
#include "ui/dialog_support.h"

void DrawBreweriesUnderConstruction(QPainter& p, PictureSet& pictures, const GameState& s)
{
    if (!s.GameActive || s.MapNumber < 1 || s.MapNumber > kMaps)
        return;
    const std::vector<BreweryUnderConstruction> planned = BreweriesUnderConstruction(s, s.CurrentCompany);
    if (planned.empty())
        return;
    const QPixmap& brewery = pictures.Get("brewery", p.device()->devicePixelRatioF());
    QFont font = WindowFont();
    font.setPixelSize(8);
    p.save();
    p.setFont(font);
    for (const BreweryUnderConstruction& b : planned) {
        const MapPoint base = kMarkerBases[s.MapNumber - 1][b.Town];
        const int x = base.X + kBreweryMarkerStep * b.Brand;
        p.setOpacity(0.35);
        p.drawPixmap(x, base.Y, brewery);
        p.setOpacity(0.8);
        p.setPen(QColor(60, 40, 20));
        p.drawText(QRect(x - 4, base.Y + kMarkerStripHeight, 19, 9), Qt::AlignCenter,
                   QString::fromStdString(OpeningMonthLabel(s, b.OpeningMonth)));
    }
    p.restore();
}

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
