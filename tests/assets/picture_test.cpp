/// @file picture_test.cpp The generated pictures: sizes, colour conventions, sprite masks, and
/// that every map letters its towns inside their click rectangles, clear of the company symbols
/// and animations.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "commands/town_selection.h"
#include "game/map_places.h"
#include "game/map_tables.h"

namespace {

const QString kPictures = QStringLiteral(TAVREK_ASSETS_DIR "/pictures/");

QImage Load(const QString& name)
{
    QImage img(kPictures + name);
    EXPECT_FALSE(img.isNull()) << qPrintable(name);
    return img.convertToFormat(QImage::Format_ARGB32);
}

QString TwiceName(const QString& name)
{
    return QString(name).replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
}

int Luminance(QRgb c) { return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000; }

QRect HitRect(int map, int town)
{
    const TownRect r = kTownHitRects[map - 1][town];
    return QRect(QPoint(r.XFrom, r.YFrom), QPoint(r.XTo, r.YTo));
}

QRect MarkerStrip(int map, int town)
{
    const MapPoint m = kMarkerBases[map - 1][town];
    return QRect(m.X, m.Y, kMarkerStripWidth, kMarkerStripHeight);
}

QRect AnimationArea(int map, int town)
{
    const MapPoint a = kAnimationAnchors[map - 1][town];
    return QRect(a.X, a.Y, kAnimationAreaSide, kAnimationAreaSide);
}

struct LabelRow {
    int Map;
    int Town;
    QRect Rect;
};

std::vector<LabelRow> ReadLabels()
{
    QFile file(kPictures + QStringLiteral("map_labels.tsv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&file);
    std::vector<LabelRow> rows;
    EXPECT_EQ(in.readLine(), QStringLiteral("map\ttown\tx\ty\twidth\theight"));
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char('\t'));
        if (f.size() != 6) {
            ADD_FAILURE() << "malformed row: " << qPrintable(f.join(QLatin1Char('|')));
            continue;
        }
        rows.push_back({f[0].toInt(), f[1].toInt(), QRect(f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5].toInt())});
    }
    return rows;
}

}  // namespace

TEST(MapLabels, EveryTownOfEveryMapIsListedOnce)
{
    const std::vector<LabelRow> rows = ReadLabels();
    ASSERT_EQ(rows.size(), static_cast<size_t>(kMaps * kTowns));
    QSet<int> seen;
    for (const LabelRow& r : rows) {
        ASSERT_TRUE(r.Map >= 1 && r.Map <= kMaps && r.Town >= 0 && r.Town < kTowns);
        EXPECT_FALSE(seen.contains(r.Map * 100 + r.Town)) << r.Map << "/" << r.Town;
        seen.insert(r.Map * 100 + r.Town);
        EXPECT_GE(r.Rect.height(), 9) << "name too small to read: map " << r.Map << " town " << r.Town;
    }
}

TEST(MapLabels, NamesLieInsideTheirClickRectanglesAndClearOfSymbolsAndAnimations)
{
    for (const LabelRow& r : ReadLabels()) {
        SCOPED_TRACE(testing::Message() << "map " << r.Map << " town " << kTownNames[r.Map - 1][r.Town]);
        EXPECT_TRUE(HitRect(r.Map, r.Town).contains(r.Rect)) << "lettering leaves the click rectangle";
        for (int t = 0; t < kTowns; ++t) {
            EXPECT_FALSE(r.Rect.intersects(MarkerStrip(r.Map, t))) << "touches the symbol strip of town " << t;
            EXPECT_FALSE(r.Rect.intersects(AnimationArea(r.Map, t))) << "touches the animation area of town " << t;
        }
    }
}

