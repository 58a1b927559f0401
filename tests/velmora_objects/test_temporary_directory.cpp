#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "velmora_objects/temporary_directory.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using TestUtil::readFile;
using TestUtil::writeFile;

namespace {

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

TEST(TemporaryDirectory, CreatesMissingParentsAndRemovesTheFolderWithItsOwner)
{
    QTemporaryDir root;
    const QString path = root.path() + "/a/b/work";
    {
        TemporaryDirectory folder;
        EXPECT_TRUE(folder.path().isNull());
        EXPECT_TRUE(folder.setPath(path, false));
        EXPECT_TRUE(QFileInfo(path).isDir());
        EXPECT_EQ(folder.path(), path);
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
    writeFile(path + "/sub/file", "f");

    TemporaryDirectory keeping;
    EXPECT_TRUE(keeping.setPath(path, false));
    EXPECT_EQ(entriesOf(path), QStringList({".hidden", "sub"}));

    TemporaryDirectory clearing;
    EXPECT_TRUE(clearing.setPath(path, true));
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_TRUE(entriesOf(path).isEmpty());
}

TEST(TemporaryDirectory, NewPathRemovesThePreviousFolderAndCleanKeepsThePath)
{
    QTemporaryDir root;
    TemporaryDirectory folder;
    ASSERT_TRUE(folder.setPath(root.path() + "/first", false));
    ASSERT_TRUE(folder.setPath(root.path() + "/second", false));
    EXPECT_FALSE(QFileInfo::exists(root.path() + "/first"));
    EXPECT_TRUE(QFileInfo(root.path() + "/second").isDir());

    folder.clean();
    EXPECT_FALSE(QFileInfo::exists(root.path() + "/second"));
    EXPECT_EQ(folder.path(), root.path() + "/second");
}

// An empty path names the current folder to QDir; it must never be emptied or removed.
TEST(TemporaryDirectory, EmptyPathHoldsNoFolderAndTouchesNothing)
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
    }
    QDir::setCurrent(previous);
    EXPECT_EQ(readFile(root.path() + "/precious"), "keep");
}

TEST(TemporaryDirectory, FolderThatCannotBeMadeFails)
{
    QTemporaryDir root;
    writeFile(root.path() + "/file", "f");
    TemporaryDirectory folder;
    EXPECT_FALSE(folder.setPath(root.path() + "/file/work", true));
    EXPECT_EQ(readFile(root.path() + "/file"), "f");
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
