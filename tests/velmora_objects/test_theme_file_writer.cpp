#include "common/file_size_limit.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/sample_themes.h"
#include "common/theme_bundles.h"
#include "core/gradient.h"
#include "core/progress_handler.h"
#include "core/targz_archive.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/skin_transition.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_reader.h"
#include "velmora_objects/theme_xml_values.h"
#include "velmora_objects/theme_xml_writer.h"

#include <QBuffer>
#include <QDir>
#include <QEasingCurve>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QXmlStreamWriter>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Velmora;
using TestUtil::readFile;
using TestUtil::writeFile;

namespace {

QStringList membersOf(const QString& bundle)
{
    QStringList names;
    TargzArchive archive;
    EXPECT_TRUE(archive.list(bundle, names));
    return names;
}

// Every member name the theme document names: its splash images, image lists and image skin
// properties.
QStringList namedMembers(const QByteArray& document)
{
    static const QRegularExpression member(
        "[>\"]((landscape|portrait)_splash_image|(image|icon|control_image|skin_image)_\\d+)[<\"]");
    QStringList names;
    for (const QRegularExpressionMatch& match : member.globalMatch(QString(document)))
        names << match.captured(1);
    return names;
}

// The theme document the XML writer gives for the theme.
QByteArray xmlOf(const Theme& theme)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ThemeXmlWriter writer;
    writer.write(&buffer, theme);
    EXPECT_FALSE(writer.hasError());
    return bytes;
}

struct ProgressLog
{
    static void onProgress(unsigned done, unsigned total, void* user)
    {
        EXPECT_EQ(total, 10000u);
        static_cast<ProgressLog*>(user)->values.push_back(done);
    }
    std::vector<unsigned> values;
};

class ThemeFileWriterTest : public ::testing::Test
{
protected:
    QString bundlePath(const QString& name = "theme.qvt") const
    {
        return output.path() + "/" + name;
    }

    // Writes the theme and returns the codes of error(int) it emitted.
    std::vector<int> write(const Theme& theme, const QString& path, bool expected,
                           ProgressHandler* progress = nullptr)
    {
        ThemeFileWriter writer(&theme, progress);
        QSignalSpy errors(&writer, &ThemeFileWriter::error);
        EXPECT_EQ(writer.write(path), expected);
        std::vector<int> codes;
        for (const QList<QVariant>& arguments : errors)
            codes.push_back(arguments.at(0).toInt());
        return codes;
    }

    // The bundle's XML member, extracted through the bundle reader.
    QByteArray documentOf(const QString& bundle)
    {
        ThemeReader reader;
        EXPECT_TRUE(reader.open(bundle));
        return reader.device() ? reader.device()->readAll() : QByteArray();
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir output;
};

} // namespace

TEST_F(ThemeFileWriterTest, ThemeWithoutImagesGivesSplashesAndDocument)
{
    const QString bundle = bundlePath();
    EXPECT_TRUE(write(*TestUtil::emptyTheme("Blue"), bundle, true).empty());
    EXPECT_EQ(membersOf(bundle),
              QStringList({"landscape_splash_image", "portrait_splash_image", "Blue.xml"}));
}

TEST_F(ThemeFileWriterTest, MembersAreNamedByKindAndIdAndUnusedSkinImagesLeftOut)
{
    const std::unique_ptr<Theme> theme = TestUtil::sampleTheme();
    const QString bundle = bundlePath();
    EXPECT_TRUE(write(*theme, bundle, true).empty());
    // Skin image 1 is used by no skin: the bundle leaves it out, the caller's theme keeps it.
    const QStringList expected = QString("landscape_splash_image portrait_splash_image image_0 "
                                         "image_1 image_2 icon_7 control_image_0 skin_image_0 "
                                         "skin_image_2 Blue.xml")
                                     .split(' ');
    EXPECT_EQ(membersOf(bundle), expected);
    EXPECT_EQ(theme->getSkinImages().size(), 3u);

    // Every member carries its bytes unchanged; the splash images are PNG pictures.
    QTemporaryDir unpacked;
    TargzArchive archive;
    ASSERT_TRUE(archive.extractAll(bundle, unpacked.path()));
    EXPECT_EQ(readFile(unpacked.path() + "/icon_7"), "icon 7");
    EXPECT_EQ(readFile(unpacked.path() + "/skin_image_2"), "skin image 2");
    EXPECT_EQ(QImage(unpacked.path() + "/landscape_splash_image", "PNG").size(), QSize(48, 27));
    EXPECT_EQ(QFileInfo(unpacked.path() + "/portrait_splash_image").size(), 0); // no splash

    // Everything the document names is a member of the bundle.
    const QStringList named = namedMembers(readFile(unpacked.path() + "/Blue.xml"));
    EXPECT_EQ(named.size(), 9);
    for (const QString& name : named)
        EXPECT_TRUE(expected.contains(name)) << name.toStdString();
}

