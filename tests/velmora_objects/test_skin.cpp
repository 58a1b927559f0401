#include "common/helpers.h"
#include "common/stream_bytes.h"
#include "containers/smart_ptr.h"
#include "velmora_objects/easing_curve_names.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_property_key.h"
#include "velmora_objects/skin_property_tables.h"
#include "velmora_objects/skin_set.h"

#include <QColor>
#include <QMetaEnum>
#include <QMetaType>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <memory>

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

// Skins, sets and properties compare through their blocks, which hold every member (the
// extras of the numeric property classes included).
template <class T> QByteArray blockOf(const T& object)
{
    return body(streamed([&](Streamer& s) { object.write(s); }));
}

// Reads a property of the given type from a stream body (without header).
std::unique_ptr<SkinProperty> readBack(SkinPropertyType type, const QByteArray& block)
{
    std::unique_ptr<SkinProperty> property(SkinProperty::create(type));
    TestUtil::readStream(TestUtil::withHeader(block), [&](Streamer& s) { property->read(s); });
    return property;
}

struct Sample
{
    const char* start;
    std::shared_ptr<SkinProperty> property;
};

std::vector<Sample> samples()
{
    return {
        {"IntSkinProperty_start",
         std::make_shared<IntSkinProperty>("radius", "Corner radius", 5, "px", 0, 99, "")},
        {"IntSkinProperty_start", std::make_shared<IntSkinProperty>("period", "Period", -7, "msecs",
                                                                    -100, INT_MAX, "Never")},
        {"DoubleSkinProperty_start",
         std::make_shared<DoubleSkinProperty>("opacity", "Opacity", 0.75, "", 0.0, 1.0, 0.1)},
        {"BoolSkinProperty_start", std::make_shared<BoolSkinProperty>("fontBold", "Bold", true)},
        {"StringSkinProperty_start",
         std::make_shared<StringSkinProperty>("text", QString::fromUtf8("Gr\xc3\xbc\xc3\x9f"),
                                              QString("x"))},
        {"ColourSkinProperty_start",
         std::make_shared<ColourSkinProperty>("textColour", "Text colour", QColor("steelblue"))},
        {"ColourSkinProperty_start",
         std::make_shared<ColourSkinProperty>("none", "No colour", QVariant())},
        {"ImageSkinProperty_start",
         std::make_shared<ImageSkinProperty>("faceImage", "Face image", 12u)},
        {"ImageSkinProperty_start",
         std::make_shared<ImageSkinProperty>("faceImage", "Face image",
                                             QString("qrc:/default_clock_face.svg"))},
    };
}

// One row of the expected tables (tests/data/skin_properties/tables.tsv).
struct Expected
{
    int itemType;
    QString key, type, caption, defaultText, range;
};

std::vector<Expected> expectedRows()
{
    std::vector<Expected> rows;
    const QString text =
        QString::fromUtf8(TestUtil::readFile(TestUtil::dataPath("skin_properties/tables.tsv")));
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith('#'))
            continue;
        const QStringList cells = line.split('\t');
        EXPECT_EQ(cells.size(), 7) << line.toStdString();
        if (cells.size() != 7)
            continue;
        rows.push_back({cells[0].toInt(), cells[2], cells[3], cells[4], cells[5], cells[6]});
    }
    return rows;
}

QString unquoted(const QString& text)
{
    return text.mid(1, text.size() - 2);
}

