// File > New series from expression through the real window: a failure is
// said in the dialog and writes nothing; Create saves the series and the
// window opens it as Open does, ready to study.
#include "app/main_window.h"
#include "app/new_series_dialog.h"
#include "support/fake_dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace vendrak;

TEST(NewSeries, FailuresStayInTheDialogAndCreateOpensTheSeriesReadyToStudy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sinc.txt");
    Dimension dim;
    test::FakeDialogs dlg;
    MainWindow w{dim, dlg};
    w.mnuNewSeries->trigger();
    auto* d = w.findChild<NewSeriesDialog*>("frmNewSeries");
    ASSERT_NE(d, nullptr);
    auto field = [&](const char* name) { return d->findChild<QLineEdit*>(name); };
    d->findChild<QComboBox*>("cboKind")->setCurrentIndex(0); // Taylor
    field("txtCentre")->setText("0");
    field("txtTerms")->setText("60");
    field("txtLower")->setText("-10");
    field("txtUpper")->setText("10");

    field("txtExpression")->setText("sin(x)/(x");
    d->refreshPreview();
    EXPECT_EQ(d->errorText(), "column 10: expected ')'"); // at the end of the text
    dlg.saveNames.push_back(path);
    d->findChild<QPushButton*>("cmdCreate")->click();
    EXPECT_EQ(dlg.saveAsked, 0); // nothing is asked, nothing written
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(field("txtExpression")->text(), "sin(x)/(x");

    field("txtExpression")->setText("sin(x)/x");
    d->refreshPreview();
    EXPECT_TRUE(d->errorText().isEmpty());
    EXPECT_TRUE(d->findChild<QLabel*>("lblPreview")->text().contains("-0.166666666666667"));
    d->findChild<QPushButton*>("cmdCreate")->click();
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(w.txtEquation->text(), path);
    EXPECT_EQ(w.lblType->text(), "Power");
    EXPECT_EQ(w.lblTerms->text(), "60");
    EXPECT_TRUE(dim.GraphShown);

    w.txtXlower->setText("-10");
    w.txtXupper->setText("10");
    w.txtError->setText("1E-12");
    w.cmdRoots->click();
    ASSERT_TRUE(dlg.messages.empty());
    ASSERT_EQ(dim.RootCount, 6);
    std::vector<double> roots(dim.Roots.begin() + 1, dim.Roots.begin() + 7);
    std::sort(roots.begin(), roots.end());
    for (int i = 0; i < 6; ++i) {
        const int k = i < 3 ? i - 3 : i - 2; // -3..-1, 1..3
        EXPECT_NEAR(roots[static_cast<size_t>(i)], k * M_PI, 1e-10) << k;
    }
}
