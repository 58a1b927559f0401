#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/sample_themes.h"
#include "common/theme_bundles.h"
#include "core/gradient.h"
#include "core/targz_archive.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library_data.h"
#include "velmora_objects/theme_reader.h"
#include "velmora_objects/theme_xml_values.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Velmora;
using TestUtil::BundleMember;
using TestUtil::pngBytes;
using TestUtil::readFile;
using TestUtil::themeDocument;
using TestUtil::writeFile;

namespace {

const QByteArray RedPng = pngBytes(48, 27, Qt::red);
const QByteArray BluePng = pngBytes(27, 48, Qt::blue);
const QByteArray GreenPng = pngBytes(5, 5, Qt::green);

// Small limits for the time of a test, so that hostile bundles stay small.
class SmallLimits : public TestUtil::ReaderLimits
{
public:
    SmallLimits() : ReaderLimits({8, 64 * 1024, 160 * 1024, 16, 3}) {}
};

class ThemeReaderTest : public ::testing::Test
{
protected:
    // A bundle of the members with the document as its last member, as bundles are written.
    QString bundle(const QByteArray& document, std::vector<BundleMember> members = {})
    {
        members.push_back({QStringLiteral("Test.xml"), document, QString()});
        const QString path = work.path() + QStringLiteral("/b%1.qvt").arg(++bundles);
        EXPECT_TRUE(TestUtil::makeBundle(path, members));
        return path;
    }

    // A bundle of the members in the given order.
    QString archive(const QString& fileName, const std::vector<BundleMember>& members)
    {
        const QString path = work.path() + "/" + fileName;
        EXPECT_TRUE(TestUtil::makeBundle(path, members));
        return path;
    }

    // Splash images and one picture of each store, under member ids other than 0.
    static std::vector<BundleMember> pictures()
    {
        return {{"landscape_splash_image", RedPng, {}},
                {"portrait_splash_image", BluePng, {}},
                {"image_4", RedPng, {}},
                {"image_9", GreenPng, {}},
                {"icon_3", GreenPng, {}},
                {"control_image_5", BluePng, {}},
                {"skin_image_2", GreenPng, {}}};
    }

    QString readerFolder(int number) const
    {
        return TemporaryDirectory::processFolder() + "/velmora_theme_reader_" +
               QString::number(number);
    }

    // Reads the document into the theme; the error text, empty when the read succeeded.
    QString readInto(Theme& theme, const QByteArray& document,
                     const std::vector<BundleMember>& members = pictures())
    {
        ThemeReader reader;
        const bool ok = reader.read(bundle(document, members), &theme);
        EXPECT_EQ(ok, !reader.hasError());
        return ok ? QString() : reader.errorString();
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir work;
    int bundles = 0;
};

QString skinSetXml(const QString& itemType, const QString& skins)
{
    return QStringLiteral("<SkinSet ItemType=\"%1\">%2</SkinSet>").arg(itemType, skins);
}

} // namespace

// What a written bundle does not show (a written bundle reading back whole is the writer's
// test): a portrait splash, repeated and lower-case attributes, a default property without a
// value, and image properties naming any image member.
TEST_F(ThemeReaderTest, ReadsWhatOnlyAHandWrittenDocumentHolds)
{
    const QByteArray document = themeDocument(R"(
        <SplashImage Orientation="Portrait">portrait_splash_image</SplashImage>
        <PageBackgroundImages>
            <PageBackgroundImage Orientation="Portrait">image_9</PageBackgroundImage>
            <PageBackgroundImage>image_4</PageBackgroundImage>
            <PageBackgroundImage Orientation="portrait">image_4</PageBackgroundImage>
        </PageBackgroundImages>
        <DefaultItemProperties ItemType="Button">
            <DefaultItemProperty Name="nothing"/>
        </DefaultItemProperties>
        <SkinSet ItemType="Button">
            <Skin Name="Plain" Default="true">
                <SkinProperty Name="borderWidth" Value="3"/>
                <SkinProperty Name="textColour" Value="#102030"/>
                <SkinProperty Name="backgroundImage" Value="skin_image_2"/>
                <SkinProperty Name="backgroundImage_pressed" Value="icon_3"/>
            </Skin>
        </SkinSet>)");
    Theme theme{QString()};
    ASSERT_EQ(readInto(theme, document), QString());
    EXPECT_EQ(theme.getPortraitSplash().size(), QSize(27, 48));

    // Ids follow document order; every element adds an image, equal bytes or not.
    const Theme::ImageStore& backgrounds = theme.getPageBackgroundImages();
    ASSERT_EQ(backgrounds.size(), 3u);
    EXPECT_EQ(backgrounds[0].getData(), GreenPng);
    EXPECT_EQ(backgrounds[0].getOrientation(), Orientation_PORTRAIT);
    EXPECT_EQ(backgrounds[1].getData(), RedPng);
    EXPECT_EQ(backgrounds[1].getOrientation(), Orientation_LANDSCAPE);
    EXPECT_EQ(backgrounds[1].getMd5(), ImageData::digestOf(RedPng));
    EXPECT_EQ(backgrounds[2].getOrientation(), Orientation_LANDSCAPE);

    // Version 1 without "Value" and without a value child: stored, with no value.
    const auto& buttonDefaults = theme.getDefaultItemProperties().at(ThemedItemType_BUTTON);
    ASSERT_EQ(buttonDefaults.count("nothing"), 1u);
    EXPECT_FALSE(buttonDefaults.at("nothing").isValid());

    const Skin* skin = theme.getDefaultSkin(ThemedItemType_BUTTON);
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->getPropertyValue("borderWidth"), QVariant(3));
    EXPECT_EQ(skin->getPropertyValue("textColour"), QVariant(QColor(0x10, 0x20, 0x30)));
    // The caption and bounds come from the table.
    const SkinProperty* definition =
        SkinProperties::getSkinProperties(ThemedItemType_BUTTON)->getProperty("borderWidth");
    EXPECT_EQ(skin->getProperty("borderWidth")->getCaption(), definition->getCaption());

