#pragma once
// Working values of the graph: set while a graph is drawn or the view is
// changed, and of no meaning outside that step. Kept together so tests and
// the window can look at what the last drawing used.
#include <QString>

namespace vendrak {

struct GraphWork {
    // Mapping (set at the start of every drawing).
    float PixelX = 0;
    float PixelY = 0;
    float SampleStep = 0;
    float TickLenX = 0;
    float TickLenY = 0;

    // Ticks and division labels.
    float DivStepX = 0;
    float DivStepY = 0;
    float MarkX = 0;
    float MarkY = 0;
    int LabelEveryX = 0;
    int LabelEveryY = 0;
    long long LabelCount = 0;
    QString LabelFormat;
    int LabelFontHeight = 0;
    int LabelFontWidth = 0;

    // Window labels and the origin mark.
    float WindowMidX = 0;
    float WindowMidY = 0;
    float OriginMarkRadius = 0;

    // What the last drawing plotted: 0 the function, n its n-th derivative.
    int PlottedOrder = 0;

    // Curve, shading and markers.
    unsigned DrawColour = 0;
    double WorkX = 0;
    double PlotY = 0;
};

} // namespace vendrak
