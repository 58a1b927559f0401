#include "common/helpers.h"
#include "velmora_objects/easing_curve_names.h"
#include "velmora_objects/skin_transition.h"
#include "velmora_objects/streamer.h"

#include <QMetaEnum>
#include <gtest/gtest.h>

using TestUtil::fromHex;
using Velmora::SkinTransition;
using Velmora::Streamer;

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