    // Each image property imports its own skin image and a reference under its key.
    const Theme::ImageStore& skinImages = theme.getSkinImages();
    ASSERT_EQ(skinImages.size(), 2u);
    EXPECT_EQ(skin->getPropertyValue("backgroundImage"), QVariant(0u));
    EXPECT_EQ(skin->getPropertyValue("backgroundImage_pressed"), QVariant(1u));
    EXPECT_EQ(skinImages[0].getData(), GreenPng);
    EXPECT_EQ(skinImages[1].getData(), GreenPng);
    const Theme::SkinImageReferenceMap expected = {
        {SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage"), {0u}},
        {SkinPropertyKey(ThemedItemType_BUTTON, "backgroundImage_pressed"), {1u}}};
    EXPECT_EQ(theme.getSkinImageReferences(), expected);
}

// Each fault of the document ends the read with its own text. Members: a picture, a splash
// that is not a picture, and links in place of members (which cannot be extracted).
TEST_F(ThemeReaderTest, EveryFaultHasItsText)
{
    struct Case
    {
        const char* children;
        const char* expected;
        const char* rootAttributes = "version=\"1\"";
        bool fullRead = true;
    };
    const QString dip = R"(<DefaultItemProperties ItemType="Button">%1</DefaultItemProperties>)";
    const QString stop =
        R"(<DefaultItemProperty Name="g"><Gradient>%1</Gradient></DefaultItemProperty>)";
    const QString skinProperty = R"(<SkinSet ItemType="Button"><Skin Name="a">%1</Skin></SkinSet>)";
    const auto inDip = [&](const char* inner) { return dip.arg(inner).toStdString(); };
    const auto inStop = [&](const char* inner) { return dip.arg(stop.arg(inner)).toStdString(); };
    const auto inSkin = [&](const char* inner) { return skinProperty.arg(inner).toStdString(); };
    const std::string
        positionText = inStop(R"(<GradientStop Position="half" Colour="#ff0000"/>)"),
        colourText = inStop(R"(<GradientStop Position="0" Colour="#ff00zz"/>)"),
        noPosition = inStop(R"(<GradientStop Colour="#ff0000"/>)"),
        noColour = inStop(R"(<GradientStop Position="0"/>)"),
        textStyle = inDip(
            R"(<DefaultItemProperty Name="s"><TextStyle>Bold</TextStyle></DefaultItemProperty>)"),
        dipNoName = inDip(R"(<DefaultItemProperty Value="1"/>)"),
        dipNoValue = inDip(R"(<DefaultItemProperty Name="x"/>)"),
        duration = inSkin("<Transition><Duration>fast</Duration></Transition>"),
        easing = inSkin("<Transition><Easing>Wobbly</Easing></Transition>"),
        noPropertyName = inSkin(R"(<SkinProperty Value="1"/>)"),
        noPropertyValue = inSkin(R"(<SkinProperty Name="borderWidth"/>)"),
        intValue = inSkin(R"(<SkinProperty Name="borderWidth" Value="1.5"/>)"),
        doubleValue = inSkin(R"(<SkinProperty Name="opacity" Value="opaque"/>)"),
        skinImageMissing = inSkin(R"(<SkinProperty Name="backgroundImage" Value="skin_image_7"/>)"),
        skinImageLink = inSkin(R"(<SkinProperty Name="backgroundImage" Value="skin_image_1"/>)");

    const std::vector<Case> cases = {
        {"<Name>A</Name>", "Invalid value given for theme version attribute.", "version=\"one\""},
        {"<SplashImage>image_7</SplashImage>", "Splash image 'image_7' not found in theme bundle."},
        {R"(<SplashImage Orientation="Portrait">portrait_splash_image</SplashImage>)",
         "Failed to extract splash image 'portrait_splash_image' from theme bundle. It is a "
         "symbolic link, not a file."},
        {"<SplashImage>landscape_splash_image</SplashImage>",
         "Failed to load splash image 'landscape_splash_image' from theme bundle.", "version=\"1\"",
         false},
        {"<PageBackgroundImages><PageBackgroundImage>image_7</PageBackgroundImage>"
         "</PageBackgroundImages>",
         "Page background image 'image_7' not found in theme bundle."},
        {"<PageBackgroundImages><PageBackgroundImage>image_1</PageBackgroundImage>"
         "</PageBackgroundImages>",
         "Failed to extract page background image 'image_1' from theme bundle. It is a symbolic "
         "link, not a file."},
        {"<Icons><Icon>icon_7</Icon></Icons>", "Icon 'icon_7' not found in theme bundle."},
        {"<Icons><Icon>icon_1</Icon></Icons>",
         "Failed to extract icon 'icon_1' from theme bundle. It is a symbolic link, not a file."},
        {"<ControlImages><ControlImage>control_image_7</ControlImage></ControlImages>",
         "Control image 'control_image_7' not found in theme bundle."},
        {"<ControlImages><ControlImage>control_image_1</ControlImage></ControlImages>",
         "Failed to extract control image 'control_image_1' from theme bundle. It is a symbolic "
         "link, not a file."},
        {R"(<DefaultItemProperties ItemType="button"/>)",
         "ItemType attribute 'button' not valid in DefaultItemProperties element"},
        {"<DefaultItemProperties/>",
         "ItemType attribute not found in DefaultItemProperties element"},
        {dipNoName.c_str(), "Name attribute not found in DefaultItemProperty element"},
        {dipNoValue.c_str(), "Value attribute not found in DefaultItemProperty element", ""},
        {positionText.c_str(),
         "Invalid value given for Position attribute of GradientStop element: half"},
        {colourText.c_str(),
         "Invalid value given for Colour attribute of GradientStop element: #ff00zz"},
        {noPosition.c_str(), "Position attribute not found in GradientStop element"},
        {noColour.c_str(), "Colour attribute not found in GradientStop element"},
        {textStyle.c_str(), "Invalid text found in TextStyle element: Bold"},
        {R"(<SkinSet ItemType="Knob"/>)", "ItemType attribute 'Knob' not valid in SkinSet element"},
        {"<SkinSet/>", "ItemType attribute not found in SkinSet element"},
        {R"(<SkinSet ItemType="Button"><Skin Default="true"/></SkinSet>)",
         "Name attribute not found in Skin element"},
        {duration.c_str(), "Failed to convert value of Duration property to integer"},
        {easing.c_str(), "Unrecognised Transition Easing value supplied."},
        {R"(<SkinSet ItemType="Page Switcher"><Skin Name="a"><SkinProperty Name="x" Value="1"/></Skin></SkinSet>)",
         "Failed to get skin properties for item type"},
        {R"(<SkinSet ItemType="Slider"><Skin Name="a"><SkinProperty Name="borderWidth" Value="1"/></Skin></SkinSet>)",
         "Skin property 'borderWidth' not recognised for item type 2"},
        {noPropertyName.c_str(), "Name attribute not found in SkinProperty element"},
        {noPropertyValue.c_str(), "Value attribute not found in SkinProperty element"},
        {intValue.c_str(), "Failed to convert value of borderWidth property to integer"},
        {doubleValue.c_str(), "Failed to convert value of opacity property to double"},
        {skinImageMissing.c_str(), "Skin image 'skin_image_7' not found in theme bundle."},
        {skinImageLink.c_str(), "Failed to extract skin image 'skin_image_1' from theme bundle. It "
                                "is a symbolic link, not a file."},
    };

    const QString target = work.path() + "/target";
    TestUtil::writeFile(target, GreenPng);
    const std::vector<BundleMember> members = {{"landscape_splash_image", "not a picture", {}},
                                               {"portrait_splash_image", {}, target},
                                               {"image_1", {}, target},
                                               {"icon_1", {}, target},
                                               {"control_image_1", {}, target},
                                               {"skin_image_1", {}, target},
                                               {"icon_0", GreenPng, {}}};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        const QString path =
            bundle(themeDocument(QString::fromUtf8(c.children), c.rootAttributes), members);
        ThemeReader reader;
        Theme theme{QString()};
        EXPECT_EQ(reader.read(path, &theme), !c.fullRead);
        if (c.fullRead) {
            EXPECT_EQ(reader.errorString(), c.expected);
        }
        // A bundle that does not load is not listed either, for the same reason.
        ThemeLibraryData data;
        EXPECT_FALSE(reader.readLibraryData(path, data));
        EXPECT_EQ(reader.errorString(), c.expected);
    }
}

TEST_F(ThemeReaderTest, VersionGovernsDefaultItemProperties)
{
    const QString withGradient = R"(<DefaultItemProperties ItemType="Label">
        <DefaultItemProperty Name="p" %1><Gradient><GradientStop Position="0" Colour="#010203"/></Gradient></DefaultItemProperty>
        </DefaultItemProperties>)";
    const auto valueOf = [&](const QString& version, const QString& valueAttribute) {
        Theme theme{QString()};
        EXPECT_EQ(readInto(theme, themeDocument(withGradient.arg(valueAttribute), version)),
                  QString());
        return theme.getDefaultItemProperties().at(ThemedItemType_LABEL).at("p");
    };
    // No version: the children are ignored when "Value" is given.
    EXPECT_EQ(valueOf("", R"(Value="flat")"), QVariant("flat"));
    // Version 1 and above: "Value" wins over a child; without it the child gives the value.
    EXPECT_EQ(valueOf(R"(version="1")", R"(Value="flat")"), QVariant("flat"));
    EXPECT_EQ(valueOf(R"(version="7")", "").metaType(), QMetaType::fromType<Gradient>());
    // Below 0: stored without a value.
    EXPECT_FALSE(valueOf(R"(version="-1")", "").isValid());

    // A version that is no number stops everything.
    Theme theme{QString()};
    EXPECT_EQ(readInto(theme, themeDocument("<Name>N</Name>", R"(version="1.0")")),
              "Invalid value given for theme version attribute.");
    EXPECT_EQ(theme.getName(), QString());
}

TEST_F(ThemeReaderTest, OnlyRootsOfTheThemeNamespaceAreRead)
{
    const QString foreign[] = {
        "<Theme version=\"1\"><Name>A</Name></Theme>",
        "<t:Theme xmlns:t=\"www.example.com/other\"><Name>A</Name></t:Theme>",
        "<t:Other xmlns:t=\"%1\"><Name>A</Name></t:Other>"};
    for (const QString& document : foreign) {
        SCOPED_TRACE(document.toStdString());
        Theme theme{QString()};
        const QString text = QString(document).replace("%1", VELMORA_THEME_NAMESPACE);
        EXPECT_EQ(readInto(theme, text.toUtf8()), QString());
        EXPECT_EQ(theme.getName(), QString());
    }
    Theme theme{QString()};
    const QString nested = "<outer><deeper><t:Theme xmlns:t=\"%1\"><Name>Inner</Name>"
                           "</t:Theme></deeper></outer>";
    EXPECT_EQ(readInto(theme, nested.arg(VELMORA_THEME_NAMESPACE).toUtf8()), QString());
    EXPECT_EQ(theme.getName(), "Inner");
}

TEST_F(ThemeReaderTest, LaterElementsReplaceOrAdd)
{
    const QByteArray document = themeDocument(R"(
        <Name>First</Name><Name>Second</Name>
        <SplashImage>portrait_splash_image</SplashImage>
        <SplashImage>landscape_splash_image</SplashImage>
        <Icons><Icon>icon_3</Icon></Icons><Icons><Icon>icon_3</Icon></Icons>
        <DefaultItemProperties ItemType="Clock"><DefaultItemProperty Name="a" Value="1"/>
            <DefaultItemProperty Name="b" Value="2"/></DefaultItemProperties>
        <DefaultItemProperties ItemType="Clock"><DefaultItemProperty Name="a" Value="3"/></DefaultItemProperties>
        <SkinSet ItemType="Keypad"><Skin Name="One"/><Skin Name="Two"/></SkinSet>
        <SkinSet ItemType="Keypad"><Skin Name="Three"/></SkinSet>
        <SkinSet ItemType="Slider"><Skin Name="A" Default="true"/><Skin Name="B" Default="true"/>
            <Skin Name="C" Default="false"/><Skin Name="D" Default="TRUE"/></SkinSet>)");
    Theme theme{QString()};
    ASSERT_EQ(readInto(theme, document), QString());
    EXPECT_EQ(theme.getName(), "Second");
    EXPECT_EQ(theme.getLandscapeSplash().size(), QSize(48, 27));
    EXPECT_TRUE(theme.getPortraitSplash().isNull()); // no "Orientation": both were landscape
    EXPECT_EQ(theme.getIcons().size(), 2u);
    EXPECT_EQ(theme.getDefaultItemProperty(ThemedItemType_CLOCK, "a"), QVariant("3"));
    EXPECT_EQ(theme.getDefaultItemProperty(ThemedItemType_CLOCK, "b"), QVariant("2"));
    const SkinSet* keypads = theme.getSkinSet(ThemedItemType_KEYPAD);
    ASSERT_TRUE(keypads);
    EXPECT_EQ(keypads->size(), 1u);
    EXPECT_TRUE(keypads->getSkin("Three"));
    // The default skin is the last marked "true".
    ASSERT_TRUE(theme.getDefaultSkin(ThemedItemType_SLIDER));
    EXPECT_EQ(theme.getDefaultSkin(ThemedItemType_SLIDER)->getName(), "B");
}

// Skins are completed from the default skin and, failing that, from the item type's table.
TEST_F(ThemeReaderTest, SkinsAreCompletedFromTheDefaultSkinAndTheTable)
{
    const SkinProperties* table = SkinProperties::getSkinProperties(ThemedItemType_BUTTON);
    const QString defaultSkin = R"(<Skin Name="Base" Default="%1">
            <Transition><Duration>50</Duration></Transition>
            <SkinProperty Name="borderWidth" Value="7"/><SkinProperty Name="backgroundImage" Value=""/>
        </Skin>)";
    const QString other = R"(<Skin Name="Alt"><SkinProperty Name="radius" Value="11"/></Skin>
                             <Skin Name="Zed"/>)";

