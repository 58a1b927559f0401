#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "core/targz_archive.h"
#include "velmora_objects/theme_reader.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

using TestUtil::readFile;
using TestUtil::writeFile;

namespace {

class ThemeReaderBundle : public ::testing::Test
{
protected:
    // Writes a bundle of members (name, content) in the given order.
    QString makeBundle(const QString& fileName,
                       const std::vector<std::pair<QString, QByteArray>>& members)
    {
        const QString source = work.path() + "/source_" + fileName;
        QDir().mkpath(source);
        QList<TarItemInfo> items;
        int n = 0;
        for (const auto& [name, content] : members) {
            const QString file = source + "/" + QString::number(n++);
            writeFile(file, content);
            items.append(TarItemInfo{file, name});
        }
        const QString bundle = work.path() + "/" + fileName;
        TargzArchive archive;
        EXPECT_TRUE(archive.create(bundle, items));
        return bundle;
    }

    QString readerFolder(int number) const
    {
        return appData.path() + "/velmora_theme_reader_" + QString::number(number);
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir work;
};

} // namespace

TEST_F(ThemeReaderBundle, OpensTheXmlMemberAsTheDocument)
{
    const QString bundle = makeBundle(
        "blue.qvt", {{"landscape_splash_image", "L"}, {"icon_7", "I"}, {"Blue.xml", "<a>b</a>"}});
    ThemeReader reader;
    ASSERT_TRUE(reader.open(bundle));
    EXPECT_EQ(reader.members(), QStringList({"landscape_splash_image", "icon_7", "Blue.xml"}));
    EXPECT_EQ(reader.bundlePath(), bundle);
    EXPECT_EQ(reader.version(), 0);
    ASSERT_TRUE(reader.device());
    EXPECT_EQ(reader.device()->readAll(), "<a>b</a>");
    // Only the document is unpacked at opening.
    EXPECT_EQ(QDir(reader.temporaryFolder()).entryList(QDir::Files), QStringList({"Blue.xml"}));
}

TEST_F(ThemeReaderBundle, BundlesWithoutAReadableXmlMemberDoNotOpen)
{
    const QString noXml = makeBundle("none.qvt", {{"icon_0", "I"}, {"Blue.XML", "<a/>"}});
    writeFile(work.path() + "/garbage.qvt", "not an archive at all");
    ThemeReader reader;
    EXPECT_FALSE(reader.open(noXml));
    EXPECT_FALSE(reader.device());
    EXPECT_FALSE(reader.hasError());
    EXPECT_FALSE(reader.open(work.path() + "/garbage.qvt"));
    EXPECT_FALSE(reader.open(work.path() + "/missing.qvt"));
    EXPECT_FALSE(reader.open(QString()));
}

// Names are compared exactly: characters that mean something in shell patterns are plain
// characters of the name.
TEST_F(ThemeReaderBundle, MembersAreMatchedByExactName)
{
    const std::vector<std::pair<QString, QByteArray>> members = {
        {"Blue [dark] \\ *?.xml", "<doc/>"},
        {"Blue d \\ ab.xml", "decoy"},
        {"icon_[0]", "bracketed"},
        {"icon_0", "plain"},
        {"Grün*", "star"},
        {"Grün", "no star"}};
    const QString bundle = makeBundle("odd.qvt", members);
    ThemeReader reader;
    ASSERT_TRUE(reader.open(bundle));
    EXPECT_EQ(reader.device()->readAll(), "<doc/>");
    for (const auto& [name, content] : members) {
        const QString path = reader.extractMember(name);
        ASSERT_FALSE(path.isEmpty()) << name.toStdString();
        EXPECT_EQ(QFileInfo(path).fileName(), name);
        EXPECT_EQ(readFile(path), content) << name.toStdString();
    }
    writeFile(reader.temporaryFolder() + "/icon_0", "stale and longer");
    EXPECT_EQ(readFile(reader.extractMember("icon_0")), "plain");
    EXPECT_FALSE(reader.hasMember("icon_?"));
    EXPECT_TRUE(reader.extractMember("icon_?").isEmpty());
    EXPECT_TRUE(reader.extractMember("ICON_0").isEmpty());
}

// A member name that would reach outside the reader's folder is never used as a path, not
// even to delete an earlier copy.
TEST_F(ThemeReaderBundle, MembersThatAreNotFlatNamesAreRefused)
{
    const QString bundle = makeBundle("evil.qvt", {{"t.xml", "<t/>"}, {"../victim", "bad"}});
    writeFile(appData.path() + "/victim", "safe");
    ThemeReader reader;
    ASSERT_TRUE(reader.open(bundle));
    ASSERT_TRUE(reader.hasMember("../victim"));
    EXPECT_TRUE(reader.extractMember("../victim").isEmpty());
    EXPECT_TRUE(reader.extractMember("..").isEmpty());
    EXPECT_TRUE(reader.extractMember("").isEmpty());
    EXPECT_EQ(readFile(appData.path() + "/victim"), "safe");
}

TEST_F(ThemeReaderBundle, OneReaderOpensBundlesInTurn)
{
    const QString first = makeBundle("1.qvt", {{"one.xml", "<one/>"}, {"icon_0", "1"}});
    const QString second = makeBundle("2.qvt", {{"two.xml", "<two/>"}});
    ThemeReader reader;
    ASSERT_TRUE(reader.open(first));
    reader.readNext();
    reader.raiseError("stale error");
    reader.closeDevice();
    EXPECT_EQ(reader.errorString(), "stale error"); // still there after closing the document
    ASSERT_TRUE(reader.open(second));
    EXPECT_FALSE(reader.hasError());
    EXPECT_EQ(reader.members(), QStringList({"two.xml"}));
    EXPECT_FALSE(reader.hasMember("icon_0"));
    EXPECT_EQ(reader.device()->readAll(), "<two/>");
    EXPECT_FALSE(reader.open(work.path() + "/missing.qvt"));
    EXPECT_TRUE(reader.members().isEmpty());
    EXPECT_FALSE(reader.device());
}

TEST_F(ThemeReaderBundle, NestedReadersGetNumberedFoldersRemovedWithThem)
{
    auto outer = std::make_unique<ThemeReader>();
    EXPECT_EQ(outer->temporaryFolder(), readerFolder(1));
    EXPECT_TRUE(QFileInfo(readerFolder(1)).isDir());
    {
        ThemeReader inner;
        EXPECT_EQ(inner.temporaryFolder(), readerFolder(2));
        ThemeReader innermost;
        EXPECT_EQ(innermost.temporaryFolder(), readerFolder(3));
    }
    EXPECT_FALSE(QFileInfo::exists(readerFolder(2)));
    EXPECT_FALSE(QFileInfo::exists(readerFolder(3)));
    outer.reset();
    EXPECT_FALSE(QFileInfo::exists(readerFolder(1)));
}

// When an older reader goes first, a new reader must not take the folder of one still alive.
TEST_F(ThemeReaderBundle, NewReaderTakesTheLowestFolderNumberNotInUse)
{
    auto first = std::make_unique<ThemeReader>();
    auto second = std::make_unique<ThemeReader>();
    ASSERT_EQ(second->temporaryFolder(), readerFolder(2));
    writeFile(readerFolder(2) + "/in_use", "x");

    first.reset();
    ThemeReader third;
    EXPECT_EQ(third.temporaryFolder(), readerFolder(1));
    EXPECT_EQ(readFile(readerFolder(2) + "/in_use"), "x");
    ThemeReader fourth;
    EXPECT_EQ(fourth.temporaryFolder(), readerFolder(3));
}

TEST_F(ThemeReaderBundle, LeftoverFolderOfTheSameNumberIsEmptied)
{
    QDir().mkpath(readerFolder(1));
    writeFile(readerFolder(1) + "/leftover", "x");
    ThemeReader reader;
    EXPECT_TRUE(QDir(readerFolder(1)).isEmpty());
}
