#include "core/assertion.h"

#include <QStringList>
#include <QtGlobal>
#include <gtest/gtest.h>

namespace {

QStringList captured;
void captureMessages(QtMsgType, const QMessageLogContext&, const QString& text)
{
    captured << text;
}

// Escapes the characters that are special in the POSIX regular expressions of death tests.
std::string escaped(const std::string& text)
{
    std::string result;
    for (char c : text) {
        if (std::string(".[]{}()\\*+?^$|").find(c) != std::string::npos)
            result += '\\';
        result += c;
    }
    return result;
}

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
    EXPECT_DEATH(failingAssert(3), escaped(expected));
}

TEST(AssertionDeathTest, TrapAndUnreachableName)
{
    EXPECT_DEATH(VELMORA_TRAP(2 > 1), escaped("Error Trap: '2 > 1' is TRUE at line "));
    EXPECT_DEATH(VELMORA_UNREACHABLE("Unrecognised property type"),
                 escaped("Error Trap: '\"Unrecognised property type\"' is TRUE at line "));
    EXPECT_DEATH(VELMORA_UNREACHABLE(1), escaped("Error Trap: '1' is TRUE at line "));
}

TEST(AssertionDeathTest, PercentSignsPrintUnchanged)
{
    EXPECT_DEATH(assertFailed("100%s %d %%", 7, "unit (Dec  7 2012) "),
                 escaped("Error 100%s %d %% at line 7 in file unit (Dec  7 2012) "));
}

TEST(Assertion, UnitNameDropsExtensionAndAddsBuildDate)
{
    EXPECT_EQ(Velmora::detail::assertionUnit("core/gradient_library.cpp", "Nov 21 2012"),
              "core/gradient_library (Nov 21 2012) ");
    EXPECT_EQ(Velmora::detail::assertionUnit("file_system.cpp", "Dec  7 2012"),
              "file_system (Dec  7 2012) ");
    EXPECT_EQ(Velmora::detail::assertionUnit("a.b/unit", "Dec  7 2012"), "a.b/unit (Dec  7 2012) ");
}

TEST(Assertion, ReportErrorWarnsWithSpacedPiecesAndReturns)
{
    captured.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessages);
    reportError("Cannot remove 50%", 12, "file_system (Dec  7 2012) ");
    qInstallMessageHandler(previous);
    ASSERT_EQ(captured.size(), 1);
    EXPECT_EQ(captured.first().toStdString(),
              "Error  Cannot remove 50%  at line  12  in file  file_system (Dec  7 2012)  \n");
}
