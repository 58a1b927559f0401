#include "common/helpers.h"
#include "containers/smart_ptr.h"
#include "velmora_objects/skin_property.h"
#include "velmora_objects/skin_property_key.h"
#include "velmora_objects/streamer.h"

#include <QColor>
#include <QMetaType>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace Velmora;
using TestUtil::fromHex;
using TestUtil::runtimeErrorOf;

namespace {

const int headerSize = 12;

QByteArray written(const std::function<void(Streamer&)>& write)
{
    QByteArray bytes;
    Streamer s;
    s.open(Streamer::Mode_WRITE, &bytes);
    write(s);
    return bytes;
}

// Reads a property of the given type from a stream body (without header).
std::unique_ptr<SkinProperty> readBack(SkinPropertyType type, const QByteArray& body)
{
    QByteArray bytes = written([](Streamer&) {}) + body;
    Streamer s;
    s.open(Streamer::Mode_READ, &bytes);
    std::unique_ptr<SkinProperty> property(SkinProperty::create(type));
    property->read(s);
    return property;
}

QByteArray blockOf(const SkinProperty& property)
{
    return written([&](Streamer& s) { property.write(s); }).mid(headerSize);
}

// Every member, extras of the numeric classes included.
void expectSame(const SkinProperty& a, const SkinProperty& b)
{
    EXPECT_EQ(a.getType(), b.getType());
    EXPECT_EQ(a.getKey(), b.getKey());
    EXPECT_EQ(a.getCaption(), b.getCaption());
    EXPECT_EQ(a.getValue(), b.getValue());
    EXPECT_EQ(a.getValue().metaType(), b.getValue().metaType());
    if (auto* i = dynamic_cast<const IntSkinProperty*>(&a)) {
        auto& j = dynamic_cast<const IntSkinProperty&>(b);
        EXPECT_EQ(i->getUnit(), j.getUnit());
        EXPECT_EQ(i->getMinimum(), j.getMinimum());
        EXPECT_EQ(i->getMaximum(), j.getMaximum());
        EXPECT_EQ(i->getSpecialValueText(), j.getSpecialValueText());
    }
    if (auto* d = dynamic_cast<const DoubleSkinProperty*>(&a)) {
        auto& e = dynamic_cast<const DoubleSkinProperty&>(b);
        EXPECT_EQ(d->getUnit(), e.getUnit());
        EXPECT_EQ(d->getMinimum(), e.getMinimum());
        EXPECT_EQ(d->getMaximum(), e.getMaximum());
        EXPECT_EQ(d->getStep(), e.getStep());
    }
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
        EXPECT_TRUE(p->getKey().isEmpty());
        EXPECT_TRUE(p->getCaption().isEmpty());
        EXPECT_FALSE(p->getValue().isValid());
    }
    std::unique_ptr<SkinProperty> i(SkinProperty::create(SkinPropertyType_INT));
    auto& integer = dynamic_cast<IntSkinProperty&>(*i);
    EXPECT_EQ(integer.getMinimum(), 0);
    EXPECT_EQ(integer.getMaximum(), 99);
    EXPECT_TRUE(integer.getUnit().isEmpty());
    EXPECT_TRUE(integer.getSpecialValueText().isEmpty());
    std::unique_ptr<SkinProperty> d(SkinProperty::create(SkinPropertyType_DOUBLE));
    auto& real = dynamic_cast<DoubleSkinProperty&>(*d);
    EXPECT_EQ(real.getMinimum(), 0.0);
    EXPECT_EQ(real.getMaximum(), 99.0);
    EXPECT_EQ(real.getStep(), 1.0);
    for (int type : {0, 7, -1, 1000})
        EXPECT_EQ(SkinProperty::create(SkinPropertyType(type)), nullptr) << type;
}

TEST(SkinProperty, CopyFromTakesExtrasOnlyFromItsOwnClass)
{
    IntSkinProperty target("a", "A", 1, "px", 0, 99, "Off");
    target.copyFrom(DoubleSkinProperty("b", "B", 0.5, "u", 0.0, 1.0, 0.1));
    expectSame(target, IntSkinProperty("b", "B", 0.5, "px", 0, 99, "Off"));

    target.copyFrom(IntSkinProperty("c", "C", 3, "msecs", -5, 500, "Never"));
    expectSame(target, IntSkinProperty("c", "C", 3, "msecs", -5, 500, "Never"));

    DoubleSkinProperty real("d", "D", 0.1, "", 0.0, 1.0, 0.1);
    real.copyFrom(DoubleSkinProperty("e", "E", 2.0, "m", -1.0, 4.0, 0.5));
    expectSame(real, DoubleSkinProperty("e", "E", 2.0, "m", -1.0, 4.0, 0.5));
    real.copyFrom(ColourSkinProperty("f", "F", QColor(Qt::red)));
    expectSame(real, DoubleSkinProperty("f", "F", QColor(Qt::red), "m", -1.0, 4.0, 0.5));

    // Copies go through create with the source's type, then copyFrom.
    for (const Sample& sample : samples()) {
        std::unique_ptr<SkinProperty> copy(SkinProperty::create(sample.property->getType()));
        copy->copyFrom(*sample.property);
        expectSame(*copy, *sample.property);
    }
}

