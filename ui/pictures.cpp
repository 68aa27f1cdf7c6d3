/// @file pictures.cpp Loading the pictures from the resources, with drawn stand-ins.
#include "ui/pictures.h"

#include <QBitmap>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <array>
#include <optional>

#include "commands/town_selection.h"
#include "game/map_tables.h"

// Outside any namespace: the resources' registration function is a global one.
static void InitResources()
{
    // The pictures live in the window library; a static library's resources need registering.
    static const bool done = [] {
#ifdef TAVREK_HAS_PICTURES
        Q_INIT_RESOURCE(pictures);
#endif
        return true;
    }();
    (void)done;
}

namespace {

struct PictureInfo {
    const char* File;
    int Width;
    int Height;
    bool WhiteTransparent;
};

constexpr std::array<PictureInfo, 16> kPictures = {{
    {"map1", 800, 400, false},
    {"map2", 800, 400, false},
    {"map3", 800, 400, false},
    {"title", 250, 270, true},
    {"brewery", 11, 11, true},
    {"depot", 10, 7, true},
    {"sprite_depot", 25, 25, false},
    {"sprite_brewery", 25, 25, false},
    {"sprite_barrels", 25, 25, false},
    {"sprite_money", 25, 25, false},
    {"mask_depot", 25, 25, false},
    {"mask_brewery", 25, 25, false},
    {"mask_barrels", 25, 25, false},
    {"mask_money", 25, 25, false},
    {"flag_en", 16, 10, false},
    {"flag_de", 16, 10, false},
}};

// A stand-in map: sea, land, and every town's click rectangle with its name, so the game can
// be played before the artwork exists.
void DrawStandInMap(QPainter& p, int map)
{
    p.fillRect(0, 0, 800, 400, QColor(120, 170, 220));
    p.setBrush(QColor(150, 190, 110));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRect(4, 10, 660, 380), 60, 60);
    QFont font("Liberation Sans");
    font.setPixelSize(11);
    p.setFont(font);
    for (int t = 0; t < kTowns; ++t) {
        const TownRect r = kTownHitRects[map - 1][t];
        const QRect rect(r.XFrom, r.YFrom, r.XTo - r.XFrom + 1, r.YTo - r.YFrom + 1);
        p.setPen(QColor(90, 60, 30));
        p.setBrush(QColor(235, 220, 180));
        p.drawRect(rect.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.drawText(rect, Qt::AlignCenter, QString::fromUtf8(kTownNames[map - 1][t]));
    }
}

void DrawStandIn(QPainter& p, Picture picture)
{
    const PictureInfo& info = kPictures[static_cast<size_t>(picture)];
    const QRect all(0, 0, info.Width, info.Height);
    switch (picture) {
    case Picture::Map1:
    case Picture::Map2:
    case Picture::Map3:
        DrawStandInMap(p, static_cast<int>(picture) - static_cast<int>(Picture::Map1) + 1);
        break;
    case Picture::Title: {
        p.fillRect(all, Qt::white);
        QFont font("Liberation Sans");
        font.setPixelSize(28);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(140, 70, 10));
        p.drawText(all, Qt::AlignCenter | Qt::TextWordWrap, "The TAVREK! War");
        break;
    }
    case Picture::Brewery:
        p.fillRect(all, Qt::white);
        p.fillRect(QRect(1, 4, 9, 6), Qt::black);
        p.fillRect(QRect(7, 1, 2, 3), Qt::black);
        break;
    case Picture::Depot:
        p.fillRect(all, Qt::white);
        p.fillRect(QRect(0, 2, 10, 5), Qt::black);
        break;
    case Picture::SpriteDepot:
    case Picture::SpriteBrewery:
    case Picture::SpriteBarrels:
    case Picture::SpriteMoney:
        p.fillRect(all, Qt::black);
        p.setBrush(QColor(220, 170, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRect(3, 3, 19, 19));
        break;
    case Picture::MaskDepot:
    case Picture::MaskBrewery:
    case Picture::MaskBarrels:
    case Picture::MaskMoney:
        p.fillRect(all, Qt::white);
        p.setBrush(Qt::black);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRect(3, 3, 19, 19));
        break;
    case Picture::FlagEnglish:
        p.fillRect(all, QColor(0, 36, 125));
        p.fillRect(QRect(0, 4, 16, 2), Qt::white);
        p.fillRect(QRect(7, 0, 2, 10), QColor(207, 20, 43));
        break;
    case Picture::FlagGerman:
        p.fillRect(QRect(0, 0, 16, 4), Qt::black);
        p.fillRect(QRect(0, 4, 16, 3), QColor(221, 0, 0));
        p.fillRect(QRect(0, 7, 16, 3), QColor(255, 206, 0));
        break;
    }
}

struct Loaded {
    QPixmap Pixmap;
    bool FromResource = false;
};

Loaded Load(Picture picture)
{
    InitResources();
    const PictureInfo& info = kPictures[static_cast<size_t>(picture)];
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    Loaded loaded;
    // On a screen of ratio 2 or more the "@2x" twin, marked as such so it keeps its logical
    // size; QPixmap::load does not look for it by itself.
    if (ratio > 1.0 && loaded.Pixmap.load(QString(":/pictures/%1@2x.png").arg(info.File))) {
        loaded.Pixmap.setDevicePixelRatio(2.0);
        loaded.FromResource = true;
    } else {
        loaded.FromResource = loaded.Pixmap.load(QString(":/pictures/%1.png").arg(info.File));
    }
    if (!loaded.FromResource) {
        QPixmap drawn(QSize(info.Width, info.Height) * ratio);
        drawn.setDevicePixelRatio(ratio);
        drawn.fill(Qt::white);
        QPainter p(&drawn);
        p.setRenderHint(QPainter::Antialiasing);
        DrawStandIn(p, picture);
        p.end();
        loaded.Pixmap = drawn;
    }
    if (info.WhiteTransparent) {
        const qreal dpr = loaded.Pixmap.devicePixelRatio();
        QImage image = loaded.Pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] & 0xffffffu) == 0xffffffu)
                    line[x] = 0;
        }
        loaded.Pixmap = QPixmap::fromImage(image);
        loaded.Pixmap.setDevicePixelRatio(dpr);
    }
    return loaded;
}

std::array<std::optional<Loaded>, kPictures.size()>& Cache()
{
    static std::array<std::optional<Loaded>, kPictures.size()> cache;
    return cache;
}

const Loaded& Get(Picture picture)
{
    auto& slot = Cache()[static_cast<size_t>(picture)];
    if (!slot)
        slot = Load(picture);
    return *slot;
}

}  // namespace

const QPixmap& GamePicture(Picture picture)
{
    return Get(picture).Pixmap;
}

bool IsResourcePicture(Picture picture)
{
    return Get(picture).FromResource;
}

QIcon GameIcon()
{
    InitResources();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/pictures/icon_%1.png").arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}
