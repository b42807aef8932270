// New plot windows from the navigation buttons and the click on the graph,
// as the window fields would show them.
#include "graph/navigation.h"

#include "shell/errors.h"
#include "shell/number_text.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

struct Texts {
    QString lx, gx, ly, gy;
};

// One navigation step from the four field texts, giving the texts written back.
Texts step(Dimension& dim, GraphWork& work, const Texts& in, int action)
{
    const ViewLimits v = ChangeViewLimits(dim, work, in.lx, in.gx, in.ly, in.gy, action);
    return {NumberText(v.lx), NumberText(v.gx), NumberText(v.ly), NumberText(v.gy)};
}

const Texts kInitial{QStringLiteral("-20"), QStringLiteral("20"), QStringLiteral("-15"),
                     QStringLiteral("15")};

class NavigationTest : public ::testing::Test {
protected:
    Texts from(const Texts& in, int action) { return step(dim, work, in, action); }
    Dimension dim;
    GraphWork work;
};

void expectTexts(const Texts& t, const char* lx, const char* gx, const char* ly, const char* gy)
{
    EXPECT_EQ(t.lx, QString::fromLatin1(lx));
    EXPECT_EQ(t.gx, QString::fromLatin1(gx));
    EXPECT_EQ(t.ly, QString::fromLatin1(ly));
    EXPECT_EQ(t.gy, QString::fromLatin1(gy));
}

// Every action from the initial window and the exact texts of the window
// size steps are checked through the window's buttons.
TEST_F(NavigationTest, StepsThatUndoEachOther)
{
    expectTexts(from(from(kInitial, ViewZoomIn), ViewZoomOut), "-20", "20", "-15", "15");
    expectTexts(from(from(kInitial, ViewWiderX), ViewNarrowerX), "-20", "20", "-15", "15");
    expectTexts(from(from(kInitial, ViewNarrowerY), ViewWiderY), "-20", "20", "-15", "15");
    expectTexts(from(from(kInitial, ViewPanLeft), ViewPanRight), "-20", "20", "-15", "15");
    expectTexts(from(from(kInitial, ViewPanUp), ViewPanDown), "-20", "20", "-15", "15");
    EXPECT_EQ(work.ViewHalfHeight, 15.0f);
}

TEST_F(NavigationTest, ActionReadsTheTextsNotTheStoredWindow)
{
    dim.WindowLX = -1;
    dim.WindowGX = 1;
    expectTexts(from({QStringLiteral("0"), QStringLiteral("8abc"), QStringLiteral("x"),
                      QStringLiteral("4")},
                     ViewPanRight),
                "2", "10", "0", "4");
    EXPECT_EQ(dim.WindowLX, 2.0f);
    EXPECT_EQ(dim.WindowGX, 10.0f);
}

TEST_F(NavigationTest, ZoomingOutBeyondSinglePrecisionRaisesInsteadOfWrapping)
{
    const Texts huge{QStringLiteral("-2E+38"), QStringLiteral("2E+38"), QStringLiteral("-1"),
                     QStringLiteral("1")};
    try {
        from(huge, ViewZoomOut);
        FAIL() << "no error raised";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), ErrOverflow);
    }
    EXPECT_THROW(from({QStringLiteral("1E+39"), QStringLiteral("2"), QStringLiteral("0"),
                       QStringLiteral("1")},
                      ViewZoomIn),
                 RunTimeError);
    EXPECT_THROW(from({QStringLiteral("-3E+38"), QStringLiteral("3E+38"), QStringLiteral("0"),
                       QStringLiteral("1")},
                      ViewWiderX),
                 RunTimeError);
    Dimension far;
    far.WindowLX = -3e38f;
    far.WindowGX = 3e38f;
    EXPECT_THROW(CentreOnClickLimits(far, work, 0, 0), RunTimeError); // width not a single
}

TEST(CoordinateTip, NamesThePointUnderThePointer)
{
    EXPECT_EQ(CoordinateTip(1.5f, -2.0f), QStringLiteral("(1.5, -2): Click to center graph here"));
    EXPECT_EQ(CoordinateTip(0.1f, 1e20f), QStringLiteral("(0.1, 1E+20): Click to center graph here"));
}

} // namespace
} // namespace vendrak
