/// @file map_designs.h The geography of the three maps: coasts, rivers, woods and hills, the
/// cartouche and compass places. Towns, click rectangles and symbol places come from the rules.
#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <vector>

struct MapDesign {
    int Number = 1;  ///< 1..3
    QString Title;   ///< lettered in the cartouche
    QString Subtitle;
    std::vector<QPolygonF> Land;  ///< rough coasts; the painter roughens them
    std::vector<QPolygonF> Lakes;
    std::vector<std::vector<QPointF>> Rivers;           ///< from the spring to the mouth
    std::vector<QPointF> WoodCentres;                   ///< where forests gather
    std::vector<QPointF> HillCentres;                   ///< where hills gather
    std::vector<std::pair<QPointF, QString>> SeaNames;  ///< italic names, baseline start
    std::vector<QPointF> Ships;                         ///< sailing ships, waterline centre
    QPointF ScaleBar;                                   ///< left end of the scale of leagues
    QRectF Cartouche;
    QPointF Compass;
    double CompassRadius = 36;
    uint32_t Seed = 1;
};

/// Indexed by map number - 1.
std::vector<MapDesign> MapDesigns();
