// Pictures of the windows for a person to look at, not run by default:
//   test_shell --gtest_also_run_disabled_tests --gtest_filter='Screenshot.*'
// They land in $VENDRAK_SCREENSHOT_DIR (default /tmp).
#include "shell/about_window.h"
#include "shell/help_viewer.h"
#include "shell/shown_window.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>

using namespace vendrak;
using vendrak::test::ShownWindow;

namespace {

QString shotPath(const char* name)
{
    const QByteArray dir = qgetenv("VENDRAK_SCREENSHOT_DIR");
    return QDir(dir.isEmpty() ? QStringLiteral("/tmp") : QString::fromLocal8Bit(dir))
        .filePath(QString::fromUtf8(name));
}

} // namespace

TEST(Screenshot, DISABLED_Windows)
{
    ShownWindow s;
    s.w.txtEquation->setText("/home/user/studies/sine_taylor.txt");
    ASSERT_TRUE(s.w.grab().save(shotPath("vendrak-window.png")));

    s.w.lblType->setText("Trig");
    s.w.lblTerm->setText("# of terms:");
    s.w.lblTerms->setText("21");
    s.w.lblXLvalid->setText("-3.14159265358979");
    s.w.lblXUvalid->setText("3.14159265358979");
    s.w.lblExpansion->setText("0");
    s.w.lblPer->show();
    s.w.lblPeriod->show();
    s.w.lblPeriod->setText(QStringLiteral("2π"));
    s.w.lblIntegral->setText("1.23456789012345");
    s.w.lstRoots->addItems({"-3.14159265358979", "0", "3.14159265358979"});
    s.w.lblRoots->setText("3 roots");
    s.w.lstExtrema->addItems({"MIN: [-1.5707963267949 , -1]", "MAX: [1.5707963267949 , 1]"});
    s.w.lblExtrema->setText("1 max. 1 min. ");
    s.w.lblDerVal->setText("0.841470984807897");
    s.settle();
    ASSERT_TRUE(s.w.grab().save(shotPath("vendrak-window-filled.png")));

    s.w.mnuAbout->trigger();
    s.settle();
    ASSERT_TRUE(s.w.aboutWindow()->grab().save(shotPath("vendrak-about.png")));
    s.w.aboutWindow()->close();

    s.w.setHelpFile(QStringLiteral(VENDRAK_SOURCE_DIR "/help/index.html"));
    s.w.mnuHelp->trigger();
    s.settle();
    ASSERT_TRUE(s.w.helpViewer()->grab().save(shotPath("vendrak-help.png")));
    s.w.helpViewer()->close();
}

TEST(Screenshot, DISABLED_OpenedStudy)
{
    ShownWindow s;
    s.w.OpenSeriesFileNamed(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_study.txt"));
    s.settle();
    ASSERT_TRUE(s.w.grab().save(shotPath("vendrak-study.png")));
}
