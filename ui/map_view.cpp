/// @file map_view.cpp The map picture, the start screen and the company's symbols.
#include "ui/map_view.h"

#include "commands/command_panel.h"
#include "ui/pictures.h"
#include "ui/window_layouts.h"

void PaintMap(QPainter& p, const GameState& s, int commandMode)
{
    if (commandMode == kModeStatistics)
        return;
    if (s.GameActive) {
        const int map = s.MapNumber >= 1 && s.MapNumber <= kMaps ? s.MapNumber : 1;
        p.drawPixmap(0, 0, GamePicture(static_cast<Picture>(static_cast<int>(Picture::Map1) + map - 1)));
        return;
    }
    p.drawPixmap(kTitlePlace.X, kTitlePlace.Y, GamePicture(Picture::Title));
    p.drawPixmap(kEnglishFlagPlace.X, kEnglishFlagPlace.Y, GamePicture(Picture::FlagEnglish));
    p.drawPixmap(kGermanFlagPlace.X, kGermanFlagPlace.Y, GamePicture(Picture::FlagGerman));
}

void DrawCompanyMarkers(QPainter& p, const GameState& s)
{
    const int c = s.CurrentCompany;
    if (c < 0 || c >= kCompanies || s.MapNumber < 1 || s.MapNumber > kMaps)
        return;
    for (int t = 0; t < kTowns; ++t) {
        const MapPoint marker = kMarkerBases[s.MapNumber - 1][t];
        const QPoint base(marker.X, marker.Y);
        for (int b = 0; b < kBrands; ++b)
            if (s.Capacity[c][b][t] > 0)
                p.drawPixmap(base.x() + kBreweryMarkerStep * b, base.y(), GamePicture(Picture::Brewery));
        if (s.HasDepot[c][t])
            p.drawPixmap(base.x() + kDepotMarkerOffset.X, base.y() + kDepotMarkerOffset.Y, GamePicture(Picture::Depot));
    }
}
