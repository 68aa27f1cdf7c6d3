/// @file window_zoom.h What a zoom changes on widgets beyond their table rectangles: the grids'
/// columns and rows, and rectangles the window paints itself.
#pragma once

#include <QFont>
#include <QRect>
#include <span>

class QDialog;
class QMessageBox;
class QTableWidget;
struct WindowLayout;

/// Remembers a grid's column widths, row height and heading font at 100 % and sets them at the
/// zoom (percent). The heading is a row of the same height.
void SetGridLayout(QTableWidget& grid, std::span<const int> columnWidths, int rowHeight, int zoom);
/// Sets a grid's remembered columns and rows at the zoom.
void ZoomGrid(QTableWidget& grid, int zoom);

/// A dialog built from its table at a zoom (percent): its font, every control of the table at its
/// zoomed rectangle (labels moved and sized to their text), its client size zoomed with
/// `clientHeight` (the table's height unless the dialog shows less of it).
void ZoomDialog(QDialog& dialog, const WindowLayout& layout, int zoom, int clientHeight);

/// A font grown with the zoom, in pixels or points as it is given.
QFont ZoomedFont(const QFont& font, int zoom);

/// A rectangle in layout pixels as window pixels at the zoom (its edges zoomed).
QRect ZoomedRect(const QRect& layoutRect, int zoom);

/// What the desktop's style draws at its own size, grown for the whole program: the check box,
/// radio button and combo box indicators, scroll bars and icons (message boxes' too). The
/// program's style takes the zoom the first time it is not 100 %; before, nothing changes.
void ApplyStyleZoom(int zoom);
/// A message box at a zoom (percent): its words, and its icon, which the desktop may have only
/// at its own size.
void ZoomMessageBox(QMessageBox& box, int zoom);
/// A font of the desktop's for a kind of widget ("QMessageBox", "QFileDialog"), grown by the
/// zoom; the desktop's own at 100 %.
QFont DesktopFont(const char* widgetClass, int zoom);
