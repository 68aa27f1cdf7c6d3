/// @file map_painter.cpp A hand-coloured engraved map: washed parchment land, sea with coastal
/// shading and ripple lines, rivers, roads and sea lanes, woods and hills, towns, a compass
/// rose and a cartouche. Everything is laid out in 1x map pixels and painted at any scale.
#include "map_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <queue>
#include <tuple>
#include <vector>

#include "commands/town_selection.h"
#include "game/map_places.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 400;
constexpr int kVisibleWidth = 790;  // the window shows x 0..789

const QColor kInk(58, 40, 26);
const QColor kPaper(238, 226, 192);
const QColor kSeaFar(214, 222, 206);
const QColor kSeaNear(140, 178, 184);
const QColor kCoastWash(170, 190, 120);
const QColor kRiver(78, 118, 160);
const QColor kRoad(150, 72, 44);

/// The places a map must keep clear: marker strips and animation areas of all towns.
std::vector<QRectF> CalmZones(int map)
{
    std::vector<QRectF> zones;
    for (int t = 0; t < kTowns; ++t) {
        const MapPoint m = kMarkerBases[map - 1][t];
        const MapPoint a = kAnimationAnchors[map - 1][t];
        zones.emplace_back(m.X, m.Y, kMarkerStripWidth, kMarkerStripHeight);
        zones.emplace_back(a.X, a.Y, kAnimationAreaSide, kAnimationAreaSide);
    }
    return zones;
}

bool HitsAny(const QRectF& r, const std::vector<QRectF>& obstacles, double margin)
{
    for (const QRectF& o : obstacles)
        if (r.intersects(o.adjusted(-margin, -margin, margin, margin)))
            return true;
    return false;
}

bool PointNear(const QPointF& p, const std::vector<QRectF>& obstacles, double margin)
{
    for (const QRectF& o : obstacles)
        if (o.adjusted(-margin, -margin, margin, margin).contains(p))
            return true;
    return false;
}

// ---------------------------------------------------------------------------------------
// Land and water

class Geography {
public:
    Geography(const MapDesign& design, const std::vector<QRectF>& zones) : design_(design), zones_(zones)
    {
        // Each calm zone keeps the ground it lies on in the rough outline, with a little room
        // around it, so no coast runs through a marker strip or an animation area.
        for (const QRectF& z : zones_)
            forced_.push_back({z.adjusted(-4, -4, 4, 4), RoughLand(z.center())});
    }

    /// Land or water at a point in 1x pixels, coasts roughened by warped noise.
    bool IsLand(double x, double y) const
    {
        for (const auto& [rect, land] : forced_)
            if (rect.contains(x, y))
                return land;
        const uint32_t s = design_.Seed;
        const double wx = x + 7.0 * FractalNoise(x, y, 48, 4, s + 1) + 2.0 * FractalNoise(x, y, 7, 2, s + 2);
        const double wy = y + 7.0 * FractalNoise(x, y, 48, 4, s + 3) + 2.0 * FractalNoise(x, y, 7, 2, s + 4);
        return RoughLand(QPointF(wx, wy));
    }

    bool RoughLand(const QPointF& p) const
    {
        bool land = false;
        for (const QPolygonF& poly : design_.Land)
            if (poly.containsPoint(p, Qt::OddEvenFill))
                land = true;
        for (const QPolygonF& lake : design_.Lakes)
            if (lake.containsPoint(p, Qt::OddEvenFill))
                land = false;
        return land;
    }

private:
    const MapDesign& design_;
    const std::vector<QRectF>& zones_;
    std::vector<std::pair<QRectF, bool>> forced_;
};

/// Distance in device pixels from each pixel to the nearest pixel of the other kind
/// (two-pass chamfer), so coasts can be shaded on both sides.
std::vector<float> CoastDistance(const std::vector<uint8_t>& land, int w, int h)
{
    const float inf = 1e6f;
    std::vector<float> d(static_cast<size_t>(w) * h, inf);
    auto at = [&](int x, int y) -> float& { return d[static_cast<size_t>(y) * w + x]; };
    auto kind = [&](int x, int y) { return land[static_cast<size_t>(y) * w + x]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t k = kind(x, y);
            if ((x > 0 && kind(x - 1, y) != k) || (x + 1 < w && kind(x + 1, y) != k) ||
                (y > 0 && kind(x, y - 1) != k) || (y + 1 < h && kind(x, y + 1) != k))
                at(x, y) = 0.5f;
        }
    const float a = 1.0f, b = 1.4142f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float v = at(x, y);
            if (x > 0)
                v = std::min(v, at(x - 1, y) + a);
            if (y > 0)
                v = std::min(v, at(x, y - 1) + a);
            if (x > 0 && y > 0)
                v = std::min(v, at(x - 1, y - 1) + b);
            if (x + 1 < w && y > 0)
                v = std::min(v, at(x + 1, y - 1) + b);
            at(x, y) = v;
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            float v = at(x, y);
            if (x + 1 < w)
                v = std::min(v, at(x + 1, y) + a);
            if (y + 1 < h)
                v = std::min(v, at(x, y + 1) + a);
            if (x + 1 < w && y + 1 < h)
                v = std::min(v, at(x + 1, y + 1) + b);
            if (x > 0 && y + 1 < h)
                v = std::min(v, at(x - 1, y + 1) + b);
            at(x, y) = v;
        }
    return d;
}

struct Rgb {
    double R, G, B;
};

Rgb ToRgb(const QColor& c)
{
    return {static_cast<double>(c.red()), static_cast<double>(c.green()), static_cast<double>(c.blue())};
}

