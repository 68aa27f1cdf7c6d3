/// @file dialog_support.h What every window of the game shares: the window font, the dialogs'
/// frame and size from their layout tables, the place in the middle of the screen.
#pragma once

#include <QFont>

#include "ui/window_layouts.h"

class QDialog;
class QWidget;

/// The window font: Arial-metric Liberation Sans at the size of the small sans serif the fixed
/// layout was drawn for, so every caption and prompt fits its place. At a zoom (percent) its
/// pixel size grows with the layout, rounded down so that texts still fit their places.
QFont WindowFont(int zoom = 100);

/// How a dialog sits among the windows.
enum class DialogStacking {
    Normal,
    StaysOnTop,  ///< above the main window even when that is clicked
};

/// A dialog frame without system buttons, in the window font, with the layout's client size.
void SetUpDialog(QDialog& dialog, const WindowLayout& layout, DialogStacking stacking, bool modal = true);

/// Moves a window to the middle of the screen it is on.
void CentreOnScreen(QWidget& window);
/// Moves a dialog to the middle of the game's window, where the player is looking (on a large
/// screen its middle may be far away); without a visible parent window, to the screen's.
void CentreOnGameWindow(QWidget& dialog);
/// The game window's middle when `onGameWindow`, else the screen's.
void CentreDialog(QWidget& dialog, bool onGameWindow);
