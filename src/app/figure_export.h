#pragma once
// The figure written to a file: PNG at a size in pixels, SVG and PDF at a
// size in points with text as text; black on white whatever the screen shows.
#include "app/graph_export.h"
#include "core/figure/figure.h"

#include <QSize>
#include <QString>

namespace vendrak {

// The sizes offered first: pixels for PNG, points for SVG and PDF.
QSize DefaultFigureSize(ExportFormat format);
// Sizes beyond these are refused: a figure is a page or a screen, not a poster.
constexpr int kFigureMinSide = 50;
constexpr int kFigureMaxPixels = 10000;
constexpr int kFigureMaxPoints = 5000;
// Why the size cannot be made in the format, empty when it can.
QString FigureSizeProblem(ExportFormat format, const QSize& size);

// Writes the figure; empty when written, otherwise why not. A failure leaves
// an earlier file of that name as it was.
QString WriteFigureFile(const QString& path, ExportFormat format, const QSize& size, const FigureInput& input);

} // namespace vendrak