// Names with characters that mean something in shell patterns, or that would make a member
// path, must give bundles that open again.
// The document's member name is one that every common system extracts and that the reader
// takes as the document; the theme keeps its name as typed.
TEST_F(ThemeFileWriterTest, ThemeNamesOfAnyKindGiveBundlesThatReadBack)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {"Blue [dark] \\ *?", "Blue [dark] _ __.xml"},
        {"Red/Green", "Red_Green.xml"},
        {"../../escape", "_.._.._escape.xml"},
        {"._Something", "_._Something.xml"},
        {".hidden", "_.hidden.xml"},
        {"a\\b:c*d?e\"f<g>h|i\tj", "a_b_c_d_e_f_g_h_i_j.xml"},
        {"CON", "CON_.xml"},
        {"com1.old", "com1_.old.xml"},
        {"Nul  ", "Nul_  .xml"},
        {"lpt\u00b2", "lpt\u00b2_.xml"},
        {"Console", "Console.xml"},
        {"Grün", "Grün.xml"},
        {"Line\r\nFeed\rReturn \U0001F600", "Line__Feed_Return \U0001F600.xml"},
        {"", "_.xml"},
        {QString(300, u'é'), QString(125, u'é') + ".xml"}};
    for (const auto& [name, member] : cases) {
        SCOPED_TRACE(name.toStdString());
        const QString bundle = bundlePath();
        ASSERT_TRUE(write(*TestUtil::emptyTheme(name), bundle, true).empty());
        EXPECT_EQ(membersOf(bundle).value(2), member);
        EXPECT_EQ(ThemeFileWriter::xmlMemberName(name), member);
        ThemeReader reader;
        Theme read{QStringLiteral("unread")};
        EXPECT_TRUE(reader.read(bundle, &read)) << reader.errorString().toStdString();
        EXPECT_EQ(read.getName(), name);
    }
}

// A name holding a character that XML cannot hold is refused, naming it; nothing is written.
TEST_F(ThemeFileWriterTest, NamesAThemeFileCannotHoldAreRefusedNamingTheCharacter)
{
    for (const char16_t character :
         {u'\x01', u'\x1f', u'\xfffe', u'\xffff', u'\xd83d', u'\xde00'}) {
        const auto theme = TestUtil::emptyTheme(QString("a\t\r") + QChar(character) + "\U0001F600");
        ThemeFileWriter writer(theme.get(), nullptr);
        QSignalSpy codes(&writer, &ThemeFileWriter::error);
        EXPECT_FALSE(writer.write(bundlePath()));
        EXPECT_EQ(codes.value(0), QVariantList{int(ThemeFileWriter::NameError)});
        EXPECT_EQ(writer.errorString(), QString("The theme name holds the character U+%1, which a "
                                                "theme file cannot store.")
                                            .arg(QString::number(character, 16).toUpper(), 4, '0'));
    }
}

