/// @file main.cpp tavrek-pictures: draws every picture of the game into one folder.
/// Usage: tavrek-pictures OUTPUT_DIR
#include <QDir>
#include <functional>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "game/map_tables.h"
#include "map_painter.h"
#include "small_pictures.h"

namespace {

void SaveBoth(const QString& dir, const QString& name, const std::function<QImage(int)>& paint)
{
    SavePng(paint(1), dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    SavePng(paint(2), dir + QLatin1Char('/') + name + QStringLiteral("@2x.png"));
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrek-pictures OUTPUT_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "tavrek-pictures: cannot create %s\n", argv[1]);
        return 1;
    }
    const Faces faces = LoadFaces();

    QString table = QStringLiteral("map\ttown\tx\ty\twidth\theight\n");
    const std::vector<MapDesign> designs = MapDesigns();
    for (const MapDesign& d : designs) {
        TownLabelRects labels{};
        SaveBoth(dir, QStringLiteral("map%1").arg(d.Number),
                 [&](int scale) { return PaintMap(d, faces, scale, labels); });
        for (int t = 0; t < kTowns; ++t)
            table += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
                         .arg(d.Number)
                         .arg(t)
                         .arg(labels[t].x())
                         .arg(labels[t].y())
                         .arg(labels[t].width())
                         .arg(labels[t].height());
    }
    QFile tsv(dir + QStringLiteral("/map_labels.tsv"));
    if (!tsv.open(QIODevice::WriteOnly | QIODevice::Truncate) || tsv.write(table.toUtf8()) != table.toUtf8().size()) {
        std::fprintf(stderr, "tavrek-pictures: cannot write map_labels.tsv\n");
        return 1;
    }
    tsv.close();

    SaveBoth(dir, QStringLiteral("title"), [&](int s) { return PaintTitle(faces, s); });
    SaveBoth(dir, QStringLiteral("flag_en"), PaintFlagEnglish);
    SaveBoth(dir, QStringLiteral("flag_de"), PaintFlagGerman);
    SaveBoth(dir, QStringLiteral("brewery"), PaintBrewerySymbol);
    SaveBoth(dir, QStringLiteral("depot"), PaintDepotSymbol);
    const std::pair<SpriteKind, const char*> sprites[] = {{SpriteKind::Depot, "depot"},
                                                          {SpriteKind::Brewery, "brewery"},
                                                          {SpriteKind::Barrels, "barrels"},
                                                          {SpriteKind::Money, "money"}};
    for (const auto& [kind, name] : sprites) {
        const QString n = QString::fromLatin1(name);
        SaveBoth(dir, QStringLiteral("sprite_") + n, [&](int s) { return PaintSprite(kind, s); });
        SaveBoth(dir, QStringLiteral("mask_") + n, [&](int s) { return MaskOf(PaintSprite(kind, s)); });
    }
    for (int size : {16, 32, 48, 64, 128, 256})
        SavePng(PaintIcon(size), dir + QStringLiteral("/icon_%1.png").arg(size));
    return 0;
}
