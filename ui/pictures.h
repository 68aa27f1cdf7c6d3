/// @file pictures.h The game's pictures, compiled in as resources, each with an "@2x" twin for
/// sharp HiDPI screens. A picture that is missing from the resources is drawn here at its size,
/// so the window stays usable while the artwork is being made.
#pragma once

#include <QIcon>
#include <QPixmap>

enum class Picture {
    Map1,
    Map2,
    Map3,
    Title,          ///< start screen; white is transparent
    Brewery,        ///< brewery symbol; white is transparent
    Depot,          ///< depot symbol; white is transparent
    SpriteDepot,    ///< animation sprites on black
    SpriteBrewery,
    SpriteBarrels,
    SpriteMoney,
    MaskDepot,      ///< black where the sprite is, white elsewhere
    MaskBrewery,
    MaskBarrels,
    MaskMoney,
    FlagEnglish,
    FlagGerman,
};

/// The picture at the screen's pixel ratio (logical size as the layout expects it), loaded once.
/// Pictures with a transparent white come with that white made transparent.
const QPixmap& GamePicture(Picture picture);

/// The game's icon in every size the resources hold (16 to 256 pixels), for the window and the
/// desktop's task bar.
QIcon GameIcon();

/// Whether the picture came from the resources rather than being drawn as a stand-in.
bool IsResourcePicture(Picture picture);
