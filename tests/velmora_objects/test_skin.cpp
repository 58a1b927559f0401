#include "common/helpers.h"
#include "common/stream_bytes.h"
#include "velmora_objects/easing_curve_names.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_set.h"

#include <QColor>
#include <QMetaEnum>
#include <gtest/gtest.h>
#include <limits>

using namespace Velmora;
using TestUtil::body;
using TestUtil::fromHex;
using TestUtil::runtimeErrorOf;
using TestUtil::streamed;
using TestUtil::withHeader;

namespace {

smart_ptr<SkinProperty> colour(const char* key, const char* caption, QColor value)
{
    return smart_ptr<SkinProperty>(new ColourSkinProperty(key, caption, value));
}

smart_ptr<SkinProperty> integer(const char* key, const char* caption, int value)
{
    return smart_ptr<SkinProperty>(
        new IntSkinProperty(key, caption, value, "px", 0, 99, QString()));
}

// A button skin with one property of each type and a transition of its own.
smart_ptr<Skin> sampleSkin(const QString& name)
{
    smart_ptr<Skin> skin(new Skin(ThemedItemType_BUTTON, name));
    skin->setProperty(integer("radius", "Corner radius", 5));
    skin->setProperty(smart_ptr<SkinProperty>(
        new DoubleSkinProperty("opacity", "Opacity", 0.75, QString(), 0.0, 1.0, 0.1)));
    skin->setProperty(smart_ptr<SkinProperty>(new BoolSkinProperty("fontBold", "Bold text", true)));
    skin->setProperty(
        smart_ptr<SkinProperty>(new StringSkinProperty("label", "Label", QString("On"))));
    skin->setProperty(colour("textColour", "Text colour", QColor("steelblue")));
    skin->setProperty(
        smart_ptr<SkinProperty>(new ImageSkinProperty("backgroundImage", "Background", 4u)));
    skin->getTransition().duration = 120;
    skin->getTransition().easing = QEasingCurve::OutBounce;
    return skin;
}

// Skins compare through their blocks, which hold every member of the skin and its properties.
QByteArray blockOf(const Skin& skin)
{
    return body(streamed([&](Streamer& s) { skin.write(s); }));
}

QByteArray blockOf(const SkinSet& set)
{
    return body(streamed([&](Streamer& s) { set.write(s); }));
}

} // namespace

TEST(EasingCurveNames, NamesAreQtEnumeratorNamesFromLinearToOutInBounce)
{
    const QMetaEnum qtNames = QMetaEnum::fromType<QEasingCurve::Type>();
    ASSERT_EQ(EasingCurveNames::size(), 41u);
    for (int type = 0; type <= 40; ++type) {
        const auto name = EasingCurveNames::name(type);
        ASSERT_TRUE(name.has_value()) << type;
        EXPECT_EQ(*name, QString::fromLatin1(qtNames.valueToKey(type))) << type;
        EXPECT_EQ(EasingCurveNames::type(*name), QEasingCurve::Type(type));
    }
    EXPECT_EQ(EasingCurveNames::name(0), QString("Linear"));
    EXPECT_EQ(EasingCurveNames::name(40), QString("OutInBounce"));
    for (int type : {41, 45, -1, std::numeric_limits<int>::min()})
        EXPECT_FALSE(EasingCurveNames::name(type).has_value()) << type;
    for (const char* text : {"inquad", "InQuad ", "", "Custom", "BezierSpline"})
        EXPECT_FALSE(EasingCurveNames::type(text).has_value()) << text;
}

TEST(SkinSet, GetSkinCreatesOnRequestAndAddReplacesByName)
{
    SkinSet set(ThemedItemType_BUTTON);
    EXPECT_EQ(set.getSkin("Pressed", false), nullptr);
    Skin* created = set.getSkin("Pressed", true);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(blockOf(*created), blockOf(Skin(ThemedItemType_BUTTON, "Pressed")));
    EXPECT_EQ(set.getSkin("Pressed", true), created);
    set.getSkin("Normal", true);
    smart_ptr<Skin> replacement = sampleSkin("Pressed");
    Skin* added = replacement.get();
    set.addSkin(replacement);
    EXPECT_EQ(set.size(), 2u);
    EXPECT_EQ(set.getSkin("Pressed", false), added);

    // The same object again: still stored once, nothing deleted (the sanitizer would see it).
    set.addSkin(smart_ptr<Skin>(added));
    EXPECT_EQ(set.getSkin("Pressed", false), added);
    EXPECT_EQ(set.size(), 2u);
}

