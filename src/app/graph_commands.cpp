// The window side of the graph: the Plot command, the view navigation, the
// graph area's mouse and the copy to the clipboard.
#include "app/main_window.h"

#include "core/graph/graph_drawing.h"
#include "core/graph/graph_image.h"
#include "core/graph/navigation.h"
#include "app/figure_window.h"
#include "app/picture_box.h"
#include "app/busy_cursor.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace vendrak {

namespace {

const QString kTitle = QStringLiteral("Vendrak");

// A message shown with the normal pointer, the busy one put back after it.
void showWithoutBusyPointer(Dialogs& dialogs, const QString& text)
{
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::restoreOverrideCursor();
    dialogs.message(kTitle, text, Dialogs::Icon::Warning);
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

// Clears the flag when the drawing ends, however it ends.
struct DrawingFlag {
    explicit DrawingFlag(bool& flag)
        : flag_(flag)
    {
        flag_ = true;
    }
    ~DrawingFlag() { flag_ = false; }
    DrawingFlag(const DrawingFlag&) = delete;
    DrawingFlag& operator=(const DrawingFlag&) = delete;

private:
    bool& flag_;
};

} // namespace

struct MainWindow::ShownGraph {
    Dimension dim;          // as the drawing began: the steps change some of it
    GraphOptions options;
    Colour fore = colours::InitialFore; // the canvas's drawing colour, which the curve's first point takes
};

// ---------------------------------------------------------------- Plot

void MainWindow::cmdPlot_Click()
{
    if (DrawingGraph)
        return;
    BusyCursor busy;
    InvalidateGraph();
    dim_.window.GraphShown = true;
    try {
        ReadPlotSpecs();
    } catch (const Error&) {
        dim_.window.GraphShown = false;
        busy.release();
        dialogs_.message(kTitle, kPlotNumberMessage, Dialogs::Icon::Warning);
        return;
    }
    if (!Picture1)
        return;
    Picture1->setAutoRedraw(plotSetupFrame->persistChecked());
    const QString problem = plotSettingsProblem(dim_.plot, Picture1->canvas().outerWidth(),
                                                Picture1->canvas().outerHeight());
    if (!problem.isEmpty()) {
        dim_.window.GraphShown = false;
        busy.release();
        dialogs_.message(kTitle, problem, Dialogs::Icon::Warning);
        return;
    }
    DrawGraph();
}

void MainWindow::ReadPlotSpecs()
{
    const PlotSetupTexts p = plotSetupFrame->texts();
    const StudySettingsTexts t{{},         {},         {},         {},        {},        p.windowlx, p.windowgx,
                               p.windowly, p.windowgy, p.plotStep, p.xorigin, p.yorigin, p.divx,     p.divy};
    dim_.plot = ReadPlotSpecsFrom(t, plotSetupFrame->gridChecked());
}

void MainWindow::InvalidateGraph()
{
    if (DrawingGraph) {
        // The picture is still being drawn; it is blanked when the drawing ends.
        graphInvalidatedWhileDrawing_ = true;
        return;
    }
    if (Picture1)
        Picture1->clearPicture();
    dim_.window.GraphShown = false;
    shownGraph_.reset();
}

void MainWindow::DrawGraph()
{
    if (DrawingGraph || !Picture1)
        return;
    bool refused = false;
    {
        DrawingFlag drawing(DrawingGraph);
        graphInvalidatedWhileDrawing_ = false;
        dim_.errors.ScriptMath.ierr = 0;
        try {
            ReadStudySpecs();
        } catch (const Error&) {
            refused = true;
        }
        Canvas& canvas = Picture1->surface();
        const QString problem =
            refused ? kStudyNumberMessage
                    : plotSettingsProblem(dim_.plot, canvas.outerWidth(), canvas.outerHeight());
        if (!problem.isEmpty()) {
            refused = true;
            dim_.window.GraphShown = false;
            Picture1->clearPicture();
            showWithoutBusyPointer(dialogs_, problem);
        } else {
            const GraphOptions options = plotSetupFrame->graphOptions();
            shownGraph_ = std::make_shared<const ShownGraph>(
                ShownGraph{dim_, options, canvas.foreColour()});
            QPointer<MainWindow> self(this);
            GraphDrawing drawingSteps(dim_.series, dim_.study, dim_.plot, canvas);
            drawingSteps.setScriptErrors([this] { return std::exchange(dim_.errors.ScriptMath.ierr, 0); });
            drawingSteps.draw(options, [&] {
                Picture1->update();
                DoEvents();
                return !self.isNull();
            });
            if (self.isNull())
                return;
            dim_.errors.ierr = drawingSteps.ierr();
            graphWork = drawingSteps.work();
            Picture1->update();
        }
    }
    if (graphInvalidatedWhileDrawing_) {
        graphInvalidatedWhileDrawing_ = false;
        InvalidateGraph();
    } else if (!refused && dim_.window.GraphShown) {
        recordShownView();
        if (figureWindow && shownGraph_)
            figureWindow->showStudy(shownGraph_->dim, shownGraph_->options.shade);
    }
}

QImage MainWindow::graphImage() const
{
    if (!Picture1)
        return {};
    Picture1->canvas().flush();
    return Picture1->image().copy();
}

// Taking the graph (to copy, save or print it) reads the study as drawing it
// does: the derivative order becomes the one the graph plots, which the
// report's title names.
void MainWindow::takeShownOrder()
{
    if (dim_.window.GraphShown)
        dim_.study.DerivOrder = graphWork.PlottedOrder;
}

bool MainWindow::drawShownGraph(PainterCanvas& canvas, const QColor& background)
{
    if (!dim_.window.GraphShown || !shownGraph_)
        return false;
    // The graph on show, with the settings the Plot that drew it read.
    const std::shared_ptr<const ShownGraph> shown = shownGraph_;
    canvas.fillBackground(background);
    canvas.setForeColour(shown->fore);
    GraphDrawing steps(shown->dim.series, shown->dim.study, shown->dim.plot, canvas);
    const bool drawn = steps.draw(shown->options);
    canvas.flush();
    return drawn;
}

// ---------------------------------------------------------------- derivative chooser

void MainWindow::cboDerivative_GotFocus()
{
    if (!cboDerivative)
        return;
    try {
        dim_.study.DerivOrder = LeadingInt32(cboDerivative->currentText());
    } catch (const Error&) {
        // Only the ten entries can be chosen; nothing else reaches here.
    }
}

void MainWindow::cboDerivative_LostFocus()
{
    if (!cboDerivative)
        return;
    double order = 0;
    try {
        order = LeadingNumber(cboDerivative->currentText());
    } catch (const Error&) {
        InvalidateGraph();
        return;
    }
    if (order != dim_.study.DerivOrder)
        InvalidateGraph();
}

// ---------------------------------------------------------------- Navigation

// Navigation never draws: it writes the new window into the four fields, in
// their order, and presses Plot.
void MainWindow::showView(const ViewLimits& v)
{
    showWindowTexts({NumberText(v.lx), NumberText(v.gx), NumberText(v.ly), NumberText(v.gy)});
}

// Why the plot would refuse the window a navigation step leads to, judged
// before any field is written: once written, a window that cannot be drawn
// would be the starting point of every later step, and halving a window of
// underflowed limits leads only to zeros. The limits are judged as the plot
// will read them back from the field texts (seven digits can make two
// different limits equal). The other plot settings are not the step's
// doing; the plot judges them when it runs.
QString MainWindow::navigationProblem(const ViewLimits& v) const
{
    const MainWindow& w = *this;
    if (!w.Picture1)
        return {};
    PlotSetup trial;
    try {
        std::tie(trial.WindowLX, trial.WindowGX, trial.WindowLY, trial.WindowGY) = asTuple(ShownView(v));
    } catch (const Error&) {
        return kViewRangeMessage;
    }
    trial.DivX = trial.DivY = 1;
    trial.PlotStep = 1;
    try {
        trial.PlotStep = std::max(1, LeadingInt32(plotSetupFrame->texts().plotStep));
    } catch (const Error&) {
    }
    return plotSettingsProblem(trial, w.Picture1->canvas().outerWidth(),
                               w.Picture1->canvas().outerHeight());
}

void MainWindow::ChangeView(ViewAction action)
{
    if (DrawingGraph)
        return;
    ViewLimits v;
    ViewLimits read;
    QString problem;
    try {
        const QStringList limits = plotSetupFrame->windowTexts();
        v = ChangeViewLimits(ReadView(limits[0], limits[1], limits[2], limits[3]), action);
        problem = navigationProblem(v);
        read = ShownView(v);
    } catch (const Error&) {
        problem = kViewRangeMessage;
    }
    if (!problem.isEmpty()) {
        // The graph on show and the window a click centres from stay those
        // of the last window drawn.
        dialogs_.message(kTitle, problem, Dialogs::Icon::Warning);
        return;
    }
    // The window as Plot will read it back from the fields.
    std::tie(dim_.plot.WindowLX, dim_.plot.WindowGX, dim_.plot.WindowLY, dim_.plot.WindowGY) = asTuple(read);
    showView(v);
}

void MainWindow::Picture1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPointF pixel)
{
    if (DrawingGraph || !Picture1)
        return;
    const QPointF at = Picture1->toUser(pixel);
    ViewLimits v;
    try {
        v = CentreOnClickLimits(dim_.plot, toSingle(at.x()), toSingle(at.y()));
    } catch (const Error&) {
        dialogs_.message(kTitle, kViewRangeMessage, Dialogs::Icon::Warning);
        return;
    }
    showView(v);
}

void MainWindow::Picture1_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPointF pixel)
{
    if (!Picture1)
        return;
    const QPointF at = Picture1->toUser(pixel);
    const QString tip = CoordinateTip(single(at.x()), single(at.y()));
    Picture1->setToolTip(tip);
    // A tip already showing follows the pointer instead of keeping the old text.
    if (QToolTip::isVisible())
        QToolTip::showText(QCursor::pos(), tip, Picture1);
}

// ---------------------------------------------------------------- Clipboard

void MainWindow::mnuCopy_Click()
{
    if (DrawingGraph || !Picture1)
        return;
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        takeShownOrder();
        clipboard->setImage(graphImage());
    }
}

} // namespace vendrak
