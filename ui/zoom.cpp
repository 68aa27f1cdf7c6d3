/// @file zoom.cpp The layout's lengths at a zoom, and the zoom a screen has room for.
#include "ui/zoom.h"

#include "persistence/settings.h"

LayoutRect Zoomed(const LayoutRect& rect, int zoom)
{
    const int left = Zoomed(rect.X, zoom);
    const int top = Zoomed(rect.Y, zoom);
    return {left, top, Zoomed(rect.X + rect.Width, zoom) - left, Zoomed(rect.Y + rect.Height, zoom) - top};
}

int FittingZoom(int wanted, PixelSize available, PixelSize zoomedPart, PixelSize frame)
{
    int chosen = kZoomSteps[0];
    for (const int step : kZoomSteps) {
        if (step > wanted)
            break;
        const bool fits = Zoomed(zoomedPart.Width, step) + frame.Width <= available.Width &&
                          Zoomed(zoomedPart.Height, step) + frame.Height <= available.Height;
        if (fits)
            chosen = step;
    }
    return chosen;
}
