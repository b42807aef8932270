#pragma once
// What a drawing of the graph worked out and leaves for those who look after
// it: the mapping, the division steps and what it plotted. The values a step
// walks while it draws stay inside that step.
#include <QString>

namespace vendrak {

struct GraphWork {
    // Mapping (set at the start of every drawing).
    float PixelX = 0, PixelY = 0;
    float SampleStep = 0;
    float TickLenX = 0, TickLenY = 0;

    // Division steps (those of the labels when they are drawn) and how many
    // divisions a label stands for.
    float DivStepX = 0, DivStepY = 0;
    int LabelEveryX = 0, LabelEveryY = 0;

    // What the drawing plotted: 0 the function, n its n-th derivative.
    int PlottedOrder = 0;
};

} // namespace vendrak
