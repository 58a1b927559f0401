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
#include <gtest/gtest.h>
#include <sys/stat.h>

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

    // The editor with its own home (also its working folder), so that its settings and data
    // stay in the test's folder.
    void start(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            environment.insert(variable, home.filePath(variable));
        environment.remove("QT_QPA_PLATFORM");
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.setWorkingDirectory(home.path());
        program.start(VELMORA_EXECUTABLE, arguments);
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    // The first visible window whose title matches the pattern, once one shows; else empty.
    static QString window(const QString& pattern, int timeoutMs = 60000)
    {
        QString found;
        TestUtil::waitFor(
            [&] {
                TestUtil::runTool("xdotool", {"search", "--onlyvisible", "--name", pattern},
                                  &found);
                return !found.isEmpty();
            },
            timeoutMs, 100);
        return found.section('\n', 0, 0);
    }

    // A saved project whose page is in pageColour.
    QString makeProject(const QString& path)
    {
        const TestUtil::IsolatedAppData appData;
        SelectionManager selection;
        VelmoraDocument document(selection);
        NewProjectData data;
        data.name = "Hall";
        data.path = path;
        document.getPage(document.createProject(data)).setBackgroundColour(pageColour);
        document.save(false);
        return path;
    }

    static int pagePixels()
    {
        return TestUtil::pixelsOfColour(QGuiApplication::primaryScreen()->grabWindow(0).toImage(),
                                        pageColour);
    }

    void expectQuitCleanly()
    {
        // The tool runs spin the event loop: the end may have been seen already.
        ASSERT_TRUE(program.state() == QProcess::NotRunning || program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }

    static void press(const QString& windowId, const QString& keys)
    {
        TestUtil::runTool("xdotool", {"windowfocus", "--sync", windowId});
        TestUtil::runTool("xdotool", {"key", keys});
    }

    QTemporaryDir home;
    QProcess program;
};

TEST_F(ProgramTest, OpensTheProjectOnTheCommandLineDrawsItAndQuitsWithTheQuitKey)
{
    const QString project = makeProject(home.filePath("Hall.qvp"));
    const QByteArray bytes = TestUtil::readFile(project);
    const QDateTime modified = QFileInfo(project).lastModified();
    start({project});

    const QString mainWindow = window("^Hall\\.qvp - ");
    ASSERT_FALSE(mainWindow.isEmpty());
    // Most of the 480 x 272 page shows in the page view (the thumbnails are far smaller).
    int shown = 0;
    EXPECT_TRUE(TestUtil::waitFor([&] { return (shown = pagePixels()) > 480 * 272 / 2; }, 20000))
        << shown << " pixels in the page's colour";

    press(mainWindow, "ctrl+q");
    expectQuitCleanly();
    EXPECT_EQ(TestUtil::readFile(project), bytes);
    EXPECT_EQ(QFileInfo(project).lastModified(), modified);
}

// A project it cannot read is reported, the launch dialog follows, and the Quit key still
// ends the program cleanly: a project cut short, and a FIFO named after "--" (which ends the
// options) that no one writes, whose opening would otherwise wait for ever.
TEST_F(ProgramTest, AnUnreadableProjectIsReportedAndTheProgramStillQuits)
{
    const QString project = makeProject(home.filePath("cut.qvp"));
    const QByteArray bytes = TestUtil::readFile(project);
    ASSERT_TRUE(TestUtil::writeFile(project, bytes.left(bytes.size() / 2)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(home.filePath("--hall.qvp")).constData(), 0600), 0);
    const QStringList cases[] = {{project}, {"--", "--hall.qvp"}};
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        start(arguments);
        const QString message = window("^Load failed$");
        ASSERT_FALSE(message.isEmpty());
        press(message, "Return");
        // The launch dialog follows; no window ever showed the project.
        const QString launch = window("^Orvane Dravelin$");
        ASSERT_FALSE(launch.isEmpty());
        EXPECT_TRUE(window("(cut|hall)\\.qvp", 0).isEmpty());
        EXPECT_EQ(pagePixels(), 0);

        press(launch, "ctrl+q");
        expectQuitCleanly();
    }
}

} // namespace
