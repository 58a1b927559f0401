#include "common/helpers.h"
#include "velmora_objects/easing_curve_names.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/skin_transition.h"
#include "velmora_objects/streamer.h"

#include <QColor>
#include <QMetaEnum>
#include <gtest/gtest.h>
#include <limits>

using namespace Velmora;
using TestUtil::fromHex;
using TestUtil::runtimeErrorOf;

namespace {

QByteArray written(const std::function<void(Streamer&)>& write)
{
    QByteArray bytes;
    Streamer s;
    s.open(Streamer::Mode_WRITE, &bytes);
    write(s);
    return bytes;
}

// The bytes after the stream header.
QByteArray body(const QByteArray& bytes)
{
    return bytes.mid(12);
}

// A stream holding the header and then the body, ready for reading.
struct Input
{
    explicit Input(const QByteArray& body) : bytes(written([](Streamer&) {}) + body)
    {
        streamer.open(Streamer::Mode_READ, &bytes);
    }
    QByteArray bytes;
    Streamer streamer;
};

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

void expectSameSkin(const Skin& a, const Skin& b)
{
    EXPECT_EQ(a.getName(), b.getName());
    EXPECT_EQ(a.getItemType(), b.getItemType());
    EXPECT_EQ(a.getTransition().duration, b.getTransition().duration);
    EXPECT_EQ(a.getTransition().easing, b.getTransition().easing);
    ASSERT_EQ(a.size(), b.size());
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
        EXPECT_EQ(i->first, j->first);
        EXPECT_EQ(i->second->getKey(), i->first);
        EXPECT_EQ(i->second->getType(), j->second->getType());
        EXPECT_EQ(i->second->getCaption(), j->second->getCaption());
        EXPECT_EQ(i->second->getValue(), j->second->getValue());
        EXPECT_EQ(i->second->getValue().metaType(), j->second->getValue().metaType());
    }
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
}

TEST(EasingCurveNames, UnnamedTypesAndUnknownTextsAreAbsent)
{
    for (int type : {41, 42, 45, 1000, -1, std::numeric_limits<int>::min()})
        EXPECT_FALSE(EasingCurveNames::name(type).has_value()) << type;
    for (const char* text : {"inquad", "INQUAD", "InQuad ", "", "Custom", "BezierSpline"})
        EXPECT_FALSE(EasingCurveNames::type(text).has_value()) << text;
    EXPECT_EQ(EasingCurveNames::type("InQuad"), QEasingCurve::InQuad);
}

TEST(SkinTransition, DefaultsAndBlock)
{
    const SkinTransition fresh;
    EXPECT_EQ(fresh.duration, 300);
    EXPECT_EQ(fresh.easing, int(QEasingCurve::InOutQuad));

    SkinTransition transition;
    transition.duration = 1250;
    transition.easing = 41;
    const QByteArray bytes = written([&](Streamer& s) { transition.write(s); });
    EXPECT_EQ(body(bytes), QByteArray("SkinTransition_start") + fromHex("000004e2 00000029") +
                               "SkinTransition_end");

    QByteArray input = bytes;
    Streamer r;
    r.open(Streamer::Mode_READ, &input);
    SkinTransition back;
    back.read(r);
    EXPECT_EQ(back.duration, 1250);
    EXPECT_EQ(back.easing, 41);
}

TEST(SkinTransition, TruncatedBlockFails)
{
    const QByteArray bytes = written([](Streamer& s) { SkinTransition().write(s); });
    for (int cut : {1, 16, 24, 30}) {
        QByteArray input = bytes.left(bytes.size() - cut);
        Streamer r;
        r.open(Streamer::Mode_READ, &input);
        SkinTransition back;
        EXPECT_NE(TestUtil::runtimeErrorOf([&] { back.read(r); }), "<no error>") << cut;
    }
}

