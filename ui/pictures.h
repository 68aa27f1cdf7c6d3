/// @file pictures.h The game's pictures, compiled in as resources, each with an "@2x" twin for
/// sharp HiDPI screens, and the window's icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <map>
#include <string>
#include <string_view>
#include <utility>

/// The pictures a window draws with, loaded on first use for each screen ratio and kept while
/// the window lives. A picture is named by its file: "map1" ... "map3", "title", "brewery",
/// "depot", "sprite_depot", "mask_depot" (and the same for brewery, barrels, money),
/// "flag_en", "flag_de".
class PictureSet {
public:
    /// The picture at its logical size for a screen of that device pixel ratio: the "@2x" twin
    /// from a ratio above 1. The title and the company symbols come with their white made
    /// transparent. A name the resources do not hold gives an empty picture.
    const QPixmap& Get(std::string_view name, qreal ratio);

private:
    std::map<std::pair<std::string, int>, QPixmap> loaded_;  ///< by name and ratio in hundredths
};

/// The picture name of a map, 1..3 (anything else is the first map).
std::string MapPictureName(int map);

/// The game's icon in every size the resources hold (16 to 256 pixels), for the window and the
/// desktop's task bar.
QIcon GameIcon();