Rgb Blend(const Rgb& a, const Rgb& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

/// Land and sea with their shading, sampled four times per pixel so coasts come out smooth.
QImage PaintGround(const MapDesign& design, const Geography& geo, const std::vector<QRectF>& zones, int scale)
{
    constexpr int sub = 2;
    const int w = kWidth * scale, h = kHeight * scale;
    const int sw = w * sub, sh = h * sub;
    const double unit = static_cast<double>(scale * sub);  // samples per 1x pixel
    std::vector<uint8_t> land(static_cast<size_t>(sw) * sh);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
            land[static_cast<size_t>(y) * sw + x] = geo.IsLand((x + 0.5) / unit, (y + 0.5) / unit) ? 1 : 0;
    const std::vector<float> dist = CoastDistance(land, sw, sh);
    const uint32_t s = design.Seed;
    const Rgb paper = ToRgb(kPaper), paperDark = ToRgb(QColor(222, 200, 150)), meadow = ToRgb(QColor(214, 222, 170));
    const Rgb wash = ToRgb(kCoastWash), ink = ToRgb(kInk), seaFar = ToRgb(kSeaFar),
              seaPale = ToRgb(QColor(200, 214, 204));
    const Rgb seaNear = ToRgb(kSeaNear), ripple = ToRgb(QColor(70, 96, 110));
    const Rgb light = ToRgb(QColor(255, 250, 235)), shade = ToRgb(QColor(120, 100, 70));
    static const double rings[] = {2.2, 4.6, 7.4, 10.8, 15.0};
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double fx = (x + 0.5) / scale, fy = (y + 0.5) / scale;
            bool calm = false;
            for (const QRectF& z : zones)
                if (z.contains(fx, fy)) {
                    calm = true;
                    break;
                }
            // Paper grain: broad stains, greener meadows and a fine tooth, all faint.
            const double stain = FractalNoise(fx, fy, 90, 4, s + 10);
            const double tooth = FractalNoise(fx, fy, 6.0, 2, s + 11);
            Rgb landBase = Blend(paper, paperDark, 0.35 + 0.45 * stain);
            landBase = Blend(landBase, meadow, std::max(0.0, FractalNoise(fx, fy, 60, 3, s + 12)) * 0.5);
            const Rgb seaBase = Blend(seaFar, seaPale, 0.5 + 0.5 * stain);
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < sub; ++sy)
                for (int sx = 0; sx < sub; ++sx) {
                    const size_t i = static_cast<size_t>(y * sub + sy) * sw + (x * sub + sx);
                    const double d = dist[i] / unit;  // in 1x pixels from the coast
                    Rgb c;
                    if (land[i]) {
                        // The colourist's wash along the coast, and the coastline in ink.
                        const double t = d < 7 ? (1.0 - d / 7.0) : 0.0;
                        c = Blend(landBase, wash, 0.55 * t * t);
                        if (!calm)
                            c = Blend(c, ink, 0.9 * std::clamp(1.25 - d * 1.1, 0.0, 1.0));
                    } else {
                        c = Blend(seaBase, seaNear, 0.75 * std::exp(-d / 9.0));
                        if (!calm) {
                            // Engraved ripple lines following the coast, fading outwards.
                            for (int r = 0; r < 5; ++r) {
                                const double cover = std::max(0.0, 1.0 - std::fabs(d - rings[r]) * scale / 0.9);
                                c = Blend(c, ripple, cover * (0.55 - 0.09 * r));
                            }
                            c = Blend(c, ink, 0.85 * std::clamp(1.1 - d * 1.1, 0.0, 1.0));
                        }
                    }
                    sum = {sum.R + c.R, sum.G + c.G, sum.B + c.B};
                }
            Rgb c{sum.R / (sub * sub), sum.G / (sub * sub), sum.B / (sub * sub)};
            const double grain = 0.03 * tooth;
            c = Blend(c, grain > 0 ? light : shade, std::fabs(grain));
            line[x] = qRgb(static_cast<int>(std::lround(c.R)), static_cast<int>(std::lround(c.G)),
                           static_cast<int>(std::lround(c.B)));
        }
    }
    return img;
}

// ---------------------------------------------------------------------------------------
// Towns

struct TownLayout {
    QRect Label;       ///< lettering, 1x pixels, ink plus a pixel of room
    QPointF Baseline;  ///< where the name's baseline starts
    int PixelSize = 12;
    QPointF Symbol;  ///< centre of the town symbol
};

constexpr double kSymbolSize = 9;

TownLayout LayOutTown(int map, int town, const Faces& faces, const std::vector<QRectF>& zones)
{
    const TownRect hr = kTownHitRects[map - 1][town];
    const QRectF hit(hr.XFrom, hr.YFrom, hr.XTo - hr.XFrom + 1, hr.YTo - hr.YFrom + 1);
    const QString name = QString::fromUtf8(kTownNames[map - 1][town]);
    for (int size = 15; size >= 9; --size) {
        const QFontMetricsF fm(FaceAt(faces.Garamond, size));
        const QRectF ink = fm.tightBoundingRect(name);
        // Text box with one pixel of room around the ink, relative to the baseline origin.
        const QRectF box(std::floor(ink.left()) - 1, std::floor(ink.top()) - 1, std::ceil(ink.width()) + 3,
                         std::ceil(ink.height()) + 3);
        for (int withSymbol = 1; withSymbol >= 0; --withSymbol) {
            const double groupW = box.width() + (withSymbol ? kSymbolSize + 2 : 0);
            const double groupH = std::max(box.height(), withSymbol ? kSymbolSize + 1 : 0.0);
            bool found = false;
            double best = 1e9;
            TownLayout out;
            for (double gy = hit.top(); gy + groupH <= hit.bottom() + 1e-9; gy += 1)
                for (double gx = hit.left(); gx + groupW <= hit.right() + 1e-9; gx += 1) {
                    const QRectF group(gx, gy, groupW, groupH);
                    if (HitsAny(group, zones, 1))
                        continue;
                    const double score = std::hypot(group.center().x() - hit.center().x(),
                                                    (group.center().y() - hit.center().y()) * 1.5);
                    if (score >= best)
                        continue;
                    best = score;
                    found = true;
                    const double textX = gx + (withSymbol ? kSymbolSize + 2 : 0);
                    const double textY = gy + (groupH - box.height()) / 2;
                    const QRectF label(textX, textY, box.width(), box.height());
                    out.Label = QRect(static_cast<int>(label.left()), static_cast<int>(label.top()),
                                      static_cast<int>(label.width()), static_cast<int>(label.height()));
                    out.Baseline = QPointF(out.Label.left() - box.left(), out.Label.top() - box.top());
                    out.PixelSize = size;
                    out.Symbol = withSymbol ? QPointF(gx + kSymbolSize / 2, gy + groupH / 2) : QPointF(-1, -1);
                }
            if (found)
                return out;
        }
    }
    std::fprintf(stderr, "tavrek-pictures: no room for the name of town %d on map %d\n", town, map);
    std::exit(3);
}