TEST(SkinSet, RenameOntoATakenNameKeepsTheRenamedSkin)
{
    SkinSet set(ThemedItemType_SLIDER);
    Skin* a = set.getSkin("A", true);
    set.getSkin("B", true);
    Skin* c = set.getSkin("C", true);

    set.renameSkin("A", "B");
    EXPECT_EQ(set.getSkin("B", false), a);
    EXPECT_EQ(a->getName(), "B");
    EXPECT_EQ(set.getSkin("A", false), nullptr);

    set.renameSkin("C", "C");
    set.renameSkin("Absent", "C");
    EXPECT_EQ(set.getSkin("C", false), c);
    EXPECT_EQ(set.size(), 2u);
}

TEST(Skin, PropertyValuesAndRemoval)
{
    smart_ptr<Skin> skin = sampleSkin("Normal");
    // Values are not checked against the type.
    skin->setPropertyValue("radius", QString("not checked"));
    EXPECT_EQ(skin->getPropertyValue("radius"), QVariant(QString("not checked")));
    // An invalid value removes the property; an absent key is not added.
    skin->setPropertyValue("radius", QVariant());
    EXPECT_FALSE(skin->hasProperty("radius"));
    EXPECT_EQ(skin->getPropertyType("radius"), 0);
    EXPECT_FALSE(skin->getPropertyValue("radius").isValid());
    skin->setPropertyValue("absent", 3);
    EXPECT_FALSE(skin->hasProperty("absent"));
    EXPECT_EQ(skin->size(), 5u);
}

TEST(Skin, SetPropertyMergesOnlySameCaptionAndType)
{
    Skin skin(ThemedItemType_LABEL, "Normal");
    SkinProperty* held = skin.setProperty(colour("textColour", "Text colour", Qt::white));
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(skin.setProperty(colour("textColour", "Text colour", Qt::red)), held);
    EXPECT_EQ(skin.getPropertyValue("textColour"), QVariant(QColor(Qt::red)));

    EXPECT_EQ(skin.setProperty(integer("textColour", "Text colour", 4)), nullptr);
    EXPECT_EQ(skin.setProperty(colour("textColour", "Colour of text", Qt::blue)), nullptr);
    EXPECT_EQ(skin.setProperty(smart_ptr<SkinProperty>()), nullptr);
    EXPECT_EQ(skin.getProperty("textColour"), held);
    EXPECT_EQ(skin.getPropertyValue("textColour"), QVariant(QColor(Qt::red)));
    EXPECT_EQ(skin.size(), 1u);
}

TEST(Skin, CopiesOfSkinsAndSetsAreDeep)
{
    SkinSet set(ThemedItemType_KEYPAD);
    set.addSkin(sampleSkin("Normal"));
    SkinSet copy(set);
    const QByteArray before = blockOf(set);
    EXPECT_EQ(blockOf(copy), before);
    EXPECT_NE(copy.getSkin("Normal"), set.getSkin("Normal"));

    Skin* skinCopy = copy.getSkin("Normal", false);
    EXPECT_NE(skinCopy->getProperty("radius"), set.getSkin("Normal")->getProperty("radius"));
    skinCopy->setPropertyValue("radius", 40);
    skinCopy->removeProperty("opacity");
    skinCopy->getTransition().duration = 1;
    copy.renameSkin("Normal", "Other");
    EXPECT_EQ(blockOf(set), before);
}