// A full disk, whatever fills it: code 3, false, the reason, and the bundle written before stays
// exactly as it was. Anything but a regular file in the bundle's place is named and left alone.
TEST_F(ThemeFileWriterTest, WriteFailuresKeepTheExistingBundle)
{
    const auto old = TestUtil::emptyTheme("Old");
    for (const auto& [path, reason] : TestUtil::nonFiles(output.path(), ".qvt")) {
        ThemeFileWriter writer(old.get(), nullptr);
        EXPECT_FALSE(writer.write(path));
        EXPECT_EQ(writer.errorString(), reason);
        EXPECT_FALSE(QFileInfo(path).isFile());
    }

    const QString bundle = bundlePath();
    ASSERT_TRUE(write(*old, bundle, true).empty());
    const QByteArray before = readFile(bundle);
    const rlim_t limit = 64 * 1024;

    auto bigImage = TestUtil::emptyTheme("Big image");
    bigImage->addControlImageData(TestUtil::imageBytes(100 * 1024, 1));

    // Each member fits, the archive does not.
    auto bigArchive = TestUtil::emptyTheme("Big archive");
    for (quint32 seed = 3; seed < 6; ++seed)
        bigArchive->addIconData(TestUtil::imageBytes(40 * 1024, seed));

    for (const Theme* theme : {bigImage.get(), bigArchive.get()}) {
        SCOPED_TRACE(theme->getName().toStdString());
        ThemeFileWriter writer(theme, nullptr);
        QSignalSpy codes(&writer, &ThemeFileWriter::error);
        {
            FileSizeLimit full(limit);
            EXPECT_FALSE(writer.write(bundle));
        }
        EXPECT_EQ(codes.value(0).value(0), QVariant(int(ThemeFileWriter::ArchiveError)));
        EXPECT_EQ(writer.errorString(), "Unable to write file: File too large");
        EXPECT_EQ(readFile(bundle), before);
        EXPECT_EQ(QDir(output.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList({"theme.qvt"}));
    }
    // Without the limit the same themes are written.
    for (const Theme* theme : {bigImage.get(), bigArchive.get()})
        EXPECT_TRUE(write(*theme, bundle, true).empty());
}

// A theme that the reader would refuse is not written: the write fails naming the bound, and
// the bundle in place stays whole. Each bound at the limit, and one past it.
TEST_F(ThemeFileWriterTest, ThemesBeyondTheReaderLimitsAreNotWritten)
{
    const QString bundle = bundlePath();
    ASSERT_TRUE(write(*TestUtil::emptyTheme("Old"), bundle, true).empty());
    const QByteArray old = readFile(bundle);
    // Members, bytes of one and of all, picture sides, skins, the text of the document.
    const TestUtil::ReaderLimits limits(
        {6, 3000, 8000, 16, 2, {256, 1 << 20, 64, 1 << 22, 99, 24}});
    const auto made = [](int nameLength, const std::vector<QByteArray>& icons, int skins) {
        auto theme = TestUtil::emptyTheme(QString(nameLength, u'n'));
        for (const QByteArray& icon : icons)
            theme->addIconData(icon);
        smart_ptr<SkinSet> buttons(new SkinSet(ThemedItemType_BUTTON));
        for (int i = 0; i < skins; ++i)
            buttons->getSkin(QString::number(i), true);
        theme->setSkinSet(buttons);
        return theme;
    };
    const QByteArray fits = TestUtil::pngBytes(16, 16, Qt::red), full(3000, 'x');
    Theme read{QString()};
    ASSERT_TRUE(write(*made(24, {fits, fits, full}, 2), bundlePath("fits.qvt"), true).empty());
    EXPECT_TRUE(ThemeReader().read(bundlePath("fits.qvt"), &read));
    const std::pair<std::unique_ptr<Theme>, QString> cases[] = {
        {made(1, {TestUtil::pngBytes(16, 17, Qt::red)}, 0),
         "Image 'icon_0' is 16 by 17 pixels, larger than the 16 by 16 pixels a theme image may "
         "have."},
        {made(1, {full + 'x'}, 0),
         "Image 'icon_0' is 3001 bytes, more than the 3000 bytes a theme image may hold."},
        {made(1, {fits, fits, fits, fits}, 0),
         "The theme would make a bundle of 7 members; a bundle may hold 6."},
        {made(1, {full, full, full}, 0),
         "The theme would make a bundle of more than the 8000 bytes a bundle may hold."},
        {made(1, {}, 3), "The theme holds 3 skins; a bundle may hold 2."},
        {made(25, {}, 0),
         "The theme document would not read back: A text is longer than 24 characters."},
    };
    for (const auto& [theme, error] : cases) {
        ThemeFileWriter writer(theme.get(), nullptr);
        QSignalSpy codes(&writer, &ThemeFileWriter::error);
        EXPECT_FALSE(writer.write(bundle));
        EXPECT_EQ(writer.errorString(), error);
        EXPECT_EQ(codes.value(0).value(0), QVariant(int(ThemeFileWriter::LimitError)));
        EXPECT_EQ(readFile(bundle), old);
    }
}

TEST_F(ThemeFileWriterTest, ProgressFillsFivePartsAndEndsComplete)
{
    ProgressLog log;
    ProgressHandler progress;
    progress.progressCallback = &ProgressLog::onProgress;
    progress.user = &log;
    ASSERT_TRUE(write(*TestUtil::sampleTheme(), bundlePath(), true, &progress).empty());
    EXPECT_TRUE(progress.ranges.empty());
    EXPECT_EQ(progress.title, "Theme Editor");
    EXPECT_EQ(progress.message, "Packaging theme...");
    // Five steps of preparation, then the packaging fills the last one.
    ASSERT_GE(log.values.size(), 7u);
    EXPECT_EQ(std::vector<unsigned>(log.values.begin(), log.values.begin() + 5),
              std::vector<unsigned>({0, 2000, 4000, 6000, 8000}));
    EXPECT_TRUE(std::is_sorted(log.values.begin(), log.values.end()));
    EXPECT_EQ(log.values.back(), 10000u);

    // A failed write leaves no range of its own open; the caller's own range stays.
    progress.beginRange(2);
    EXPECT_EQ(
        write(*TestUtil::sampleTheme(), output.path() + "/missing/theme.qvt", false, &progress),
        std::vector<int>{ThemeFileWriter::ArchiveError});
    EXPECT_EQ(progress.ranges.size(), 1u);
}

// The bundle is replaced as every whole file is: through a link to its target, keeping the
// permissions (never unreadable to the owner); a read-only bundle is refused and stays as it was.
TEST_F(ThemeFileWriterTest, BundleIsReplacedThroughLinksWithItsPermissions)
{
    const QString target = bundlePath("target.qvt");
    const QString link = bundlePath("link.qvt");
    ASSERT_TRUE(QFile::link(target, link));
    struct Case
    {
        QString path;
        mode_t before;
        mode_t after; // 0: refused
    };
    const std::vector<Case> cases = {
        {link, 0640, 0640}, {target, 0604, 0604}, {target, 0200, 0600}, {link, 0444, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        ASSERT_TRUE(writeFile(target, "old"));
        ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), c.before), 0);
        const std::vector<int> codes = write(*TestUtil::emptyTheme("New"), c.path, c.after != 0);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        struct stat status;
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0);
        if (c.after == 0) {
            EXPECT_EQ(codes, std::vector<int>{ThemeFileWriter::ArchiveError});
            EXPECT_EQ(readFile(target), "old");
            EXPECT_EQ(status.st_mode & 0777, c.before);
        } else {
            EXPECT_EQ(membersOf(target).value(2), "New.xml");
            EXPECT_EQ(status.st_mode & 0777, c.after);
        }
    }
    EXPECT_EQ(QDir(output.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({"link.qvt", "target.qvt"}));
}

