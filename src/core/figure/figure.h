#pragma once
// A figure of the study for handouts and papers: the function and the
// derivatives asked for, on axes with round tick values written upright, a
// title, axis titles, a legend, the study interval, the roots and extrema
// found, and the area under the function shaded. Drawn through a QPainter, so
// the same figure goes to the screen, a bitmap, SVG or PDF (text as text).
//
// Everything is in the painter's logical units: pixels on screen, points in
// SVG and PDF. The figure reads nothing but its input.
#include "core/study/dimension.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;

namespace vendrak {

constexpr int kFigureMaxOrder = 9;

struct FigureMark {
    enum class Kind { Root, Maximum, Minimum } kind = Kind::Root;
    double x = 0;
    bool proven = false; // held in an interval Verify proved
};

// Everything one figure shows.
struct FigureInput {
    Series series;
    double xLow = -1, xHigh = 1, yLow = -1, yHigh = 1; // the plot window
    std::vector<int> orders{0};  // distinct derivative orders 0..9, in legend order
    bool fitY = false;           // y from the curves instead of the window
    bool shade = false;          // the function's area over the study interval
    bool hasInterval = false;
    double intervalLow = 0, intervalHigh = 0;
    std::vector<FigureMark> marks; // on the function's curve
    QString title;
};

// Colours, pens and font of one rendering.
struct FigureStyle {
    QColor background, text, frame, grid, shade, interval;
    std::vector<QColor> curves; // by position in the legend, repeated when short
    QColor mark, provenMark;
    QFont font;                 // tick values; titles are drawn a little larger
    qreal line = 1;             // the width of a thin line

    // Black on white with dash patterns for the curves: what is printed.
    static FigureStyle Print(qreal fontPixels);
    // From the palette and font the application uses on screen.
    static FigureStyle Screen(const QPalette& palette, const QFont& font);
};

// Where each part of the figure goes for one size and font.
struct FigureLayout {
    QRectF plot;                       // the axes' frame
    double xLow = 0, xHigh = 1, yLow = 0, yHigh = 1; // the range drawn
    double xStep = 0, yStep = 0;       // between ticks
    std::vector<double> xTicks, yTicks;
    QStringList xTexts, yTexts;
    std::vector<QRectF> xTextRects, yTextRects;
    QRectF titleRect, xTitleRect, yTitleRect;
    QString title;                     // elided to its room
    QString problem;                   // why nothing but this text is drawn
};

// The smallest step of 1, 2 or 5 times a power of ten that is at least
// `least` (positive and finite).
double NiceStepAtLeast(double least);
// Ticks at the multiples of `step` in [low, high] and their texts, written
// with as many decimals as the step needs and a true minus sign; on an axis
// whose `largest` magnitude is very large or very small, all in exponent form.
std::vector<double> TickValues(double low, double high, double step);
QString TickText(double value, double step, double largest);

// "f", "f′", "f″", "f‴", "f⁽⁴⁾" … "f⁽⁹⁾".
QString OrderName(int order);

// The y range the curves take over the window, widened by 5 % a side; the
// window's when no curve has a value there.
void FitYRange(const FigureInput& input, double& low, double& high);

// Why the input cannot be drawn (an empty or reversed window, a number out
// of range, an order outside 0..9); empty when it can.
QString FigureProblem(const FigureInput& input);

FigureLayout LayoutFigure(const FigureInput& input, const QSizeF& size, const QFont& font);

// Paints the whole figure into the rectangle (0, 0, size) of the painter.
void PaintFigure(QPainter& painter, const FigureInput& input, const QSizeF& size, const FigureStyle& style);

} // namespace vendrak