TEST(MapLabels, TheTableMatchesTheInkOnThePicture)
{
    // Each listed rectangle holds dark lettering on both resolutions of the map.
    for (const LabelRow& r : ReadLabels())
        for (int scale : {1, 2}) {
            const QString name = QStringLiteral("map%1.png").arg(r.Map);
            const QImage img = Load(scale == 1 ? name : TwiceName(name));
            int dark = 0;
            for (int y = r.Rect.top() * scale; y <= r.Rect.bottom() * scale; ++y)
                for (int x = r.Rect.left() * scale; x <= r.Rect.right() * scale; ++x)
                    if (Luminance(img.pixel(x, y)) < 90)
                        ++dark;
            EXPECT_GE(dark, r.Rect.width() * scale * scale) << "no lettering at map " << r.Map << " town " << r.Town;
        }
}

TEST(MapPictures, SymbolStripsAndAnimationAreasAreCalm)
{
    // No ink and no strong contrast where the company symbols and the sprites go.
    for (int map = 1; map <= kMaps; ++map)
        for (int scale : {1, 2}) {
            const QString name = QStringLiteral("map%1.png").arg(map);
            const QImage img = Load(scale == 1 ? name : TwiceName(name));
            for (int t = 0; t < kTowns; ++t)
                for (const QRect& zone : {MarkerStrip(map, t), AnimationArea(map, t)}) {
                    int lo = 255, hi = 0;
                    for (int y = zone.top() * scale; y < (zone.bottom() + 1) * scale; ++y)
                        for (int x = zone.left() * scale; x < (zone.right() + 1) * scale; ++x) {
                            lo = std::min(lo, Luminance(img.pixel(x, y)));
                            hi = std::max(hi, Luminance(img.pixel(x, y)));
                        }
                    EXPECT_GE(lo, 140) << "ink in map " << map << " @" << scale << "x town " << t << " zone "
                                       << zone.x() << "," << zone.y();
                    EXPECT_LE(hi - lo, 45) << "busy ground in map " << map << " @" << scale << "x town " << t
                                           << " zone " << zone.x() << "," << zone.y();
                }
        }
}

TEST(Pictures, SizesAtOneAndTwoTimes)
{
    const struct {
        const char* Name;
        int W, H;
    } pictures[] = {{"map1.png", 800, 400},       {"map2.png", 800, 400},         {"map3.png", 800, 400},
                    {"title.png", 250, 270},      {"brewery.png", 11, 11},        {"depot.png", 10, 7},
                    {"sprite_depot.png", 25, 25}, {"sprite_brewery.png", 25, 25}, {"sprite_barrels.png", 25, 25},
                    {"sprite_money.png", 25, 25}, {"mask_depot.png", 25, 25},     {"mask_brewery.png", 25, 25},
                    {"mask_barrels.png", 25, 25}, {"mask_money.png", 25, 25},     {"flag_en.png", 16, 10},
                    {"flag_de.png", 16, 10}};
    for (const auto& p : pictures) {
        const QString name = QString::fromLatin1(p.Name);
        EXPECT_EQ(Load(name).size(), QSize(p.W, p.H)) << p.Name;
        EXPECT_EQ(Load(TwiceName(name)).size(), QSize(2 * p.W, 2 * p.H)) << p.Name;
    }
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = Load(QStringLiteral("icon_%1.png").arg(size));
        EXPECT_EQ(icon.size(), QSize(size, size));
        // Transparent around the tankard, solid in its middle.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size * 13 / 32, size * 20 / 32)), 255) << size;
    }
}

TEST(Pictures, CompanySymbolsAreBlackOnWhiteOnly)
{
    for (const char* base : {"brewery.png", "depot.png"})
        for (int scale : {1, 2}) {
            const QString name = scale == 1 ? QString::fromLatin1(base) : TwiceName(QString::fromLatin1(base));
            const QImage img = Load(name);
            int black = 0, white = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb c = img.pixel(x, y) & 0xFFFFFF;
                    black += c == 0x000000;
                    white += c == 0xFFFFFF;
                }
            EXPECT_EQ(black + white, img.width() * img.height()) << "more than two colours in " << qPrintable(name);
            EXPECT_GT(black, img.width() * img.height() / 4) << qPrintable(name);
            EXPECT_GT(white, img.width() * img.height() / 8) << qPrintable(name);
        }
}

