#include "common/helpers.h"
#include "file_system/file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using TestUtil::readFile;
using TestUtil::treeOf;
using TestUtil::writeFile;

namespace {

// root/a.txt, root/.hidden, root/sub/b.txt, root/sub/.hidden_dir/c.txt and root/empty/.
void makeTree(const QString& root)
{
    QDir().mkpath(root + "/sub/.hidden_dir");
    QDir().mkpath(root + "/empty");
    writeFile(root + "/a.txt", "a");
    writeFile(root + "/.hidden", "h");
    writeFile(root + "/sub/b.txt", "b");
    writeFile(root + "/sub/.hidden_dir/c.txt", "c");
}

// The permission bits stored with a file, without the flags Qt adds for the current user.
constexpr QFileDevice::Permissions ownerGroupOther(0xF0FF);

} // namespace

TEST(FileSystem, KeepFlagEmptiesButKeepsTheTopFolder)
{
    QTemporaryDir dir;
    EXPECT_FALSE(FileSystem::removeRecursively(dir.filePath("missing"), true));
    const QString root = dir.filePath("root");
    makeTree(root);
    EXPECT_TRUE(FileSystem::removeRecursively(root, true));
    EXPECT_TRUE(QFileInfo(root).isDir());
    EXPECT_TRUE(treeOf(root).isEmpty());
    EXPECT_TRUE(FileSystem::removeRecursively(root, false));
    EXPECT_FALSE(QFileInfo::exists(root));
}

TEST(FileSystem, ReadOnlyFileIsMadeOthersWritableAndRemoved)
{
    QTemporaryDir dir;
    const QString root = dir.filePath("root");
    QDir().mkpath(root);
    writeFile(root + "/locked", "x");
    QFile::setPermissions(root + "/locked", QFileDevice::ReadOwner);
    // A second name of the same file shows what happened to it.
    ASSERT_EQ(::link(QFile::encodeName(root + "/locked").constData(),
                     QFile::encodeName(dir.filePath("witness")).constData()),
              0);
    EXPECT_TRUE(FileSystem::removeRecursively(root, false));
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_EQ(QFileInfo(dir.filePath("witness")).permissions() & ownerGroupOther,
              QFileDevice::Permissions(QFileDevice::WriteOther));
}

TEST(FileSystem, RelativePathIsReportedAndStillRemoved)
{
    QTemporaryDir dir;
    makeTree(dir.filePath("rel"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    bool removed = false;
    const QStringList warnings =
        TestUtil::warningsDuring([&] { removed = FileSystem::removeRecursively("rel", false); });
    QDir::setCurrent(previous);

    EXPECT_TRUE(removed);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("rel")));
    ASSERT_EQ(warnings.size(), 1);
    const QRegularExpression expected(QRegularExpression::anchoredPattern(
        QRegularExpression::escape("Error  Tried to delete non-absolute path rel  "
                                   "at line  ") +
        "[0-9]+" + QRegularExpression::escape("  in file  file_system (") +
        TestUtil::BuildDatePattern + QRegularExpression::escape(")  \n")));
    EXPECT_TRUE(expected.match(warnings.first()).hasMatch()) << warnings.first().toStdString();
}

TEST(FileSystem, LinksAreRemovedWithoutFollowingThem)
{
    QTemporaryDir dir;
    const QString outside = dir.filePath("outside");
    makeTree(outside);
    const QString outsideFile = dir.filePath("outside_file");
    writeFile(outsideFile, "keep");
    QFile::setPermissions(outsideFile, QFileDevice::ReadOwner);
    const QStringList outsideTree = treeOf(outside);

    const QString root = dir.filePath("root");
    makeTree(root);
    ASSERT_TRUE(QFile::link(outside, root + "/folder_link"));
    ASSERT_TRUE(QFile::link(outsideFile, root + "/file_link"));
    ASSERT_TRUE(QFile::link(dir.filePath("gone"), root + "/dangling_link"));
    ASSERT_TRUE(QFile::link(root, root + "/sub/loop"));

    EXPECT_TRUE(FileSystem::removeRecursively(root, false));
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_EQ(treeOf(outside), outsideTree);
    EXPECT_EQ(readFile(outsideFile), "keep");
    EXPECT_EQ(QFileInfo(outsideFile).permissions() & ownerGroupOther,
              QFileDevice::Permissions(QFileDevice::ReadOwner));

    // A link given as the path itself, with or without a trailing separator, goes alone.
    for (const QString& given : {dir.filePath("top_link"), dir.filePath("top_link") + "/"}) {
        ASSERT_TRUE(QFile::link(outside, dir.filePath("top_link")));
        EXPECT_TRUE(FileSystem::removeRecursively(given, true));
        EXPECT_FALSE(QFileInfo(dir.filePath("top_link")).isSymLink());
        EXPECT_EQ(treeOf(outside), outsideTree);
    }
}

TEST(FileSystem, CopyLeavesHiddenEntriesBehind)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("source");
    makeTree(source);
    EXPECT_TRUE(FileSystem::copyRecursively(source, dir.filePath("copy")));
    EXPECT_EQ(treeOf(dir.filePath("copy")), QStringList({"a.txt", "empty/", "sub/", "sub/b.txt"}));
    EXPECT_EQ(readFile(dir.filePath("copy/sub/b.txt")), "b");

    // Links inside are copied as links, so a loop is not followed.
    ASSERT_TRUE(QFile::link(source, source + "/sub/loop"));
    EXPECT_TRUE(FileSystem::copyRecursively(source, dir.filePath("with_link")));
    EXPECT_EQ(QFileInfo(dir.filePath("with_link/sub/loop")).symLinkTarget(), source);

    // A file onto an existing file fails; a missing source fails.
    EXPECT_FALSE(FileSystem::copyRecursively(source + "/a.txt", dir.filePath("copy/sub/b.txt")));
    EXPECT_FALSE(FileSystem::copyRecursively(dir.filePath("missing"), dir.filePath("copy2")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("copy2")));
}

TEST(FileSystem, CopyResolvesRelativeDestinationAgainstTheSourceAtEveryLevel)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("source");
    makeTree(source);
    EXPECT_TRUE(FileSystem::copyRecursively(source, "../copy"));
    EXPECT_EQ(treeOf(dir.filePath("copy")), QStringList({"a.txt", "empty/", "sub/", "sub/b.txt"}));

    // A destination inside the source is filled from what the source held before.
    EXPECT_TRUE(FileSystem::copyRecursively(source, "inner"));
    EXPECT_EQ(treeOf(source + "/inner"), QStringList({"a.txt", "empty/", "sub/", "sub/b.txt"}));
}

TEST(FileSystem, TemporaryFolderTakesTheFirstFreeName)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("x");
    writeFile(dir.filePath("x0"), "");
    EXPECT_EQ(FileSystem::createTemporaryFolder("x", dir.path()), dir.filePath("x1"));
    EXPECT_TRUE(QFileInfo(dir.filePath("x1")).isDir());
    EXPECT_EQ(FileSystem::createTemporaryFolder("y", dir.path()), dir.filePath("y"));
    EXPECT_TRUE(FileSystem::createTemporaryFolder("z", dir.filePath("missing")).isNull());

    // Without a parent the folder is made in the system temporary folder.
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    const QString made = FileSystem::createTemporaryFolder("x");
    qputenv("TMPDIR", previous);
    EXPECT_EQ(made, dir.filePath("x2"));
}
