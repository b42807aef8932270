#include "app/graph_export.h"

#include "app/dialogs.h"

#include "core/graph/graph_image.h"
#include "core/study/whole_file.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace vendrak {

namespace {

const QSizeF kInterior(kGraphAreaWidth - 2 * kGraphAreaBorder, kGraphAreaHeight - 2 * kGraphAreaBorder);

} // namespace

std::optional<ExportTarget> AskExportTarget(Dialogs& dialogs)
{
    const QStringList filters = ExportFilters();
    QString filter = filters.front();
    QString name = dialogs.exportFileName(filters, &filter);
    if (name.isEmpty())
        return std::nullopt;
    name = QFileInfo(name).absoluteFilePath();
    const std::optional<ExportFormat> typed = ExportFormatOf(name);
    const ExportFormat format = typed ? *typed : ExportFormatOfFilter(filter);
    if (!typed)
        name += u'.' + ExportSuffix(format);
    return ExportTarget{name, format};
}

QString WriteGraphExport(const QString& path, ExportFormat format, int scale, const QString& description,
                         const std::function<bool(PainterCanvas&)>& draw)
{
    // The whole file is made in memory first: a failure half-way leaves
    // nothing on disk, and an earlier file of that name stays as it was.
    QBuffer data;
    data.open(QIODevice::WriteOnly);
    bool drawn = false;
    switch (format) {
    case ExportFormat::Png: {
        QImage picture((kInterior * scale).toSize(), QImage::Format_RGB32);
        picture.setDevicePixelRatio(scale);
        {
            ImageCanvas canvas(picture, kGraphAreaBorder);
            drawn = draw(canvas);
        }
        picture.setDevicePixelRatio(1);
        drawn = drawn && QImageWriter(&data, "PNG").write(picture);
        break;
    }
    case ExportFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&data);
        svg.setSize(kInterior.toSize());
        svg.setViewBox(QRectF(QPointF(0, 0), kInterior));
        svg.setResolution(96);
        svg.setTitle(QStringLiteral("Vendrak graph"));
        svg.setDescription(description);
        QPainter painter;
        if (painter.begin(&svg)) {
            PainterCanvas canvas(painter, kInterior, kGraphAreaBorder);
            drawn = draw(canvas);
            painter.end();
        }
        break;
    }
    case ExportFormat::Pdf: {
        QPdfWriter pdf(&data);
        pdf.setCreator(QStringLiteral("Vendrak"));
        pdf.setTitle(QStringLiteral("Vendrak graph"));
        pdf.setResolution(1200);
        // One page the graph's size (96 pixels to the inch), no margins.
        pdf.setPageSize(QPageSize(kInterior * 72.0 / 96.0, QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (painter.begin(&pdf)) {
            PainterCanvas canvas(painter, kInterior, kGraphAreaBorder, QRectF(0, 0, pdf.width(), pdf.height()));
            drawn = draw(canvas);
            drawn = painter.end() && drawn;
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
