// Plot, navigation, the graph's mouse and the clipboard copy on series files
// at the edges of the number range: each ends with its message or quietly,
// in bounded time, and the graph area stays a 400 x 300 picture.
#include "app/picture_box.h"
#include "support/extreme_series.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <iostream>

using namespace vendrak;
using namespace vendrak::test;

namespace {

class GraphExtremes : public ::testing::TestWithParam<ExtremeFile> {};

} // namespace

TEST_P(GraphExtremes, PlotAndNavigationEnd)
{
    ExtremeWindow x(GetParam());
    MainWindow& w = x.w;
    x.open();
    x.run("plot", [&] { w.cmdPlot->click(); });

    // Every derivative the selector offers, with each drawing option.
    const bool heavy = GetParam().heavy;
    for (int order = 0; order < w.cboDerivative->count(); ++order) {
        if (heavy && order % 4 != 1)
            continue;
        w.cboDerivative->setCurrentIndex(order);
        x.run("plot of derivative " + std::to_string(order), [&] { w.cmdPlot->click(); });
    }
    w.cboDerivative->setCurrentIndex(0);
    for (QCheckBox* option : {w.chkGrid, w.chkShade, w.chkWindow, w.chkDivisions, w.chkPersist}) {
        if (heavy && option != w.chkShade)
            continue;
        option->setChecked(!option->isChecked());
        x.run("plot with " + option->objectName().toStdString() + " toggled", [&] { w.cmdPlot->click(); });
    }

    // Each navigation button many times in a row: the view runs into the
    // edges of the number range and must stop there with its message.
    for (QPushButton* b : {w.cmdZoomOut, w.cmdZoomIn, w.cmdZoomQ1, w.cmdZoomQ2, w.cmdZoomQ3, w.cmdZoomQ4,
                           w.cmdPanRight, w.cmdPanUp, w.cmdPanLeft, w.cmdPanDown, w.cmdIncWindX, w.cmdDecWindX,
                           w.cmdIncWindY, w.cmdDecWindY}) {
        if (heavy && b != w.cmdZoomOut && b != w.cmdPanLeft)
            continue;
        const int times = heavy ? 1 : 40;
        x.run(b->objectName().toStdString() + " x" + std::to_string(times), [&] {
            for (int i = 0; i < times; ++i)
                b->click();
        });
    }

    // Clicks and moves over the graph, then a copy.
    x.run("clicks on the graph", [&] {
        for (QPoint p : {QPoint(200, 150), QPoint(0, 0), QPoint(399, 299), QPoint(1, 298)}) {
            QTest::mouseClick(w.Picture1, Qt::LeftButton, {}, p);
            if (heavy)
                break;
        }
    });
    x.run("moves over the graph", [&] {
        for (QPointF p : {QPointF(200, 150), QPointF(0, 0), QPointF(399.5, 299.5), QPointF(-5, 400)})
            emit w.Picture1->mouseMove(Qt::NoButton, Qt::NoModifier, p);
    });
    x.run("copy", [&] { w.mnuCopy->trigger(); });

    EXPECT_EQ(w.Picture1->image().size(), QSize(396, 296));
    if (std::getenv("VENDRAK_EXTREMES_LOG"))
        std::cout << x.log;
}

INSTANTIATE_TEST_SUITE_P(Files, GraphExtremes, ::testing::ValuesIn(extremeFiles()), extremeFileName);