void expectRow(const SkinProperties& table, const Expected& row)
{
    SCOPED_TRACE(QString("%1 %2").arg(row.itemType).arg(row.key).toStdString());
    const SkinProperty* p = table.getProperty(row.key);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->getKey(), row.key);
    EXPECT_EQ(p->getCaption().toStdString(), row.caption.toStdString());
    const QVariant value = p->getValue();
    if (row.type == "Colour") {
        EXPECT_EQ(p->getType(), SkinPropertyType_COLOUR);
        EXPECT_EQ(value.metaType(), QMetaType::fromType<QColor>());
        const QColor expected(unquoted(row.defaultText));
        ASSERT_TRUE(expected.isValid());
        EXPECT_EQ(value.value<QColor>(), expected);
        EXPECT_EQ(value.value<QColor>().alpha(), row.defaultText == "\"transparent\"" ? 0 : 255);
    } else if (row.type == "Double") {
        EXPECT_EQ(p->getType(), SkinPropertyType_DOUBLE);
        EXPECT_EQ(value.metaType(), QMetaType::fromType<double>());
        EXPECT_EQ(value.toDouble(), row.defaultText.toDouble());
        const auto range =
            QRegularExpression("^([-\\d.]+)\\.\\.([-\\d.]+) by ([\\d.]+)$").match(row.range);
        ASSERT_TRUE(range.hasMatch());
        auto& real = dynamic_cast<const DoubleSkinProperty&>(*p);
        EXPECT_EQ(real.getMinimum(), range.captured(1).toDouble());
        EXPECT_EQ(real.getMaximum(), range.captured(2).toDouble());
        EXPECT_EQ(real.getStep(), range.captured(3).toDouble());
        EXPECT_EQ(real.getUnit(), QString());
    } else if (row.type == "Int") {
        EXPECT_EQ(p->getType(), SkinPropertyType_INT);
        EXPECT_EQ(value.metaType(), QMetaType::fromType<int>());
        EXPECT_EQ(value.toInt(), row.defaultText.toInt());
        const auto range = QRegularExpression("^(\\d+)\\.\\.(\\d+) \"(\\w+)\"$").match(row.range);
        ASSERT_TRUE(range.hasMatch());
        auto& integer = dynamic_cast<const IntSkinProperty&>(*p);
        EXPECT_EQ(integer.getMinimum(), range.captured(1).toInt());
        EXPECT_EQ(integer.getMaximum(), range.captured(2).toInt());
        EXPECT_EQ(integer.getUnit(), range.captured(3));
        EXPECT_EQ(integer.getSpecialValueText(), QString());
    } else if (row.type == "Bool") {
        EXPECT_EQ(p->getType(), SkinPropertyType_BOOL);
        EXPECT_EQ(value, QVariant(false));
    } else if (row.type == "Image") {
        EXPECT_EQ(p->getType(), SkinPropertyType_IMAGE);
        if (row.defaultText == "no image") {
            EXPECT_FALSE(value.isValid());
        } else {
            EXPECT_EQ(value.metaType(), QMetaType::fromType<QString>());
            EXPECT_EQ(value.toString(), unquoted(row.defaultText));
        }
    } else {
        ADD_FAILURE() << "unknown type " << row.type.toStdString();
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

TEST(Skin, KeyOrderIsTheOrderOfStrings)
{
    const QString smile = QString::fromUtf16(u"\U0001F600"); // a surrogate pair
    const QString pairs[][2] = {
        {"", "a"},           {"size", "size1"}, {"colour10", "colour2"},
        {"b", "B"},          {"a", "a"},        {smile, QString(QChar(0xE000))},
        {"x" + smile, "x!"}, {QString(), ""},   {"colour" + smile + "x", "colour\ue000x"}};
    for (const auto& pair : pairs) {
        EXPECT_EQ(Skin::KeyOrder()(pair[0], pair[1]), pair[0] < pair[1])
            << qPrintable(pair[0] + "|" + pair[1]);
        EXPECT_EQ(Skin::KeyOrder()(pair[1], pair[0]), pair[1] < pair[0])
            << qPrintable(pair[0] + "|" + pair[1]);
    }
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
    // Two skins named "S"; the second holds "radius" twice and "border" twice, out of key
    // order: the keys come out sorted and the last of each wins.
    Skin first(ThemedItemType_BUTTON, "S");
    first.setProperty(integer("radius", "Corner radius", 1));
    auto property = [](const char* key, int value) {
        return fromHex("00000001") +
               body(streamed([&](Streamer& s) { integer(key, "Caption", value)->write(s); }));
    };
    const QByteArray second =
        QByteArray("Skin_start") + fromHex("00000002 0053 00000001 00000004") +
        property("radius", 2) + property("border", 3) + property("radius", 4) +
        property("border", 5) + body(streamed([](Streamer& s) { SkinTransition().write(s); })) +
        "Skin_end";
    const QByteArray block = QByteArray("SkinSet_start") + fromHex("00000001 00000002") +
                             blockOf(first) + second + "SkinSet_end";
    TestUtil::readStream(withHeader(block), [](Streamer& s) {
        SkinSet set(ThemedItemType(0));
        set.read(s);
        ASSERT_EQ(set.size(), 1u);
        QStringList keys;
        QVariantList values;
        for (const auto& [key, property] : *set.getSkin("S")) {
            keys << key;
            values << property->getValue();
        }
        EXPECT_EQ(keys, QStringList({"border", "radius"}));
        EXPECT_EQ(values, QVariantList({5, 4}));
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

TEST(SkinProperty, CreateMakesEmptyPropertiesOfEachType)
{
    for (int type = 1; type <= 6; ++type) {
        std::unique_ptr<SkinProperty> p(SkinProperty::create(SkinPropertyType(type)));
        ASSERT_TRUE(p) << type;
        EXPECT_EQ(p->getType(), type);
        EXPECT_TRUE(p->getKey().isEmpty() && p->getCaption().isEmpty());
        EXPECT_FALSE(p->getValue().isValid());
    }
    std::unique_ptr<SkinProperty> i(SkinProperty::create(SkinPropertyType_INT));
    EXPECT_EQ(blockOf(*i), blockOf(IntSkinProperty({}, {}, {}, {}, 0, 99, {})));
    std::unique_ptr<SkinProperty> d(SkinProperty::create(SkinPropertyType_DOUBLE));
    EXPECT_EQ(blockOf(*d), blockOf(DoubleSkinProperty({}, {}, {}, {}, 0.0, 99.0, 1.0)));
    for (int type : {0, 7, -1})
        EXPECT_EQ(SkinProperty::create(SkinPropertyType(type)), nullptr) << type;
}

TEST(SkinProperty, CopyFromTakesExtrasOnlyFromItsOwnClass)
{
    IntSkinProperty target("a", "A", 1, "px", 0, 99, "Off");
    target.copyFrom(DoubleSkinProperty("b", "B", 0.5, "u", 0.0, 1.0, 0.1));
    EXPECT_EQ(blockOf(target), blockOf(IntSkinProperty("b", "B", 0.5, "px", 0, 99, "Off")));
    DoubleSkinProperty real("d", "D", 0.1, "", 0.0, 1.0, 0.1);
    real.copyFrom(ColourSkinProperty("f", "F", QColor(Qt::red)));
    EXPECT_EQ(blockOf(real), blockOf(DoubleSkinProperty("f", "F", QColor(Qt::red), "", 0, 1, 0.1)));

    // Copies go through create with the source's type, then copyFrom.
    for (const Sample& sample : samples()) {
        std::unique_ptr<SkinProperty> copy(SkinProperty::create(sample.property->getType()));
        copy->copyFrom(*sample.property);
        EXPECT_EQ(blockOf(*copy), blockOf(*sample.property)) << sample.start;
    }
}

TEST(SkinProperty, EachTypeStreamsItsBlockAndReadsItBack)
{
    for (const Sample& sample : samples()) {
        SCOPED_TRACE(sample.start);
        const QByteArray block = blockOf(*sample.property);
        // The subclass block wraps the base block.
        EXPECT_TRUE(block.startsWith(QByteArray(sample.start) + "SkinProperty_start"));
        EXPECT_TRUE(block.endsWith(QByteArray(sample.start).replace("_start", "_end")));
        std::unique_ptr<SkinProperty> back = readBack(sample.property->getType(), block);
        EXPECT_EQ(back->getValue().metaType(), sample.property->getValue().metaType());
        EXPECT_EQ(blockOf(*back), block);
    }
}

TEST(SkinProperty, BlockBytes)
{
    // An Int block: tags, key "r", caption "", value Int 5, unit "px", 0, 99, null text.
    EXPECT_EQ(blockOf(IntSkinProperty("r", "", 5, "px", 0, 99, QString())),
              QByteArray("IntSkinProperty_start") + "SkinProperty_start" +
                  fromHex("00000002 0072  00000000  00000010 00000005") + "SkinProperty_end" +
                  fromHex("00000004 00700078  00000000 00000063 ffffffff") + "IntSkinProperty_end");
    // A Bool block holds the base block alone.
    EXPECT_EQ(blockOf(BoolSkinProperty(QString(), QString(), QVariant())),
              QByteArray("BoolSkinProperty_start") + "SkinProperty_start" +
                  fromHex("ffffffff ffffffff 00000000 ffffffff") + "SkinProperty_end" +
                  "BoolSkinProperty_end");
    // A Double block: unit, then minimum, maximum and step as big-endian doubles.
    EXPECT_TRUE(blockOf(DoubleSkinProperty("", "", 1.0, "", 0.0, 1.0, 0.5))
                    .endsWith(fromHex("00000000 0000000000000000 3ff0000000000000 "
                                      "3fe0000000000000") +
                              "DoubleSkinProperty_end"));
}

TEST(SkinProperty, BrokenBlocksRaiseTheStreamError)
{
    const QByteArray colour = blockOf(ColourSkinProperty("c", "C", QColor(Qt::red)));
    EXPECT_EQ(runtimeErrorOf([&] { readBack(SkinPropertyType_BOOL, colour); }),
              "Failed to find expected tag BoolSkinProperty_start");

    // A value of a type the stream does not carry; a string length far beyond the stream.
    for (const QByteArray& block :
         {QByteArray("StringSkinProperty_start") + "SkinProperty_start" +
              fromHex("00000000 00000000 00000045 00000000"),
          QByteArray("StringSkinProperty_start") + "SkinProperty_start" + fromHex("7ffffffe 0041")})
        EXPECT_NE(runtimeErrorOf([&] { readBack(SkinPropertyType_STRING, block); }), "<no error>");

    // Cut anywhere, every block fails with the stream's error and reads nothing beyond it.
    for (const Sample& sample : samples()) {
        const QByteArray block = blockOf(*sample.property);
        for (int length = 0; length < block.size(); ++length)
            EXPECT_NE(
                runtimeErrorOf([&] { readBack(sample.property->getType(), block.left(length)); }),
                "<no error>")
                << sample.start << " cut at " << length;
    }
}

TEST(SkinPropertyKey, OrdersByItemTypeThenName)
{
    const struct
    {
        SkinPropertyKey a, b;
        bool less;
    } cases[] = {
        {{1, "radius"}, {2, "handleRadius"}, true},
        {{2, "handleRadius"}, {1, "radius"}, false},
        {{1, "handleRadius"}, {1, "radius"}, true},
        {{1, "radius"}, {1, "radius"}, false},
        {{-1, "z"}, {0, "a"}, true},
        {{1, "Z"}, {1, "a"}, true}, // code-unit order: capitals first
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.a < c.b, c.less) << c.a.itemType << c.a.name.toStdString();
    EXPECT_EQ(SkinPropertyKey(1, "a"), SkinPropertyKey(1, "a"));
    EXPECT_NE(SkinPropertyKey(1, "a"), SkinPropertyKey(2, "a"));
}

TEST(SkinPropertyKey, BlockAndVariant)
{
    const SkinPropertyKey key(7, "faceImage");
    QByteArray bytes = streamed([&](Streamer& s) { key.write(s); });
    EXPECT_EQ(body(bytes), QByteArray("SkinPropertyKey_start") + fromHex("00000007 00000012") +
                               QByteArray::fromHex("00660061006300650049006d006100670065") +
                               "SkinPropertyKey_end");
    TestUtil::readStream(bytes, [&](Streamer& s) {
        SkinPropertyKey back;
        back.read(s);
        EXPECT_EQ(back, key);
    });
    bytes.chop(int(qstrlen("SkinPropertyKey_end")) + 2);
    EXPECT_EQ(runtimeErrorOf([&] {
                  TestUtil::readStream(bytes, [](Streamer& s) { SkinPropertyKey().read(s); });
              }),
              "Failed to find expected tag SkinPropertyKey_end");

    const QVariant value = QVariant::fromValue(key);
    EXPECT_EQ(value.metaType(), QMetaType::fromName("Velmora::SkinPropertyKey"));
    EXPECT_EQ(value, QVariant::fromValue(SkinPropertyKey(7, "faceImage")));
    EXPECT_NE(value, QVariant::fromValue(SkinPropertyKey(7, "hourHandImage")));
}

TEST(MetaTypes, SharedTypesAreKnownByName)
{
    for (const char* name :
         {"Gradient", "Velmora::SkinPropertyKey", "Velmora::ControlType", "Velmora::ThemedItemType",
          "Velmora::ButtonFunction", "Velmora::PageTransition", "Velmora::TextStyle",
          "Velmora::Orientation", "Velmora::Action", "Velmora::Alignment",
          "Velmora::NavigationPosition", "Velmora::SkinPropertyType", "Velmora::Scaling",
          "Velmora::Button::Actuation", "Velmora::Slider::Unit", "Velmora::Clock::ClockType"})
        EXPECT_TRUE(QMetaType::fromName(name).isValid()) << name;
    const QVariant orientation = QVariant::fromValue(Orientation_PORTRAIT);
    EXPECT_EQ(orientation.metaType(), QMetaType::fromName("Velmora::Orientation"));
    EXPECT_EQ(orientation.value<Orientation>(), Orientation_PORTRAIT);
}

TEST(SkinPropertyTables, EveryRowAsExpected)
{
    const std::vector<Expected> rows = expectedRows();
    ASSERT_EQ(rows.size(), 110u);
    std::map<int, std::size_t> counts;
    for (const Expected& row : rows) {
        ++counts[row.itemType];
        const SkinProperties* table =
            SkinProperties::getSkinProperties(ThemedItemType(row.itemType));
        ASSERT_NE(table, nullptr) << row.itemType;
        EXPECT_EQ(table->getItemType(), row.itemType);
        expectRow(*table, row);
    }
    const std::map<int, std::size_t> sizes{{1, 21}, {2, 28}, {3, 5}, {4, 29}, {6, 13}, {7, 14}};
    EXPECT_EQ(counts, sizes);
    for (auto [type, size] : sizes)
        EXPECT_EQ(SkinProperties::getSkinProperties(ThemedItemType(type))->size(), size) << type;
    // Page Switcher (5) and types beyond the six have no table.
    for (int type : {0, 5, 8, -1})
        EXPECT_EQ(SkinProperties::getSkinProperties(ThemedItemType(type)), nullptr) << type;
}

TEST(SkinPropertyTables, AddKeepsTheFirstOfAKey)
{
    const auto unusedType = ThemedItemType(100);
    {
        SkinProperties table(unusedType);
        EXPECT_EQ(SkinProperties::getSkinProperties(unusedType), &table);
        table.add(smart_ptr<SkinProperty>(new BoolSkinProperty("k", "First", false)));
        table.add(smart_ptr<SkinProperty>(new IntSkinProperty("k", "Second", 1, "", 0, 9, "")));
        table.add(smart_ptr<SkinProperty>());
        ASSERT_EQ(table.size(), 1u);
        EXPECT_EQ(table.getProperty("k")->getCaption(), "First");
        EXPECT_EQ(table.getProperty("missing"), nullptr);
    }
    EXPECT_EQ(SkinProperties::getSkinProperties(unusedType), nullptr);
}

using SkinPropertyTablesDeathTest = ::testing::Test;

TEST_F(SkinPropertyTablesDeathTest, SecondTableForATypeIsFatal)
{
    EXPECT_DEATH(ButtonSkinProperties(), "Assert: 'iElements == lookup.end\\(\\)' is FALSE");
}