/// A town without room for its symbol beside the name gets it just outside, near the name.
void PlaceLooseSymbol(TownLayout& t, const std::vector<QRectF>& avoid)
{
    if (t.Symbol.x() >= 0)
        return;
    const QRectF label(t.Label);
    double best = 1e9;
    for (double dy = -14; dy <= 14; dy += 1)
        for (double dx = -14; dx <= label.width() + 14; dx += 1) {
            const QPointF c(label.left() + dx, label.center().y() + dy);
            const QRectF box(c.x() - kSymbolSize / 2, c.y() - kSymbolSize / 2, kSymbolSize, kSymbolSize);
            if (box.intersects(label.adjusted(-1, -1, 1, 1)) || HitsAny(box, avoid, 1) || c.x() < 8 || c.y() < 8)
                continue;
            const double dxl = std::max({label.left() - c.x(), 0.0, c.x() - label.right()});
            const double dyl = std::max({label.top() - c.y(), 0.0, c.y() - label.bottom()});
            const double score = dxl + dyl * 1.2;
            if (score < best) {
                best = score;
                t.Symbol = c;
            }
        }
}

void DrawTownSymbol(QPainter& p, const QPointF& c)
{
    // A walled town seen from the side: red roofs, a church spire, a ring of ink.
    p.save();
    p.translate(c);
    p.setPen(QPen(kInk, 0.7));
    p.setBrush(QColor(200, 70, 52));
    p.drawEllipse(QPointF(0, 0), 4.3, 4.3);
    p.setBrush(QColor(244, 232, 204));
    p.setPen(QPen(kInk, 0.5));
    p.drawRect(QRectF(-2.8, -0.6, 2.4, 2.8));
    p.drawRect(QRectF(0.6, -1.6, 2.2, 3.8));
    p.setBrush(kInk);
    QPolygonF spire;
    spire << QPointF(0.6, -1.6) << QPointF(1.7, -3.9) << QPointF(2.8, -1.6);
    p.drawPolygon(spire);
    p.restore();
}

// ---------------------------------------------------------------------------------------
// Roads and sea lanes

struct Route {
    std::vector<QPointF> Points;
    bool Sea = false;
};

/// Roads follow the cost tables: two towns are joined directly unless a third town lies about
/// on the way between them (then the traveller goes through it).
std::vector<std::pair<int, int>> RoadPairs(int map)
{
    const auto& cost = kTransportCosts[map - 1];
    std::vector<std::pair<int, int>> pairs;
    for (int i = 0; i < kTowns; ++i)
        for (int j = i + 1; j < kTowns; ++j) {
            bool through = false;
            for (int k = 0; k < kTowns && !through; ++k)
                if (k != i && k != j && cost[i][k] + cost[k][j] <= cost[i][j] + 3)
                    through = true;
            if (!through)
                pairs.emplace_back(i, j);
        }
    return pairs;
}

/// The 2-pixel grid a way is found on: what each cell costs to cross (-1: not at all).
struct WayGrid {
    static constexpr double kCell = 2.0;
    int Width = kWidth / 2;
    int Height = kHeight / 2;
    std::vector<float> Weight;

    QPointF Centre(int gx, int gy) const { return QPointF((gx + 0.5) * kCell, (gy + 0.5) * kCell); }
    int CellAt(const QPointF& q) const
    {
        const int gx = std::clamp(static_cast<int>(q.x() / kCell), 0, Width - 1);
        const int gy = std::clamp(static_cast<int>(q.y() / kCell), 0, Height - 1);
        return gy * Width + gx;
    }
    float WeightAt(const QPointF& q) const { return Weight[static_cast<size_t>(CellAt(q))]; }
};

/// The cost of every cell for a way from a to b: a little noise everywhere; names, places and the
/// frame are closed; land roads shun water, sea lanes shun land away from their harbours.
WayGrid WayWeights(const QPointF& a, const QPointF& b, bool sea, const std::vector<QRectF>& avoid,
                   const std::vector<uint8_t>& landCells, uint32_t seed)
{
    WayGrid grid;
    const int gw = grid.Width, gh = grid.Height;
    grid.Weight.resize(static_cast<size_t>(gw) * gh);
    for (int gy = 0; gy < gh; ++gy)
        for (int gx = 0; gx < gw; ++gx) {
            const QPointF c = grid.Centre(gx, gy);
            const double da = std::hypot(c.x() - a.x(), c.y() - a.y());
            const double db = std::hypot(c.x() - b.x(), c.y() - b.y());
            float w = static_cast<float>(1.0 + 0.6 * (1 + FractalNoise(c.x(), c.y(), 30, 2, seed)));
            if (da > 5 && db > 5) {
                if (c.x() < 9 || c.x() > kVisibleWidth - 9 || c.y() < 9 || c.y() > kHeight - 9 ||
                    PointNear(c, avoid, 3))
                    w = -1;
                else {
                    const bool land = landCells[static_cast<size_t>(gy) * gw + gx] != 0;
                    if (!sea && !land)
                        w *= 60;
                    if (sea && land && da > 12 && db > 12)
                        w *= 3.5;
                }
            }
            grid.Weight[static_cast<size_t>(gy) * gw + gx] = w;
        }
    return grid;
}

/// The cheapest chain of cell centres from a's cell to b's (A*, eight neighbours); empty when
/// b cannot be reached.
std::vector<QPointF> CheapestCells(const WayGrid& grid, const QPointF& a, const QPointF& b)
{
    const int gw = grid.Width, gh = grid.Height;
    const std::vector<float>& weight = grid.Weight;
    const int start = grid.CellAt(a), goal = grid.CellAt(b);
    const int tx = goal % gw, ty = goal / gw;
    std::vector<double> dist(weight.size(), 1e18);
    std::vector<int> from(weight.size(), -1);
    using Item = std::pair<double, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> open;
    auto heuristic = [&](int gx, int gy) { return std::hypot(gx - tx, gy - ty); };
    dist[start] = 0;
    open.push({heuristic(start % gw, start / gw), start});
    while (!open.empty()) {
        const auto [f, cur] = open.top();
        open.pop();
        if (cur == goal)
            break;
        const int cx = cur % gw, cy = cur / gw;
        if (f - heuristic(cx, cy) > dist[cur] + 1e-9)
            continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if (!dx && !dy)
                    continue;
                const int nx = cx + dx, ny = cy + dy;
                if (nx < 0 || ny < 0 || nx >= gw || ny >= gh)
                    continue;
                const int n = ny * gw + nx;
                if (weight[n] < 0)
                    continue;
                const double step = (dx && dy ? 1.41421 : 1.0) * (weight[n] + weight[cur]) / 2;
                if (dist[cur] + step < dist[n]) {
                    dist[n] = dist[cur] + step;
                    from[n] = cur;
                    open.push({dist[n] + heuristic(nx, ny), n});
                }
            }
    }
    std::vector<QPointF> cells;
    if (from[goal] < 0 && goal != start)
        return cells;
    for (int c = goal; c != start; c = from[c])
        cells.push_back(grid.Centre(c % gw, c / gw));
    std::reverse(cells.begin(), cells.end());
    return cells;
}

