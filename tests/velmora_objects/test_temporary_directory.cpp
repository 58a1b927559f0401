#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "velmora_objects/temporary_directory.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using TestUtil::readFile;
using TestUtil::treeOf;
using TestUtil::writeFile;

TEST(TemporaryDirectory, CreatesMissingParentsAndRemovesTheFolderWithItsOwner)
{
    QTemporaryDir root;
    const QString path = root.path() + "/a/b/work";
    {
        TemporaryDirectory folder;
        EXPECT_TRUE(folder.path().isNull());
        EXPECT_TRUE(folder.setPath(path, false));
        EXPECT_TRUE(QFileInfo(path).isDir());
        ASSERT_TRUE(writeFile(path + "/file", "x"));
    }
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(QFileInfo(root.path() + "/a/b").isDir()); // only the folder itself goes
}

TEST(TemporaryDirectory, ExistingFolderIsEmptiedOnlyWhenAskedTo)
{
    QTemporaryDir root;
    const QString path = root.path() + "/work";
    QDir().mkpath(path + "/sub");
    writeFile(path + "/.hidden", "h");
    TemporaryDirectory keeping;
    EXPECT_TRUE(keeping.setPath(path, false));
    EXPECT_EQ(treeOf(path), QStringList({".hidden", "sub/"}));
    TemporaryDirectory clearing;
    EXPECT_TRUE(clearing.setPath(path, true));
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_TRUE(treeOf(path).isEmpty());
}

TEST(TemporaryDirectory, NewPathRemovesThePreviousFolderAndCleanKeepsThePath)
{
    QTemporaryDir root;
    TemporaryDirectory folder;
    ASSERT_TRUE(folder.setPath(root.path() + "/first", false));
    ASSERT_TRUE(folder.setPath(root.path() + "/second", false));
    EXPECT_EQ(treeOf(root.path()), QStringList({"second/"}));
    folder.clean();
    EXPECT_TRUE(treeOf(root.path()).isEmpty());
    EXPECT_EQ(folder.path(), root.path() + "/second");
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
