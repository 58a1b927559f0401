// Starts the real editor as a user would, under the X server this program runs on (CTest runs
// it inside xvfb-run), drives it with xdotool and looks at the screen through Qt.

#include "appengine/selection_manager.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "main/velmora_document.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QColor pageColour(30, 160, 90);

class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X server (xvfb-run)";
        ASSERT_TRUE(home.isValid());
    }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }

    // A saved landscape project of two pages; the first one's background is pageColour.
    QString makeProject(const QString& name)
    {
        const TestUtil::IsolatedAppData appData;
        SelectionManager selection;
        VelmoraDocument document(selection);
        NewProjectData data;
        data.name = name;
        data.path = home.filePath(name + ".qvp");
        document.getPage(document.createProject(data)).setBackgroundColour(pageColour);
        NewPageData second;
        document.addPage(second);
        document.save(false);
        return data.path;
    }

    // The editor with its own home, so that its settings and data stay in the test's folder.
    void start(const QString& project)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            environment.insert(variable, home.filePath(variable));
        environment.remove("QT_QPA_PLATFORM");
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(VELMORA_EXECUTABLE, {project});
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 60000)
    {
        return TestUtil::waitFor(condition, timeoutMs, 100);
    }

    // The first visible window whose title matches the pattern; empty when none shows.
    static QString window(const QString& pattern)
    {
        QString found;
        TestUtil::runTool("xdotool", {"search", "--onlyvisible", "--name", pattern}, &found);
        return found.section('\n', 0, 0);
    }

    static void press(const QString& windowId, const QString& keys)
    {
        TestUtil::runTool("xdotool", {"windowfocus", "--sync", windowId});
        TestUtil::runTool("xdotool", {"key", keys});
    }

    // The pixels of the screen in the page's colour.
    static int pagePixels()
    {
        return TestUtil::pixelsOfColour(QGuiApplication::primaryScreen()->grabWindow(0).toImage(),
                                        pageColour);
    }

    void expectQuitCleanly()
    {
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }

    QTemporaryDir home;
    QProcess program;
};

TEST_F(ProgramTest, OpensTheProjectOnTheCommandLineDrawsItAndQuitsWithTheQuitKey)
{
    const QString project = makeProject("Hall");
    const QByteArray bytes = TestUtil::readFile(project);
    const QDateTime modified = QFileInfo(project).lastModified();
    start(project);

    QString mainWindow;
    ASSERT_TRUE(waitFor([&] { return !(mainWindow = window("^Hall\\.qvp - ")).isEmpty(); }));
    // Most of the 480 x 272 page shows in the page view (the thumbnails are far smaller).
    int shown = 0;
    EXPECT_TRUE(waitFor([&] { return (shown = pagePixels()) > 480 * 272 / 2; }, 20000))
        << shown << " pixels in the page's colour";

    press(mainWindow, "ctrl+q");
    expectQuitCleanly();
    EXPECT_EQ(TestUtil::readFile(project), bytes);
    EXPECT_EQ(QFileInfo(project).lastModified(), modified);
}

TEST_F(ProgramTest, ATruncatedProjectIsReportedAndTheProgramStillQuits)
{
    const QByteArray bytes = TestUtil::readFile(makeProject("Hall"));
    const QString project = home.filePath("cut.qvp");
    ASSERT_TRUE(TestUtil::writeFile(project, bytes.left(bytes.size() / 2)));
    start(project);

    QString message;
    ASSERT_TRUE(waitFor([&] { return !(message = window("^Load failed$")).isEmpty(); }));
    press(message, "Return");
    // The launch dialog follows; no window ever showed the project.
    QString launch;
    ASSERT_TRUE(waitFor([&] { return !(launch = window("^Orvane Dravelin$")).isEmpty(); }));
    EXPECT_TRUE(window("cut\\.qvp").isEmpty());
    EXPECT_EQ(pagePixels(), 0);

    press(launch, "ctrl+q");
    expectQuitCleanly();
}

} // namespace
