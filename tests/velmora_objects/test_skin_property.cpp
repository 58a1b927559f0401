#include "common/helpers.h"
#include "common/stream_bytes.h"
#include "containers/smart_ptr.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_property_key.h"

#include <QColor>
#include <QMetaType>
#include <gtest/gtest.h>
#include <memory>

using namespace Velmora;
using TestUtil::body;
using TestUtil::fromHex;
using TestUtil::runtimeErrorOf;
using TestUtil::streamed;

namespace {

// Reads a property of the given type from a stream body (without header).
std::unique_ptr<SkinProperty> readBack(SkinPropertyType type, const QByteArray& block)
{
    std::unique_ptr<SkinProperty> property(SkinProperty::create(type));
    TestUtil::readStream(TestUtil::withHeader(block), [&](Streamer& s) { property->read(s); });
    return property;
}

// The block holds every member of a property, the extras of the numeric classes included.
QByteArray blockOf(const SkinProperty& property)
{
    return body(streamed([&](Streamer& s) { property.write(s); }));
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

} // namespace

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
          "Velmora::NavigationPosition", "Velmora::SkinPropertyType"})
        EXPECT_TRUE(QMetaType::fromName(name).isValid()) << name;
    const QVariant orientation = QVariant::fromValue(Orientation_PORTRAIT);
    EXPECT_EQ(orientation.metaType(), QMetaType::fromName("Velmora::Orientation"));
    EXPECT_EQ(orientation.value<Orientation>(), Orientation_PORTRAIT);
}
