// The View menu and the wheel over the graph: fit the y-window to the curve,
// step back and forward through the windows drawn, zoom about the pointer.
// Each writes the four window fields and presses Plot, as navigation does.
#include "app/main_window.h"

#include "app/picture_box.h"
#include "core/graph/navigation.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QAction>
#include <QLineEdit>

#include <array>
#include <cmath>

namespace vendrak {

namespace {

const QString kTitle = QStringLiteral("Vendrak");

} // namespace

void MainWindow::showWindowTexts(const QStringList& texts)
{
    plotSetupFrame->showWindow(texts);
    cmdPlot_Click();
}

void MainWindow::recordShownView()
{
    const QStringList texts = plotSetupFrame->windowTexts();
    // Back and Forward move through the history; they do not add to it.
    if (!steppingHistory_ && (viewHistory_.empty() || viewHistory_[viewAt_] != texts)) {
        if (!viewHistory_.empty())
            viewHistory_.erase(viewHistory_.begin() + static_cast<std::ptrdiff_t>(viewAt_) + 1, viewHistory_.end());
        viewHistory_.push_back(texts);
        viewAt_ = viewHistory_.size() - 1;
    }
    updateViewHistoryItems();
}

void MainWindow::updateViewHistoryItems()
{
    if (mnuBack)
        mnuBack->setEnabled(viewAt_ > 0);
    if (mnuForward)
        mnuForward->setEnabled(viewAt_ + 1 < viewHistory_.size());
}

void MainWindow::stepViewHistory(int direction)
{
    if (DrawingGraph || viewHistory_.empty())
        return;
    const std::size_t to = viewAt_ + static_cast<std::size_t>(direction);
    if ((direction < 0 && viewAt_ == 0) || to >= viewHistory_.size())
        return;
    steppingHistory_ = true;
    showWindowTexts(viewHistory_[to]);
    steppingHistory_ = false;
    // A window that no longer draws (other settings changed) leaves the
    // place in the history where it was.
    if (dim_.window.GraphShown)
        viewAt_ = to;
    updateViewHistoryItems();
}

void MainWindow::mnuBack_Click() { stepViewHistory(-1); }
void MainWindow::mnuForward_Click() { stepViewHistory(+1); }

void MainWindow::mnuFitY_Click()
{
    if (DrawingGraph)
        return;
    if (!dim_.window.GraphShown)
        cmdPlot_Click(); // the window as the fields give it, or the plot's own message
    if (!dim_.window.GraphShown)
        return;
    const std::optional<YRange> y = FitYLimits(dim_.series, graphWork.PlottedOrder, dim_.plot.WindowLX, dim_.plot.WindowGX,
                                               dim_.plot.PlotStep, Picture1->canvas().outerWidth());
    if (!y) {
        dialogs_.message(kTitle, QStringLiteral("No value of the curve could be computed in this window."),
                         Dialogs::Icon::Information);
        return;
    }
    QString low, high;
    try {
        low = NumberText(toSingle(y->low));
        high = NumberText(toSingle(y->high));
    } catch (const Error&) {
        dialogs_.message(kTitle, kViewRangeMessage, Dialogs::Icon::Warning);
        return;
    }
    const QStringList shown = plotSetupFrame->windowTexts();
    showWindowTexts({shown[0], shown[1], low, high});
}

void MainWindow::Picture1_Wheel(int notches, QPointF pixel)
{
    if (DrawingGraph || !dim_.window.GraphShown || notches == 0)
        return;
    const QPointF at = Picture1->toUser(pixel);
    ViewLimits v;
    try {
        v = ZoomAboutLimits(dim_.plot, toSingle(at.x()), toSingle(at.y()), std::pow(notches > 0 ? 0.5 : 2.0, std::abs(notches)));
    } catch (const Error&) {
        dialogs_.message(kTitle, kViewRangeMessage, Dialogs::Icon::Warning);
        return;
    }
    const QString problem = navigationProblem(v);
    if (!problem.isEmpty()) {
        dialogs_.message(kTitle, problem, Dialogs::Icon::Warning);
        return;
    }
    showView(v);
}

} // namespace vendrak
