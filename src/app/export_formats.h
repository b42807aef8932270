#pragma once
// The file formats the graph and the figure are written in, and the figure's
// sizes: what the command line checks before anything is drawn, with no
// drawing of its own.
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace vendrak {

enum class ExportFormat { Png, Svg, Pdf };

// The file-dialog filters, in the order of the formats.
QStringList ExportFilters();
// The format a file name's extension names, if any.
std::optional<ExportFormat> ExportFormatOf(const QString& path);
// The format of a filter from ExportFilters(), PNG when it is none of them.
ExportFormat ExportFormatOfFilter(const QString& filter);
// The extension of a format, without the point.
QString ExportSuffix(ExportFormat format);

// The sizes offered first: pixels for PNG, points for SVG and PDF.
QSize DefaultFigureSize(ExportFormat format);
// Sizes beyond these are refused: a figure is a page or a screen, not a poster.
constexpr int kFigureMinSide = 50;
constexpr int kFigureMaxPixels = 10000;
constexpr int kFigureMaxPoints = 5000;
// Why the size cannot be made in the format, empty when it can.
QString FigureSizeProblem(ExportFormat format, const QSize& size);

} // namespace vendrak