TEST(Pictures, EveryMaskCoversItsSpriteExactly)
{
    for (const char* kind : {"depot", "brewery", "barrels", "money"})
        for (int scale : {1, 2}) {
            QString spriteName = QStringLiteral("sprite_%1.png").arg(QLatin1String(kind));
            QString maskName = QStringLiteral("mask_%1.png").arg(QLatin1String(kind));
            if (scale == 2) {
                spriteName = TwiceName(spriteName);
                maskName = TwiceName(maskName);
            }
            const QImage sprite = Load(spriteName), mask = Load(maskName);
            ASSERT_EQ(sprite.size(), mask.size());
            int drawn = 0;
            for (int y = 0; y < sprite.height(); ++y)
                for (int x = 0; x < sprite.width(); ++x) {
                    const bool isSprite = (sprite.pixel(x, y) & 0xFFFFFF) != 0;
                    const QRgb m = mask.pixel(x, y) & 0xFFFFFF;
                    ASSERT_TRUE(m == 0 || m == 0xFFFFFF) << qPrintable(maskName) << " at " << x << "," << y;
                    ASSERT_EQ(m == 0, isSprite) << qPrintable(maskName) << " disagrees at " << x << "," << y;
                    drawn += isSprite;
                }
            // A sprite that reads: a good part of its square, and a black background to its corners.
            const int area = sprite.width() * sprite.height();
            EXPECT_GT(drawn, area / 3) << qPrintable(spriteName);
            EXPECT_LT(drawn, area * 9 / 10) << qPrintable(spriteName);
            EXPECT_EQ(sprite.pixel(0, 0) & 0xFFFFFF, 0u) << qPrintable(spriteName);
        }
}

TEST(Pictures, TitleStandsOnWhite)
{
    for (const QString& name : {QStringLiteral("title.png"), QStringLiteral("title@2x.png")}) {
        const QImage img = Load(name);
        for (const QPoint& corner : {QPoint(0, 0), QPoint(img.width() - 1, 0), QPoint(0, img.height() - 1),
                                     QPoint(img.width() - 1, img.height() - 1)})
            EXPECT_EQ(img.pixel(corner) & 0xFFFFFF, 0xFFFFFFu) << qPrintable(name);
        // The picture itself holds no pure white, which the window would show through, and its
        // edge against the white is hard (no half-white fringe).
        int white = 0, fringe = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y) & 0xFFFFFF;
                if (c == 0xFFFFFF) {
                    ++white;
                    continue;
                }
                const bool nextToWhite = (x > 0 && (img.pixel(x - 1, y) & 0xFFFFFF) == 0xFFFFFF) ||
                                         (y > 0 && (img.pixel(x, y - 1) & 0xFFFFFF) == 0xFFFFFF);
                if (nextToWhite && Luminance(c) > 200)
                    ++fringe;
            }
        EXPECT_GT(white, 0) << qPrintable(name);
        EXPECT_LT(white, img.width() * img.height() / 10) << qPrintable(name);
        EXPECT_EQ(fringe, 0) << qPrintable(name);
    }
}

TEST(Pictures, FlagsShowTheirColours)
{
    // German: black, red, gold from top to bottom; English: blue field with a red cross.
    const QImage de = Load(QStringLiteral("flag_de.png"));
    EXPECT_EQ(de.pixel(8, 0) & 0xFFFFFF, 0x000000u);
    EXPECT_GT(qRed(de.pixel(8, 5)), 180);
    EXPECT_LT(qGreen(de.pixel(8, 5)), 40);
    EXPECT_GT(qGreen(de.pixel(8, 9)), 150);
    const QImage en = Load(QStringLiteral("flag_en.png"));
    EXPECT_GT(qBlue(en.pixel(5, 0)), 2 * qRed(en.pixel(5, 0)));
    EXPECT_GT(qRed(en.pixel(8, 5)), 150);
    EXPECT_LT(qBlue(en.pixel(8, 5)), 80);
}

