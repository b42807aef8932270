#include "app/export_formats.h"

#include <QFileInfo>

#include <array>

namespace vendrak {

namespace {

struct FormatEntry {
    ExportFormat format;
    const char* suffix;
    const char* filter;
};

constexpr std::array<FormatEntry, 3> kFormats{{
    {ExportFormat::Png, "png", "PNG image (*.png)"},
    {ExportFormat::Svg, "svg", "SVG image (*.svg)"},
    {ExportFormat::Pdf, "pdf", "PDF document (*.pdf)"},
}};

} // namespace

QStringList ExportFilters()
{
    QStringList filters;
    for (const FormatEntry& f : kFormats)
        filters << QLatin1String(f.filter);
    return filters;
}

std::optional<ExportFormat> ExportFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FormatEntry& f : kFormats)
        if (suffix == QLatin1String(f.suffix))
            return f.format;
    return std::nullopt;
}

ExportFormat ExportFormatOfFilter(const QString& filter)
{
    for (const FormatEntry& f : kFormats)
        if (filter == QLatin1String(f.filter))
            return f.format;
    return ExportFormat::Png;
}

QString ExportSuffix(ExportFormat format)
{
    for (const FormatEntry& f : kFormats)
        if (f.format == format)
            return QLatin1String(f.suffix);
    return {};
}

QSize DefaultFigureSize(ExportFormat format)
{
    return format == ExportFormat::Png ? QSize(1600, 1000) : QSize(460, 290);
}

QString FigureSizeProblem(ExportFormat format, const QSize& size)
{
    const int most = format == ExportFormat::Png ? kFigureMaxPixels : kFigureMaxPoints;
    if (size.width() < kFigureMinSide || size.height() < kFigureMinSide || size.width() > most ||
        size.height() > most)
        return QStringLiteral("the size must be between %1 and %2 %3 a side")
            .arg(kFigureMinSide)
            .arg(most)
            .arg(format == ExportFormat::Png ? QStringLiteral("pixels") : QStringLiteral("points"));
    return {};
}

} // namespace vendrak