// Skin properties that the tables do not define (by name, or by type) travel through project
// files; the bundle leaves them out so that it reads back.
TEST_F(ThemeFileWriterTest, SkinPropertiesTheTablesDoNotKnowAreLeftOut)
{
    const std::unique_ptr<Theme> theme = TestUtil::sampleTheme();
    auto addProperty = [&theme](ThemedItemType type, const QString& key, SkinPropertyType kind,
                                const QVariant& value) {
        SkinSet* skinSet = theme->getSkinSet(type);
        if (!skinSet) {
            theme->setSkinSet(smart_ptr<SkinSet>(new SkinSet(type)));
            skinSet = theme->getSkinSet(type);
        }
        smart_ptr<SkinProperty> property(SkinProperty::create(kind));
        property->copyFrom(
            *SkinProperties::getSkinProperties(ThemedItemType_BUTTON)->getProperty("borderWidth"));
        property->setKey(key);
        property->setValue(value);
        Skin* skin = skinSet->getSkin("Normal", true);
        skin->removeProperty(key);
        skin->setProperty(property);
    };
    addProperty(ThemedItemType_BUTTON, "unheardOf", SkinPropertyType_STRING, "x");
    addProperty(ThemedItemType_BUTTON, "opacity", SkinPropertyType_STRING, "half");
    addProperty(ThemedItemType_PAGE_SWITCHER, "borderWidth", SkinPropertyType_INT, 2);
    const QString bundle = bundlePath();
    ASSERT_TRUE(write(*theme, bundle, true).empty());

    ThemeReader reader;
    Theme readBack{QString()};
    ASSERT_TRUE(reader.read(bundle, &readBack)) << reader.errorString().toStdString();
    const Skin* normal = readBack.findSkin(ThemedItemType_BUTTON, "Normal");
    ASSERT_TRUE(normal);
    EXPECT_FALSE(normal->hasProperty("unheardOf"));
    EXPECT_EQ(normal->getPropertyValue("opacity"),
              SkinProperties::getSkinProperties(ThemedItemType_BUTTON)
                  ->getProperty("opacity")
                  ->getValue());
    EXPECT_EQ(normal->getPropertyValue("borderWidth"), QVariant(3));
    ASSERT_TRUE(readBack.findSkin(ThemedItemType_PAGE_SWITCHER, "Normal"));
    EXPECT_EQ(readBack.findSkin(ThemedItemType_PAGE_SWITCHER, "Normal")->size(), 0u);
    // The caller's theme keeps them.
    EXPECT_TRUE(theme->findSkin(ThemedItemType_BUTTON, "Normal")->hasProperty("unheardOf"));
}

