// Export graph: the graph shown, drawn afresh into a PNG picture at a chosen
// scale or into an SVG or PDF file as lines, circles and text.
#include "app/main_window.h"

#include "app/picture_box.h"
#include "core/graph/image_canvas.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <array>

namespace vendrak {

namespace {

const QString kTitle = QStringLiteral("Vendrak");

enum class ExportFormat { Png, Svg, Pdf };

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

constexpr std::array<int, 4> kScales{1, 2, 4, 8};

const QSizeF kInterior(PictureBox::kInteriorWidth, PictureBox::kInteriorHeight);

// The typed extension decides; without a known one the chosen filter does,
// and its extension is added to the name.
const FormatEntry& formatFor(QString& name, const QString& filter)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    for (const FormatEntry& f : kFormats)
        if (suffix == QLatin1String(f.suffix))
            return f;
    const FormatEntry* chosen = &kFormats[0];
    for (const FormatEntry& f : kFormats)
        if (filter == QLatin1String(f.filter))
            chosen = &f;
    name += u'.' + QLatin1String(chosen->suffix);
    return *chosen;
}

} // namespace

void MainWindow::mnuExport_Click()
{
    if (DrawingGraph || !Picture1)
        return;
    if (!dim_.GraphShown) {
        dialogs_.message(kTitle, QStringLiteral("There is no graph to export: plot one first."),
                         Dialogs::Icon::Information);
        return;
    }
    QStringList filters;
    for (const FormatEntry& f : kFormats)
        filters << QLatin1String(f.filter);
    QString filter = filters.front();
    QString name = dialogs_.exportFileName(filters, &filter);
    if (name.isEmpty())
        return;
    name = QFileInfo(name).absoluteFilePath();
    const ExportFormat format = formatFor(name, filter).format;

    int scale = 1;
    if (format == ExportFormat::Png) {
        QStringList items;
        for (int s : kScales)
            items << QStringLiteral("%1\u00d7 (%2 \u00d7 %3 pixels)")
                         .arg(s)
                         .arg(PictureBox::kInteriorWidth * s)
                         .arg(PictureBox::kInteriorHeight * s);
        const int chosen = dialogs_.chooseItem(kTitle, QStringLiteral("Size of the picture:"), items, 0);
        if (chosen < 0 || chosen >= static_cast<int>(kScales.size()))
            return;
        scale = kScales[static_cast<std::size_t>(chosen)];
    }

    // The whole file is made in memory first: a failure half-way leaves
    // nothing on disk, and an earlier file of that name stays as it was.
    QBuffer data;
    data.open(QIODevice::WriteOnly);
    bool drawn = false;
    const QColor background = PictureBox::background();
    switch (format) {
    case ExportFormat::Png: {
        QImage picture((kInterior * scale).toSize(), QImage::Format_RGB32);
        picture.setDevicePixelRatio(scale);
        {
            ImageCanvas canvas(picture, PictureBox::kBorder);
            drawn = drawShownGraph(canvas, background);
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
        svg.setDescription(QFileInfo(dim_.FileName).fileName());
        QPainter painter;
        if (painter.begin(&svg)) {
            PainterCanvas canvas(painter, kInterior, PictureBox::kBorder);
            drawn = drawShownGraph(canvas, background);
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
        pdf.setPageSize(QPageSize(kInterior * 72.0 / 96.0, QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (painter.begin(&pdf)) {
            PainterCanvas canvas(painter, kInterior, PictureBox::kBorder,
                                 QRectF(0, 0, pdf.width(), pdf.height()));
            drawn = drawShownGraph(canvas, background);
            drawn = painter.end() && drawn;
        }
        break;
    }
    }
    data.close();

    QString why = QStringLiteral("the picture could not be made");
    if (drawn) {
        QSaveFile out(name);
        if (out.open(QIODevice::WriteOnly) && out.write(data.data()) == data.size() && out.flush()
            && out.commit())
            return;
        why = out.errorString();
        out.cancelWriting();
    }
    dialogs_.message(kTitle,
                     QStringLiteral("The graph could not be exported to %1: %2")
                         .arg(QDir::toNativeSeparators(name), why),
                     Dialogs::Icon::Warning);
}

} // namespace vendrak
