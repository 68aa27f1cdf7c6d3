/// @file map_designs.cpp The hand-laid geography of the Peninsula, the Islands and the Continent.
#include "map_designs.h"

namespace {

QPolygonF Poly(std::initializer_list<QPointF> points) { return QPolygonF(QList<QPointF>(points)); }

MapDesign Peninsula()
{
    MapDesign d;
    d.Number = 1;
    d.Title = QStringLiteral("Peninsula");
    d.Subtitle = QStringLiteral("of the Peninsula with its Towns and Roads");
    d.Seed = 11;
    // One broad arm of land reaching east from the mainland, a deep bay at Twinhaven and a gulf
    // between Truestone and Freetown.
    d.Land.push_back(Poly(
        {{-30, 30},  {40, 38},   {95, 50},   {130, 62},  {160, 60},  {200, 66},  {232, 62},  {258, 58},  {270, 88},
         {282, 122}, {298, 146}, {318, 150}, {334, 134}, {342, 104}, {352, 78},  {372, 64},  {392, 66},  {404, 80},
         {414, 96},  {436, 96},  {452, 82},  {474, 60},  {500, 46},  {540, 38},  {585, 38},  {618, 48},  {640, 70},
         {648, 110}, {662, 150}, {672, 190}, {664, 232}, {650, 278}, {636, 318}, {616, 356}, {590, 372}, {540, 376},
         {490, 374}, {462, 366}, {452, 336}, {454, 304}, {440, 284}, {410, 274}, {372, 272}, {344, 284}, {322, 306},
         {292, 326}, {246, 334}, {206, 340}, {180, 352}, {160, 380}, {150, 430}, {-30, 430}}));
    d.Land.push_back(Poly({{236, 14}, {262, 8}, {284, 14}, {278, 26}, {250, 28}}));
    d.Land.push_back(Poly({{700, 372}, {716, 364}, {732, 370}, {726, 382}, {706, 384}}));
    d.Rivers.push_back({{364, 190}, {350, 178}, {336, 168}, {318, 160}, {310, 146}});
    d.Rivers.push_back({{226, 160}, {240, 140}, {248, 116}, {262, 100}});
    d.Rivers.push_back({{112, 130}, {96, 160}, {72, 180}, {36, 196}, {22, 250}, {20, 300}, {12, 360}, {4, 404}});
    d.Rivers.push_back({{590, 190}, {610, 206}, {630, 214}, {668, 214}});
    d.Rivers.push_back({{300, 250}, {320, 268}, {336, 282}, {350, 292}});
    d.WoodCentres = {{110, 290}, {60, 110}, {300, 200}, {470, 170}, {600, 300}, {390, 160}, {200, 140}};
    d.HillCentres = {{240, 250}, {470, 220}, {100, 150}, {610, 100}, {290, 160}};
    d.SeaNames = {{{330, 28}, QStringLiteral("The Northern Sea")}, {{338, 370}, QStringLiteral("Golden Gulf")}};
    d.Ships = {{160, 26}, {706, 196}, {560, 392}};
    d.ScaleBar = QPointF(678, 146);
    d.Cartouche = QRectF(656, 14, 126, 110);
    d.Compass = QPointF(722, 286);
    return d;
}

// Kept as written: the outlines' points in rows as they were traced.
// clang-format off
MapDesign Islands()
{
    MapDesign d;
    d.Number = 2;
    d.Title = QStringLiteral("Islands");
    d.Subtitle = QStringLiteral("of the Archipelago with its Ports and Passages");
    d.Seed = 23;
    // Morkalas
    d.Land.push_back(Poly({{-30, 76}, {30, 66}, {82, 72}, {112, 92}, {118, 128}, {100, 156}, {60, 164}, {18, 158},
                           {-30, 150}}));
    // Wrong Island
    d.Land.push_back(Poly({{-30, 252}, {30, 242}, {90, 240}, {124, 254}, {140, 282}, {134, 316}, {96, 330},
                           {40, 332}, {-30, 322}}));
    // The great island: Rawland, Teddington, Modderhafen, Dwarf Cross and the Greenriver lobe.
    d.Land.push_back(Poly({{182, 10},  {236, 2},   {282, 12},  {304, 40},  {340, 56},  {384, 64},  {418, 82},
                           {432, 112}, {470, 122}, {505, 134}, {540, 144}, {600, 150}, {648, 162}, {654, 184},
                           {624, 200}, {566, 204}, {524, 182}, {476, 186}, {430, 192}, {416, 218}, {414, 250},
                           {406, 268}, {372, 272}, {326, 274}, {280, 268}, {236, 264}, {192, 254}, {160, 238},
                           {148, 200}, {148, 150}, {158, 112}, {170, 74},  {168, 38}}));
    // Maltbridge
    d.Land.push_back(Poly({{430, 88}, {440, 52}, {496, 38}, {568, 42}, {624, 62}, {656, 96}, {652, 124}, {602, 130},
                           {542, 126}, {506, 118}, {470, 100}}));
    // Annwald
    d.Land.push_back(Poly({{168, 300}, {210, 290}, {262, 292}, {300, 304}, {306, 338}, {290, 362}, {246, 372},
                           {196, 370}, {160, 352}, {156, 322}}));
    // Kathrinki
    d.Land.push_back(Poly({{518, 306}, {566, 296}, {626, 298}, {664, 312}, {672, 350}, {650, 382}, {596, 392},
                           {540, 386}, {512, 362}, {508, 330}}));
    // Islets
    d.Land.push_back(Poly({{120, 196}, {132, 190}, {140, 200}, {130, 208}}));
    d.Land.push_back(Poly({{440, 280}, {462, 272}, {478, 282}, {468, 296}, {446, 296}}));
    d.Land.push_back(Poly({{350, 330}, {364, 322}, {376, 332}, {366, 342}}));
    d.Land.push_back(Poly({{120, 20}, {136, 12}, {150, 22}, {138, 32}}));
    d.Land.push_back(Poly({{700, 160}, {716, 150}, {732, 158}, {724, 172}, {706, 172}}));
    d.Rivers.push_back({{470, 160}, {500, 168}, {540, 176}, {590, 186}, {636, 196}});
    d.Rivers.push_back({{246, 120}, {228, 140}, {200, 130}, {170, 130}, {150, 134}});
    d.WoodCentres = {{230, 90}, {350, 160}, {250, 340}, {600, 360}, {560, 70}, {60, 140}, {80, 300}, {340, 45}, {190, 215}, {390, 85}};
    d.HillCentres = {{260, 220}, {390, 200}, {600, 320}, {480, 70}, {230, 120}, {560, 185}, {300, 60}};
    d.SeaNames = {{{18, 206}, QStringLiteral("Western Deep")}, {{392, 380}, QStringLiteral("Sea of Isles")}};
    d.Ships = {{474, 236}, {72, 372}, {700, 330}};
    d.ScaleBar = QPointF(680, 298);
    d.Cartouche = QRectF(662, 14, 120, 110);
    d.Compass = QPointF(726, 246);
    return d;
}

MapDesign Continental()
{
    MapDesign d;
    d.Number = 3;
    d.Title = QStringLiteral("Continental");
    d.Subtitle = QStringLiteral("of the Continent from the Hills to the Sea");
    d.Seed = 37;
    // The continent runs off the map to the north, west and south-west; the ocean lies east,
    // with a gulf reaching in to Anchorfield and a southern coast past Fischau.
    d.Land.push_back(Poly({{-30, -30}, {636, -30}, {648, 30},  {660, 90},  {652, 140}, {628, 168}, {572, 178},
                           {516, 186}, {476, 200}, {490, 226}, {540, 240}, {600, 250}, {640, 268}, {650, 310},
                           {644, 350}, {630, 378}, {590, 384}, {524, 378}, {500, 366}, {460, 362}, {420, 364}, {380, 362},
                           {340, 366}, {300, 372}, {250, 384}, {210, 372}, {190, 356}, {160, 362}, {120, 366},
                           {60, 374},  {0, 372},   {-30, 380}}));
    d.Land.push_back(Poly({{690, 330}, {708, 322}, {724, 330}, {716, 344}, {696, 342}}));
    d.Lakes.push_back(Poly({{150, 250}, {182, 238}, {214, 246}, {222, 268}, {198, 284}, {164, 280}, {146, 266}}));
    d.Lakes.push_back(Poly({{430, 110}, {452, 102}, {470, 112}, {462, 128}, {440, 130}}));
    d.Rivers.push_back({{196, -4}, {206, 20}, {196, 40}, {210, 70}, {230, 88}, {222, 110}, {214, 130},
                        {222, 176}, {210, 200}, {200, 238}});
    d.Rivers.push_back({{206, 282}, {232, 300}, {238, 330}, {226, 352}, {236, 378}});
    d.Rivers.push_back({{480, 30}, {470, 60}, {480, 82}, {466, 104}});
    d.Rivers.push_back({{454, 128}, {470, 160}, {480, 198}});
    d.Rivers.push_back({{90, 110}, {60, 130}, {30, 170}, {10, 190}, {-4, 200}});
    d.WoodCentres = {{400, 70}, {330, 30}, {460, 40}, {560, 160}, {100, 280}, {420, 300}, {300, 180}, {560, 50}, {150, 40}, {380, 140}};
    d.HillCentres = {{80, 120}, {300, 120}, {520, 300}, {360, 250}, {140, 300}, {600, 300}, {270, 230}};
    d.SeaNames = {{{520, 222}, QStringLiteral("Anchor Gulf")}, {{376, 389}, QStringLiteral("Southern Sea")}};
    d.Ships = {{706, 150}, {744, 372}, {612, 214}};
    d.ScaleBar = QPointF(680, 292);
    d.Cartouche = QRectF(664, 12, 118, 110);
    d.Compass = QPointF(728, 230);
    return d;
}
// clang-format on

}  // namespace

std::vector<MapDesign> MapDesigns() { return {Peninsula(), Islands(), Continental()}; }