    {
        Theme theme{QString()};
        ASSERT_EQ(
            readInto(theme, themeDocument(skinSetXml("Button", defaultSkin.arg("true") + other))),
            QString());
        for (const char* name : {"Alt", "Base", "Zed"}) {
            SCOPED_TRACE(name);
            const Skin* skin = theme.findSkin(ThemedItemType_BUTTON, name);
            ASSERT_TRUE(skin);
            EXPECT_EQ(skin->size(), table->size());
            EXPECT_EQ(skin->getPropertyValue("borderWidth"), QVariant(7));
            // Missing everywhere: the table's value.
            EXPECT_EQ(skin->getPropertyValue("gradientTopColour"),
                      table->getProperty("gradientTopColour")->getValue());
            // An empty image value is a property without a value, and stays so.
            EXPECT_TRUE(skin->hasProperty("backgroundImage"));
            EXPECT_FALSE(skin->getPropertyValue("backgroundImage").isValid());
        }
        EXPECT_EQ(theme.findSkin(ThemedItemType_BUTTON, "Alt")->getPropertyValue("radius"),
                  QVariant(11));
        EXPECT_EQ(theme.findSkin(ThemedItemType_BUTTON, "Zed")->getPropertyValue("radius"),
                  table->getProperty("radius")->getValue());
        // A skin without a transition keeps the new skin's.
        EXPECT_EQ(theme.findSkin(ThemedItemType_BUTTON, "Zed")->getTransition().duration, 300);
        EXPECT_TRUE(theme.getSkinImages().empty());
    }
    {
        // No default skin: everything missing comes from the table.
        Theme theme{QString()};
        ASSERT_EQ(
            readInto(theme, themeDocument(skinSetXml("Button", defaultSkin.arg("false") + other))),
            QString());
        EXPECT_FALSE(theme.getDefaultSkin(ThemedItemType_BUTTON));
        const Skin* zed = theme.findSkin(ThemedItemType_BUTTON, "Zed");
        EXPECT_EQ(zed->size(), table->size());
        EXPECT_EQ(zed->getPropertyValue("borderWidth"),
                  table->getProperty("borderWidth")->getValue());
    }
    {
        // A page switcher has no table: its skins stay as read.
        Theme theme{QString()};
        ASSERT_EQ(readInto(theme, themeDocument(skinSetXml("Page Switcher", "<Skin Name=\"P\"/>"))),
                  QString());
        EXPECT_EQ(theme.findSkin(ThemedItemType_PAGE_SWITCHER, "P")->size(), 0u);
    }
}

