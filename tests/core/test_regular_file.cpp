#include "common/helpers.h"
#include "core/regular_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

// Only a regular file opens; a FIFO (here with a writer, so that even a reader that waited for
// one would not hang this test), a device and a folder are refused, and a missing file fails.
TEST(RegularFile, OnlyARegularFileOpens)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("a.xml"), fifo = folder.filePath("f.xml");
    ASSERT_TRUE(TestUtil::writeFile(file, "bytes"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    const std::pair<QString, RegularFile::Result> cases[] = {
        {file, RegularFile::Result_OPENED},
        {fifo, RegularFile::Result_NOT_REGULAR},
        {"/dev/null", RegularFile::Result_NOT_REGULAR},
        {folder.path(), RegularFile::Result_NOT_REGULAR},
        {folder.filePath("missing.xml"), RegularFile::Result_FAILED},
    };
    for (const auto& [path, expected] : cases) {
        QFile opened;
        EXPECT_EQ(RegularFile::open(opened, path), expected) << path.toStdString();
        EXPECT_EQ(opened.isOpen(), expected == RegularFile::Result_OPENED);
    }
    QFile opened;
    ASSERT_EQ(RegularFile::open(opened, file), RegularFile::Result_OPENED);
    EXPECT_EQ(opened.readAll(), "bytes");
    ::close(writer);
}