/// The way pulled straight between the turns it must make: a leg may cross only cells no
/// dearer than the ones it joins.
std::vector<QPointF> Straightened(const WayGrid& grid, std::vector<QPointF> cells, const QPointF& a, const QPointF& b)
{
    cells.insert(cells.begin(), a);
    cells.push_back(b);
    auto clear = [&](const QPointF& p0, const QPointF& p1) {
        const double len = std::hypot(p1.x() - p0.x(), p1.y() - p0.y());
        const float limit = std::max(grid.WeightAt(p0), grid.WeightAt(p1)) * 1.01f + 2.3f;
        for (double t = 0; t <= len; t += 0.7) {
            const float w = grid.WeightAt(p0 + (p1 - p0) * (t / std::max(len, 1e-9)));
            if (w < 0 || w > limit)
                return false;
        }
        return true;
    };
    std::vector<QPointF> pts{a};
    for (size_t i = 0; i + 1 < cells.size();) {
        size_t j = cells.size() - 1;
        while (j > i + 1 && !clear(cells[i], cells[j]))
            --j;
        pts.push_back(cells[j]);
        i = j;
    }
    return pts;
}

/// Long straight legs get a gentle bend or two, as country roads do.
std::vector<QPointF> Bent(const WayGrid& grid, const std::vector<QPointF>& pts, uint32_t seed)
{
    std::vector<QPointF> bent{pts.front()};
    for (size_t k = 1; k < pts.size(); ++k) {
        const QPointF p0 = pts[k - 1], p1 = pts[k];
        const double len = std::hypot(p1.x() - p0.x(), p1.y() - p0.y());
        const int n = static_cast<int>(len / 25);
        for (int m = 1; m <= n; ++m) {
            const QPointF q = p0 + (p1 - p0) * (static_cast<double>(m) / (n + 1));
            const QPointF perp(-(p1 - p0).y() / len, (p1 - p0).x() / len);
            const QPointF moved = q + perp * (5.0 * FractalNoise(q.x(), q.y(), 40, 2, seed + 7));
            bent.push_back(grid.WeightAt(moved) >= 0 ? moved : q);
        }
        bent.push_back(p1);
    }
    return bent;
}

/// The corners rounded: three rounds of corner cutting (Chaikin).
std::vector<QPointF> Rounded(std::vector<QPointF> pts)
{
    for (int round = 0; round < 3; ++round) {
        std::vector<QPointF> next{pts.front()};
        for (size_t k = 0; k + 1 < pts.size(); ++k) {
            next.push_back(pts[k] * 0.75 + pts[k + 1] * 0.25);
            next.push_back(pts[k] * 0.25 + pts[k + 1] * 0.75);
        }
        next.push_back(pts.back());
        pts = next;
    }
    return pts;
}

/// Finds the cheapest way around towns' names and places, then draws it as a road or lane is
/// drawn: straight where it can be, bent a little on long legs, with rounded corners.
std::vector<QPointF> FindWay(const QPointF& a, const QPointF& b, bool sea, const std::vector<QRectF>& avoid,
                             const std::vector<uint8_t>& landCells, uint32_t seed)
{
    const WayGrid grid = WayWeights(a, b, sea, avoid, landCells, seed);
    const std::vector<QPointF> cells = CheapestCells(grid, a, b);
    if (cells.empty() && grid.CellAt(a) != grid.CellAt(b))
        return {a, b};
    return Rounded(Bent(grid, Straightened(grid, cells, a, b), seed));
}

std::vector<Route> PlanRoutes(int map, const MapDesign& design, const Geography& geo,
                              const std::vector<TownLayout>& towns, const std::vector<QRectF>& zones, bool report)
{
    // Whether a way crosses the sea is decided on the rough coasts, lakes aside: roads go round lakes.
    auto onLand = [&](const QPointF& q) {
        for (const QPolygonF& poly : design.Land)
            if (poly.containsPoint(q, Qt::OddEvenFill))
                return true;
        return false;
    };
    std::vector<uint8_t> landCells(static_cast<size_t>(kWidth / 2) * (kHeight / 2));
    for (int gy = 0; gy < kHeight / 2; ++gy)
        for (int gx = 0; gx < kWidth / 2; ++gx)
            landCells[static_cast<size_t>(gy) * (kWidth / 2) + gx] = geo.IsLand(gx * 2 + 1, gy * 2 + 1) ? 1 : 0;
    std::vector<Route> routes;
    for (const auto& [i, j] : RoadPairs(map)) {
        const QPointF a = towns[i].Symbol, b = towns[j].Symbol;
        std::vector<QRectF> avoid = zones;
        for (int t = 0; t < kTowns; ++t) {
            avoid.push_back(QRectF(towns[t].Label));
            if (t != i && t != j)
                avoid.push_back(QRectF(towns[t].Symbol.x() - 6, towns[t].Symbol.y() - 6, 12, 12));
        }
        avoid.push_back(design.Cartouche.adjusted(-4, -10, 4, 10));
        // A road where the land allows one without a long detour; a sea lane otherwise.
        const double direct = std::hypot(b.x() - a.x(), b.y() - a.y());
        const uint32_t seed = design.Seed + 90 + static_cast<uint32_t>(i * 10 + j);
        std::vector<QPointF> way = FindWay(a, b, false, avoid, landCells, seed);
        double length = 0;
        bool wet = false;
        for (size_t k = 1; k < way.size(); ++k) {
            length += std::hypot(way[k].x() - way[k - 1].x(), way[k].y() - way[k - 1].y());
            if (!onLand(way[k]) && !geo.IsLand(way[k].x(), way[k].y()))
                wet = true;
        }
        int seaSamples = 0;
        for (int k = 1; k < 40; ++k)
            if (!onLand(a + (b - a) * (k / 40.0)))
                ++seaSamples;
        const bool sea = wet || (seaSamples > 3 && length > 1.4 * direct);
        if (sea)
            way = FindWay(a, b, true, avoid, landCells, seed);
        if (report && way.size() == 2)
            std::fprintf(stderr, "tavrek-pictures: map %d: no clear way between towns %d and %d\n", map, i, j);
        routes.push_back({way, sea});
    }
    return routes;
}

