#include "core/script/class1.h"
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace vendrak;

TEST(Class1, ValuesAtTheEndsAndZeroAndErrorsIntoBothNumbers)
{
    Class1 m; // as start-up leaves it, wired to a window error number
    int windowIerr = 0;
    m.windowIerr = &windowIerr;
    const double hp = m.halfpi = std::atan(1.0) * 2, pi = m.pi = std::atan(1.0) * 4;
    using C = Class1;
    const struct { double (Class1::*f)(double); double x, want, tol; int err; } cases[] = {
        {&C::Asin, 1, hp, 0, 0}, {&C::Asin, -1, -hp, 0, 0}, {&C::Acos, 1, 0, 0, 0}, {&C::Acos, -1, pi, 0, 0},
        {&C::Asin, 0, 0, 0, 0}, {&C::Acos, 0, hp, 0, 0}, {&C::Asin, 0.5, pi / 6, 1e-15, 0},
        {&C::Acos, 0.5, pi / 3, 1e-15, 0}, {&C::Asin, std::nextafter(1.0, 0.0), hp, 1e-7, 0}, // tiny square root
        {&C::Sinh, 0, 0, 0, 0}, {&C::Cosh, 0, 1, 0, 0}, {&C::Tanh, 0, 0, 0, 0}, {&C::Asinh, 0, 0, 0, 0},
        {&C::Atanh, 0, 0, 0, 0}, {&C::Acosh, 1, 0, 0, 0}, {&C::Sinh, 1, std::sinh(1.0), 1e-15, 0},
        {&C::Cosh, -2, std::cosh(2.0), 1e-14, 0}, {&C::Tanh, 0.5, std::tanh(0.5), 1e-15, 0},
        {&C::Asinh, -2, std::asinh(-2.0), 1e-15, 0}, {&C::Acosh, 3, std::acosh(3.0), 1e-15, 0},
        {&C::Atanh, 0.5, std::atanh(0.5), 1e-15, 0}, {&C::Cosh, 709.7, std::cosh(709.7), 1e293, 0},
        {&C::Asin, 2, 0, 0, errorCode(ErrorNumber::InvalidCall)}, {&C::Acos, -2, 0, 0, errorCode(ErrorNumber::InvalidCall)},
        {&C::Asin, std::nextafter(1.0, 2.0), 0, 0, errorCode(ErrorNumber::InvalidCall)}, {&C::Acosh, 0.5, 0, 0, errorCode(ErrorNumber::InvalidCall)},
        {&C::Acosh, -3, 0, 0, errorCode(ErrorNumber::InvalidCall)}, {&C::Atanh, -1, 0, 0, errorCode(ErrorNumber::InvalidCall)},
        {&C::Atanh, 2, 0, 0, errorCode(ErrorNumber::InvalidCall)}, {&C::Atanh, -2, 0, 0, errorCode(ErrorNumber::InvalidCall)},
        {&C::Atanh, 1, 0, 0, errorCode(ErrorNumber::DivisionByZero)}, {&C::Sinh, 710, 0, 0, errorCode(ErrorNumber::Overflow)},
        {&C::Sinh, -710, 0, 0, errorCode(ErrorNumber::Overflow)}, {&C::Cosh, 710, 0, 0, errorCode(ErrorNumber::Overflow)},
        {&C::Tanh, 800, 0, 0, errorCode(ErrorNumber::Overflow)}, {&C::Tanh, -800, 0, 0, errorCode(ErrorNumber::Overflow)}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i) + ", x = " + std::to_string(cases[i].x));
        m.ierr = windowIerr = 0;
        EXPECT_NEAR((m.*cases[i].f)(cases[i].x), cases[i].want, cases[i].tol);
        EXPECT_EQ(m.ierr, cases[i].err);
        EXPECT_EQ(windowIerr, cases[i].err);
    }
    m.ierr = windowIerr = 11; // success leaves an earlier error alone: callers reset, work, look
    m.Sinh(1);
    EXPECT_EQ(std::pair(m.ierr, windowIerr), std::pair(11, 11));
}

TEST(Class1, UnsetConstantsAndTheWindowNumberOfEachStudyState)
{
    Class1 fresh;
    EXPECT_EQ(fresh.Asin(1), 0.0); // halfpi not set yet
    fresh.Asin(5); // no window: only the object's own number
    EXPECT_EQ(fresh.ierr, errorCode(ErrorNumber::InvalidCall));
    Dimension d;
    d.ScriptMath.Atanh(1);
    EXPECT_EQ(d.ierr, errorCode(ErrorNumber::DivisionByZero));
    Dimension copy = d; // a copy reports into its own window number
    copy.ierr = 0;
    copy.ScriptMath.Asin(2);
    EXPECT_EQ(copy.ierr, errorCode(ErrorNumber::InvalidCall));
    EXPECT_EQ(d.ierr, errorCode(ErrorNumber::DivisionByZero));
    d = copy;
    d.ierr = 0;
    d.ScriptMath.Sinh(1000);
    EXPECT_EQ(d.ierr, errorCode(ErrorNumber::Overflow));
    EXPECT_EQ(copy.ierr, errorCode(ErrorNumber::InvalidCall));
}
