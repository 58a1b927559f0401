#include "core/assertion.h"

#include "common/helpers.h"

#include <gtest/gtest.h>

using TestUtil::regexEscaped;

namespace {

int failingAssertLine = 0;
int failingAssert(int value)
{
    failingAssertLine = __LINE__ + 1;
    VELMORA_ASSERT(value > 10);
    return value;
}

} // namespace

TEST(AssertionDeathTest, FailedAssertReportsExpressionLineAndUnit)
{
    EXPECT_EQ(failingAssert(11), 11);
    const std::string expected = "Error Assert: 'value > 10' is FALSE at line " +
                                 std::to_string(failingAssertLine) +
                                 " in file tests/core/test_assertion (" __DATE__ ") ";
    EXPECT_DEATH(failingAssert(3), regexEscaped(expected));
}

TEST(AssertionDeathTest, TrapUnreachableAndPercentSigns)
{
    EXPECT_DEATH(VELMORA_TRAP(2 > 1), regexEscaped("Error Trap: '2 > 1' is TRUE at line "));
    EXPECT_DEATH(VELMORA_UNREACHABLE("Unrecognised property type"),
                 regexEscaped("Error Trap: '\"Unrecognised property type\"' is TRUE at line "));
    EXPECT_DEATH(assertFailed("100%s %d %%", 7, "unit (Dec  7 2012) "),
                 regexEscaped("Error 100%s %d %% at line 7 in file unit (Dec  7 2012) "));
}

TEST(Assertion, UnitNameDropsExtensionAndAddsBuildDate)
{
    EXPECT_EQ(Velmora::detail::assertionUnit("core/gradient_library.cpp", "Nov 21 2012"),
              "core/gradient_library (Nov 21 2012) ");
    EXPECT_EQ(Velmora::detail::assertionUnit("a.b/unit", "Dec  7 2012"), "a.b/unit (Dec  7 2012) ");
}

TEST(Assertion, ReportErrorWarnsWithSpacedPiecesAndReturns)
{
    const QStringList warnings = TestUtil::warningsDuring(
        [] { reportError("Cannot remove 50%", 12, "file_system (Dec  7 2012) "); });
    EXPECT_EQ(warnings, QStringList({"Error  Cannot remove 50%  at line  12  in file  "
                                     "file_system (Dec  7 2012)  \n"}));
}
