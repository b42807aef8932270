// Print: the study as a report on the printer, graph first.
#include "core/report/line_printer.h"
#include "core/report/report_body.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "core/graph/image_canvas.h"

#include <QLineEdit>
#include <QPrinter>

namespace vendrak {

void MainWindow::mnuPrint_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    // Nothing is printed when the user changes their mind in the dialog.
    if (!dialogs_.printerSetup(printer))
        return;

    LinePrinter out(printer);
    if (!out.isActive()) {
        const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        dialogs_.message(QStringLiteral("Vendrak"),
                         QStringLiteral("The report could not be printed: %1 could not be opened.")
                             .arg(where.isEmpty() ? QStringLiteral("no printer") : where),
                         Dialogs::Icon::Warning);
        return;
    }
    dim_.window.SavedPrinterFont = out.fontName();
    out.setFontName(QStringLiteral("Courier New"));

    if (dim_.window.GraphShown) {
        // The graph as shown; taking it also sets the derivative order to the
        // one that graph plots, so the title names what is on the page.
        takeShownOrder();
        const QImage picture = graphImage();
        // Drawn afresh at the printer's resolution, in the place and size
        // the picture takes; the picture itself only if that cannot be done.
        bool drawn = false;
        out.drawPicture(picture.size(), 0, 0, [&](QPainter& painter, const QRectF& where) {
            PainterCanvas canvas(painter, picture.size(), PictureBox::kBorder, where);
            drawn = drawShownGraph(canvas, PictureBox::background());
        });
        if (!drawn)
            out.drawImage(picture, 0, 0);
        out.setCurrentY(4500);
        out.printLine(ReportTitle(dim_.study.DerivOrder));
    }

    const StudySpecTexts study = studySpecsFrame->texts();
    const PlotSetupTexts plot = plotSetupFrame->texts();
    const ReportTexts texts{txtEquation->text(), study.xlower, study.xupper,   study.subintervals,
                            study.maxcy,         study.error,  plot.xorigin,   plot.yorigin,
                            plot.divx,           plot.divy,    plot.windowlx,  plot.windowgx,
                            plot.windowly,       plot.windowgy};
    for (const ReportLine& line : ReportBody(dim_.series, dim_.study, dim_.results, texts)) {
        if (line.redTail.isEmpty()) {
            out.printLine(line.text);
            continue;
        }
        out.printText(line.text);
        out.setTextColor(Qt::red);
        out.printLine(line.redTail);
        out.setTextColor(Qt::black);
    }
    const bool sent = out.end();
    out.setFontName(dim_.window.SavedPrinterFont);
    if (!sent)
        dialogs_.message(QStringLiteral("Vendrak"), QStringLiteral("The report could not be printed: the printer reported a failure."),
                         Dialogs::Icon::Warning);
}

} // namespace vendrak
