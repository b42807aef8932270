#include "script/class1.h"
#include "shell/dimension.h"
#include "shell/errors.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace vendrak;

namespace {

// The object as start-up leaves it, wired to a window error number.
struct MathFixture : ::testing::Test {
    void SetUp() override
    {
        m.windowIerr = &windowIerr;
        m.halfpi = std::atan(1.0) * 2;
        m.pi = std::atan(1.0) * 4;
        m.e = std::exp(1.0);
    }
    void expectFailure(double result, int number)
    {
        EXPECT_EQ(result, 0.0);
        EXPECT_EQ(m.ierr, number);
        EXPECT_EQ(windowIerr, number);
        m.ierr = 0;
        windowIerr = 0;
    }
    Class1 m;
    int windowIerr = 0;
};

using Class1Test = MathFixture;

} // namespace

TEST_F(Class1Test, InverseSineAndCosineAtTheEndsAndInside)
{
    EXPECT_EQ(m.Asin(1), m.halfpi);
    EXPECT_EQ(m.Asin(-1), -m.halfpi);
    EXPECT_EQ(m.Acos(1), 0.0);
    EXPECT_EQ(m.Acos(-1), 2 * m.halfpi);
    EXPECT_EQ(m.Asin(0.5), std::atan(0.5 / std::sqrt(0.75)));
    EXPECT_NEAR(m.Asin(0.5), m.pi / 6, 1e-15);
    EXPECT_NEAR(m.Acos(0.5), m.pi / 3, 1e-15);
    EXPECT_EQ(m.Asin(0), 0.0);
    EXPECT_EQ(m.Acos(0), m.halfpi);
    // Just inside the ends the square root is tiny but not zero.
    EXPECT_NEAR(m.Asin(std::nextafter(1.0, 0.0)), m.halfpi, 1e-7);
    EXPECT_EQ(m.ierr, 0);
    EXPECT_EQ(windowIerr, 0);
}

TEST_F(Class1Test, ArgumentsOutsideTheDomainSetBothErrorNumbers)
{
    expectFailure(m.Asin(2), ErrInvalidCall);
    expectFailure(m.Acos(-2), ErrInvalidCall);
    expectFailure(m.Asin(std::nextafter(1.0, 2.0)), ErrInvalidCall);
    expectFailure(m.Acosh(0.5), ErrInvalidCall);
    expectFailure(m.Acosh(-3), ErrInvalidCall);
    expectFailure(m.Atanh(-1), ErrInvalidCall);
    expectFailure(m.Atanh(2), ErrInvalidCall);
    expectFailure(m.Atanh(-2), ErrInvalidCall);
}

TEST_F(Class1Test, AtanhOfOneDividesByZero)
{
    expectFailure(m.Atanh(1), ErrDivisionByZero);
}

TEST_F(Class1Test, ExponentialOverflowGivesSix)
{
    expectFailure(m.Sinh(710), ErrOverflow);
    expectFailure(m.Sinh(-710), ErrOverflow);
    expectFailure(m.Cosh(710), ErrOverflow);
    expectFailure(m.Tanh(800), ErrOverflow);
    expectFailure(m.Tanh(-800), ErrOverflow);
    // Just below the limit the values are finite.
    EXPECT_TRUE(std::isfinite(m.Cosh(709.7)));
    EXPECT_EQ(m.ierr, 0);
}

TEST_F(Class1Test, ValuesAtZeroAndOne)
{
    EXPECT_EQ(m.Sinh(0), 0.0);
    EXPECT_EQ(m.Cosh(0), 1.0);
    EXPECT_EQ(m.Tanh(0), 0.0);
    EXPECT_EQ(m.Asinh(0), 0.0);
    EXPECT_EQ(m.Atanh(0), 0.0);
    EXPECT_EQ(m.Acosh(1), 0.0);
    EXPECT_NEAR(m.Sinh(1), std::sinh(1.0), 1e-15);
    EXPECT_NEAR(m.Cosh(-2), std::cosh(2.0), 1e-14);
    EXPECT_NEAR(m.Tanh(0.5), std::tanh(0.5), 1e-15);
    EXPECT_NEAR(m.Asinh(-2), std::asinh(-2.0), 1e-15);
    EXPECT_NEAR(m.Acosh(3), std::acosh(3.0), 1e-15);
    EXPECT_NEAR(m.Atanh(0.5), std::atanh(0.5), 1e-15);
    EXPECT_EQ(m.ierr, 0);
}

TEST_F(Class1Test, SuccessLeavesAnEarlierErrorNumberAlone)
{
    m.ierr = 11;
    windowIerr = 6;
    m.Sinh(1);
    m.Asin(0.25);
    EXPECT_EQ(m.ierr, 11);
    EXPECT_EQ(windowIerr, 6);
    // The caller's protocol: reset, work, look.
    m.ierr = 0;
    m.Acos(3);
    EXPECT_EQ(m.ierr, ErrInvalidCall);
}

TEST(Class1, BeforeTheConstantsAreSetAsinOfOneIsZero)
{
    Class1 fresh;
    EXPECT_EQ(fresh.pi, 0.0);
    EXPECT_EQ(fresh.halfpi, 0.0);
    EXPECT_EQ(fresh.e, 0.0);
    EXPECT_EQ(fresh.Asin(1), 0.0);
    EXPECT_EQ(fresh.Acos(-1), 0.0);
    EXPECT_EQ(fresh.ierr, 0);
    // Without a window attached a failure still sets the object's own number.
    EXPECT_EQ(fresh.Asin(5), 0.0);
    EXPECT_EQ(fresh.ierr, ErrInvalidCall);
}

TEST(Class1, TheStudyStateWiresTheWindowErrorNumber)
{
    Dimension d;
    d.ScriptMath.Atanh(1);
    EXPECT_EQ(d.ierr, ErrDivisionByZero);
    EXPECT_EQ(d.ScriptMath.ierr, ErrDivisionByZero);

    // A copy reports into its own window number, not into the original's.
    Dimension copy = d;
    copy.ierr = 0;
    copy.ScriptMath.Asin(2);
    EXPECT_EQ(copy.ierr, ErrInvalidCall);
    EXPECT_EQ(d.ierr, ErrDivisionByZero);
    d = copy;
    d.ierr = 0;
    d.ScriptMath.Sinh(1000);
    EXPECT_EQ(d.ierr, ErrOverflow);
    EXPECT_EQ(copy.ierr, ErrInvalidCall);
}
