/// @file small_pictures.cpp The title picture, flags, company symbols, animation sprites and the
/// application icon. Sprites and symbols are drawn without smoothing so they stay crisp pixels.
#include "small_pictures.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace {

// Outlines in sprites are very dark but never pure black: pure black is the sprite's "nothing".
const QColor kOutline(40, 24, 12);

QImage FromRows(const char* const* rows, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, rows[y][x] == '#' ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return img;
}

/// Hard-edged painting for the two-colour symbols and the sprites.
void Crisp(QPainter& p, int scale)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.scale(scale, scale);
}

void Barrel(QPainter& p, const QRectF& r)
{
    // A barrel seen from the front: bulging staves, two iron hoops, a light edge on the left.
    QPainterPath body;
    const double bulge = r.width() * 0.12;
    // One device pixel of outline, whatever the scale.
    const double outline = 1.0 / std::max(1.0, p.transform().m11());
    body.moveTo(r.left() + bulge, r.top());
    body.lineTo(r.right() - bulge, r.top());
    body.quadTo(r.right() + bulge * 0.6, r.center().y(), r.right() - bulge, r.bottom());
    body.lineTo(r.left() + bulge, r.bottom());
    body.quadTo(r.left() - bulge * 0.6, r.center().y(), r.left() + bulge, r.top());
    p.setPen(QPen(kOutline, outline));
    p.setBrush(QColor(176, 104, 44));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 146, 72));
    p.drawRect(QRectF(r.left() + r.width() * 0.22, r.top() + 1, r.width() * 0.16, r.height() - 2));
    p.setBrush(QColor(120, 66, 28));
    p.drawRect(QRectF(r.left() + r.width() * 0.68, r.top() + 1, r.width() * 0.14, r.height() - 2));
    p.setBrush(QColor(150, 150, 160));
    p.drawRect(QRectF(r.left() + 0.5, r.top() + r.height() * 0.22, r.width() - 1, r.height() * 0.12));
    p.drawRect(QRectF(r.left() + 0.5, r.top() + r.height() * 0.66, r.width() - 1, r.height() * 0.12));
}

void Tankard(QPainter& p, const QRectF& r, double outline)
{
    // A glass tankard of amber beer with a head of foam and a handle; r is the glass body.
    p.setPen(QPen(kOutline, outline));
    p.setBrush(Qt::NoBrush);
    QPainterPath handle;
    handle.moveTo(r.right() - outline, r.top() + r.height() * 0.18);
    handle.cubicTo(r.right() + r.width() * 0.55, r.top() + r.height() * 0.1, r.right() + r.width() * 0.55,
                   r.bottom() - r.height() * 0.2, r.right() - outline, r.bottom() - r.height() * 0.2);
    p.setPen(QPen(kOutline, r.width() * 0.22 + outline, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(handle);
    p.setPen(QPen(QColor(226, 196, 120), r.width() * 0.12, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(handle);
    QLinearGradient beer(r.topLeft(), r.topRight());
    beer.setColorAt(0, QColor(236, 150, 30));
    beer.setColorAt(0.35, QColor(252, 196, 70));
    beer.setColorAt(1, QColor(190, 100, 20));
    p.setPen(QPen(kOutline, outline));
    p.setBrush(beer);
    p.drawRoundedRect(r, r.width() * 0.08, r.width() * 0.08);
    // Bubbles and glass facets.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 170, 200));
    p.drawRect(QRectF(r.left() + r.width() * 0.18, r.top() + r.height() * 0.2, r.width() * 0.1, r.height() * 0.65));
    p.setBrush(QColor(150, 80, 10, 120));
    p.drawRect(QRectF(r.left() + r.width() * 0.72, r.top() + r.height() * 0.2, r.width() * 0.08, r.height() * 0.7));
    // The foam: overlapping rounds spilling over the rim.
    p.setPen(QPen(kOutline, outline));
    p.setBrush(QColor(255, 250, 236));
    QPainterPath foam;
    const double fw = r.width(), fy = r.top();
    foam.addEllipse(QPointF(r.left() + fw * 0.18, fy), fw * 0.24, fw * 0.2);
    foam.addEllipse(QPointF(r.left() + fw * 0.5, fy - fw * 0.08), fw * 0.3, fw * 0.24);
    foam.addEllipse(QPointF(r.left() + fw * 0.84, fy), fw * 0.24, fw * 0.2);
    foam.addRect(QRectF(r.left() - fw * 0.04, fy, fw * 1.08, fw * 0.12));
    foam.setFillRule(Qt::WindingFill);
    foam = foam.simplified();
    p.drawPath(foam);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 236));
    p.drawRect(QRectF(r.left() + outline, fy + fw * 0.1, fw - 2 * outline, fw * 0.06));
}

void Hops(QPainter& p, const QPointF& at, double size, double angle)
{
    // A hop cone of overlapping green scales with a leaf beside it.
    p.save();
    p.translate(at);
    p.rotate(angle);
    p.setPen(QPen(kOutline, size * 0.06));
    p.setBrush(QColor(96, 150, 50));
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(size * 0.6, -size * 0.9, size * 1.4, -size * 0.5, size * 1.5, -size * 0.1);
    leaf.cubicTo(size * 1.1, size * 0.3, size * 0.5, size * 0.4, 0, 0);
    p.drawPath(leaf);
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k <= row % 2; ++k) {
            const double w = size * (0.42 - row * 0.06);
            const QPointF c(-size * 0.1 + (k - (row % 2) * 0.5) * w, size * (0.15 + row * 0.28));
            p.setBrush(row % 2 ? QColor(150, 196, 80) : QColor(126, 178, 64));
            p.drawEllipse(c, w * 0.6, size * 0.22);
        }
    p.restore();
}

}  // namespace