TEST(SkinSet, GetSkinCreatesOnRequestOnly)
{
    SkinSet set(ThemedItemType_BUTTON);
    EXPECT_EQ(set.getSkin("New State", false), nullptr);
    EXPECT_EQ(set.size(), 0u);

    Skin* created = set.getSkin("New State", true);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->getName(), "New State");
    EXPECT_EQ(created->getItemType(), ThemedItemType_BUTTON);
    EXPECT_EQ(created->size(), 0u);
    EXPECT_EQ(created->getTransition().duration, 300);
    EXPECT_EQ(created->getTransition().easing, 3);
    EXPECT_EQ(set.getSkin("New State", true), created);
    EXPECT_EQ(std::as_const(set).getSkin("New State"), created);
    EXPECT_EQ(set.size(), 1u);
}

TEST(SkinSet, AddReplacesByNameAndKeepsTheVerySameSkin)
{
    SkinSet set(ThemedItemType_BUTTON);
    set.getSkin("Pressed", true);
    set.getSkin("Normal", true);

    smart_ptr<Skin> replacement = sampleSkin("Pressed");
    Skin* added = replacement.get();
    set.addSkin(replacement);
    EXPECT_EQ(set.size(), 2u);
    EXPECT_EQ(set.getSkin("Pressed", false), added);
    EXPECT_EQ(set.getSkin("Pressed", false)->size(), 6u);

    // The same object again: still stored once, nothing deleted (the sanitizer would see it).
    set.addSkin(smart_ptr<Skin>(added));
    EXPECT_EQ(set.getSkin("Pressed", false), added);
    EXPECT_EQ(added->getName(), "Pressed");
    EXPECT_EQ(set.size(), 2u);

    set.removeSkin("Normal");
    set.removeSkin("Absent");
    EXPECT_EQ(set.size(), 1u);
}

TEST(SkinSet, RenameOntoATakenNameKeepsTheRenamedSkin)
{
    SkinSet set(ThemedItemType_SLIDER);
    Skin* a = set.getSkin("A", true);
    set.getSkin("B", true);
    Skin* c = set.getSkin("C", true);

    set.renameSkin("A", "B");
    EXPECT_EQ(set.size(), 2u);
    EXPECT_EQ(set.getSkin("B", false), a);
    EXPECT_EQ(a->getName(), "B");
    EXPECT_EQ(set.getSkin("A", false), nullptr);

    set.renameSkin("C", "C");
    set.renameSkin("Absent", "C");
    EXPECT_EQ(set.getSkin("C", false), c);
    EXPECT_EQ(set.size(), 2u);

    set.renameSkin("C", "D");
    EXPECT_EQ(set.getSkin("D", false), c);
    EXPECT_EQ(c->getName(), "D");
    const QStringList names = [&] {
        QStringList list;
        for (const auto& entry : set)
            list << entry.first + "=" + entry.second->getName();
        return list;
    }();
    EXPECT_EQ(names, QStringList({"B=B", "D=D"}));
}

TEST(Skin, PropertyValuesAndRemoval)
{
    smart_ptr<Skin> skin = sampleSkin("Normal");
    EXPECT_TRUE(skin->hasProperty("radius"));
    EXPECT_EQ(skin->getPropertyType("radius"), SkinPropertyType_INT);
    EXPECT_EQ(skin->getPropertyValue("radius"), QVariant(5));

    skin->setPropertyValue("radius", QString("not checked"));
    EXPECT_EQ(skin->getPropertyValue("radius"), QVariant(QString("not checked")));

    skin->setPropertyValue("radius", QVariant());
    EXPECT_FALSE(skin->hasProperty("radius"));
    EXPECT_EQ(skin->getPropertyType("radius"), 0);
    EXPECT_FALSE(skin->getPropertyValue("radius").isValid());
    EXPECT_EQ(skin->getProperty("radius"), nullptr);

    skin->setPropertyValue("absent", 3);
    EXPECT_FALSE(skin->hasProperty("absent"));

    skin->removeProperty("textColour");
    skin->removeProperty("absent");
    EXPECT_EQ(skin->size(), 4u);
}

