#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/sample_themes.h"
#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

using TestUtil::readFile;
using TestUtil::treeOf;
using TestUtil::writeFile;

TEST(TemporaryDirectory, MakesEmptiesAndRemovesItsFolder)
{
    QTemporaryDir root;
    const QString path = root.path() + "/a/b/work";
    {
        TemporaryDirectory folder;
        EXPECT_TRUE(folder.path().isNull());
        EXPECT_TRUE(folder.setPath(path, false)); // missing parents are made
        EXPECT_TRUE(QFileInfo(path).isDir());
        ASSERT_TRUE(writeFile(path + "/.hidden", "h"));
        QDir().mkpath(path + "/sub");
        // An existing folder is emptied only when asked to.
        TemporaryDirectory keeping;
        EXPECT_TRUE(keeping.setPath(path, false));
        EXPECT_EQ(treeOf(path), QStringList({".hidden", "sub/"}));
        TemporaryDirectory clearing;
        EXPECT_TRUE(clearing.setPath(path, true));
        EXPECT_TRUE(QFileInfo(path).isDir());
        EXPECT_TRUE(treeOf(path).isEmpty());
        ASSERT_TRUE(writeFile(path + "/file", "x"));
    }
    // Gone with its owners; only the folder itself goes.
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(QFileInfo(root.path() + "/a/b").isDir());

    // A new path removes the previous folder; clean removes the folder but keeps the path.
    TemporaryDirectory moving;
    ASSERT_TRUE(moving.setPath(root.path() + "/first", false));
    ASSERT_TRUE(moving.setPath(root.path() + "/second", false));
    EXPECT_EQ(treeOf(root.path()), QStringList({"a/", "a/b/", "second/"}));
    moving.clean();
    EXPECT_FALSE(QFileInfo::exists(root.path() + "/second"));
    EXPECT_EQ(moving.path(), root.path() + "/second");
}

// An empty path names the current folder to QDir; it must never be emptied or removed. A
// folder that cannot be made is a failure.
TEST(TemporaryDirectory, EmptyOrUnusablePathsTouchNothing)
{
    QTemporaryDir root;
    writeFile(root.path() + "/precious", "keep");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root.path()));
    {
        TemporaryDirectory folder;
        EXPECT_TRUE(folder.setPath(QString(""), true));
        EXPECT_TRUE(folder.path().isEmpty());
        folder.clean();
        EXPECT_TRUE(folder.setPath(QString(), true));
        EXPECT_FALSE(folder.setPath(root.path() + "/precious/work", true));
    }
    QDir::setCurrent(previous);
    EXPECT_EQ(readFile(root.path() + "/precious"), "keep");
}

TEST(TemporaryDirectory, ApplicationDataFolderCanBeRedirected)
{
    QString isolated;
    {
        TestUtil::IsolatedAppData appData;
        isolated = appData.path();
        EXPECT_EQ(TemporaryDirectory::applicationDataFolder(), isolated);
    }
    EXPECT_NE(TemporaryDirectory::applicationDataFolder(), isolated);
    EXPECT_FALSE(TemporaryDirectory::applicationDataFolder().isEmpty());
}

namespace {

// A folder as an ended (unlocked) or a live (locked) process leaves it.
int makeProcessFolder(const QString& path, bool live)
{
    QDir().mkpath(path + "/temp_theme");
    writeFile(path + "/temp_theme/theme.xml", "x");
    const int owner =
        ::open(QFile::encodeName(path + "/.owner").constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (live)
        ::flock(owner, LOCK_EX | LOCK_NB);
    else
        ::close(owner);
    return owner;
}

} // namespace

TEST(TemporaryDirectory, ProcessFolderIsFreshAndOwnAndLeftoversOfEndedProcessesGo)
{
    TestUtil::IsolatedAppData appData;
    const QString ended = appData.path() + "/velmora_process_ended";
    const QString live = appData.path() + "/velmora_process_live";
    makeProcessFolder(ended, false);
    const int liveOwner = makeProcessFolder(live, true);
    writeFile(appData.path() + "/velmora_process_file", "not a folder");

    const QString folder = TemporaryDirectory::processFolder();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(folder).isEmpty());
    EXPECT_EQ(TemporaryDirectory::processFolder(), folder);
    QStringList expected = {QFileInfo(folder).fileName(), "velmora_process_file",
                            "velmora_process_live"};
    expected.sort();
    QStringList listed = QDir(appData.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    listed.sort();
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(readFile(live + "/temp_theme/theme.xml"), "x");
    ::close(liveOwner);

    // A folder that went is made again.
    QDir(folder).removeRecursively();
    EXPECT_TRUE(QFileInfo(TemporaryDirectory::processFolder()).isDir());
}

// Run by the next test in processes of its own: writes and reads back a theme bundle of its
// own, again and again, while another process does the same.
TEST(TwoEditors, OneOfThem)
{
    const QStringList role = qEnvironmentVariable("VELMORA_EDITOR_ROLE").split('\n');
    if (role.size() != 3)
        GTEST_SKIP() << "started by TwoEditors.WorkAtOnceWithoutTouchingEachOthersFiles";
    TemporaryDirectory::setApplicationDataFolder(role[0]);
    const auto restored = qScopeGuard([] { TemporaryDirectory::setApplicationDataFolder({}); });
    const QString bundle = role[1];
    const QString name = role[2];
    std::unique_ptr<Velmora::Theme> theme = TestUtil::emptyTheme(name);
    for (quint32 i = 0; i < 3; ++i)
        theme->addIconData(TestUtil::imageBytes(20000, qHash(name) + i));
    for (int round = 0; round < 25; ++round) {
        ThemeFileWriter writer(theme.get(), nullptr);
        ASSERT_TRUE(writer.write(bundle));
        const Velmora::Theme read(bundle);
        ASSERT_EQ(read.getName(), name);
        ASSERT_EQ(read.getIcons().size(), 3u);
        for (unsigned int id = 0; id < 3; ++id)
            ASSERT_EQ(read.getIcons()[id].getData(), theme->getIcons()[id].getData());
    }
}

TEST(TwoEditors, WorkAtOnceWithoutTouchingEachOthersFiles)
{
    QTemporaryDir shared;
    const QString appData = shared.filePath("app_data");
    makeProcessFolder(appData + "/velmora_process_ended", false);
    std::vector<std::unique_ptr<QProcess>> editors;
    for (const QString name : {"Sea", "Sky"}) {
        auto editor = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VELMORA_EDITOR_ROLE",
                           QStringList({appData, shared.filePath(name + ".qvt"), name}).join('\n'));
        editor->setProcessEnvironment(environment);
        editor->setProcessChannelMode(QProcess::ForwardedChannels);
        editor->start(QCoreApplication::applicationFilePath(),
                      {"--gtest_filter=TwoEditors.OneOfThem"});
        editors.push_back(std::move(editor));
    }
    for (const auto& editor : editors) {
        ASSERT_TRUE(editor->waitForFinished(120000));
        EXPECT_EQ(editor->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(editor->exitCode(), 0);
    }
    // Each process removed its folder at exit, and the first made removed the leftover.
    EXPECT_TRUE(QDir(appData).isEmpty());
}
