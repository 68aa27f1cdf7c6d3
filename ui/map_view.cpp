/// @file map_view.cpp The map picture, the start screen and the company's symbols.
#include "ui/map_view.h"

#include "commands/command_panel.h"
#include "ui/pictures.h"
#include "ui/window_layouts.h"

void PaintMap(QPainter& p, PictureSet& pictures, const GameState& s, PanelMode commandMode)
{
    if (commandMode == PanelMode::Statistics)
        return;
    const qreal ratio = p.device()->devicePixelRatioF();
    if (s.GameActive) {
        p.drawPixmap(0, 0, pictures.Get(MapPictureName(s.MapNumber), ratio));
        return;
    }
    p.drawPixmap(kTitlePlace.X, kTitlePlace.Y, pictures.Get("title", ratio));
    p.drawPixmap(kEnglishFlagPlace.X, kEnglishFlagPlace.Y, pictures.Get("flag_en", ratio));
    p.drawPixmap(kGermanFlagPlace.X, kGermanFlagPlace.Y, pictures.Get("flag_de", ratio));
}

void DrawCompanyMarkers(QPainter& p, PictureSet& pictures, const GameState& s)
{
    const qreal ratio = p.device()->devicePixelRatioF();
    const QPixmap& brewery = pictures.Get("brewery", ratio);
    const QPixmap& depot = pictures.Get("depot", ratio);
    const int c = s.CurrentCompany;
    if (c < 0 || c >= kCompanies || s.MapNumber < 1 || s.MapNumber > kMaps)
        return;
    for (int t = 0; t < kTowns; ++t) {
        const MapPoint marker = kMarkerBases[s.MapNumber - 1][t];
        const QPoint base(marker.X, marker.Y);
        for (int b = 0; b < kBrands; ++b)
            if (s.Capacity[c][b][t] > 0)
                p.drawPixmap(base.x() + kBreweryMarkerStep * b, base.y(), brewery);
        if (s.HasDepot[c][t])
            p.drawPixmap(base.x() + kDepotMarkerOffset.X, base.y() + kDepotMarkerOffset.Y, depot);
    }
}