// A default skin that names no skin of the stored set is dropped when the read ends, so that
// looking up the default skin is safe.
TEST_F(ThemeReaderTest, StaleDefaultSkinsAreDroppedAfterARead)
{
    const QByteArray replacedSet = themeDocument(
        skinSetXml("Label", R"(<Skin Name="Old" Default="true"/>)") +
        skinSetXml("Label",
                   R"(<Skin Name="New"><SkinProperty Name="borderWidth" Value="4"/></Skin>)"));
    Theme theme{QString()};
    ASSERT_EQ(readInto(theme, replacedSet), QString());
    EXPECT_EQ(theme.getDefaultSkins().count(ThemedItemType_LABEL), 0u);
    EXPECT_FALSE(theme.getDefaultSkin(ThemedItemType_LABEL));
    // The default named while the later set was read was not one of its skins.
    EXPECT_EQ(theme.findSkin(ThemedItemType_LABEL, "New")->getPropertyValue("borderWidth"),
              QVariant(4));

    // A set that fails leaves no default behind either, also through the loading constructor.
    const QByteArray failingSet = themeDocument(skinSetXml(
        "Label",
        R"(<Skin Name="Good" Default="true"/><Skin Name="Bad"><SkinProperty Name="x" Value="1"/></Skin>)"));
    Theme loaded(bundle(failingSet, pictures()));
    EXPECT_TRUE(loaded.getDefaultSkins().empty());
    EXPECT_FALSE(loaded.getDefaultSkin(ThemedItemType_LABEL));
    EXPECT_FALSE(loaded.getSkinSet(ThemedItemType_LABEL));
}

// A read that fails keeps what came before the fault.
TEST_F(ThemeReaderTest, LoadingConstructorKeepsWhatWasReadBeforeAFault)
{
    Theme partial(bundle(themeDocument(R"(<Name>Kept</Name><Icons><Icon>icon_3</Icon></Icons>
        <SkinSet ItemType="Clock"><Skin Name="c"/></SkinSet>
        <Icons><Icon>icon_99</Icon></Icons><Name>Lost</Name>)"),
                         pictures()));
    EXPECT_EQ(partial.getName(), "Kept");
    EXPECT_EQ(partial.getIcons().size(), 1u);
    EXPECT_TRUE(partial.findSkin(ThemedItemType_CLOCK, "c"));

    Theme missing(work.path() + "/missing.qvt");
    EXPECT_EQ(missing.getName(), QString());
    Theme none{QString()};
    EXPECT_FALSE(none.load(QString()));
    EXPECT_FALSE(none.load(work.path() + "/missing.qvt"));
}

TEST_F(ThemeReaderTest, UnknownElementsAndAttributesAreSkipped)
{
    Theme theme{QString()};
    ASSERT_EQ(readInto(theme, themeDocument(R"(
        <Extra a="1"><Name>Ignored</Name><SkinSet/></Extra>
        <Name lang="en">Known</Name>
        <Icons odd="yes"><Unknown><Icon>nothing</Icon></Unknown><Icon>icon_3</Icon></Icons>
        <SkinSet ItemType="Button" colour="red">
            <Note><Skin/></Note>
            <Skin Name="S" Extra="1"><Whatever/><Transition><Pace/><Duration>9</Duration></Transition>
                <SkinProperty Name="radius" Value="2" Unit="px"><Child><Grandchild/></Child></SkinProperty>
            </Skin>
        </SkinSet>)")),
              QString());
    EXPECT_EQ(theme.getName(), "Known");
    EXPECT_EQ(theme.getIcons().size(), 1u);
    const Skin* skin = theme.findSkin(ThemedItemType_BUTTON, "S");
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->getTransition().duration, 9);
    EXPECT_EQ(skin->getPropertyValue("radius"), QVariant(2));
}

