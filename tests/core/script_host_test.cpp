#include "core/script/script_host.h"
#include "core/study/errors.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

using namespace vendrak;

namespace {

struct ScriptHostTest : ::testing::Test {
    void SetUp() override
    {
        host.onError = [this](int n, const QString& text) { events.push_back({n, text}); };
        host.AddObject("sh", &math, true);
    }
    Class1 math;
    ScriptHost host;
    std::vector<std::pair<int, QString>> events;
};

} // namespace

TEST_F(ScriptHostTest, StartUpStatementsSetTheConstantsAndMembersAnswerToEitherName)
{
    EXPECT_TRUE(host.ExecuteStatement("halfpi = Atn(1) * 2"));
    EXPECT_TRUE(host.ExecuteStatement("pi = Atn(1) * 4"));
    EXPECT_TRUE(host.ExecuteStatement("e = Exp(1)"));
    EXPECT_EQ(math.halfpi, std::atan(1.0) * 2);
    EXPECT_EQ(math.pi, std::atan(1.0) * 4);
    EXPECT_EQ(math.e, std::exp(1.0));
    EXPECT_TRUE(host.ExecuteStatement("sh.X = (1 + 2) * 3 / 4")); // the language ignores case
    EXPECT_EQ(math.x, 2.25);
    // The math functions trap their own errors: the object's ierr tells, not the event.
    EXPECT_TRUE(host.ExecuteStatement("x = Atanh(1)"));
    EXPECT_EQ(math.ierr, errorCode(ErrorNumber::DivisionByZero));
    EXPECT_TRUE(host.ExecuteStatement("ierr = 0"));
    EXPECT_EQ(math.ierr, 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(ScriptHostTest, AFailingStatementRaisesTheErrorEventAndAssignsNothing)
{
    const struct { const char* statement; int number; } cases[] = {
        {"x = 1 / 0", errorCode(ErrorNumber::DivisionByZero)}, {"x = Exp(1000)", errorCode(ErrorNumber::Overflow)}, {"x = Sqr(-1)", errorCode(ErrorNumber::InvalidCall)},
        {"x = (-8) ^ 0.5", errorCode(ErrorNumber::InvalidCall)}, {"x = Nonsense(1)", errorCode(ErrorNumber::TypeMismatch)},
        {"x = (1", 0}, {"x = y", 0}, {"= 3", 0}}; // 0: any number
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        events.clear();
        EXPECT_FALSE(host.ExecuteStatement(c.statement));
        ASSERT_EQ(events.size(), 1u);
        EXPECT_FALSE(events[0].second.isEmpty());
        EXPECT_EQ(host.lastErrorNumber(), events[0].first);
        EXPECT_EQ(events[0].first, c.number ? c.number : events[0].first);
    }
    host.ExecuteStatement("x = 1 / 0");
    EXPECT_EQ(events.back().second, "Division by zero");
    EXPECT_EQ(math.x, 0.0);
    EXPECT_TRUE(host.ExecuteStatement("x = 1")); // success clears the last error
    EXPECT_EQ(host.lastErrorNumber(), 0);
}
