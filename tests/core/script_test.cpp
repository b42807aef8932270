// The script math object (values, errors into its own and the window's number) and the host that runs statements.
#include "core/study/class1.h"
#include "core/script/script_host.h"
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

using namespace vendrak;

TEST(Class1, ValuesAtTheEndsAndZeroAndErrorsIntoBothNumbers)
{
    Class1 m; // run by the host as start-up leaves it, wired to a window error number
    ScriptHost host;
    int windowIerr = 0;
    host.onMathError = [&](int n) { windowIerr = n; };
    host.AddObject("sh", &m, true);
    const double hp = m.halfpi = std::atan(1.0) * 2, pi = m.pi = std::atan(1.0) * 4;
    const auto run = [&](const char* f, double x) {
        EXPECT_TRUE(host.ExecuteStatement(QString("x = %1(%2)").arg(f).arg(x, 0, 'g', 17))) << f;
        return m.x;
    };
    const int invalid = errorCode(ErrorNumber::InvalidCall), overflow = errorCode(ErrorNumber::Overflow);
    const struct { const char* f; double x, want, tol; int err; } cases[] = {
        {"Asin", 1, hp, 0, 0}, {"Asin", -1, -hp, 0, 0}, {"Acos", 1, 0, 0, 0}, {"Acos", -1, pi, 0, 0},
        {"Asin", 0, 0, 0, 0}, {"Acos", 0, hp, 0, 0}, {"Asin", 0.5, pi / 6, 1e-15, 0}, {"Acos", 0.5, pi / 3, 1e-15, 0},
        {"Asin", std::nextafter(1.0, 0.0), hp, 1e-7, 0}, // tiny square root
        {"Sinh", 0, 0, 0, 0}, {"Cosh", 0, 1, 0, 0}, {"Tanh", 0, 0, 0, 0}, {"Asinh", 0, 0, 0, 0},
        {"Atanh", 0, 0, 0, 0}, {"Acosh", 1, 0, 0, 0}, {"Sinh", 1, std::sinh(1.0), 1e-15, 0},
        {"Cosh", -2, std::cosh(2.0), 1e-14, 0}, {"Tanh", 0.5, std::tanh(0.5), 1e-15, 0},
        {"Asinh", -2, std::asinh(-2.0), 1e-15, 0}, {"Acosh", 3, std::acosh(3.0), 1e-15, 0},
        {"Atanh", 0.5, std::atanh(0.5), 1e-15, 0}, {"Cosh", 709.7, std::cosh(709.7), 1e293, 0},
        {"Asin", 2, 0, 0, invalid}, {"Acos", -2, 0, 0, invalid}, {"Asin", std::nextafter(1.0, 2.0), 0, 0, invalid},
        {"Acosh", 0.5, 0, 0, invalid}, {"Acosh", -3, 0, 0, invalid}, {"Atanh", -1, 0, 0, invalid},
        {"Atanh", 2, 0, 0, invalid}, {"Atanh", -2, 0, 0, invalid}, {"Atanh", 1, 0, 0, errorCode(ErrorNumber::DivisionByZero)},
        {"Sinh", 710, 0, 0, overflow}, {"Sinh", -710, 0, 0, overflow}, {"Cosh", 710, 0, 0, overflow},
        {"Tanh", 800, 0, 0, overflow}, {"Tanh", -800, 0, 0, overflow}};
    for (const auto& c : cases) {
        m.ierr = windowIerr = 0;
        EXPECT_NEAR(run(c.f, c.x), c.want, c.tol) << "case " << &c - cases << ", x = " << c.x;
        EXPECT_EQ(std::pair(m.ierr, windowIerr), std::pair(c.err, c.err)) << "case " << &c - cases;
    }
    m.ierr = windowIerr = 11; // success leaves an earlier error alone: callers reset, work, look
    run("Sinh", 1);
    EXPECT_EQ(std::pair(m.ierr, windowIerr), std::pair(11, 11));

    Class1 fresh;
    EXPECT_EQ(fresh.Asin(1), 0.0); // halfpi not set yet
    fresh.Asin(5); // no window: only the object's own number
    EXPECT_EQ(fresh.ierr, invalid);
    Dimension d; // the record is a plain value: its math object alone tells no window
    d.errors.ScriptMath.Atanh(1);
    const Dimension copy = d;
    EXPECT_EQ(std::tuple(d.errors.ierr, copy.errors.ierr, copy.errors.ScriptMath.ierr), std::tuple(0, 0, errorCode(ErrorNumber::DivisionByZero)));
}

TEST(ScriptHost, StatementsSetTheConstantsAndAFailingOneRaisesTheErrorEventAndAssignsNothing)
{
    Class1 math;
    ScriptHost host;
    std::vector<std::pair<int, QString>> events;
    host.onError = [&](int n, const QString& text) { events.push_back({n, text}); };
    host.AddObject("sh", &math, true);
    for (const char* startUp : {"halfpi = Atn(1) * 2", "pi = Atn(1) * 4", "e = Exp(1)", "sh.X = (1 + 2) * 3 / 4"})
        EXPECT_TRUE(host.ExecuteStatement(startUp)) << startUp; // members answer to either name, in any case
    EXPECT_EQ(std::tuple(math.halfpi, math.pi, math.e, math.x), std::tuple(std::atan(1.0) * 2, std::atan(1.0) * 4, std::exp(1.0), 2.25));
    // The math functions trap their own errors: the object's ierr tells, not the event.
    EXPECT_TRUE(host.ExecuteStatement("x = Atanh(1)"));
    EXPECT_EQ(math.ierr, errorCode(ErrorNumber::DivisionByZero));
    EXPECT_TRUE(host.ExecuteStatement("ierr = 0"));
    EXPECT_EQ(math.ierr, 0);
    EXPECT_TRUE(events.empty());

    const std::pair<const char*, ErrorNumber> cases[] = {
        {"x = 1 / 0", ErrorNumber::DivisionByZero}, {"x = Exp(1000)", ErrorNumber::Overflow}, {"x = Sqr(-1)", ErrorNumber::InvalidCall},
        {"x = (-8) ^ 0.5", ErrorNumber::InvalidCall}, {"x = Nonsense(1)", ErrorNumber::TypeMismatch},
        {"x = (1", {}}, {"x = y", {}}, {"= 3", {}}}; // {}: any number
    const double before = math.x;
    for (const auto& [statement, number] : cases) {
        events.clear();
        EXPECT_FALSE(host.ExecuteStatement(statement)) << statement;
        ASSERT_EQ(events.size(), 1u) << statement;
        EXPECT_FALSE(events[0].second.isEmpty());
        EXPECT_EQ(host.lastErrorNumber(), events[0].first);
        EXPECT_EQ(events[0].first, number != ErrorNumber{} ? errorCode(number) : events[0].first) << statement;
        EXPECT_EQ(math.x, before);
    }
    host.ExecuteStatement("x = 1 / 0");
    EXPECT_EQ(events.back().second, "Division by zero"); // one text in full
    EXPECT_TRUE(host.ExecuteStatement("x = 1")); // success clears the last error
    EXPECT_EQ(host.lastErrorNumber(), 0);
}
