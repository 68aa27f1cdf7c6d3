/// @file pictures.cpp Loading the pictures from the resources.
#include "ui/pictures.h"

#include <QFile>
#include <QImage>
#include <cmath>

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

/// Pictures drawn on white whose white the map must show through.
bool WhiteIsTransparent(std::string_view name) { return name == "title" || name == "brewery" || name == "depot"; }

QPixmap Load(const QString& name, qreal ratio)
{
    InitResources();
    QPixmap pixmap;
    // On a screen of ratio 2 or more the "@2x" twin, marked as such so it keeps its logical
    // size; QPixmap::load does not look for it by itself.
    if (ratio > 1.0 && pixmap.load(QStringLiteral(":/pictures/%1@2x.png").arg(name)))
        pixmap.setDevicePixelRatio(2.0);
    else
        pixmap.load(QStringLiteral(":/pictures/%1.png").arg(name));
    return pixmap;
}

QPixmap WithoutWhite(const QPixmap& pixmap)
{
    const qreal ratio = pixmap.devicePixelRatio();
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xffffffu) == 0xffffffu)
                line[x] = 0;
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(ratio);
    return result;
}

}  // namespace

const QPixmap& PictureSet::Get(std::string_view name, qreal ratio)
{
    const auto key = std::make_pair(std::string(name), static_cast<int>(std::lround(ratio * 100)));
    auto found = loaded_.find(key);
    if (found == loaded_.end()) {
        QPixmap pixmap = Load(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), ratio);
        if (!pixmap.isNull() && WhiteIsTransparent(name))
            pixmap = WithoutWhite(pixmap);
        found = loaded_.emplace(key, std::move(pixmap)).first;
    }
    return found->second;
}

std::string MapPictureName(int map) { return "map" + std::to_string(map >= 1 && map <= kMaps ? map : 1); }

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