TEST(Skin, SetPropertyMergesOnlySameCaptionAndType)
{
    Skin skin(ThemedItemType_LABEL, "Normal");
    SkinProperty* held = skin.setProperty(colour("textColour", "Text colour", Qt::white));
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->getKey(), "textColour");

    EXPECT_EQ(skin.setProperty(colour("textColour", "Text colour", Qt::red)), held);
    EXPECT_EQ(skin.getPropertyValue("textColour"), QVariant(QColor(Qt::red)));

    EXPECT_EQ(skin.setProperty(integer("textColour", "Text colour", 4)), nullptr);
    EXPECT_EQ(skin.setProperty(colour("textColour", "Colour of text", Qt::blue)), nullptr);
    EXPECT_EQ(skin.getProperty("textColour"), held);
    EXPECT_EQ(skin.getPropertyType("textColour"), SkinPropertyType_COLOUR);
    EXPECT_EQ(skin.getPropertyValue("textColour"), QVariant(QColor(Qt::red)));
    EXPECT_EQ(skin.setProperty(smart_ptr<SkinProperty>()), nullptr);
    EXPECT_EQ(skin.size(), 1u);
}

TEST(Skin, CopyIsDeep)
{
    smart_ptr<Skin> original = sampleSkin("Normal");
    Skin copy(*original);
    expectSameSkin(copy, *original);
    EXPECT_NE(copy.getProperty("radius"), original->getProperty("radius"));
    const auto* bounds = dynamic_cast<const IntSkinProperty*>(copy.getProperty("radius"));
    ASSERT_NE(bounds, nullptr);
    EXPECT_EQ(bounds->getUnit(), "px");
    EXPECT_EQ(bounds->getMaximum(), 99);

    copy.setPropertyValue("radius", 9);
    copy.removeProperty("opacity");
    copy.getTransition().duration = 1;
    copy.setName("Copy");
    EXPECT_EQ(original->getPropertyValue("radius"), QVariant(5));
    EXPECT_TRUE(original->hasProperty("opacity"));
    EXPECT_EQ(original->getTransition().duration, 120);
    EXPECT_EQ(original->getName(), "Normal");
}

TEST(Skin, EmptySkinBlock)
{
    const Skin skin(ThemedItemType_CLOCK, "A");
    const QByteArray bytes = written([&](Streamer& s) { skin.write(s); });
    EXPECT_EQ(body(bytes), QByteArray("Skin_start") + fromHex("00000002 0041 00000007 00000000") +
                               "SkinTransition_start" + fromHex("0000012c 00000003") +
                               "SkinTransition_end" + "Skin_end");
}

TEST(Skin, BlockStartsEachPropertyWithItsTypeNumberInKeyOrder)
{
    Skin skin(ThemedItemType_BUTTON, QString());
    skin.setProperty(integer("radius", "Corner radius", 5));
    skin.setProperty(colour("borderColour", "Border colour", Qt::black));
    const QByteArray block = body(written([&](Streamer& s) { skin.write(s); }));
    const int colourAt = block.indexOf(fromHex("00000005") + "ColourSkinProperty_start");
    const int intAt = block.indexOf(fromHex("00000001") + "IntSkinProperty_start");
    EXPECT_GT(colourAt, 0);
    EXPECT_GT(intAt, colourAt);
}

TEST(SkinSet, RoundTripKeepsSkinsInNameOrder)
{
    SkinSet set(ThemedItemType_BUTTON);
    set.addSkin(sampleSkin("Pressed"));
    set.addSkin(sampleSkin("Normal"));
    set.getSkin("Empty", true);
    const QByteArray bytes = written([&](Streamer& s) { set.write(s); });
    EXPECT_TRUE(body(bytes).startsWith(QByteArray("SkinSet_start") + fromHex("00000001 00000003")));
    EXPECT_TRUE(body(bytes).endsWith("Skin_endSkinSet_end"));

    Input input(body(bytes));
    SkinSet back(ThemedItemType(0));
    back.read(input.streamer);
    EXPECT_EQ(back.getItemType(), ThemedItemType_BUTTON);
    ASSERT_EQ(back.size(), 3u);
    auto j = back.begin();
    for (auto i = set.begin(); i != set.end(); ++i, ++j) {
        EXPECT_EQ(i->first, j->first);
        expectSameSkin(*j->second, *i->second);
    }
}

