// Roots and Extrema run away from the window's thread: a long scan shows a
// progress dialog whose Cancel leaves the window as if the command had not run.
#include "app/verify_dialog.h"
#include "support/shown_window.h"

#include <QClipboard>
#include <functional>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>
#include <gtest/gtest.h>
#include <cmath>
#include <iostream>
#include <tuple>

namespace vendrak {
namespace {

TEST(Scans, FinishedScanListsAsBeforeAndCancelledOneLeavesNothing)
{
    test::ShownWindow t;
    t.open(test::example(QStringLiteral("sine_taylor.txt")));
    t.button("cmdRoots")->click();
    const QStringList roots = test::items(t.list("lstRoots"));
    EXPECT_EQ(roots.size(), 5);
    EXPECT_EQ(t.label("lblRoots")->text(), QStringLiteral("5 roots"));
    const Dimension before = t.dim;
    // A long series: 5,000 harmonics, each grid point thousands of terms.
    std::tie(t.dim.series.Kind, t.dim.series.TermCount, t.dim.series.Period) = std::tuple(SeriesKind::Trigonometric, 10000, 2 * M_PI);
    t.dim.series.Coeffs.assign(10001, 0.0);
    for (size_t k = 0; k < t.dim.series.Coeffs.size(); ++k)
        t.dim.series.Coeffs[k] = 1.0 / double(k + 1);

    struct Case {
        std::function<void()> command;
        QListWidget* list;
        QLabel* label;
        QString dialogText;
        bool escape; // Esc instead of the Cancel button
    };
    const auto click = [](QPushButton* b) { return [b] { b->click(); }; };
    for (const Case& c : {Case{click(t.button("cmdRoots")), t.list("lstRoots"), t.label("lblRoots"), QStringLiteral("Finding roots…"), false},
                          Case{click(t.button("cmdExtrema")), t.list("lstExtrema"), t.label("lblExtrema"), QStringLiteral("Finding extrema…"), true},
                          Case{[&] { t.action("mnuVerifyRoots")->trigger(); }, t.list("lstRoots"), t.label("lblRoots"),
                               QStringLiteral("Verifying roots and extrema…"), false}}) {
        SCOPED_TRACE(c.dialogText.toStdString());
        t.field("txtSubintervals")->setText(QStringLiteral("16777216")); // 2^24
        const Dimension kept = t.dim; // what the edit left; the scan may not change it
        QElapsedTimer clock;
        qint64 shownAt = -1;
        qint64 cancelledAt = -1;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || cancelledAt >= 0)
                return;
            shownAt = clock.elapsed();
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Vendrak"));
            EXPECT_EQ(dialog->labelText(), c.dialogText);
            EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
            // The hourglass goes once the dialog can be answered.
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);
            cancelledAt = clock.elapsed();
            if (c.escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->findChild<QPushButton*>()->click();
        });
        poll.start(20);
        clock.start();
        c.command();
        const qint64 returnedAt = clock.elapsed();
        poll.stop();

        ASSERT_GE(cancelledAt, 0);
        EXPECT_GE(shownAt, 450);
        EXPECT_LT(shownAt, 1500) << "the dialog comes within about a second";
        EXPECT_LT(returnedAt - cancelledAt, 200) << "Cancel ends the scan and the window answers at once";
        std::cout << c.dialogText.toStdString() << " shown after " << shownAt << " ms, ended "
                  << returnedAt - cancelledAt << " ms after Cancel\n";
        EXPECT_EQ(c.list->count(), 0);
        EXPECT_EQ(c.label->text(), QString());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(std::tie(t.dim.study.Subintervals, t.dim.results.Roots, t.dim.results.Minima, t.dim.results.Maxima),
                  std::tie(kept.study.Subintervals, kept.results.Roots, kept.results.Minima, kept.results.Maxima));
    }

    // The window takes the next command at once and lists as before.
    std::tie(t.dim.series.Kind, t.dim.series.TermCount, t.dim.series.Period, t.dim.series.Coeffs) =
        std::tie(before.series.Kind, before.series.TermCount, before.series.Period, before.series.Coeffs);
    t.field("txtSubintervals")->setText(QString::number(before.study.Subintervals));
    t.button("cmdRoots")->click();
    EXPECT_EQ(test::items(t.list("lstRoots")), roots);
    EXPECT_EQ(t.label("lblRoots")->text(), QStringLiteral("5 roots"));

    // Verify holds the listed roots and extrema scanned for the purpose
    // against the proof, beside the window's lists, which stay as they were.
    EXPECT_EQ(t.w.verifyDialog(), nullptr) << "a cancelled Verify shows nothing";
    t.action("mnuVerifyRoots")->trigger();
    auto* dialog = qobject_cast<VerifyDialog*>(t.w.verifyDialog());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), QStringLiteral("frmVerify"));
    EXPECT_TRUE(dialog->isVisible());
    const QStringList scanned = test::items(dialog->lstVerifyScan), proven = test::items(dialog->lstVerifyProven);
    EXPECT_EQ(scanned.size(), 11);
    EXPECT_EQ(scanned.filter(QStringLiteral(": proven")).size(), 11);
    EXPECT_EQ(scanned.value(2), QStringLiteral("ROOT 0: proven"));
    EXPECT_EQ(proven.value(2), QStringLiteral("ROOT IN [0, 0]"));
    EXPECT_TRUE(dialog->lblVerifySummary->text().startsWith(
        QStringLiteral("5 roots in [-8, 8], all proven; the scan found 5\n6 extrema (3 max., 3 min.)")));
    EXPECT_EQ(test::items(t.list("lstRoots")), roots);
    EXPECT_EQ(t.list("lstExtrema")->count(), 0);
    EXPECT_EQ(t.label("lblExtrema")->text(), QString());
    dialog->findChild<QPushButton*>(QStringLiteral("cmdVerifyCopy"))->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), dialog->text());
    EXPECT_TRUE(dialog->text().contains(QStringLiteral("\nROOT IN [0, 0]\n")));
    if (const QByteArray shot = qgetenv("VENDRAK_VERIFY_SHOT"); !shot.isEmpty())
        dialog->grab().save(QString::fromLocal8Bit(shot));
}

} // namespace
} // namespace vendrak
