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

/// A picture drawn for one ratio at another (a zoomed window): its logical size times the ratio
/// in pixels, averaged smoothly from the larger twin. The masks stay black and white, so the
/// animation's AND keeps the map or blacks it out and nothing between.
QPixmap Rescaled(const QPixmap& pixmap, qreal ratio, bool mask)
{
    const QSizeF logical = QSizeF(pixmap.size()) / pixmap.devicePixelRatio();
    QImage image = pixmap.toImage()
                       .convertToFormat(QImage::Format_ARGB32_Premultiplied)
                       .scaled((logical * ratio).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (mask) {
        image = image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qGray(line[x]) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    }
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

/// A sprite on black wherever its mask keeps the map, so its OR leaves the map as it is there.
QPixmap BlackOutside(const QPixmap& sprite, const QPixmap& mask)
{
    QImage image = sprite.toImage().convertToFormat(QImage::Format_RGB32);
    const QImage keep = mask.toImage().convertToFormat(QImage::Format_RGB32);
    if (keep.size() != image.size())
        return sprite;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* keepLine = reinterpret_cast<const QRgb*>(keep.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (keepLine[x] & 0xffffffu)
                line[x] = qRgb(0, 0, 0);
    }
    image.setDevicePixelRatio(sprite.devicePixelRatio());
    return QPixmap::fromImage(image);
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
        // A ratio that no drawn picture has (a zoom of 150 %): the nearest larger one scaled.
        if (!pixmap.isNull() && pixmap.devicePixelRatio() != ratio && ratio > 1.0) {
            pixmap = Rescaled(pixmap, ratio, name.starts_with("mask_"));
            if (name.starts_with("sprite_"))
                pixmap = BlackOutside(pixmap, Get("mask_" + std::string(name.substr(7)), ratio));
        }
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
