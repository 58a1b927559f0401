#include "common/helpers.h"
#include "core/archive_content.h"
#include "core/regular_file.h"
#include "core/targz_archive.h"
#include "core/xml_schema_validator.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every reader of the core library, handed something that is no regular file, refuses it at
// once with the rule's words for what is there, opening nothing that could wait: a FIFO that
// nothing writes to would hang this test.
TEST(RegularFile, EveryReaderRefusesWhatIsNoFileSayingWhatItIs)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath("good.tar.gz");
    TargzArchive writer;
    ASSERT_TRUE(writer.createFromMemory(archive, {{"a", "A"}}));
    QList<TestUtil::NonFile> cases = TestUtil::nonFiles(dir.path());
    cases.append({dir.filePath("missing"), "No such file"});
    const XmlSchemaValidator schema(TestUtil::dataPath("xml_schema/library.xsd"));
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(path.toStdString());
        QFile file;
        const RegularFile::Result result = RegularFile::open(file, path);
        EXPECT_EQ(RegularFile::message(result), message);
        EXPECT_FALSE(file.isOpen());
        EXPECT_EQ(RegularFile::examine(path), result);
        EXPECT_EQ(RegularFile::isNotRegular(result), message.startsWith("Not a regular file"));

        RegularFile::Result opened = RegularFile::Result_OPENED;
        EXPECT_EQ(ArchiveContent::identify(path, &opened), ArchiveContent::Kind_UNREADABLE);
        EXPECT_EQ(opened, result);
        XmlSchemaValidator::Error error;
        EXPECT_FALSE(schema.validateFile(path, &error));
        EXPECT_EQ(error.message, message);

        TargzArchive reader;
        QStringList names;
        TargzArchive::MemoryRead read;
        EXPECT_FALSE(reader.list(path, names));
        EXPECT_FALSE(reader.extractAll(path, dir.filePath("out")));
        EXPECT_EQ(reader.readIntoMemory(
                      path, {10, 10, 10}, [](const QString&) { return true; }, read),
                  TargzArchive::ReadResult::Unreadable);
    }
    // The regular file itself is read.
    QFile file;
    EXPECT_EQ(RegularFile::open(file, archive), RegularFile::Result_OPENED);
    EXPECT_EQ(ArchiveContent::identify(archive), ArchiveContent::Kind_TAR);
}