TEST(Skin, BlockBytes)
{
    // An empty skin: name, item type, no properties, the default transition.
    EXPECT_EQ(blockOf(Skin(ThemedItemType_CLOCK, "A")),
              QByteArray("Skin_start") + fromHex("00000002 0041 00000007 00000000") +
                  "SkinTransition_start" + fromHex("0000012c 00000003") + "SkinTransition_end" +
                  "Skin_end");
    // Each property starts with its type number, in key order.
    Skin skin(ThemedItemType_BUTTON, QString());
    skin.setProperty(integer("radius", "Corner radius", 5));
    skin.setProperty(colour("borderColour", "Border colour", Qt::black));
    const QByteArray block = blockOf(skin);
    const int colourAt = block.indexOf(fromHex("00000005") + "ColourSkinProperty_start");
    EXPECT_GT(colourAt, 0);
    EXPECT_GT(block.indexOf(fromHex("00000001") + "IntSkinProperty_start"), colourAt);
}

TEST(SkinSet, RoundTripKeepsSkinsInNameOrder)
{
    SkinSet set(ThemedItemType_BUTTON);
    set.addSkin(sampleSkin("Pressed"));
    set.addSkin(sampleSkin("Normal"));
    set.getSkin("Empty", true);
    const QByteArray block = blockOf(set);
    EXPECT_TRUE(block.startsWith(QByteArray("SkinSet_start") + fromHex("00000001 00000003")));
    TestUtil::readStream(withHeader(block), [&](Streamer& s) {
        SkinSet back(ThemedItemType(0));
        back.read(s);
        EXPECT_EQ(back.getItemType(), ThemedItemType_BUTTON);
        EXPECT_EQ(blockOf(back), block);
        QStringList names;
        for (const auto& entry : back)
            names << entry.first;
        EXPECT_EQ(names, QStringList({"Empty", "Normal", "Pressed"}));
    });
}

TEST(SkinSet, LaterSkinsAndPropertiesOfOneNameWin)
{
    // Two skins named "S"; the second holds "radius" twice.
    Skin first(ThemedItemType_BUTTON, "S");
    first.setProperty(integer("radius", "Corner radius", 1));
    auto radius = [](int value) {
        return fromHex("00000001") + body(streamed([&](Streamer& s) {
                   integer("radius", "Corner radius", value)->write(s);
               }));
    };
    const QByteArray second =
        QByteArray("Skin_start") + fromHex("00000002 0053 00000001 00000002") + radius(2) +
        radius(3) + body(streamed([](Streamer& s) { SkinTransition().write(s); })) + "Skin_end";
    const QByteArray block = QByteArray("SkinSet_start") + fromHex("00000001 00000002") +
                             blockOf(first) + second + "SkinSet_end";
    TestUtil::readStream(withHeader(block), [](Streamer& s) {
        SkinSet set(ThemedItemType(0));
        set.read(s);
        ASSERT_EQ(set.size(), 1u);
        EXPECT_EQ(set.getSkin("S")->getPropertyValue("radius"), QVariant(3));
        EXPECT_EQ(set.getSkin("S")->size(), 1u);
    });
}

TEST(Skin, DamagedBlocksFail)
{
    auto readSkin = [](const QByteArray& block) {
        return runtimeErrorOf([&] {
            TestUtil::readStream(withHeader(block), [](Streamer& s) {
                Skin skin(ThemedItemType(0), QString());
                skin.read(s);
            });
        });
    };
    const QByteArray good = blockOf(*sampleSkin("Normal"));
    // Cut anywhere (the transition too): the read fails and nothing leaks.
    for (int length = 0; length < good.size(); length += 7)
        EXPECT_NE(readSkin(good.left(length)), "<no error>") << length;
    // A property type outside 1..6 reads no block: the stream is then out of step.
    QByteArray unknownType = good;
    unknownType.replace(good.indexOf("BoolSkinProperty_start") - 4, 4, fromHex("00000007"));
    EXPECT_NE(readSkin(unknownType), "<no error>");

    // Counts far beyond what the stream holds end the read at once.
    for (const char* count : {"7fffffff", "ffffffff", "80000000"}) {
        EXPECT_EQ(
            readSkin(QByteArray("Skin_start") + fromHex("00000000 00000001") + fromHex(count)),
            "Unexpected end of file");
        EXPECT_EQ(runtimeErrorOf([&] {
                      TestUtil::readStream(withHeader(QByteArray("SkinSet_start") +
                                                      fromHex("00000001") + fromHex(count)),
                                           [](Streamer& s) { SkinSet(ThemedItemType(0)).read(s); });
                  }),
                  "Unexpected end of file");
    }
}