QImage PaintTitle(const Faces& faces, int scale)
{
    QImage img(250 * scale, 270 * scale, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(scale, scale);
    // The plaque's edge is drawn hard, so no half-white pixels fringe it on the window.
    QPainterPath plaque;
    plaque.addRoundedRect(QRectF(6, 4, 238, 262), 22, 22);
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient wood(0, 0, 0, 270);
    wood.setColorAt(0, QColor(120, 68, 30));
    wood.setColorAt(1, QColor(70, 38, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(wood);
    p.drawPath(plaque);
    // Everything else lies well inside the wooden edge.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QRadialGradient glow(QPointF(125, 150), 140);
    glow.setColorAt(0, QColor(252, 238, 196));
    glow.setColorAt(1, QColor(226, 196, 140));
    p.setPen(QPen(QColor(214, 170, 70), 3));
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(14, 12, 222, 246), 16, 16);
    p.setPen(QPen(QColor(92, 52, 24), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(18, 16, 214, 238), 13, 13);

    // Hop garlands in the upper corners.
    // A hop bine along the top, its cones hanging into the corners.
    p.setPen(QPen(QColor(70, 110, 40), 1.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath bine;
    bine.moveTo(22, 24);
    bine.cubicTo(60, 40, 30, 80, 34, 120);
    p.drawPath(bine);
    QPainterPath bine2;
    bine2.moveTo(228, 24);
    bine2.cubicTo(190, 40, 220, 80, 216, 120);
    p.drawPath(bine2);
    Hops(p, QPointF(26, 100), 18, -10);
    Hops(p, QPointF(224, 100), 18, 190);
    Hops(p, QPointF(40, 40), 12, 30);
    Hops(p, QPointF(210, 40), 12, 150);
    Hops(p, QPointF(30, 130), 13, 20);
    Hops(p, QPointF(220, 130), 13, 160);

    auto lettering = [&](const QString& text, const QFont& font, double baseline, const QColor& fill,
                         const QColor& edge, double edgeWidth) {
        QPainterPath path;
        const QFontMetricsF fm(font);
        path.addText(QPointF(125 - fm.horizontalAdvance(text) / 2, baseline), font, text);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 80, 40, 70));
        p.drawPath(path.translated(1.2, 1.6));
        p.setPen(QPen(edge, edgeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(fill);
        p.drawPath(path);
    };
    lettering(QStringLiteral("The"), FaceAt(faces.GaramondItalic, 26), 46, QColor(110, 40, 24), QColor(110, 40, 24, 60),
              0.5);
    QFont big = FaceAt(faces.SerifBold, 44, true);
    big.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    QLinearGradient gold(0, 50, 0, 92);
    gold.setColorAt(0, QColor(255, 214, 90));
    gold.setColorAt(0.55, QColor(226, 140, 20));
    gold.setColorAt(1, QColor(170, 80, 10));
    {
        QPainterPath path;
        const QFontMetricsF fm(big);
        const QString name = QStringLiteral("TAVREK!");
        path.addText(QPointF(125 - fm.horizontalAdvance(name) / 2, 90), big, name);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 26, 10, 170));
        p.drawPath(path.translated(2, 2.5));
        p.setPen(QPen(QColor(60, 26, 10), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(gold);
        p.drawPath(path);
    }
    lettering(QStringLiteral("War"), FaceAt(faces.GaramondBold, 30), 120, QColor(140, 36, 24), QColor(60, 26, 10, 90),
              0.8);

    // Barrels to either side of the tankard, one stacked on two.
    Barrel(p, QRectF(22, 200, 40, 48));
    Barrel(p, QRectF(188, 200, 40, 48));
    Barrel(p, QRectF(32, 156, 34, 42));
    Tankard(p, QRectF(88, 150, 64, 96), 1.6);
    // Foam flecks rising from the head.
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(255, 250, 236));
    p.drawEllipse(QPointF(104, 134), 3.5, 3.5);
    p.drawEllipse(QPointF(140, 128), 2.6, 2.6);
    p.drawEllipse(QPointF(124, 126), 2, 2);
    // A small sign of quality on the right barrel.
    p.setPen(QPen(QColor(214, 170, 70), 2));
    p.setBrush(QColor(150, 36, 24));
    p.drawEllipse(QPointF(208, 178), 16, 16);
    p.setPen(QColor(255, 226, 150));
    p.setFont(FaceAt(faces.GaramondBold, 11));
    const QFontMetricsF fm(p.font());
    const QString year = QStringLiteral("1750");
    p.drawText(QPointF(208 - fm.horizontalAdvance(year) / 2, 182), year);
    p.end();
    return img;
}

QImage PaintFlagEnglish(int scale)
{
    const int w = 16 * scale, h = 10 * scale;
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(1, 33, 105));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, scale > 1);
    p.scale(scale, scale);
    // Saltires, white under red, then the cross of St George on a white border.
    p.setPen(QPen(Qt::white, 2.2));
    p.drawLine(QPointF(0, 0), QPointF(16, 10));
    p.drawLine(QPointF(16, 0), QPointF(0, 10));
    p.setPen(QPen(QColor(200, 16, 46), scale > 1 ? 0.8 : 1.0));
    p.drawLine(QPointF(0, 0), QPointF(16, 10));
    p.drawLine(QPointF(16, 0), QPointF(0, 10));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 0, 4, 10));
    p.drawRect(QRectF(0, 3, 16, 4));
    p.setBrush(QColor(200, 16, 46));
    p.drawRect(QRectF(7, 0, 2, 10));
    p.drawRect(QRectF(0, 4, 16, 2));
    p.end();
    return img;
}

