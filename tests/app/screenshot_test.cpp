// Pictures of the windows for a person to look at, not run by default:
//   test_shell --gtest_also_run_disabled_tests --gtest_filter='Screenshot.*'
// They land in $VENDRAK_SCREENSHOT_DIR (default /tmp).
#include "app/about_window.h"
#include "support/shown_window.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(Screenshot, DISABLED_Windows)
{
    const QDir dir(qEnvironmentVariable("VENDRAK_SCREENSHOT_DIR", QStringLiteral("/tmp")));
    vendrak::test::ShownWindow s;
    s.w.OpenSeriesFileNamed(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_study.txt"));
    s.w.mnuAbout->trigger();
    s.settle();
    EXPECT_TRUE(s.w.grab().save(dir.filePath("vendrak-study.png")));
    EXPECT_TRUE(s.w.aboutWindow()->grab().save(dir.filePath("vendrak-about.png")));
}