// A splash read from a bundle goes back into the next bundle as the very bytes it came as, even
// where encoding its picture again would give other bytes.
TEST_F(ThemeFileWriterTest, SplashMembersAreWrittenBackUnchanged)
{
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QByteArray stored;
    QBuffer buffer(&stored);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter encoder(&buffer, "png");
    encoder.setQuality(100); // no compression: not what a default encoding gives
    ASSERT_TRUE(encoder.write(picture));
    auto theme = TestUtil::emptyTheme("Kept");
    theme->setSplashBytes(Orientation_LANDSCAPE, stored);
    const QString first = bundlePath("first.qvt");
    const QString second = bundlePath("second.qvt");
    ASSERT_TRUE(write(*theme, first, true).empty());
    const Theme read(first);
    ASSERT_TRUE(write(read, second, true).empty());
    ThemeReader reader;
    ASSERT_TRUE(reader.open(second));
    EXPECT_EQ(reader.memberData("landscape_splash_image"), stored);
    EXPECT_EQ(read.getLandscapeSplash().size(), QSize(30, 20));
}

// The whole document of a theme that uses every element: order, indentation and value forms.
TEST(ThemeXmlWriter, WritesTheExpectedDocument)
{
    const QByteArray expected = TestUtil::readFile(TestUtil::dataPath("theme_xml/blue.xml"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(QString(xmlOf(*TestUtil::sampleTheme())).toStdString(),
              QString(expected).toStdString());
}

// A plain int that happens to hold a text style's number is an int, not a text style.
TEST(ThemeXmlWriter, OnlyValuesOfTheExactTypeBecomeChildElements)
{
    auto theme = TestUtil::emptyTheme("T");
    theme->setDefaultItemProperty(ThemedItemType_LABEL, "style", int(TextStyle_RAISED));
    theme->setDefaultItemProperty(ThemedItemType_LABEL, "none", QVariant());
    const QByteArray document = xmlOf(*theme);
    EXPECT_TRUE(document.contains("<DefaultItemProperty Name=\"style\" Value=\"2\"/>"));
    EXPECT_TRUE(document.contains("<DefaultItemProperty Name=\"none\" Value=\"\"/>"));
}

TEST(ThemeXmlValues, TextStyleAndGradientElements)
{
    Gradient gradient;
    gradient.setName("Not written");
    gradient.setStops({{0.5, QColor(0x12, 0xAB, 0xEF, 128)}, {0.0, Qt::red}, {1.0 / 3, Qt::white}});

    QString text;
    QXmlStreamWriter writer(&text);
    writer.writeStartElement("Root");
    writeTextStyleElement(writer, TextStyle_SUNKEN);
    writeGradientElement(writer, gradient);
    writeGradientElement(writer, Gradient());
    writer.writeEndElement();

    EXPECT_EQ(text, "<Root><TextStyle>Sunken</TextStyle><Gradient>"
                    "<GradientStop Position=\"0\" Colour=\"#ff0000\"/>"
                    "<GradientStop Position=\"0.333333\" Colour=\"#ffffff\"/>"
                    "<GradientStop Position=\"0.5\" Colour=\"#12abef\"/>"
                    "</Gradient><Gradient/></Root>");
}

// A bundle reads back as the document allows: ids renumbered in document order, values as
// text, lost alphas and orientations 0, an own skin image for each property that names one,
// unnamed easings and addresses of no stored image left out, and skins completed from the
// default skin and the tables.
TEST_F(ThemeFileWriterTest, BundlesReadBackAsTheDocumentAllows)
{
    const std::unique_ptr<Theme> original = TestUtil::sampleTheme();
    // A text style no editor gives, as a project file may hold, is written as it is drawn.
    original->setDefaultItemProperty(ThemedItemType_KEYPAD, "displayTextStyle",
                                     QVariant::fromValue(TextStyle(200)));
    const QString bundle = bundlePath();
    ASSERT_TRUE(write(*original, bundle, true).empty());
    const Theme read(bundle);
    EXPECT_EQ(read.getName(), "Blue");
    EXPECT_EQ(read.getLandscapeSplash().convertToFormat(QImage::Format_RGB32),
              original->getLandscapeSplash());
    EXPECT_TRUE(read.getPortraitSplash().isNull());
    const auto images = [](const Theme::ImageStore& store) {
        QStringList list;
        for (const ImageData& image : store)
            list << QString("%1 %2 %3")
                        .arg(image.getId())
                        .arg(image.getOrientation())
                        .arg(QString(image.getData()));
        return list;
    };
    EXPECT_EQ(images(read.getPageBackgroundImages()),
              QStringList({"0 1 background 0", "1 1 background 1", "2 2 background 2"}));
    EXPECT_EQ(images(read.getIcons()), QStringList({"0 0 icon 7"}));
    EXPECT_EQ(images(read.getControlImages()), QStringList({"0 0 control image 0"}));
    EXPECT_EQ(images(read.getSkinImages()), QStringList({"0 0 skin image 0", "1 0 skin image 2"}));

    const auto& buttonDefaults = read.getDefaultItemProperties().at(ThemedItemType_BUTTON);
    EXPECT_EQ(buttonDefaults.at("fontSize"), QVariant("12"));
    Gradient opaque;
    opaque.setStops({{0.0, Qt::red}, {0.5, QColor("#00ff00")}, {1.0, Qt::blue}});
    EXPECT_EQ(buttonDefaults.at("gradient"), QVariant::fromValue(opaque));
    EXPECT_EQ(buttonDefaults.at("textStyle"), QVariant::fromValue(TextStyle_RAISED));
    EXPECT_EQ(read.getDefaultItemProperty(ThemedItemType_KEYPAD, "displayTextStyle"),
              QVariant::fromValue(TextStyle_NORMAL));
    EXPECT_EQ(read.getDefaultItemProperties().count(ThemedItemType(9)), 0u);
    EXPECT_EQ(read.getDefaultSkins(), original->getDefaultSkins());

    const Skin* normal = read.findSkin(ThemedItemType_BUTTON, "Normal");
    const Skin* pressed = read.findSkin(ThemedItemType_BUTTON, "Pressed");
    const Skin* face = read.findSkin(ThemedItemType_CLOCK, "Face");
    ASSERT_TRUE(normal && pressed && face);
    EXPECT_EQ(normal->getTransition().duration, 250);
    EXPECT_EQ(normal->getTransition().easing, int(QEasingCurve::OutBounce));
    EXPECT_EQ(pressed->getTransition().easing, SkinTransition::DefaultEasing);
    EXPECT_EQ(normal->getPropertyValue("borderWidth"), QVariant(3));
    EXPECT_EQ(normal->getPropertyValue("opacity"), QVariant(0.75));
    EXPECT_EQ(normal->getPropertyValue("fontBold"), QVariant("true"));
    EXPECT_EQ(normal->getPropertyValue("gradientTopColour"), QVariant(QColor("#123456")));
    EXPECT_EQ(normal->getPropertyValue("backgroundImage"), QVariant(0u));
    EXPECT_EQ(pressed->getPropertyValue("borderWidth"), QVariant(3)); // from the default skin
    EXPECT_FALSE(pressed->getPropertyValue("backgroundImage_pressed").isValid());
    const SkinProperties* clockTable = SkinProperties::getSkinProperties(ThemedItemType_CLOCK);
    EXPECT_EQ(face->size(), clockTable->size());
    EXPECT_EQ(face->getPropertyValue("faceImage"),
              clockTable->getProperty("faceImage")->getValue());
    EXPECT_EQ(face->getPropertyValue("hourHandImage"),
              clockTable->getProperty("hourHandImage")->getValue());
    EXPECT_EQ(face->getPropertyValue("minuteHandImage"), QVariant(1u));
    const Theme::SkinImageReferenceMap references = {
        {SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"), {0u}},
        {SkinPropertyKey(ThemedItemType_CLOCK, "minuteHandImage"), {1u}}};
    EXPECT_EQ(read.getSkinImageReferences(), references);
}