QImage PaintFlagGerman(int scale)
{
    const int w = 16 * scale, h = 10 * scale;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    const int a = static_cast<int>(std::lround(h / 3.0)), b = static_cast<int>(std::lround(h * 2 / 3.0));
    p.fillRect(0, 0, w, a, QColor(0, 0, 0));
    p.fillRect(0, a, w, b - a, QColor(221, 0, 0));
    p.fillRect(0, b, w, h - b, QColor(255, 206, 0));
    p.end();
    return img;
}

QImage PaintBrewerySymbol(int scale)
{
    if (scale == 1) {
        // A brewhouse: pitched roof, a tall chimney, two windows and a gate.
        static const char* const rows[] = {
            "........##.", "........##.", "...#....##.", "..###...##.", ".#####.###.", "###########",
            "#..##..####", "#..##..####", "###########", "####...####", "####...####",
        };
        return FromRows(rows, 11, 11);
    }
    QImage img(11 * scale, 11 * scale, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    Crisp(p, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(QRectF(8, 0, 2, 6));                                                     // chimney
    p.drawPolygon(QPolygonF({QPointF(0, 5.5), QPointF(3.5, 1.5), QPointF(7.5, 5.5)}));  // roof
    p.drawRect(QRectF(0, 5, 11, 6));                                                    // hall
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1, 6.5, 2, 1.5));
    p.drawRect(QRectF(4.5, 6.5, 2, 1.5));
    p.drawRect(QRectF(8, 6.5, 1.5, 1.5));
    p.drawRect(QRectF(4, 9, 3, 2));
    p.drawRect(QRectF(8.5, 0.5, 1, 0.5));
    p.end();
    return img;
}

