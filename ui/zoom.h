/// @file zoom.h The window's zoom: the fixed layout at 100, 150 or 200 percent. Lengths of the
/// layout tables become window pixels here and window pixels become layout pixels again (a map
/// click), and the largest zoom a screen has room for is chosen. No Qt here: plain numbers.
#pragma once

#include "ui/window_layouts.h"

/// A length or place of the layout at a zoom in percent, to the nearest window pixel (a half
/// rounds up). Places are scaled, not sizes, so controls that touch at 100 % touch at every zoom.
constexpr int Zoomed(int layoutPixels, int zoom)
{
    const int scaled = layoutPixels * zoom + 50;
    // Rounded down also below zero.
    return scaled >= 0 ? scaled / 100 : -((-scaled + 99) / 100);
}

/// A table rectangle in window pixels: its four edges zoomed.
LayoutRect Zoomed(const LayoutRect& rect, int zoom);

/// The layout pixel under a window pixel: the x whose window pixels, Zoomed(x) up to
/// Zoomed(x + 1) - 1, hold it. A map click at any zoom hits the town the same layout pixel hits
/// at 100 %.
constexpr int Unzoomed(int windowPixels, int zoom)
{
    const int scaled = windowPixels * 100 + 49;
    return scaled >= 0 ? scaled / zoom : -((-scaled + zoom - 1) / zoom);
}

/// A width and height in pixels.
struct PixelSize {
    int Width = 0;
    int Height = 0;
};

/// The zoom the window takes on a screen: the largest step up to `wanted` at which the window
/// fits into `available`, where `zoomedPart` is what grows with the zoom (client area and menu
/// bar at 100 %) and `frame` what does not (the desktop's frame and title bar). 100 when not
/// even that fits.
int FittingZoom(int wanted, PixelSize available, PixelSize zoomedPart, PixelSize frame);