TEST(SkinProperty, EachTypeStreamsItsBlockAndReadsItBack)
{
    for (const Sample& sample : samples()) {
        SCOPED_TRACE(sample.start);
        const QByteArray block = blockOf(*sample.property);
        // The subclass block wraps the base block.
        EXPECT_TRUE(block.startsWith(QByteArray(sample.start) + "SkinProperty_start"));
        const QByteArray end = QByteArray(sample.start).replace("_start", "_end");
        EXPECT_TRUE(block.endsWith(end));
        std::unique_ptr<SkinProperty> back = readBack(sample.property->getType(), block);
        expectSame(*back, *sample.property);
        EXPECT_EQ(blockOf(*back), block);
    }
}

TEST(SkinProperty, BlockBytes)
{
    // An Int block: tags, key "r", caption "", value Int 5, unit "px", 0, 99, null text.
    const QByteArray expected =
        QByteArray("IntSkinProperty_start") + "SkinProperty_start" +
        fromHex("00000002 0072  00000000  00000010 00000005") + "SkinProperty_end" +
        fromHex("00000004 00700078  00000000 00000063 ffffffff") + "IntSkinProperty_end";
    EXPECT_EQ(blockOf(IntSkinProperty("r", "", 5, "px", 0, 99, QString())), expected);

    // A Bool block holds the base block alone.
    EXPECT_EQ(blockOf(BoolSkinProperty(QString(), QString(), QVariant())),
              QByteArray("BoolSkinProperty_start") + "SkinProperty_start" +
                  fromHex("ffffffff ffffffff 00000000 ffffffff") + "SkinProperty_end" +
                  "BoolSkinProperty_end");

    // A Double block: unit, then minimum, maximum and step as big-endian doubles.
    const QByteArray real = blockOf(DoubleSkinProperty("", "", 1.0, "", 0.0, 1.0, 0.5));
    EXPECT_TRUE(real.endsWith(fromHex("00000000 0000000000000000 3ff0000000000000 "
                                      "3fe0000000000000") +
                              "DoubleSkinProperty_end"));
}

TEST(SkinProperty, BrokenBlocksRaiseTheStreamError)
{
    const QByteArray colour = blockOf(ColourSkinProperty("c", "C", QColor(Qt::red)));
    EXPECT_EQ(runtimeErrorOf([&] { readBack(SkinPropertyType_BOOL, colour); }),
              "Failed to find expected tag BoolSkinProperty_start");

    // A value of a type the stream does not carry.
    QByteArray foreign = QByteArray("StringSkinProperty_start") + "SkinProperty_start" +
                         fromHex("00000000 00000000 00000045 00000000");
    EXPECT_NE(runtimeErrorOf([&] { readBack(SkinPropertyType_STRING, foreign); }), "<no error>");

    // Cut anywhere, every block fails with the stream's error and reads nothing beyond it.
    for (const Sample& sample : samples()) {
        const QByteArray block = blockOf(*sample.property);
        for (int length = 0; length < block.size(); ++length)
            EXPECT_NE(
                runtimeErrorOf([&] { readBack(sample.property->getType(), block.left(length)); }),
                "<no error>")
                << sample.start << " cut at " << length;
    }

    // A string length far beyond the stream.
    QByteArray huge =
        QByteArray("ImageSkinProperty_start") + "SkinProperty_start" + fromHex("7ffffffe 0041");
    EXPECT_NE(runtimeErrorOf([&] { readBack(SkinPropertyType_IMAGE, huge); }), "<no error>");
}

TEST(SkinPropertyKey, OrdersByItemTypeThenName)
{
    struct Case
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
    for (const Case& c : cases)
        EXPECT_EQ(c.a < c.b, c.less) << c.a.itemType << c.a.name.toStdString();
    EXPECT_EQ(SkinPropertyKey(1, "a"), SkinPropertyKey(1, "a"));
    EXPECT_NE(SkinPropertyKey(1, "a"), SkinPropertyKey(2, "a"));

    std::map<SkinPropertyKey, int> map{{{2, "a"}, 1}, {{1, "b"}, 2}, {{1, "a"}, 3}};
    std::vector<int> order;
    for (auto& entry : map)
        order.push_back(entry.second);
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
}

TEST(SkinPropertyKey, BlockAndVariant)
{
    const SkinPropertyKey key(7, "faceImage");
    const QByteArray block = written([&](Streamer& s) { key.write(s); }).mid(headerSize);
    EXPECT_EQ(block, QByteArray("SkinPropertyKey_start") + fromHex("00000007 00000012") +
                         QByteArray::fromHex("00660061006300650049006d006100670065") +
                         "SkinPropertyKey_end");
    QByteArray bytes = written([&](Streamer& s) { key.write(s); });
    Streamer s;
    s.open(Streamer::Mode_READ, &bytes);
    SkinPropertyKey back;
    back.read(s);
    EXPECT_EQ(back, key);

    QByteArray cut = written([&](Streamer& w) { key.write(w); });
    cut.chop(int(qstrlen("SkinPropertyKey_end")) + 2);
    EXPECT_EQ(runtimeErrorOf([&] {
                  Streamer r;
                  r.open(Streamer::Mode_READ, &cut);
                  SkinPropertyKey k;
                  k.read(r);
              }),
              "Unexpected end of file");

    const QVariant value = QVariant::fromValue(key);
    EXPECT_EQ(value.metaType(), QMetaType::fromName("Velmora::SkinPropertyKey"));
    EXPECT_EQ(value.value<SkinPropertyKey>(), key);
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
}