QImage PaintDepotSymbol(int scale)
{
    if (scale == 1) {
        // A storehouse with a wide door.
        static const char* const rows[] = {
            "....##....", "..######..", "##########", "#.#.##.#.#", "##########", "###....###", "###....###",
        };
        return FromRows(rows, 10, 7);
    }
    QImage img(10 * scale, 7 * scale, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    Crisp(p, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({QPointF(0, 3), QPointF(5, 0), QPointF(10, 3)}));
    p.drawRect(QRectF(0, 2.5, 10, 4.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1, 3.5, 1, 1));
    p.drawRect(QRectF(8, 3.5, 1, 1));
    p.drawRect(QRectF(3, 4, 4, 3));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(4.5, 4, 1, 3));
    p.end();
    return img;
}

QImage PaintSprite(SpriteKind kind, int scale)
{
    QImage img(25 * scale, 25 * scale, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    Crisp(p, scale);
    const double line = scale > 1 ? 0.5 : 1.0;
    switch (kind) {
    case SpriteKind::Depot: {
        // Two storehouses with red roofs, a crate at the door.
        auto house = [&](double x, double y, double w, double h, const QColor& wall, const QColor& roof) {
            p.setPen(QPen(kOutline, line));
            p.setBrush(wall);
            p.drawRect(QRectF(x, y, w, h));
            p.setBrush(roof);
            p.drawPolygon(QPolygonF({QPointF(x - 1, y), QPointF(x + w / 2, y - h * 0.6), QPointF(x + w + 1, y)}));
            p.setBrush(QColor(110, 62, 30));
            p.drawRect(QRectF(x + w / 2 - 2, y + h - 5, 4, 5));
            p.setBrush(QColor(250, 220, 110));
            p.drawRect(QRectF(x + 1.5, y + 2, 2, 2));
            p.drawRect(QRectF(x + w - 3.5, y + 2, 2, 2));
        };
        house(2, 11, 11, 12, QColor(236, 214, 168), QColor(204, 60, 40));
        house(13, 8, 10, 15, QColor(214, 196, 150), QColor(170, 44, 32));
        p.setPen(QPen(kOutline, line));
        p.setBrush(QColor(196, 140, 70));
        p.drawRect(QRectF(9, 19, 4, 4));
        p.setPen(QPen(QColor(90, 150, 60), line * 2));
        p.drawLine(QPointF(1, 24), QPointF(24, 24));
        break;
    }
    case SpriteKind::Brewery: {
        // A brick brewhouse with two chimneys trailing grey smoke.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(170, 170, 176));
        p.drawEllipse(QPointF(7, 4), 3, 2.5);
        p.drawEllipse(QPointF(11, 2.5), 2.5, 2);
        p.setBrush(QColor(200, 200, 206));
        p.drawEllipse(QPointF(17, 5.5), 3, 2.5);
        p.drawEllipse(QPointF(21, 3), 2.5, 2);
        p.setPen(QPen(kOutline, line));
        p.setBrush(QColor(150, 60, 40));
        p.drawRect(QRectF(5, 6, 3, 9));
        p.drawRect(QRectF(16, 8, 3, 7));
        p.setBrush(QColor(184, 80, 52));
        p.drawRect(QRectF(2, 13, 21, 11));
        p.setBrush(QColor(110, 70, 50));
        p.drawPolygon(QPolygonF({QPointF(1, 14), QPointF(12.5, 9), QPointF(24, 14)}));
        p.setBrush(QColor(230, 150, 60));  // the copper behind the big window
        p.drawRect(QRectF(4, 16, 6, 4));
        p.setBrush(QColor(250, 220, 110));
        p.drawRect(QRectF(15, 16, 5, 3));
        p.setBrush(QColor(96, 56, 28));
        p.drawRect(QRectF(11, 19, 3, 5));
        break;
    }
    case SpriteKind::Barrels: {
        // Three barrels, one lying on two.
        Barrel(p, QRectF(1.5, 12.5, 10.5, 12));
        Barrel(p, QRectF(13, 12.5, 10.5, 12));
        Barrel(p, QRectF(7, 1, 11, 11.5));
        break;
    }
    case SpriteKind::Money: {
        // A money bag tied at the neck, a dollar sign, gold coins at its foot.
        p.setPen(QPen(kOutline, line));
        p.setBrush(QColor(196, 160, 100));
        QPainterPath bag;
        bag.moveTo(9, 8);
        bag.cubicTo(1, 12, 2, 23, 12, 23);
        bag.cubicTo(22, 23, 23, 12, 15, 8);
        bag.closeSubpath();
        p.drawPath(bag);
        p.drawPolygon(QPolygonF({QPointF(8, 2), QPointF(16, 2), QPointF(14, 7.5), QPointF(10, 7.5)}));
        p.setBrush(QColor(150, 40, 30));
        p.drawRect(QRectF(8.5, 7, 7, 2));
        p.setPen(QPen(QColor(60, 110, 40), 1.5));
        p.drawLine(QPointF(14, 12.5), QPointF(10.5, 12.5));
        p.drawLine(QPointF(10.5, 12.5), QPointF(10.5, 15));
        p.drawLine(QPointF(10.5, 15), QPointF(13.5, 15));
        p.drawLine(QPointF(13.5, 15), QPointF(13.5, 18));
        p.drawLine(QPointF(13.5, 18), QPointF(10, 18));
        p.drawLine(QPointF(12, 11), QPointF(12, 19.5));
        p.setPen(QPen(kOutline, line));
        p.setBrush(QColor(250, 200, 40));
        p.drawEllipse(QRectF(16, 19, 7, 5));
        p.drawEllipse(QRectF(1, 20, 6, 4));
        p.setBrush(QColor(255, 230, 120));
        p.drawEllipse(QRectF(18, 16.5, 6, 4));
        break;
    }
    }
    p.end();
    return img;
}

QImage MaskOf(const QImage& sprite)
{
    QImage mask(sprite.size(), QImage::Format_RGB32);
    for (int y = 0; y < sprite.height(); ++y)
        for (int x = 0; x < sprite.width(); ++x)
            mask.setPixel(x, y,
                          qRed(sprite.pixel(x, y)) | qGreen(sprite.pixel(x, y)) | qBlue(sprite.pixel(x, y))
                              ? qRgb(0, 0, 0)
                              : qRgb(255, 255, 255));
    return mask;
}

QImage PaintIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double u = size / 32.0;
    p.scale(u, u);
    // A foaming tankard filling the square; at 16 pixels the outline is thicker so it still reads.
    const double outline = size <= 16 ? 2.0 : (size <= 32 ? 1.4 : 1.0);
    Tankard(p, QRectF(5, 9.5, 16, 20.5), outline);
    p.end();
    return img;
}