// ---------------------------------------------------------------------------------------
// Woods, hills, sea ripples

struct Ornament {
    enum Kind { Tree, Hill, Wave } What;
    QPointF At;
    double Size;
    bool Alt = false;  ///< conifer instead of a round tree; a second hill shape
};

double DistanceToPolyline(const QPointF& p, const std::vector<QPointF>& line)
{
    double best = 1e9;
    for (size_t i = 1; i < line.size(); ++i) {
        const QPointF a = line[i - 1], b = line[i];
        const QPointF ab = b - a;
        const double l2 = ab.x() * ab.x() + ab.y() * ab.y();
        double t = l2 > 0 ? ((p.x() - a.x()) * ab.x() + (p.y() - a.y()) * ab.y()) / l2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const QPointF q = a + ab * t;
        best = std::min(best, std::hypot(p.x() - q.x(), p.y() - q.y()));
    }
    return best;
}

std::vector<Ornament> PlaceOrnaments(const MapDesign& design, const Geography& geo, const std::vector<QRectF>& keep,
                                     const std::vector<std::vector<QPointF>>& lines)
{
    std::vector<Ornament> out;
    SeededRandom rng(design.Seed * 7919U);
    auto free = [&](const QPointF& c, double r, double lineGap) {
        if (c.x() < 8 || c.x() > kVisibleWidth - 10 || c.y() < 8 || c.y() > kHeight - 8)
            return false;
        if (HitsAny(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), keep, 1.5))
            return false;
        for (const auto& l : lines)
            if (DistanceToPolyline(c, l) < lineGap)
                return false;
        for (const Ornament& o : out)
            if (std::hypot(o.At.x() - c.x(), o.At.y() - c.y()) < (r + o.Size) * 0.9)
                return false;
        return true;
    };
    auto landAround = [&](const QPointF& c, double r, bool wantLand) {
        for (double dy = -r; dy <= r; dy += r)
            for (double dx = -r; dx <= r; dx += r)
                if (geo.IsLand(c.x() + dx, c.y() + dy) != wantLand)
                    return false;
        return true;
    };
    auto weight = [](const std::vector<QPointF>& centres, const QPointF& c, double radius) {
        double w = 0;
        for (const QPointF& k : centres)
            w = std::max(w, std::exp(-((k.x() - c.x()) * (k.x() - c.x()) + (k.y() - c.y()) * (k.y() - c.y())) /
                                     (radius * radius)));
        return w;
    };
    for (int n = 0; n < 9000; ++n) {
        const QPointF c(rng.Range(0, kWidth), rng.Range(0, kHeight));
        const double roll = rng.Unit();
        const double hills =
            weight(design.HillCentres, c, 38) + 0.2 * FractalNoise(c.x(), c.y(), 40, 2, design.Seed + 40);
        const double woods =
            weight(design.WoodCentres, c, 30) + 0.3 * FractalNoise(c.x(), c.y(), 30, 3, design.Seed + 41);
        if (hills > 0.45 && roll < hills * 0.5) {
            const double r = rng.Range(6, 9);
            if (landAround(c, r + 3, true) && free(c, r, r + 2))
                out.push_back({Ornament::Hill, c, r, rng.Unit() < 0.4});
        } else if (woods > 0.5 && roll < woods * 0.9) {
            const double r = rng.Range(2.4, 3.3);
            if (landAround(c, r + 3, true) && free(c, r, r + 2.5))
                out.push_back({Ornament::Tree, c, r, rng.Unit() < 0.35});
        } else if (roll < 0.08) {
            const double r = rng.Range(4, 6);
            if (landAround(c, 20, false) && free(c, r + 2, 8))
                out.push_back({Ornament::Wave, c, r});
        }
    }
    // Paint from the back (top) to the front (bottom) so nearer symbols overlap farther ones.
    std::stable_sort(out.begin(), out.end(), [](const Ornament& x, const Ornament& y) { return x.At.y() < y.At.y(); });
    return out;
}

void DrawOrnament(QPainter& p, const Ornament& o)
{
    const QPointF c = o.At;
    const double r = o.Size;
    switch (o.What) {
    case Ornament::Tree: {
        if (o.Alt) {
            // A fir: a dark green spire on a short trunk.
            p.setPen(QPen(kInk, 0.6));
            p.drawLine(QPointF(c.x(), c.y() + r * 0.8), QPointF(c.x(), c.y() + r * 1.5));
            p.setBrush(QColor(80, 118, 70));
            p.drawPolygon(
                QPolygonF({c + QPointF(0, -r * 1.5), c + QPointF(r * 0.85, r * 0.9), c + QPointF(-r * 0.85, r * 0.9)}));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(50, 80, 50, 160));
            p.drawPolygon(
                QPolygonF({c + QPointF(0, -r * 1.5), c + QPointF(r * 0.85, r * 0.9), c + QPointF(0, r * 0.9)}));
            break;
        }
        // A little round tree with a shadowed side and a trunk.
        p.setPen(QPen(kInk, 0.6));
        p.drawLine(QPointF(c.x(), c.y() + r * 0.6), QPointF(c.x(), c.y() + r * 1.5));
        p.setBrush(QColor(104, 140, 74));
        p.drawEllipse(c, r, r * 1.05);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 104, 56, 170));
        QPainterPath shade;
        shade.moveTo(c + QPointF(r * 0.2, -r));
        shade.arcTo(QRectF(c.x() - r, c.y() - r * 1.05, 2 * r, 2.1 * r), 80, -200);
        shade.closeSubpath();
        p.drawPath(shade);
        break;
    }
    case Ornament::Hill: {
        // A hachured hill: a mound outlined in ink, shaded on its eastern flank.
        const double peak = o.Alt ? 1.25 : 0.75;  // some hills rise steeper, like mountains
        QPainterPath mound;
        mound.moveTo(c + QPointF(-r, r * 0.45));
        mound.cubicTo(c + QPointF(-r * 0.55, -r * peak), c + QPointF(r * 0.2, -r * peak * 1.1),
                      c + QPointF(r, r * 0.45));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(196, 168, 112, 150));
        p.drawPath(mound);
        p.setPen(QPen(kInk, 0.5));
        for (int k = 0; k < 5; ++k) {
            const double t = 0.15 + k * 0.16;
            const QPointF top =
                c + QPointF(-r * 0.1 + r * t * 0.9, -r * 0.45 * peak / 0.75 + r * t * 0.6 * peak / 0.75);
            p.drawLine(top, top + QPointF(r * 0.12, r * 0.55));
        }
        p.setPen(QPen(kInk, 0.8));
        p.setBrush(Qt::NoBrush);
        QPainterPath ridge;
        ridge.moveTo(c + QPointF(-r, r * 0.45));
        ridge.cubicTo(c + QPointF(-r * 0.55, -r * peak), c + QPointF(r * 0.2, -r * peak * 1.1),
                      c + QPointF(r, r * 0.45));
        p.drawPath(ridge);
        break;
    }
    case Ornament::Wave: {
        // Two short engraved ripples.
        p.setPen(QPen(QColor(70, 96, 110, 170), 0.6));
        p.setBrush(Qt::NoBrush);
        for (int k = 0; k < 2; ++k) {
            QPainterPath w;
            const QPointF s = c + QPointF(-r + k * r * 0.5, k * 2.4);
            w.moveTo(s);
            w.quadTo(s + QPointF(r * 0.5, -1.6), s + QPointF(r, 0));
            w.quadTo(s + QPointF(r * 1.5, 1.6), s + QPointF(r * 2, 0));
            p.drawPath(w);
        }
        break;
    }
    }
}

