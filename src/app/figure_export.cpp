#include "app/figure_export.h"

#include "core/study/whole_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

namespace vendrak {

namespace {

// Text of 10 points on a page figure; a bitmap is laid out as if it were
// 800 pixels wide and scaled up, so its text keeps that share of the width.
constexpr double kPageFontPoints = 10;
constexpr double kBitmapLayoutWidth = 800;
constexpr double kBitmapFontPixels = 13;

} // namespace

QString WriteFigureFile(const QString& path, ExportFormat format, const QSize& size, const FigureInput& input)
{
    if (const QString why = FigureSizeProblem(format, size); !why.isEmpty())
        return why;
    if (const QString why = FigureProblem(input); !why.isEmpty())
        return why;
    QBuffer data;
    data.open(QIODevice::WriteOnly);
    bool drawn = false;
    switch (format) {
    case ExportFormat::Png: {
        QImage picture(size, QImage::Format_RGB32);
        const double scale = std::max(1.0, size.width() / kBitmapLayoutWidth);
        picture.setDevicePixelRatio(scale);
        QPainter painter;
        if (painter.begin(&picture)) {
            PaintFigure(painter, input, QSizeF(size) / scale, FigureStyle::Print(kBitmapFontPixels));
            drawn = painter.end();
        }
        picture.setDevicePixelRatio(1);
        drawn = drawn && QImageWriter(&data, "PNG").write(picture);
        break;
    }
    case ExportFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&data);
        svg.setSize(size);
        svg.setViewBox(QRectF(QPointF(0, 0), QSizeF(size)));
        svg.setResolution(72);
        svg.setTitle(input.title.isEmpty() ? QStringLiteral("Vendrak figure") : input.title);
        svg.setDescription(QStringLiteral("Vendrak figure"));
        QPainter painter;
        if (painter.begin(&svg)) {
            PaintFigure(painter, input, QSizeF(size), FigureStyle::Print(kPageFontPoints));
            drawn = painter.end();
        }
        break;
    }
    case ExportFormat::Pdf: {
        QPdfWriter pdf(&data);
        pdf.setCreator(QStringLiteral("Vendrak"));
        pdf.setTitle(input.title);
        pdf.setResolution(1200);
        pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (painter.begin(&pdf)) {
            // One unit a point.
            painter.scale(pdf.width() / static_cast<double>(size.width()), pdf.height() / static_cast<double>(size.height()));
            PaintFigure(painter, input, QSizeF(size), FigureStyle::Print(kPageFontPoints));
            drawn = painter.end();
        }
        break;
    }
    }
    data.close();
    if (!drawn)
        return QStringLiteral("the picture could not be made");
    return WriteWholeFile(path, data.data());
}

} // namespace vendrak
