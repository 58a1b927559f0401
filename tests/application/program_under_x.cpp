// Starts the real editor as a user would, under the X server this program runs on (CTest runs
// it inside xvfb-run), drives it with xdotool and looks at the screen through Qt.

#include "appengine/selection_manager.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "main/velmora_document.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <tuple>

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
    // stay in the test's folder. With `untilShown` it quits once it has shown the project; its
    // output is kept for the test then, or when asked.
    void start(const QStringList& arguments, bool untilShown = false, bool keepOutput = false)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            environment.insert(variable, home.filePath(variable));
        environment.remove("QT_QPA_PLATFORM");
        if (untilShown)
            environment.insert("VELMORA_QUIT_WHEN_SHOWN", "1");
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(untilShown || keepOutput ? QProcess::SeparateChannels
                                                               : QProcess::ForwardedChannels);
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

    // Gives the window the focus (again, while a window closing or opening takes it away) and
    // types the keys into it, one after another ("space Return").
    static void press(const QString& windowId, const QString& keys)
    {
        EXPECT_TRUE(TestUtil::waitFor([&] {
            QString focused;
            TestUtil::runTool("xdotool", {"windowfocus", "--sync", windowId});
            TestUtil::runTool("xdotool", {"getwindowfocus"}, &focused);
            return focused == windowId;
        }));
        TestUtil::runTool("xdotool", QStringList{"key"} + keys.split(' '));
    }

    // Opens the File menu of the window with a click and picks an entry with the keys, once
    // the menu shows: "Up" picks the last entry, "Up Up" the one above it.
    void chooseFromFileMenu(const QString& windowId, const QString& keys)
    {
        const auto shown = [this] {
            QString windows;
            TestUtil::runTool(
                "xdotool",
                {"search", "--onlyvisible", "--pid", QString::number(program.processId())},
                &windows);
            return windows.count('\n');
        };
        const int windows = shown();
        TestUtil::runTool("xdotool", {"mousemove", "--window", windowId, "15", "10", "click", "1"});
        EXPECT_TRUE(TestUtil::waitFor([&] { return shown() > windows; }));
        TestUtil::runTool("xdotool", QStringList{"key"} + keys.split(' ') + QStringList{"Return"});
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

// Whatever stands in place of the settings file, the editor starts with its default settings,
// says once on the console what is there, shows the project given and quits, and leaves the
// node as it was, with nothing beside it: a FIFO (whose opening waits for a writer), a link to
// one, a socket, a loop of links and a link to a device.
TEST_F(ProgramTest, StartsWhateverStandsInPlaceOfTheSettingsFile)
{
    const QString project = makeProject(home.filePath("Hall.qvp"));
    const QString folder = home.filePath("XDG_CONFIG_HOME/Orvane"), fifo = home.filePath("fifo");
    const QString settings = folder + "/Dravelin.conf";
    const QByteArray node = QFile::encodeName(settings);
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const std::pair<std::function<bool()>, QString> cases[] = {
        {[&] { return ::mkfifo(node.constData(), 0600) == 0; }, "a FIFO (named pipe)"},
        {[&] { return QFile::link(fifo, settings); }, "a FIFO (named pipe)"},
        {[&] { return ::mknod(node.constData(), S_IFSOCK | 0600, 0) == 0; }, "a socket"},
        {[&] { return QFile::link(settings, settings); }, "a loop of symbolic links"},
        {[&] { return QFile::link("/dev/null", settings); }, "a device"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto& [make, found] = cases[i];
        struct stat before = {}, after = {};
        ASSERT_TRUE(make() && ::lstat(node.constData(), &before) == 0);
        start({project}, true);
        ASSERT_TRUE(program.waitForFinished(60000)) << "the editor did not start";
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_TRUE(program.readAllStandardOutput().contains("shown "));
        const QString console = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_EQ(console.count("The settings store is not used"), 1) << console.toStdString();
        EXPECT_TRUE(console.contains(settings + ": Not a regular file: " + found));

        ASSERT_EQ(::lstat(node.constData(), &after), 0);
        EXPECT_TRUE(after.st_ino == before.st_ino && after.st_mode == before.st_mode);
        EXPECT_EQ(TestUtil::treeOf(folder), QStringList{"Dravelin.conf"});
        ASSERT_EQ(::unlink(node.constData()), 0);
    }
}

// What stands in place of the settings file or its lock file once the editor has started with
// a regular one: saving the project, changing a preference and quitting neither wait on it nor
// write through it. The store moves aside with one line on the console, and the node, and the
// device that a link names, stay as they were. The device is one of the test's own (the null
// device's numbers), so that a link to it never risks the real one; without the right to make
// one, the real null device is used, which such a process cannot replace either.
TEST_F(ProgramTest, SettingsFilesThatStopBeingFilesMidRunAreLeftAlone)
{
    const QString project = makeProject(home.filePath("Hall.qvp"));
    const QString folder = home.filePath("XDG_CONFIG_HOME/Orvane");
    const QString settings = folder + "/Dravelin.conf", lock = settings + ".lock";
    QString device = home.filePath("null");
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        device = "/dev/null";
    const struct
    {
        QString node;
        std::function<bool(const QByteArray&)> make;
    } cases[] = {
        {settings, [](const QByteArray& node) { return ::mkfifo(node, 0600) == 0; }},
        {settings, [](const QByteArray& node) { return ::mknod(node, S_IFSOCK | 0600, 0) == 0; }},
        {settings,
         [&](const QByteArray& node) {
             return ::mknod(node, S_IFCHR | 0600, makedev(1, 3)) == 0 || QFile::link(device, node);
         }},
        {settings, [&](const QByteArray& node) { return QFile::link(device, node); }},
        {lock, [](const QByteArray& node) { return ::mkfifo(node, 0600) == 0; }},
    };
    const auto status = [](const QString& path) {
        struct stat found = {};
        EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &found), 0) << path.toStdString();
        return std::tuple(found.st_ino, found.st_mode, found.st_rdev);
    };
    const auto deviceBefore = status(device);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto& [node, make] = cases[i];
        ASSERT_TRUE(QDir(folder).removeRecursively() && QDir().mkpath(folder));
        ASSERT_TRUE(TestUtil::writeFile(settings, "[General]\nControlKeyStepSize=3\n"));
        start({project}, false, true);
        const QString mainWindow = window("^Hall\\.qvp - ");
        ASSERT_FALSE(mainWindow.isEmpty());
        ASSERT_TRUE(TestUtil::waitFor([] { return pagePixels() > 480 * 272 / 2; }));

        if (node == settings)
            ASSERT_TRUE(QFile::remove(settings));
        ASSERT_TRUE(make(QFile::encodeName(node)));
        const auto nodeBefore = status(node);
        const QByteArray stored = node == settings ? QByteArray() : TestUtil::readFile(settings);
        // File > Save As... and a new name, then File > Preferences, its first check box and OK.
        chooseFromFileMenu(mainWindow, "Up Up Up");
        const QString saveAs = window("^Save File As$", 20000);
        ASSERT_FALSE(saveAs.isEmpty());
        press(saveAs, "S a v e d Return");
        EXPECT_TRUE(TestUtil::waitFor([&] { return QFile::exists(home.filePath("Saved.qvp")); }));
        chooseFromFileMenu(mainWindow, "Up Up");
        const QString preferences = window("^Preferences$", 20000);
        ASSERT_FALSE(preferences.isEmpty());
        press(preferences, "space Return");
        EXPECT_TRUE(TestUtil::waitFor([] { return window("^Preferences$", 0).isEmpty(); }));
        press(mainWindow, "ctrl+q");
        expectQuitCleanly();

        const QString console = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_EQ(console.count("The settings store is not used"), 1) << console.toStdString();
        EXPECT_EQ(status(node), nodeBefore);
        EXPECT_EQ(status(device), deviceBefore);
        EXPECT_EQ(TestUtil::treeOf(folder).size(), node == settings ? 1 : 2);
        if (node == lock)
            EXPECT_EQ(TestUtil::readFile(settings), stored);
        ASSERT_TRUE(QFile::remove(home.filePath("Saved.qvp")));
    }
}

} // namespace