TEST(SkinSet, LaterSkinsAndPropertiesOfOneNameWin)
{
    // Two skins named "S"; the second holds "radius" twice.
    Skin first(ThemedItemType_BUTTON, "S");
    first.setProperty(integer("radius", "Corner radius", 1));
    Skin second(ThemedItemType_BUTTON, "S");
    const QByteArray radius2 =
        body(written([&](Streamer& s) { integer("radius", "Corner radius", 2)->write(s); }));
    const QByteArray radius3 =
        body(written([&](Streamer& s) { integer("radius", "Corner radius", 3)->write(s); }));
    const QByteArray secondBlock =
        QByteArray("Skin_start") + fromHex("00000002 0053 00000001 00000002") +
        fromHex("00000001") + radius2 + fromHex("00000001") + radius3 +
        body(written([](Streamer& s) { SkinTransition().write(s); })) + "Skin_end";

    Input input(QByteArray("SkinSet_start") + fromHex("00000001 00000002") +
                body(written([&](Streamer& s) { first.write(s); })) + secondBlock + "SkinSet_end");
    SkinSet set(ThemedItemType(0));
    set.read(input.streamer);
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set.getSkin("S")->getPropertyValue("radius"), QVariant(3));
    EXPECT_EQ(set.getSkin("S")->size(), 1u);
}

TEST(Skin, DamagedBlocksFail)
{
    const QByteArray good = body(written([&](Streamer& s) { sampleSkin("Normal")->write(s); }));
    // Cut anywhere: the read fails and nothing leaks.
    for (int length = 0; length < good.size(); length += 7) {
        Input input(good.left(length));
        Skin skin(ThemedItemType(0), QString());
        EXPECT_NE(runtimeErrorOf([&] { skin.read(input.streamer); }), "<no error>") << length;
    }
    // A property type outside 1..6 reads no block: the stream is then out of step.
    QByteArray unknownType = good;
    unknownType.replace(good.indexOf("BoolSkinProperty_start") - 4, 4, fromHex("00000007"));
    Input input(unknownType);
    Skin skin(ThemedItemType(0), QString());
    EXPECT_NE(runtimeErrorOf([&] { skin.read(input.streamer); }), "<no error>");

    // Counts far beyond what the stream holds end the read at once.
    for (const char* count : {"7fffffff", "ffffffff", "80000000"}) {
        Input skinInput(QByteArray("Skin_start") + fromHex("00000000 00000001") + fromHex(count));
        Skin bad(ThemedItemType(0), QString());
        EXPECT_EQ(runtimeErrorOf([&] { bad.read(skinInput.streamer); }), "Unexpected end of file");
        Input setInput(QByteArray("SkinSet_start") + fromHex("00000001") + fromHex(count));
        SkinSet badSet(ThemedItemType(0));
        EXPECT_EQ(runtimeErrorOf([&] { badSet.read(setInput.streamer); }),
                  "Unexpected end of file");
    }
}

TEST(SkinSet, CopyIsDeep)
{
    SkinSet set(ThemedItemType_KEYPAD);
    set.addSkin(sampleSkin("Normal"));
    SkinSet copy(set);
    EXPECT_EQ(copy.getItemType(), ThemedItemType_KEYPAD);
    ASSERT_EQ(copy.size(), 1u);
    EXPECT_NE(copy.getSkin("Normal"), set.getSkin("Normal"));
    expectSameSkin(*copy.getSkin("Normal"), *set.getSkin("Normal"));

    copy.getSkin("Normal", false)->setPropertyValue("radius", 40);
    copy.renameSkin("Normal", "Other");
    EXPECT_EQ(set.getSkin("Normal")->getPropertyValue("radius"), QVariant(5));
    EXPECT_EQ(set.getSkin("Other"), nullptr);
}