// ---------------------------------------------------------------------------------------
// Compass rose, cartouche, frame

void DrawCompass(QPainter& p, const QPointF& c, double r, const Faces& faces)
{
    p.save();
    p.translate(c);
    p.setPen(QPen(kInk, 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), r * 0.78, r * 0.78);
    p.drawEllipse(QPointF(0, 0), r * 0.72, r * 0.72);
    // Thirty-two rhumb lines, faint.
    p.setPen(QPen(QColor(58, 40, 26, 90), 0.4));
    for (int k = 0; k < 32; ++k) {
        const double a = k * M_PI / 16;
        p.drawLine(QPointF(0, 0), QPointF(std::cos(a) * r * 1.25, std::sin(a) * r * 1.25));
    }
    auto point = [&](double angle, double len, double half, const QColor& light, const QColor& dark) {
        const QPointF tip(std::sin(angle) * len, -std::cos(angle) * len);
        const QPointF left(std::sin(angle - M_PI / 2) * half, -std::cos(angle - M_PI / 2) * half);
        const QPointF right(-left.x(), -left.y());
        p.setPen(QPen(kInk, 0.5));
        p.setBrush(light);
        p.drawPolygon(QPolygonF({QPointF(0, 0), tip, left}));
        p.setBrush(dark);
        p.drawPolygon(QPolygonF({QPointF(0, 0), tip, right}));
    };
    for (int k = 0; k < 8; ++k)
        point(M_PI / 8 + k * M_PI / 4, r * 0.5, r * 0.08, QColor(236, 222, 180), QColor(150, 120, 70));
    for (int k = 0; k < 4; ++k)
        point(M_PI / 4 + k * M_PI / 2, r * 0.7, r * 0.11, QColor(236, 222, 180), QColor(70, 100, 120));
    for (int k = 0; k < 4; ++k)
        point(k * M_PI / 2, r, r * 0.15, QColor(244, 232, 200), k == 0 ? QColor(176, 52, 40) : QColor(58, 40, 26));
    p.setBrush(QColor(200, 160, 60));
    p.drawEllipse(QPointF(0, 0), r * 0.06, r * 0.06);
    p.setFont(FaceAt(faces.GaramondBold, r * 0.36));
    p.setPen(kInk);
    const QFontMetricsF fm(p.font());
    const QString n = QStringLiteral("N");
    p.drawText(QPointF(-fm.horizontalAdvance(n) / 2, -r - 3), n);
    p.restore();
}

void DrawShip(QPainter& p, const QPointF& at)
{
    // A small two-masted ship under full sail, with its reflection of ripples.
    p.save();
    p.translate(at);
    p.setPen(QPen(QColor(70, 96, 110, 170), 0.6));
    p.drawLine(QPointF(-10, 1.5), QPointF(-4, 1.5));
    p.drawLine(QPointF(4, 2.2), QPointF(11, 2.2));
    p.setPen(QPen(kInk, 0.6));
    p.setBrush(QColor(120, 70, 36));
    p.drawPolygon(QPolygonF({QPointF(-8, -2), QPointF(8, -2), QPointF(5.5, 1), QPointF(-6, 1)}));
    p.drawLine(QPointF(-2.5, -2), QPointF(-2.5, -13));
    p.drawLine(QPointF(3.5, -2), QPointF(3.5, -11));
    p.setBrush(QColor(246, 238, 214));
    QPainterPath sails;
    for (const auto& [x, top, h] : {std::tuple{-2.5, -12.0, 4.5}, std::tuple{-2.5, -7.0, 4.0},
                                    std::tuple{3.5, -10.5, 4.0}, std::tuple{3.5, -6.0, 3.5}}) {
        sails.moveTo(x - 3, top);
        sails.quadTo(x + 0.5, top + 0.8, x + 3, top);
        sails.quadTo(x + 3.8, top + h * 0.5, x + 3, top + h);
        sails.quadTo(x + 0.5, top + h + 0.8, x - 3, top + h);
        sails.quadTo(x - 2.2, top + h * 0.5, x - 3, top);
    }
    p.drawPath(sails);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(176, 52, 40));
    p.drawPolygon(QPolygonF({QPointF(-2.5, -13), QPointF(1.5, -12.2), QPointF(-2.5, -11.6)}));
    p.restore();
}