// Passing over an element does not recurse, and a document nested deeper than the bound is
// refused before it is read (200,000 levels took 1.7 s and 500 MB), closed or not.
TEST_F(ThemeReaderTest, NestedUnknownElementsAreSkippedUpToTheBound)
{
    const auto nest = [](int depth) {
        return QStringLiteral("<n>").repeated(depth) + QStringLiteral("</n>").repeated(depth);
    };
    const int bound = ThemeReader::limits().document.depth;
    const int room = bound - 4; // below the theme, skin set, skin and skin property
    const QString inSkin =
        skinSetXml("Button", "<Skin Name=\"S\"><SkinProperty Name=\"radius\" Value=\"4\">" +
                                 nest(room) + "</SkinProperty>" + nest(room) + "</Skin>");
    Theme theme{QString()};
    ASSERT_EQ(readInto(theme, themeDocument(nest(room) + "<Name>After</Name>" + inSkin)),
              QString());
    EXPECT_EQ(theme.getName(), "After");
    EXPECT_EQ(theme.findSkin(ThemedItemType_BUTTON, "S")->getPropertyValue("radius"), QVariant(4));

    for (const QString& deep : {nest(200000), QStringLiteral("<n>").repeated(200000)}) {
        Theme refused{QString()};
        EXPECT_EQ(readInto(refused, themeDocument("<Name>Before</Name>" + deep)),
                  QString("Elements are nested deeper than %1 levels").arg(bound));
        EXPECT_EQ(refused.getName(), QString());
    }
}

// An element with 100,000 attributes (a 225 KB bundle) took Qt's reader 37 s: a document with
// too many attributes is refused before it is read.
TEST_F(ThemeReaderTest, AnElementWithVeryManyAttributesIsRefused)
{
    QString attributes;
    for (int i = 0; i < 100000; ++i)
        attributes += QString(" a%1=\"\"").arg(i);
    Theme theme{QString()};
    EXPECT_EQ(readInto(theme, themeDocument("<Name" + attributes + ">N</Name>")),
              "An element has more than 64 attributes");
    EXPECT_EQ(theme.getName(), QString());
}

TEST_F(ThemeReaderTest, ChildOfATextElementIsAnError)
{
    Theme theme{QString()};
    EXPECT_NE(readInto(theme, themeDocument("<Name>A<b/></Name>")), QString());
}

// Names from the document, taken as they stand, are used only when they are of a bundle's image
// members: the XML member, paths and foreign members are not found, and nothing outside the
// reader's folder is touched.
TEST_F(ThemeReaderTest, OnlyImageMemberNamesAreImported)
{
    const QString victim = TemporaryDirectory::processFolder() + "/victim";
    TestUtil::writeFile(victim, "safe");
    std::vector<BundleMember> members = pictures();
    members.push_back({"../victim", "overwritten", {}});
    members.push_back({"readme", "text", {}});
    const char* names[] = {"../victim",          "readme",  "Test.xml", "..",      "",
                           "/etc/passwd",        "icon_+3", "icon_3 ",  " icon_3", "icon_3\n",
                           "icon_3/../../victim"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        Theme theme{QString()};
        const QString children = QStringLiteral("<Icons><Icon>%1</Icon></Icons>").arg(name);
        EXPECT_EQ(readInto(theme, themeDocument(children), members),
                  QStringLiteral("Icon '%1' not found in theme bundle.").arg(name));
        EXPECT_TRUE(theme.getIcons().empty());
    }
    EXPECT_EQ(TestUtil::readFile(victim), "safe");
    EXPECT_EQ(QDir(TemporaryDirectory::processFolder())
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"victim"}));
}