namespace {

/// How far a regenerated picture may stray from the committed one: another Qt, FreeType or zlib
/// smooths letters and curves a little differently and packs the file differently, but the
/// picture must stay the same. A pixel counts as different when a channel moves by more than
/// kChannelTolerance; at most kDifferentShare of the pixels may.
constexpr int kChannelTolerance = 24;
constexpr double kDifferentShare = 0.005;

/// Why two pictures are not the same picture; empty when they are.
std::string PictureDifference(const QImage& made, const QImage& committed)
{
    if (made.isNull() || committed.isNull())
        return "a picture does not load";
    if (made.size() != committed.size())
        return "the sizes differ";
    const QImage a = made.convertToFormat(QImage::Format_ARGB32);
    const QImage b = committed.convertToFormat(QImage::Format_ARGB32);
    int64_t different = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = la[x], q = lb[x];
            const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            different += most > kChannelTolerance;
        }
    }
    const int64_t allowed = static_cast<int64_t>(kDifferentShare * a.width() * a.height());
    if (different > allowed)
        return std::to_string(different) + " pixels differ (" + std::to_string(allowed) + " may)";
    return {};
}

}  // namespace

TEST(Pictures, TheComparisonOfRegeneratedPicturesCatchesAChangedPicture)
{
    const QImage map = Load(QStringLiteral("map1.png"));
    EXPECT_EQ(PictureDifference(map, map), "");
    // A few pixels smoothed differently pass; a town moved or a symbol repainted does not.
    QImage smoothed = map.copy();
    for (int x = 0; x < 400; ++x)
        smoothed.setPixel(x, 200, map.pixel(x, 200) ^ 0x00101010);
    EXPECT_EQ(PictureDifference(smoothed, map), "");
    QImage repainted = map.copy();
    for (int y = 100; y < 160; ++y)
        for (int x = 100; x < 160; ++x)
            repainted.setPixel(x, y, qRgb(255, 0, 0));
    EXPECT_NE(PictureDifference(repainted, map), "");
    EXPECT_NE(PictureDifference(map.copy(0, 0, 799, 400), map), "");
    const QImage brewery = Load(QStringLiteral("brewery.png"));
    QImage inverted = brewery.copy();
    inverted.invertPixels();
    EXPECT_NE(PictureDifference(inverted, brewery), "");
}

#ifdef TAVREK_PICTURES_TOOL
TEST(Pictures, TheGeneratorMakesTheCommittedPicturesAgain)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess tool;
    tool.start(QStringLiteral(TAVREK_PICTURES_TOOL), {dir.path()});
    ASSERT_TRUE(tool.waitForFinished(600000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QStringList made = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(made, QDir(kPictures).entryList(QDir::Files, QDir::Name));
    for (const QString& name : made) {
        if (name.endsWith(QLatin1String(".png"))) {
            EXPECT_EQ(PictureDifference(QImage(dir.filePath(name)), QImage(kPictures + name)), "")
                << qPrintable(name) << ": run scripts/make-assets.sh";
            continue;
        }
        // Where the lettering stands: the same places, give or take a pixel of other metrics.
        QFile a(dir.filePath(name)), b(kPictures + name);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly | QIODevice::Text) && b.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList madeLines = QString::fromUtf8(a.readAll()).split(QLatin1Char('\n'));
        const QStringList committedLines = QString::fromUtf8(b.readAll()).split(QLatin1Char('\n'));
        ASSERT_EQ(madeLines.size(), committedLines.size()) << qPrintable(name);
        for (qsizetype i = 0; i < madeLines.size(); ++i) {
            const QStringList x = madeLines[i].split(QLatin1Char('\t'));
            const QStringList y = committedLines[i].split(QLatin1Char('\t'));
            ASSERT_EQ(x.size(), y.size()) << qPrintable(name) << " line " << i + 1;
            for (qsizetype k = 0; k < x.size(); ++k) {
                bool numbers = false;
                const int m = x[k].toInt(&numbers), c = y[k].toInt();
                if (numbers && i > 0)
                    EXPECT_LE(std::abs(m - c), 2) << qPrintable(name) << " line " << i + 1;
                else
                    EXPECT_EQ(x[k], y[k]) << qPrintable(name) << " line " << i + 1;
            }
        }
    }
}
#endif