void DrawCartouche(QPainter& p, const QRectF& box, const MapDesign& d, const Faces& faces)
{
    p.save();
    // A scrolled frame: a cream panel with rolled ends, a double ink border and a laurel-green
    // band, hand-coloured like the rest of the map.
    QPainterPath panel;
    const double cx = box.center().x();
    panel.moveTo(box.left() + 10, box.top());
    panel.lineTo(cx - 12, box.top());
    panel.quadTo(cx, box.top() - 8, cx + 12, box.top());
    panel.lineTo(box.right() - 10, box.top());
    panel.quadTo(box.right() + 4, box.top() + 4, box.right(), box.top() + 16);
    panel.lineTo(box.right(), box.bottom() - 16);
    panel.quadTo(box.right() + 4, box.bottom() - 4, box.right() - 10, box.bottom());
    panel.lineTo(cx + 12, box.bottom());
    panel.quadTo(cx, box.bottom() + 8, cx - 12, box.bottom());
    panel.lineTo(box.left() + 10, box.bottom());
    panel.quadTo(box.left() - 4, box.bottom() - 4, box.left(), box.bottom() - 16);
    panel.lineTo(box.left(), box.top() + 16);
    panel.quadTo(box.left() - 4, box.top() + 4, box.left() + 10, box.top());
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(246, 236, 206));
    p.drawPath(panel);
    p.setPen(QPen(QColor(120, 150, 80), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(box.adjusted(6, 7, -6, -7), 6, 6);
    p.setPen(QPen(kInk, 0.6));
    p.drawRoundedRect(box.adjusted(4.5, 5.5, -4.5, -5.5), 7, 7);
    p.drawRoundedRect(box.adjusted(8, 9, -8, -9), 5, 5);
    // Scroll curls at the four corners.
    p.setBrush(QColor(214, 176, 96));
    for (const QPointF& k : {box.topLeft() + QPointF(2, 2), box.topRight() + QPointF(-2, 2),
                             box.bottomLeft() + QPointF(2, -2), box.bottomRight() + QPointF(-2, -2)}) {
        p.setPen(QPen(kInk, 0.7));
        p.drawEllipse(k, 4, 4);
        p.drawArc(QRectF(k.x() - 2, k.y() - 2, 4, 4), 0, 270 * 16);
    }
    // Lettering: "A New & Exact Map", the name in large capitals, a rule with a dot, the subtitle
    // on two lines and the year.
    p.setPen(kInk);
    auto centred = [&](const QString& text, const QFont& font, double baseline, const QColor& colour) {
        p.setFont(font);
        p.setPen(colour);
        const QFontMetricsF fm(font);
        p.drawText(QPointF(cx - fm.horizontalAdvance(text) / 2, baseline), text);
    };
    centred(QStringLiteral("A New & Exact Map"), FaceAt(faces.GaramondItalic, 11), box.top() + 27, kInk);
    QString title = d.Title.toUpper();
    int size = 22;
    while (size > 12 && QFontMetricsF(FaceAt(faces.GaramondBold, size)).horizontalAdvance(title) > box.width() - 22)
        --size;
    centred(title, FaceAt(faces.GaramondBold, size), box.top() + 52, QColor(150, 40, 32));
    p.setPen(QPen(kInk, 0.6));
    p.drawLine(QPointF(cx - 30, box.top() + 59), QPointF(cx + 30, box.top() + 59));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(cx, box.top() + 59), 1.4, 1.4);
    // The subtitle on two lines, broken where the longer line is shortest.
    const QFont small = FaceAt(faces.GaramondItalic, 10);
    const QFontMetricsF sm(small);
    const QStringList words = d.Subtitle.split(QLatin1Char(' '));
    QString first = d.Subtitle, second;
    double bestWidth = 1e9;
    for (int cut = 1; cut < words.size(); ++cut) {
        const QString a = words.mid(0, cut).join(QLatin1Char(' ')), b = words.mid(cut).join(QLatin1Char(' '));
        const double w = std::max(sm.horizontalAdvance(a), sm.horizontalAdvance(b));
        if (w < bestWidth) {
            bestWidth = w;
            first = a;
            second = b;
        }
    }
    centred(first, small, box.top() + 71, kInk);
    centred(second, small, box.top() + 83, kInk);
    centred(QStringLiteral("Anno MDCCL"), FaceAt(faces.GaramondItalic, 9), box.top() + 97, QColor(120, 90, 60));
    p.restore();
}

void DrawScaleBar(QPainter& p, const QPointF& at, const Faces& faces)
{
    // Five leagues of eighteen pixels, alternately filled, with the legend beneath.
    p.save();
    p.setPen(QPen(kInk, 0.6));
    for (int k = 0; k < 5; ++k) {
        p.setBrush(k % 2 ? QColor(244, 232, 200) : kInk);
        p.drawRect(QRectF(at.x() + k * 18, at.y(), 18, 3.5));
    }
    p.setFont(FaceAt(faces.GaramondItalic, 10));
    const QString legend = QStringLiteral("Scale of Leagues");
    const QFontMetricsF fm(p.font());
    p.drawText(QPointF(at.x() + 45 - fm.horizontalAdvance(legend) / 2, at.y() + 13), legend);
    p.restore();
}

void DrawFrame(QPainter& p)
{
    // Neat line with a graduated border, kept inside the part of the picture the window shows.
    const QRectF outer(0.5, 0.5, kVisibleWidth - 1, kHeight - 1);
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(outer);
    p.drawRect(outer.adjusted(4, 4, -4, -4));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int x = 5; x < kVisibleWidth - 5; x += 20) {
        p.drawRect(QRectF(x, 2, std::min(10.0, kVisibleWidth - 5.0 - x), 2));
        p.drawRect(QRectF(x, kHeight - 4, std::min(10.0, kVisibleWidth - 5.0 - x), 2));
    }
    for (int y = 5; y < kHeight - 5; y += 20) {
        p.drawRect(QRectF(2, y, 2, std::min(10.0, kHeight - 5.0 - y)));
        p.drawRect(QRectF(kVisibleWidth - 4, y, 2, std::min(10.0, kHeight - 5.0 - y)));
    }
    // The ten columns the window never shows: plain paper.
    p.setBrush(kPaper);
    p.drawRect(QRectF(kVisibleWidth, 0, kWidth - kVisibleWidth, kHeight));
}

QPainterPath Smooth(const std::vector<QPointF>& pts)
{
    QPainterPath path(pts.front());
    for (size_t i = 1; i + 1 < pts.size(); ++i) {
        const QPointF m = (pts[i] + pts[i + 1]) / 2;
        path.quadTo(pts[i], m);
    }
    path.lineTo(pts.back());
    return path;
}