// A full store keeps nothing more; an image property then has no value and no reference.
TEST_F(ThemeReaderTest, FullStoresTakeNoMoreImages)
{
    Theme theme{QString()};
    for (unsigned int i = 0; i < Theme::PageBackgroundMaximum; ++i)
        ASSERT_EQ(theme.addPageBackgroundImageData(QByteArray::number(i), 0), i);
    for (unsigned int i = 0; i < Theme::ImageMaximum; ++i)
        ASSERT_EQ(theme.addSkinImageData(QByteArray::number(i)), i);
    ASSERT_EQ(readInto(theme, themeDocument(R"(
        <PageBackgroundImages><PageBackgroundImage>image_4</PageBackgroundImage></PageBackgroundImages>
        <SkinSet ItemType="Button"><Skin Name="S">
            <SkinProperty Name="backgroundImage" Value="skin_image_2"/>
        </Skin></SkinSet>)")),
              QString());
    EXPECT_EQ(theme.getPageBackgroundImages().size(), Theme::PageBackgroundMaximum);
    EXPECT_EQ(theme.getSkinImages().size(), Theme::ImageMaximum);
    const Skin* skin = theme.findSkin(ThemedItemType_BUTTON, "S");
    ASSERT_TRUE(skin);
    EXPECT_TRUE(skin->hasProperty("backgroundImage"));
    EXPECT_FALSE(skin->getPropertyValue("backgroundImage").isValid());
    EXPECT_TRUE(theme.getSkinImageReferences().empty());
}

TEST_F(ThemeReaderTest, LibraryReadTakesTheNameAndTheSplashPictures)
{
    const QString path = bundle(themeDocument(R"(
        <Name>Light</Name>
        <SplashImage Orientation="Portrait">portrait_splash_image</SplashImage>
        <Icons><Icon>icon_3</Icon></Icons>
        <SplashImage>landscape_splash_image</SplashImage>)"),
                                pictures());
    ThemeReader reader;
    ThemeLibraryData data;
    ASSERT_TRUE(reader.readLibraryData(path, data));
    EXPECT_EQ(data.name, "Light");
    EXPECT_EQ(data.path, path);
    EXPECT_EQ(QImage::fromData(data.landscapeSplash).size(), QSize(48, 27));
    EXPECT_EQ(QImage::fromData(data.portraitSplash).size(), QSize(27, 48));

    ThemeLibraryData missing;
    EXPECT_FALSE(reader.readLibraryData(work.path() + "/missing.qvt", missing));
    EXPECT_EQ(reader.errorString(), "The theme file does not exist.");
}

// Loading a theme while another reader is alive uses the next folder, and removes only that.
TEST_F(ThemeReaderTest, NestedReadersUseTheirOwnFolders)
{
    const QString path = bundle(themeDocument("<Name>Nested</Name>"), pictures());
    ThemeReader outer;
    ASSERT_EQ(outer.temporaryFolder(), readerFolder(1));
    ASSERT_TRUE(outer.open(path));
    QDir().mkpath(readerFolder(2));
    TestUtil::writeFile(readerFolder(2) + "/leftover", "x");

    Theme theme(path);
    EXPECT_EQ(theme.getName(), "Nested");
    EXPECT_FALSE(QFileInfo::exists(readerFolder(2)));
    EXPECT_TRUE(QFileInfo(readerFolder(1)).isDir());
    // The outer reader still reads its own document.
    Theme outerTheme{QString()};
    outer.readNext();
    while (!outer.atEnd() && !outer.isStartElement())
        outer.readNext();
    ASSERT_TRUE(outer.isStartElement());
    outer.readTheme(&outerTheme);
    EXPECT_EQ(outerTheme.getName(), "Nested");
}

TEST_F(ThemeReaderTest, OpensTheFirstXmlMemberAsTheDocument)
{
    const QString bundle = archive("blue.qvt", {{"landscape_splash_image", "L", {}},
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

TEST_F(ThemeReaderTest, BundlesWithoutAReadableXmlMemberDoNotOpenAndSayWhy)
{
    writeFile(work.path() + "/garbage.qvt", "not an archive at all");
    QList<std::pair<QString, QString>> cases = {
        {archive("none.qvt", {{"icon_0", "I", {}}, {"Blue.XML", "<a/>", {}}}),
         "The theme bundle holds no theme document (a member whose name ends in \".xml\")."},
        {archive("linked.qvt", {{"Blue.xml", {}, "/etc/passwd"}, {"icon_0", "I", {}}}),
         "The theme document 'Blue.xml' of the bundle is not a regular file."},
        {work.path() + "/garbage.qvt", "The theme file is not a gzip-compressed tar archive."},
        {work.path() + "/missing.qvt", "The theme file does not exist."},
        {QString(), "The theme file does not exist."}};
    for (const auto& [path, message] : TestUtil::nonFiles(work.path(), ".qvt"))
        cases.append({path, message});
    ThemeReader reader;
    for (const auto& [path, error] : cases) {
        EXPECT_FALSE(reader.open(path)) << path.toStdString();
        EXPECT_FALSE(reader.device());
        EXPECT_EQ(reader.errorString(), error);
    }
}

// A gzip stream that fails its own checks (header, method, data, CRC, length) is damaged,
// wherever the fault is; only one that decodes whole to what is no tar archive is called that.
// A theme document that is a folder is said to be one.
TEST_F(ThemeReaderTest, DamagedStreamsAndAFolderDocumentAreRefusedForWhatTheyAre)
{
    const QByteArray good =
        readFile(TestUtil::dataPath("theme_bundle/bsdtar_sparse_and_hard_link.qvt"));
    ASSERT_TRUE(QDir().mkpath(work.filePath("Folder.xml")) &&
                TargzArchive().create(work.filePath("folder.qvt"),
                                      {{work.filePath("Folder.xml"), "Folder.xml"}}));
    const QString damaged = "The theme bundle is damaged or cut short.";
    std::vector<std::pair<QByteArray, QString>> cases = {
        {good.left(10) + QByteArray(400, 'x'), damaged},
        {good.left(2) + '\x07' + good.mid(3), damaged},
        {QByteArray::fromBase64("H4sIAAAAAAACA7PxS8xNtQvISczMs9EHswFVhCjBEgAAAA=="),
         "The theme file is not a gzip-compressed tar archive: what gzip compressed is not a tar "
         "archive."},
        {readFile(work.filePath("folder.qvt")),
         "The theme document 'Folder.xml' of the bundle is a folder, not a file."}};
    // One byte changed in the header, in the data, in the CRC and in the length.
    for (const qsizetype offset : {3, 10, 11, 12, 20, 50, 100, -8, -4}) {
        QByteArray bytes = good;
        bytes[(offset + good.size()) % good.size()] ^= 0x5a;
        cases.push_back({bytes, damaged});
    }
    ThemeReader reader;
    for (const auto& [bytes, error] : cases) {
        ASSERT_TRUE(writeFile(work.filePath("case.qvt"), bytes));
        EXPECT_FALSE(reader.open(work.filePath("case.qvt")));
        EXPECT_EQ(reader.errorString().toStdString(), error.toStdString());
    }
}

// A bundle that a FIFO or a device takes the place of, over and over while it is read: each
// read either reads the bundle or refuses what it found there, never with a fault of a file it
// did not read.
TEST_F(ThemeReaderTest, ABundleSwappedForANonFileIsRefusedForWhatIsThere)
{
    const QString good = bundle(themeDocument("<Name>Swapped</Name>"));
    const QString fifo = work.filePath("fifo"), device = work.filePath("device");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/null", device));
    const QByteArray path = QFile::encodeName(work.filePath("swapped.qvt"));
    // Each takes the path in turn by a rename, which leaves no moment without one.
    const auto put = [&path](const QString& source) {
        const QByteArray staged = path + ".new";
        return ::link(QFile::encodeName(source).constData(), staged.constData()) == 0 &&
               ::rename(staged.constData(), path.constData()) == 0;
    };
    ASSERT_TRUE(put(good));
    std::atomic<bool> reading{true};
    std::thread swapper([&] {
        for (int turn = 1; reading; ++turn)
            put(turn % 2 == 0 ? good : turn % 4 == 1 ? fifo : device);
    });
    QStringList faults;
    ThemeReader reader;
    for (int i = 0; i < 500; ++i) {
        if (!reader.open(QFile::decodeName(path)) &&
            reader.errorString() != "Not a regular file: a FIFO (named pipe)" &&
            reader.errorString() != "Not a regular file: a device")
            faults << reader.errorString();
    }
    reading = false;
    swapper.join();
    EXPECT_EQ(faults, QStringList());
}

// A member name that would reach outside the reader's folder is never used as a path, not
// even to delete an earlier copy.
TEST_F(ThemeReaderTest, MembersThatAreNotFlatNamesAreRefused)
{
    const QString bundle = archive("evil.qvt", {{"t.xml", "<t/>", {}}, {"../victim", "bad", {}}});
    ThemeReader reader;
    writeFile(TemporaryDirectory::processFolder() + "/victim", "safe");
    ASSERT_TRUE(reader.open(bundle));
    ASSERT_TRUE(reader.hasMember("../victim"));
    for (const char* name : {"../victim", "..", ""})
        EXPECT_TRUE(reader.extractMember(name).isEmpty()) << name;
    EXPECT_EQ(readFile(TemporaryDirectory::processFolder() + "/victim"), "safe");
}

TEST_F(ThemeReaderTest, OneReaderOpensBundlesInTurn)
{
    const QString first = archive("1.qvt", {{"one.xml", "<one/>", {}}, {"icon_0", "1", {}}});
    const QString second = archive("2.qvt", {{"two.xml", "<two/>", {}}});
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
TEST_F(ThemeReaderTest, EveryReferenceIsServedFromTheOnePass)
{
    QString icons;
    for (int i = 0; i < 100; ++i)
        icons += "<Icon>icon_0</Icon>";
    const QString bundle = archive(
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
TEST_F(ThemeReaderTest, BundlesBeyondTheLimitsAreRefused)
{
    const SmallLimits limits;
    const QByteArray big(64 * 1024 + 1, '\0');
    const QByteArray fits(64 * 1024, '\0');
    auto document = [](const QString& children) {
        return BundleMember{"Hostile.xml", themeDocument(children), {}};
    };
    // The members with empty ones named from first to last added.
    auto numbered = [](int first, int last, std::vector<BundleMember> members) {
        for (int i = first; i <= last; ++i)
            members.push_back({QString::number(i), {}, {}});
        return members;
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
        {"member count", numbered(1, 8, {document("")}),
         "The theme bundle holds more than 8 members."},
        {"picture size",
         {{"icon_0", pngBytes(17, 2, Qt::red), {}}, document("<Icons><Icon>icon_0</Icon></Icons>")},
         "Image 'icon_0' of the theme bundle is larger than 16 by 16 pixels."},
        {"skin count",
         {document(threeSkins + "<SkinSet ItemType=\"Slider\"><Skin Name=\"d\"/>"
                                "</SkinSet>")},
         "The theme bundle holds more than 3 skins."},
        {"within every limit",
         numbered(2, 5,
                  {{"icon_0", pngBytes(16, 16, Qt::red), {}},
                   {"pad", QByteArray(48 * 1024, '\0'), {}},
                   {"1", fits, {}},
                   document("<Icons><Icon>icon_0</Icon></Icons>" + threeSkins)}),
         ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString bundle = archive("hostile.qvt", c.members);
        ThemeReader reader;
        Velmora::Theme theme{QString()};
        EXPECT_EQ(reader.read(bundle, &theme), c.error.isEmpty());
        EXPECT_EQ(reader.errorString().toStdString(), c.error.toStdString());
        EXPECT_TRUE(QDir(reader.temporaryFolder()).isEmpty());
    }
}

// Each reader has a numbered folder of its own, the lowest number not in use, emptied first and
// removed with the reader.
TEST_F(ThemeReaderTest, ReadersTakeTheLowestFreeFolderAndRemoveIt)
{
    QDir().mkpath(readerFolder(1));
    TestUtil::writeFile(readerFolder(1) + "/leftover", "x");
    auto first = std::make_unique<ThemeReader>();
    EXPECT_EQ(first->temporaryFolder(), readerFolder(1));
    EXPECT_TRUE(QDir(readerFolder(1)).isEmpty());
    auto second = std::make_unique<ThemeReader>();
    ASSERT_EQ(second->temporaryFolder(), readerFolder(2));
    TestUtil::writeFile(readerFolder(2) + "/in_use", "x");
    {
        ThemeReader third;
        EXPECT_EQ(third.temporaryFolder(), readerFolder(3));
    }
    EXPECT_FALSE(QFileInfo::exists(readerFolder(3)));

    // When an older reader goes first, a new one must not take the folder of one still alive.
    first.reset();
    EXPECT_FALSE(QFileInfo::exists(readerFolder(1)));
    ThemeReader third;
    EXPECT_EQ(third.temporaryFolder(), readerFolder(1));
    EXPECT_EQ(TestUtil::readFile(readerFolder(2) + "/in_use"), "x");
    ThemeReader fourth;
    EXPECT_EQ(fourth.temporaryFolder(), readerFolder(3));
}

// Bundles that other tools pack from the members of a bundle written here, of a theme whose
// document name (101 bytes) is too long for a plain tar header, with two images of the same
// bytes and a picture mostly of zero bytes. Each command runs in a shell with $1 the bundle, $2
// the folder of its members, $3 the bundle to make, $4 the folder of the sidecars that macOS
// archivers add, $5 a folder to fill, $6 and $7 the members of the same bytes and $8 the
// picture's member. A bundle read is written back: with a fixed date, bundles of the same theme
// are the same bytes.
TEST_F(ThemeReaderTest, BundlesPackedByOtherToolsReadAsTheSameThemeOrSayWhatIsWrong)
{
    const QString original = work.filePath("original.qvt"), members = work.filePath("Daylight");
    const QString variant = work.filePath("variant.qvt"), sidecars = work.filePath("sidecars");
    std::unique_ptr<Theme> theme = TestUtil::sampleTheme();
    theme->setName(QString("Long theme name ").repeated(6) + "x");
    QImage black(128, 128, QImage::Format_RGB32);
    black.fill(Qt::black);
    QByteArray bmp;
    QBuffer bmpBuffer(&bmp);
    ASSERT_TRUE(bmpBuffer.open(QIODevice::WriteOnly) && black.save(&bmpBuffer, "BMP"));
    theme->addIconData(bmp);
    theme->addIconData(theme->getControlImages().begin()->getData());
    ASSERT_TRUE(ThemeFileWriter(theme.get(), nullptr).write(original));
    QStringList names;
    ASSERT_TRUE(TargzArchive().list(original, names) &&
                TargzArchive().extractAll(original, members));
    QStringList same;
    QString picture;
    for (const QString& name : names) {
        const QByteArray bytes = readFile(members + "/" + name);
        if (bytes == bmp)
            picture = name;
        if (bytes == theme->getControlImages().begin()->getData())
            same << name;
    }
    ASSERT_EQ(same.size(), 2);
    const QString linked = "rm -rf \"$5\" && cp -a \"$2\" \"$5\" && ln -f \"$5/$6\" \"$5/$7\" && ";
    const QString hasLink = " && tar -tvzf \"$3\" | grep -q ' link to '";
    const QString holed =
        "rm -rf \"$5\" && cp -a \"$2\" \"$5\" && cp --sparse=always \"$2/$8\" \"$5/$8\" && ";
    const QString hasSparse =
        " && python3 -c \"import sys, tarfile; "
        "sys.exit(not any(m.issparse() for m in tarfile.open(sys.argv[1])))\" "
        "\"$3\"";
    // Rewrites the bundle $1 into $3 with the member named first made a hard link: to "gone",
    // which no member holds, or to a member "extra" put before it, a folder ("/") or a hard link
    // to the member named second.
    const QString relinked =
        "python3 -c \"import sys, tarfile\n"
        "source, out = tarfile.open(sys.argv[1]), tarfile.open(sys.argv[2], 'w:gz')\n"
        "for m in source:\n"
        "    if m.name == sys.argv[3]:\n"
        "        extra, m.type, m.linkname, m.size = tarfile.TarInfo('extra'), tarfile.LNKTYPE, "
        "'extra', 0\n"
        "        extra.type, extra.linkname = (tarfile.DIRTYPE, '') if sys.argv[4] == '/' else "
        "(tarfile.LNKTYPE, sys.argv[4])\n"
        "        if sys.argv[4] == 'gone': m.linkname = 'gone'\n"
        "        else: out.addfile(extra)\n"
        "    out.addfile(m, None if m.islnk() else source.extractfile(m))\n"
        "out.close()\" \"$1\" \"$3\" ";
    // A file of 10,000 stretches of data between holes, which GNU tar finds block by block.
    QByteArray holes;
    for (int i = 0; i < 10000; ++i)
        holes += QByteArray(512, 'x') + QByteArray(512, '\0');
    ASSERT_TRUE(writeFile(work.filePath("holes"), holes));
    ASSERT_TRUE(QFile(work.filePath("holes")).resize(holes.size() + (1 << 20)));
    ASSERT_TRUE(QDir().mkpath(sidecars + "/__MACOSX"));
    writeFile(sidecars + "/._" + names.last(), "Mac OS X        ATTR");
    writeFile(sidecars + "/__MACOSX/._image_0", "Mac OS X");
    qputenv("SOURCE_DATE_EPOCH", "0");
    // The bytes of the bundle written back from what the reader made of the bundle, with the
    // reader's error.
    const auto writtenBack = [&](const QString& bundle) {
        Theme read{QString()};
        ThemeReader reader;
        reader.read(bundle, &read);
        EXPECT_TRUE(ThemeFileWriter(&read, nullptr).write(work.filePath("back.qvt")));
        return std::make_pair(readFile(work.filePath("back.qvt")), reader.errorString());
    };
    const auto expected = writtenBack(original);
    ASSERT_EQ(expected.second, "");
    const QString notTarGz = "The theme file is not a gzip-compressed tar archive";
    const QString named = "\"" + names.join("\" \"") + "\"";
    const std::pair<QString, QString> packings[] = {
        {"tar -C \"$2\" -czf \"$3\" .", ""},
        {"tar --format=posix -C \"$2\" -czf \"$3\" .", ""},
        {"tar --format=posix -C \"$2\" -czf \"$3\" " + named, ""},
        {"tar --format=oldgnu -C \"$2\" -cf - . | gzip -9 > \"$3\"", ""},
        {"tar -czf \"$3\" -C \"$4\" . -C \"$2\" " + named, ""},
        // Taken as it is, as every reader of gzip streams takes data that is not compressed.
        {"tar -C \"$2\" -cf \"$3\" .", ""},
        {"python3 -c \"import sys, tarfile; t = tarfile.open(sys.argv[1], 'w:gz'); "
         "t.add(sys.argv[2], arcname='.'); t.close()\" \"$3\" \"$2\"",
         ""},
        {"tar -C \"$2/..\" -czf \"$3\" Daylight",
         "The theme document is not at the top of the bundle: 'Daylight/" + names.last() +
             "' is inside a folder. Pack the files of the theme, not the folder that holds them."},
        {"gzip -c \"$1\" > \"$3\"", notTarGz + ": it is compressed with gzip twice."},
        {"tar -C \"$2\" -cJf \"$3\" .", notTarGz + ": it is compressed with xz."},
        {"tar -C \"$2\" -cjf \"$3\" .", notTarGz + ": it is compressed with bzip2."},
        {"tar -C \"$2\" --zstd -cf \"$3\" .", notTarGz + ": it is compressed with zstd."},
        {"cd \"$2\" && zip -qr \"$3\" .", notTarGz + ": it is a zip archive."},
        {"echo not a theme > \"$3\"", notTarGz + "."},
        {"head -c -20 \"$1\" > \"$3\"", "The theme bundle is damaged or cut short."},
        {"head -c 5 \"$1\" > \"$3\"", "The theme bundle is damaged or cut short."},
        {"tar -C \"$2\" -czf \"$3\" " + names.first(),
         "The theme bundle holds no theme document (a member whose name ends in \".xml\")."},
        {": > \"$3\"", "The theme file is empty."},
        {relinked + "\"$6\" gone",
         "Member '" + same.value(0) +
             "' of the theme bundle is a hard link to 'gone', which no member before it holds."},
        {relinked + "\"$6\" /", "Member '" + same.value(0) +
                                    "' of the theme bundle is a hard link to 'extra', which is a "
                                    "folder, not a file."},
        {relinked + "\"$7\" \"$6\"", ""},
        {"rm -rf \"$5\" && cp -a \"$2\" \"$5\" && rm \"$5/image_0\" && mkdir \"$5/image_0\" && "
         "tar -C \"$5\" -czf \"$3\" .",
         "Failed to extract page background image 'image_0' from theme bundle. It is a folder, not "
         "a file."},
        {linked + "tar -C \"$5\" -czf \"$3\" ." + hasLink, ""},
        {linked + "tar --format=posix -C \"$5\" -czf \"$3\" ." + hasLink, ""},
        {holed + "tar -S -C \"$5\" -czf \"$3\" ." + hasSparse, ""},
        {holed + "tar --format=posix -S -C \"$5\" -czf \"$3\" ." + hasSparse, ""},
        {holed + "tar --format=posix --sparse-version=0.1 -S -C \"$5\" -czf \"$3\" ." + hasSparse,
         ""},
        {holed + "tar --format=posix --sparse-version=1.0 -S -C \"$5\" -czf \"$3\" ." + hasSparse,
         ""},
        {holed +
             "cp --sparse=always \"$2/../holes\" \"$5\" && tar --format=posix "
             "--sparse-version=0.1 --hole-detection=raw -S -C \"$5\" -czf \"$3\" ." +
             hasSparse,
         ""},
    };
    for (const auto& [command, error] : packings) {
        SCOPED_TRACE(command.toStdString());
        QFile::remove(variant);
        ASSERT_TRUE(TestUtil::runTool("sh", {"-c", command, "sh", original, members, variant,
                                             sidecars, work.filePath("packed"), same.value(0),
                                             same.value(1), picture}));
        const auto read = writtenBack(variant);
        EXPECT_EQ(read.second, error);
        if (error.isEmpty()) {
            EXPECT_TRUE(read.first == expected.first);
        }
    }
    qunsetenv("SOURCE_DATE_EPOCH");
}

// A bundle that bsdtar packed from real files: a picture with holes, stored as a pax sparse
// member, and a hard link to it.
TEST_F(ThemeReaderTest, SparseMembersAndHardLinksOfBsdtarRead)
{
    ThemeReader reader;
    Theme theme{QString()};
    ASSERT_TRUE(
        reader.read(TestUtil::dataPath("theme_bundle/bsdtar_sparse_and_hard_link.qvt"), &theme))
        << reader.errorString().toStdString();
    EXPECT_EQ(theme.getName(), "Sparse");
    ASSERT_EQ(theme.getIcons().size(), 2u);
    for (const ImageData& icon : theme.getIcons()) {
        const QImage picture = QImage::fromData(icon.getData());
        EXPECT_EQ(icon.getData().size(), 49206);
        EXPECT_EQ(picture.size(), QSize(128, 128));
        EXPECT_EQ(picture.pixel(64, 64), qRgb(0, 0, 0));
    }
}

using ThemeReaderDeathTest = ThemeReaderTest;

TEST_F(ThemeReaderDeathTest, ElementReadersStartOnTheirOwnTag)
{
    ThemeReader reader;
    reader.addData("<Icons/>");
    reader.readNext();
    reader.readNext();
    Theme theme{QString()};
    EXPECT_DEATH(reader.readTheme(&theme),
                 "Assert: 'isStartElement\\(\\) && name\\(\\) == VELMORA_THEME_TAG' is FALSE");
    ThemeReader idle;
    EXPECT_DEATH(idle.skipUnknownElement(), "Assert: 'isStartElement\\(\\)' is FALSE");
}
