// Export graph: the graph shown, drawn afresh into a PNG picture at a chosen
// scale or into an SVG or PDF file as lines, circles and text.
#include "app/main_window.h"

#include "app/graph_export.h"
#include "app/picture_box.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace vendrak {

namespace {

const QString kTitle = QStringLiteral("Vendrak");

constexpr std::array<int, 4> kScales{1, 2, 4, 8};

} // namespace

void MainWindow::mnuExport_Click()
{
    if (DrawingGraph || !Picture1)
        return;
    if (!dim_.window.GraphShown) {
        dialogs_.message(kTitle, QStringLiteral("There is no graph to export: plot one first."),
                         Dialogs::Icon::Information);
        return;
    }
    const std::optional<ExportTarget> target = AskExportTarget(dialogs_);
    if (!target)
        return;
    const auto& [name, format] = *target;

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

    const QColor background = PictureBox::background();
    const QString why = WriteGraphExport(name, format, scale, QFileInfo(dim_.window.FileName).fileName(),
                                         [&](PainterCanvas& canvas) { return drawShownGraph(canvas, background); });
    if (!why.isEmpty())
        dialogs_.message(kTitle,
                         QStringLiteral("The graph could not be exported to %1: %2")
                             .arg(QDir::toNativeSeparators(name), why),
                         Dialogs::Icon::Warning);
}

} // namespace vendrak