/// Rivers meander: each leg is bent by the map's noise.
std::vector<QPointF> Meander(const std::vector<QPointF>& pts, uint32_t seed)
{
    std::vector<QPointF> out;
    for (size_t i = 1; i < pts.size(); ++i) {
        const QPointF a = pts[i - 1], b = pts[i];
        const QPointF d = b - a;
        const double len = std::hypot(d.x(), d.y());
        const QPointF perp(-d.y() / len, d.x() / len);
        const int n = std::max(2, static_cast<int>(len / 5));
        for (int k = (i == 1 ? 0 : 1); k <= n; ++k) {
            const double t = static_cast<double>(k) / n;
            const QPointF q = a + d * t;
            const double wob = (k == 0 || k == n) ? 0 : 3.0 * FractalNoise(q.x(), q.y(), 14, 2, seed);
            out.push_back(q + perp * wob);
        }
    }
    return out;
}

}  // namespace

QImage PaintMap(const MapDesign& design, const Faces& faces, int scale, TownLabelRects& labels)
{
    const int map = design.Number;
    const std::vector<QRectF> zones = CalmZones(map);
    const Geography geo(design, zones);

    // Towns first: every other symbol keeps away from their names and places.
    std::vector<TownLayout> towns;
    for (int t = 0; t < kTowns; ++t)
        towns.push_back(LayOutTown(map, t, faces, zones));
    for (int t = 0; t < kTowns; ++t) {
        std::vector<QRectF> avoid = zones;
        for (int u = 0; u < kTowns; ++u) {
            avoid.push_back(QRectF(towns[u].Label));
            if (u != t && towns[u].Symbol.x() >= 0)
                avoid.push_back(QRectF(towns[u].Symbol.x() - 5, towns[u].Symbol.y() - 5, 10, 10));
        }
        PlaceLooseSymbol(towns[t], avoid);
        labels[t] = towns[t].Label;
    }
    const std::vector<Route> routes = PlanRoutes(map, design, geo, towns, zones, scale == 1);

    std::vector<std::vector<QPointF>> rivers;
    for (size_t r = 0; r < design.Rivers.size(); ++r)
        rivers.push_back(Meander(design.Rivers[r], design.Seed + 60 + static_cast<uint32_t>(r)));

    // Sea names: lettered where they fit, their boxes kept clear like the towns'.
    std::vector<std::pair<QRectF, QString>> seaNames;
    const QFont seaFont = FaceAt(faces.GaramondItalic, 13);
    for (const auto& [at, name] : design.SeaNames) {
        QString spaced;
        for (const QChar ch : name)
            spaced += ch + QStringLiteral("\u2009");
        const QRectF ink = QFontMetricsF(seaFont).tightBoundingRect(spaced.trimmed()).translated(at);
        seaNames.push_back({ink.adjusted(-1, -1, 1, 1), spaced.trimmed()});
    }

    std::vector<QRectF> keep = zones;
    for (const TownLayout& t : towns) {
        keep.push_back(QRectF(t.Label).adjusted(-1, -1, 1, 1));
        keep.push_back(QRectF(t.Symbol.x() - 6, t.Symbol.y() - 6, 12, 12));
    }
    for (const auto& s : seaNames)
        keep.push_back(s.first);
    keep.push_back(design.Cartouche.adjusted(-6, -10, 6, 10));
    for (const QPointF& ship : design.Ships)
        keep.push_back(QRectF(ship.x() - 14, ship.y() - 16, 28, 22));
    keep.push_back(QRectF(design.ScaleBar.x() - 4, design.ScaleBar.y() - 4, 98, 22));
    const double cr = design.CompassRadius * 1.3;
    keep.push_back(QRectF(design.Compass.x() - cr, design.Compass.y() - cr - 12, 2 * cr, 2 * cr + 12));
    std::vector<std::vector<QPointF>> lines = rivers;
    for (const Route& r : routes)
        lines.push_back(r.Points);
    const std::vector<Ornament> ornaments = PlaceOrnaments(design, geo, keep, lines);

    QImage img = PaintGround(design, geo, zones, scale);

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    // No ink may fall into a marker strip or an animation area.
    QPainterPath open;
    open.addRect(QRectF(0, 0, kWidth, kHeight));
    for (const QRectF& z : zones) {
        QPainterPath hole;
        hole.addRect(z);
        open = open.subtracted(hole);
    }
    p.setClipPath(open);

    for (const auto& river : rivers) {
        // Drawn in short pieces that widen towards the mouth, over a pale bank.
        const size_t n = river.size();
        for (size_t k = 1; k < n; ++k) {
            const double t = static_cast<double>(k) / n;
            p.setPen(QPen(QColor(170, 196, 206), 1.4 + 2.0 * t, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(river[k - 1], river[k]);
        }
        for (size_t k = 1; k < n; ++k) {
            const double t = static_cast<double>(k) / n;
            p.setPen(QPen(kRiver, 0.6 + 1.0 * t, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(river[k - 1], river[k]);
        }
    }
    for (const Ornament& o : ornaments)
        DrawOrnament(p, o);
    for (const Route& r : routes) {
        const QPainterPath path = Smooth(r.Points);
        if (r.Sea) {
            QPen lane(QColor(60, 70, 90), 0.8, Qt::CustomDashLine);
            lane.setDashPattern({4, 3});
            p.setPen(lane);
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        } else {
            p.setPen(QPen(QColor(246, 232, 200), 2.6, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
            QPen road(kRoad, 1.0, Qt::CustomDashLine, Qt::FlatCap);
            road.setDashPattern({5, 1.6});
            p.setPen(road);
            p.drawPath(path);
        }
    }
    for (const TownLayout& t : towns)
        DrawTownSymbol(p, t.Symbol);
    for (int t = 0; t < kTowns; ++t) {
        p.setFont(FaceAt(faces.Garamond, towns[t].PixelSize));
        p.setPen(QColor(34, 22, 14));
        p.drawText(towns[t].Baseline, QString::fromUtf8(kTownNames[map - 1][t]));
    }
    p.setFont(seaFont);
    p.setPen(QColor(52, 76, 96));
    for (size_t s = 0; s < seaNames.size(); ++s)
        p.drawText(design.SeaNames[s].first, seaNames[s].second);
    for (const QPointF& ship : design.Ships)
        DrawShip(p, ship);
    DrawScaleBar(p, design.ScaleBar, faces);
    DrawCompass(p, design.Compass, design.CompassRadius, faces);
    DrawCartouche(p, design.Cartouche, design, faces);
    p.setClipping(false);
    DrawFrame(p);
    p.end();
    return img;
}
