#pragma once
// The figure written to a file: PNG at a size in pixels, SVG and PDF at a
// size in points with text as text; black on white whatever the screen shows.
#include "app/graph_export.h"
#include "core/figure/figure.h"

#include <QSize>
#include <QString>

namespace vendrak {

// Writes the figure; empty when written, otherwise why not. A failure leaves
// an earlier file of that name as it was.
QString WriteFigureFile(const QString& path, ExportFormat format, const QSize& size, const FigureInput& input);

} // namespace vendrak
