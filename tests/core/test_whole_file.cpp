#include "core/whole_file.h"

#include "common/helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The files of the folder, hidden ones too: a save leaves no temporary file behind.
QStringList filesOf(const QTemporaryDir& folder)
{
    return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

// A save through a chain of links replaces the file at its end and keeps every link; a loop of
// links is refused; an unfinished or cancelled save leaves the target as it was.
TEST(WholeFile, ReplacesTheFileALinkChainEndsAtAndLeavesNothingWhenItFails)
{
    QTemporaryDir folder;
    const QString real = folder.filePath("real.qvp");
    ASSERT_TRUE(TestUtil::writeFile(real, "old"));
    ASSERT_TRUE(QFile::link(real, folder.filePath("first.qvp")));
    ASSERT_TRUE(QFile::link(folder.filePath("first.qvp"), folder.filePath("second.qvp")));
    ASSERT_TRUE(QFile::link(folder.filePath("loop.qvp"), folder.filePath("loop.qvp")));

    EXPECT_TRUE(WholeFile::write(folder.filePath("second.qvp"), "new"));
    EXPECT_EQ(TestUtil::readFile(real), "new");
    EXPECT_TRUE(QFileInfo(folder.filePath("second.qvp")).isSymLink());
    EXPECT_TRUE(QFileInfo(folder.filePath("first.qvp")).isSymLink());

    EXPECT_FALSE(WholeFile::write(folder.filePath("loop.qvp"), "new"));
    {
        WholeFile::SaveFile cancelled(real);
        ASSERT_TRUE(WholeFile::open(cancelled));
        cancelled.cancelWriting();
        EXPECT_FALSE(WholeFile::commit(cancelled, "lost"));
    }
    {
        WholeFile::SaveFile abandoned(real);
        ASSERT_TRUE(WholeFile::open(abandoned));
    }
    EXPECT_EQ(TestUtil::readFile(real), "new");
    EXPECT_EQ(filesOf(folder), QStringList({"first.qvp", "loop.qvp", "real.qvp", "second.qvp"}));
}
