#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/theme_bundles.h"
#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

using TestUtil::BundleMember;
using TestUtil::pngBytes;
using TestUtil::readFile;
using TestUtil::themeDocument;
using TestUtil::writeFile;

namespace {

// Small limits for the time of a test, so that hostile bundles stay small.
class SmallLimits
{
public:
    SmallLimits() { ThemeReader::setLimits({8, 64 * 1024, 160 * 1024, 16, 3}); }
    ~SmallLimits() { ThemeReader::setLimits(ThemeReader::Limits()); }
};

class ThemeReaderBundle : public ::testing::Test
{
protected:
    QString makeBundle(const QString& fileName, const std::vector<BundleMember>& members)
    {
        const QString bundle = work.path() + "/" + fileName;
        EXPECT_TRUE(TestUtil::makeBundle(bundle, members));
        return bundle;
    }

    QString readerFolder(int number) const
    {
        return TemporaryDirectory::processFolder() + "/velmora_theme_reader_" +
               QString::number(number);
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir work;
};

} // namespace

TEST_F(ThemeReaderBundle, OpensTheFirstXmlMemberAsTheDocument)
{
    const QString bundle = makeBundle("blue.qvt", {{"landscape_splash_image", "L", {}},
                                                   {"icon_7", "I", {}},
                                                   {"Blue [dark] *?.xml", "<a>b</a>", {}},
                                                   {"Later.xml", "<later/>", {}},
                                                   {"icon_[0]", "foreign", {}}});
    ThemeReader reader;
    ASSERT_TRUE(reader.open(bundle));
    EXPECT_EQ(reader.members(), QStringList({"landscape_splash_image", "icon_7",
                                             "Blue [dark] *?.xml", "Later.xml", "icon_[0]"}));
    EXPECT_EQ(reader.bundlePath(), bundle);
    EXPECT_EQ(reader.version(), 0);
    ASSERT_TRUE(reader.device());
    EXPECT_EQ(reader.device()->readAll(), "<a>b</a>");
    // Image members are held by their exact names; foreign ones are listed only.
    EXPECT_EQ(reader.memberData("icon_7"), "I");
    EXPECT_TRUE(reader.hasMember("icon_[0]"));
    EXPECT_TRUE(reader.memberData("icon_[0]").isNull());
    EXPECT_TRUE(reader.memberData("ICON_7").isNull());
    // Nothing reaches the disk unless asked for.
    EXPECT_TRUE(QDir(reader.temporaryFolder()).isEmpty());
    EXPECT_EQ(readFile(reader.extractXmlFile()), "<a>b</a>");
}

TEST_F(ThemeReaderBundle, BundlesWithoutAReadableXmlMemberDoNotOpen)
{
    const QString noXml = makeBundle("none.qvt", {{"icon_0", "I", {}}, {"Blue.XML", "<a/>", {}}});
    const QString linked =
        makeBundle("linked.qvt", {{"Blue.xml", {}, "/etc/passwd"}, {"icon_0", "I", {}}});
    writeFile(work.path() + "/garbage.qvt", "not an archive at all");
    ThemeReader reader;
    for (const QString& path :
         {noXml, linked, work.path() + "/garbage.qvt", work.path() + "/missing.qvt", QString()}) {
        EXPECT_FALSE(reader.open(path)) << path.toStdString();
        EXPECT_FALSE(reader.device());
        EXPECT_FALSE(reader.hasError());
    }
}

// A member name that would reach outside the reader's folder is never used as a path, not
// even to delete an earlier copy.
TEST_F(ThemeReaderBundle, MembersThatAreNotFlatNamesAreRefused)
{
    const QString bundle =
        makeBundle("evil.qvt", {{"t.xml", "<t/>", {}}, {"../victim", "bad", {}}});
    ThemeReader reader;
    writeFile(TemporaryDirectory::processFolder() + "/victim", "safe");
    ASSERT_TRUE(reader.open(bundle));
    ASSERT_TRUE(reader.hasMember("../victim"));
    for (const char* name : {"../victim", "..", ""})
        EXPECT_TRUE(reader.extractMember(name).isEmpty()) << name;
    EXPECT_EQ(readFile(TemporaryDirectory::processFolder() + "/victim"), "safe");
}

TEST_F(ThemeReaderBundle, OneReaderOpensBundlesInTurn)
{
    const QString first = makeBundle("1.qvt", {{"one.xml", "<one/>", {}}, {"icon_0", "1", {}}});
    const QString second = makeBundle("2.qvt", {{"two.xml", "<two/>", {}}});
    ThemeReader reader;
    ASSERT_TRUE(reader.open(first));
    reader.readNext();
    reader.raiseError("stale error");
    reader.closeDevice();
    EXPECT_EQ(reader.errorString(), "stale error"); // still there after closing the document
    ASSERT_TRUE(reader.open(second));
    EXPECT_FALSE(reader.hasError());
    EXPECT_EQ(reader.members(), QStringList({"two.xml"}));
    EXPECT_TRUE(reader.memberData("icon_0").isNull());
    EXPECT_EQ(reader.device()->readAll(), "<two/>");
    EXPECT_FALSE(reader.open(work.path() + "/missing.qvt"));
    EXPECT_TRUE(reader.members().isEmpty());
    EXPECT_FALSE(reader.device());
}

// The archive is read once, whatever the document names: every reference is served from the
// members held, and the bytes of a member named many times are held once.
TEST_F(ThemeReaderBundle, EveryReferenceIsServedFromTheOnePass)
{
    QString icons;
    for (int i = 0; i < 100; ++i)
        icons += "<Icon>icon_0</Icon>";
    const QString bundle = makeBundle(
        "refs.qvt", {{"icon_0", pngBytes(8, 8, Qt::red), {}},
                     {"pad", QByteArray(4 * 1024 * 1024, '\0'), {}},
                     {"Refs.xml",
                      themeDocument("<Icons>" + icons + "</Icons>" +
                                    "<SplashImage>icon_0</SplashImage>"
                                    "<SkinSet ItemType=\"Button\"><Skin Name=\"S\">"
                                    "<SkinProperty Name=\"backgroundImage\" Value=\"icon_0\"/>"
                                    "</Skin></SkinSet>"),
                      {}}});
    ThemeReader reader;
    ASSERT_TRUE(reader.open(bundle));
    ASSERT_TRUE(QFile::remove(bundle));
    Velmora::Theme theme{QString()};
    ASSERT_TRUE(reader.readOpened(&theme)) << reader.errorString().toStdString();
    ASSERT_EQ(theme.getIcons().size(), 100u);
    ASSERT_EQ(theme.getSkinImages().size(), 1u);
    EXPECT_EQ(theme.getLandscapeSplash().size(), QSize(8, 8));
    const char* bytes = reader.memberData("icon_0").constData();
    for (const Velmora::ImageData& icon : theme.getIcons())
        EXPECT_EQ(icon.getData().constData(), bytes);
    EXPECT_EQ(theme.getSkinImages().begin()->getData().constData(), bytes);
}

// Each limit refuses a bundle with a message that names it, before a byte of the offending
// member is taken; what stays within the limits is read.
TEST_F(ThemeReaderBundle, BundlesBeyondTheLimitsAreRefused)
{
    const SmallLimits limits;
    const QByteArray big(64 * 1024 + 1, '\0');
    const QByteArray fits(64 * 1024, '\0');
    auto document = [](const QString& children) {
        return BundleMember{"Hostile.xml", themeDocument(children), {}};
    };
    const QString threeSkins = "<SkinSet ItemType=\"Button\"><Skin Name=\"a\"/><Skin Name=\"b\"/>"
                               "<Skin Name=\"c\"/></SkinSet>";
    struct Case
    {
        const char* what;
        std::vector<BundleMember> members;
        QString error;
    };
    const std::vector<Case> cases = {
        {"padding member",
         {{"pad", big, {}}, document("")},
         "Member 'pad' of the theme bundle is larger than 64 kB."},
        {"document",
         {document(QString(64 * 1024, u' '))},
         "Member 'Hostile.xml' of the theme bundle is larger than 64 kB."},
        {"all members",
         {{"a", fits, {}}, {"b", fits, {}}, {"c", fits, {}}, document("")},
         "The theme bundle holds more than 160 kB of data."},
        {"member count",
         {{"1", {}, {}},
          {"2", {}, {}},
          {"3", {}, {}},
          {"4", {}, {}},
          {"5", {}, {}},
          {"6", {}, {}},
          {"7", {}, {}},
          {"8", {}, {}},
          document("")},
         "The theme bundle holds more than 8 members."},
        {"picture size",
         {{"icon_0", pngBytes(17, 2, Qt::red), {}}, document("<Icons><Icon>icon_0</Icon></Icons>")},
         "Image 'icon_0' of the theme bundle is larger than 16 by 16 pixels."},
        {"skin count",
         {document(threeSkins + "<SkinSet ItemType=\"Slider\"><Skin Name=\"d\"/>"
                                "</SkinSet>")},
         "The theme bundle holds more than 3 skins."},
        {"within every limit",
         {{"icon_0", pngBytes(16, 16, Qt::red), {}},
          {"pad", QByteArray(48 * 1024, '\0'), {}},
          {"1", fits, {}},
          {"2", {}, {}},
          {"3", {}, {}},
          {"4", {}, {}},
          {"5", {}, {}},
          document("<Icons><Icon>icon_0</Icon></Icons>" + threeSkins)},
         ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString bundle = makeBundle("hostile.qvt", c.members);
        ThemeReader reader;
        Velmora::Theme theme{QString()};
        EXPECT_EQ(reader.read(bundle, &theme), c.error.isEmpty());
        EXPECT_EQ(reader.errorString().toStdString(), c.error.toStdString());
        EXPECT_TRUE(QDir(reader.temporaryFolder()).isEmpty());
    }
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
