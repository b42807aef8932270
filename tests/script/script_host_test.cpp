#include "script/script_host.h"
#include "shell/errors.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

using namespace vendrak;

namespace {

struct Event {
    int number;
    QString description;
};

struct ScriptHostTest : ::testing::Test {
    void SetUp() override
    {
        host.onError = [this](int n, const QString& text) { events.push_back({n, text}); };
        host.AddObject("sh", &math, true);
    }
    Class1 math;
    ScriptHost host;
    std::vector<Event> events;
};

} // namespace

TEST_F(ScriptHostTest, StartUpStatementsSetTheConstants)
{
    EXPECT_TRUE(host.ExecuteStatement("halfpi = Atn(1) * 2"));
    EXPECT_TRUE(host.ExecuteStatement("pi = Atn(1) * 4"));
    EXPECT_TRUE(host.ExecuteStatement("e = Exp(1)"));
    EXPECT_EQ(math.halfpi, std::atan(1.0) * 2);
    EXPECT_EQ(math.pi, std::atan(1.0) * 4);
    EXPECT_EQ(math.e, std::exp(1.0));
    EXPECT_TRUE(events.empty());
    // Now the math functions use the constant.
    EXPECT_EQ(math.Asin(1), math.halfpi);
}

TEST_F(ScriptHostTest, GlobalMembersAreReachableByBareNameAndByObjectName)
{
    ASSERT_TRUE(host.ExecuteStatement("halfpi = Atn(1) * 2"));
    EXPECT_TRUE(host.ExecuteStatement("x = Asin(1) + 2 ^ -1 - -2^2"));
    EXPECT_DOUBLE_EQ(math.x, math.halfpi + 0.5 + 4);
    EXPECT_TRUE(host.ExecuteStatement("sh.x = (1 + 2) * 3 / 4"));
    EXPECT_EQ(math.x, 2.25);
    EXPECT_TRUE(host.ExecuteStatement("X = SINH(0) + cosh(0)")); // the language ignores case
    EXPECT_EQ(math.x, 1.0);
    EXPECT_TRUE(events.empty());
}

TEST_F(ScriptHostTest, FailingStatementRaisesTheErrorEventWithNumberAndDescription)
{
    EXPECT_FALSE(host.ExecuteStatement("x = 1 / 0"));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].number, ErrDivisionByZero);
    EXPECT_EQ(events[0].description, "Division by zero");
    EXPECT_EQ(host.lastErrorNumber(), ErrDivisionByZero);

    EXPECT_FALSE(host.ExecuteStatement("x = Exp(1000)"));
    EXPECT_EQ(events.back().number, ErrOverflow);
    EXPECT_FALSE(host.ExecuteStatement("x = Sqr(-1)"));
    EXPECT_EQ(events.back().number, ErrInvalidCall);
    EXPECT_FALSE(host.ExecuteStatement("x = (-8) ^ 0.5"));
    EXPECT_EQ(events.back().number, ErrInvalidCall);
    EXPECT_FALSE(host.ExecuteStatement("x = Nonsense(1)"));
    EXPECT_EQ(events.back().number, ErrTypeMismatch);
    EXPECT_FALSE(host.ExecuteStatement("x = (1"));
    EXPECT_FALSE(host.ExecuteStatement("x = y"));
    EXPECT_FALSE(host.ExecuteStatement("= 3"));
    EXPECT_EQ(events.size(), 8u);
    for (const Event& e : events)
        EXPECT_FALSE(e.description.isEmpty());
    // A failed statement assigns nothing.
    EXPECT_EQ(math.x, 0.0);

    // Success clears the last error.
    EXPECT_TRUE(host.ExecuteStatement("x = 1"));
    EXPECT_EQ(host.lastErrorNumber(), 0);
}

TEST_F(ScriptHostTest, MathFunctionErrorsTravelThroughIerrNotTheEvent)
{
    // The functions trap their own errors: the statement succeeds, the object's
    // ierr tells the caller.
    math.ierr = 0;
    EXPECT_TRUE(host.ExecuteStatement("x = Atanh(1)"));
    EXPECT_EQ(math.ierr, ErrDivisionByZero);
    EXPECT_EQ(math.x, 0.0);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(host.ExecuteStatement("ierr = 0"));
    EXPECT_EQ(math.ierr, 0);
}

TEST(ScriptHost, WithoutGlobalMembersBareNamesAreUnknown)
{
    Class1 math;
    ScriptHost host;
    int events = 0;
    host.onError = [&](int, const QString&) { ++events; };
    host.AddObject("sh", &math, false);
    EXPECT_FALSE(host.ExecuteStatement("pi = 3"));
    EXPECT_EQ(events, 1);
    EXPECT_TRUE(host.ExecuteStatement("sh.pi = 3"));
    EXPECT_EQ(math.pi, 3.0);
}
