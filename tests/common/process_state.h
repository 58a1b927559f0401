#pragma once

#include <gtest/gtest.h>

namespace TestUtil {

// Fails a test, or a test suite with its set-up and tear-down, that leaves the process other
// than it found it: the environment, the working folder, the application's names, the settings'
// folders, the standard paths' test mode, the bundled resources' folder, the application data
// folder, the theme library's rows, refusals and file pattern, the network proxy or a window left
// showing. Such state would make a later test, or the same test run again, see another program.
class ProcessStateGuard : public ::testing::EmptyTestEventListener
{
public:
    void OnTestSuiteStart(const ::testing::TestSuite& suite) override;
    void OnTestSuiteEnd(const ::testing::TestSuite& suite) override;
    void OnTestStart(const ::testing::TestInfo& test) override;
    void OnTestEnd(const ::testing::TestInfo& test) override;

private:
    std::string suiteState;
    std::string testState;
};

} // namespace TestUtil
