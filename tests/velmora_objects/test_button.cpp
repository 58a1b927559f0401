#include "common/helpers.h"
#include "containers/sortvector.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "velmora_objects/button.h"

#include <gtest/gtest.h>

using namespace Velmora;
using boost::logic::indeterminate;
using ModelStream::controlBytes;
using ModelStream::readControl;
using ModelStream::roundTripped;

namespace {

// A button with every field away from its default.
void setAll(Button& b)
{
    b.setPageId(7);
    b.setGeometry(QRect(QPoint(-3, 4), QPoint(120, 60)));
    b.setName("Key");
    b.setCaption(QString::fromUtf8("Caption \u00e9"));
    b.setStartupSkin("Pressed");
    b.setImageId(9);
    b.setActuation(Button::Actuation_MAINTAINED);
    b.setHeldTimeout(1500);
    b.setRepeatInterval(75);
    b.setFunction(ButtonFunction_GO_TO_PAGE);
    b.setFunctionPage(12);
    b.setFunctionTransition(PageTransition_PAN_LEFT);
    b.setFunctionTransitionDuration(900);
    b.setIRSlotId(Action_CLICK, 6);
    b.setFontSize(33);
    b.setWordWrap(true);
}

Button readButton(const QString& fixture, quint32 version)
{
    Button b;
    EXPECT_TRUE(readControl(HexFixture::load(fixture, version), b))
        << fixture.toStdString() << " at version " << version;
    return b;
}

} // namespace

TEST(Button, StreamsEveryField)
{
    Button source;
    setAll(source);
    EXPECT_EQ(roundTripped(source), controlBytes(source));
    // The other argument forms, and the indeterminate flag.
    source.setFunction(ButtonFunction_SET_BRIGHTNESS);
    source.setFunctionLevel(77);
    source.setWordWrap(indeterminate);
    EXPECT_EQ(roundTripped(source), controlBytes(source));
    source.setFunction(ButtonFunction_BACK);
    EXPECT_EQ(roundTripped(source), controlBytes(source));
}

TEST(Button, BlockLayout)
{
    Button b;
    b.setFunction(ButtonFunction_LOCK);
    b.setWordWrap(indeterminate);
    const QByteArray bytes = controlBytes(b);
    // Lock carries no arguments: the IR slot follows the function byte at once.
    EXPECT_TRUE(
        bytes.endsWith(TestUtil::fromHex("00 000001f4 000000c8 08 ff 00000010 02") + "Button_end"))
        << bytes.toHex().constData();
    EXPECT_TRUE(bytes.mid(12).startsWith("Button_startControl_start"));
}

TEST(Button, SetFunctionKeepsAndResetsArguments)
{
    Button b;
    EXPECT_EQ(b.getFunctionLevel(), -1);
    EXPECT_EQ(b.getFunctionTransitionDuration(), -1);
    b.setFunction(ButtonFunction_NEXT_PAGE);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 200);
    EXPECT_EQ(b.getFunctionPage(), UINT_MAX);

    b.setFunctionTransitionDuration(350);
    b.setFunction(ButtonFunction_BACK); // had a transition: kept
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 350);

    b.setFunction(ButtonFunction_GO_TO_PAGE);
    EXPECT_EQ(b.getFunctionPage(), UINT_MAX);
    b.setFunctionPage(4);
    b.setFunction(ButtonFunction_GO_TO_PAGE); // same function: page kept
    EXPECT_EQ(b.getFunctionPage(), 4u);

    b.setFunction(ButtonFunction_SET_BRIGHTNESS); // from Go To Page: level reset
    EXPECT_EQ(b.getFunctionLevel(), 255);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_NONE);
    b.setFunctionLevel(0x1234); // low 8 bits
    b.setFunction(ButtonFunction_SET_BRIGHTNESS);
    EXPECT_EQ(b.getFunctionLevel(), 0x34);

    // From a function without a transition, each page-changing function takes its own.
    b.setFunction(ButtonFunction_PREVIOUS_PAGE);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_LEFT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 200);
    b.setFunction(ButtonFunction_LOCK);
    b.setFunction(ButtonFunction_GO_TO_PAGE);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    EXPECT_EQ(b.getFunctionPage(), UINT_MAX);

    // Beyond the known functions nothing more happens.
    b.setFunction(ButtonFunction(42));
    EXPECT_EQ(b.getFunction(), ButtonFunction(42));
    EXPECT_EQ(b.getFunctionLevel(), -1);
}

TEST(Button, CloneHoldsNoIRSlotWhileACopyKeepsIt)
{
    sortvector<Control> controls(64, 4096);
    smart_ptr<Control> owned(new Button);
    auto* source = static_cast<Button*>(owned.get());
    setAll(*source);
    ASSERT_EQ(controls.insert(owned, 12), 12u);

    std::unique_ptr<Control> clone(source->clone());
    EXPECT_EQ(clone->getId(), 12u);
    EXPECT_EQ(clone->getIRSlotId(Action_CLICK), NoIRSlot);
    clone->setIRSlotId(Action_CLICK, 6);
    EXPECT_EQ(controlBytes(*clone), controlBytes(*source));

    const Button copy(*source);
    EXPECT_EQ(copy.getIRSlotId(Action_CLICK), 6);
    EXPECT_EQ(controlBytes(copy), controlBytes(*source));
    EXPECT_EQ(source->defaultName(), "control12");

    // The one slot is the click's.
    source->setIRSlotId(Action_INCREMENT, 7);
    EXPECT_EQ(source->getIRSlotId(Action_CLICK), 6);
    EXPECT_EQ(source->getIRSlotId(Action_INCREMENT), NoIRSlot);
}

TEST(Button, VersionGates)
{
    // Before version 9 font size and word wrap are present but dropped.
    for (quint32 version : {0u, 8u}) {
        Button expected;
        expected.setPageId(3);
        expected.setGeometry(QRect(QPoint(10, 20), QPoint(89, 49)));
        expected.setName("Key");
        expected.setCaption("Go");
        expected.setActuation(Button::Actuation_MAINTAINED);
        expected.setHeldTimeout(1000);
        expected.setRepeatInterval(100);
        expected.setFunction(ButtonFunction_GO_TO_PAGE);
        expected.setFunctionPage(7);
        expected.setFunctionTransition(PageTransition_PAN_LEFT);
        expected.setFunctionTransitionDuration(300);
        expected.setIRSlotId(Action_CLICK, 4);
        EXPECT_EQ(controlBytes(readButton("button_v8", version)), controlBytes(expected))
            << version;
    }
    for (quint32 version : {9u, 12u}) {
        const Button b = readButton("button_v9", version);
        EXPECT_EQ(b.getImageId(), UINT_MAX); // still before the image id
        EXPECT_EQ(b.getFunctionLevel(), 128);
        EXPECT_EQ(b.getFontSize(), 20);
        EXPECT_TRUE(indeterminate(b.getWordWrap()));
    }
    for (quint32 version : {13u, 14u}) {
        const Button b = readButton("button_v13", version);
        EXPECT_EQ(b.getImageId(), 5u);
        EXPECT_TRUE(b.getStartupSkin().isEmpty());
        EXPECT_EQ(b.getIRSlotId(Action_CLICK), 15);
        EXPECT_EQ(b.getFontSize(), 12);
        EXPECT_TRUE(b.getWordWrap() == false); // byte 5 is no flag value
    }
    for (quint32 version : {15u, 18u}) {
        const Button b = readButton("button_v15", version);
        EXPECT_EQ(b.getStartupSkin(), "Pressed");
        EXPECT_EQ(b.getFunction(), ButtonFunction_NEXT_PAGE);
        EXPECT_EQ(b.getFunctionTransition(), PageTransition_NONE);
        EXPECT_TRUE(b.getWordWrap() == true);
    }
}

TEST(Button, OutOfRangeBytesAreKeptAsRead)
{
    QByteArray bytes = HexFixture::load("button_v13");
    const int functionAt = bytes.indexOf("Control_end") + 11 + 4 + 1 + 8;
    ASSERT_EQ(bytes.at(functionAt), char(8));
    bytes[functionAt - 9] = char(0xc8); // actuation 200
    bytes[functionAt] = char(0xfa);     // function 250: no argument bytes follow
    Button b;
    ASSERT_TRUE(readControl(bytes, b));
    EXPECT_EQ(b.getActuation(), Button::Actuation(200));
    EXPECT_EQ(b.getFunction(), ButtonFunction(250));
    EXPECT_EQ(b.getIRSlotId(Action_CLICK), 15);
    EXPECT_EQ(roundTripped(b), controlBytes(b)); // written back unchanged
}

TEST(Button, DamagedBlocksRaiseTheStreamError)
{
    const QByteArray bytes = HexFixture::load("button_v15");
    const struct
    {
        QByteArray bytes;
        std::string message;
    } cases[] = {
        {bytes.left(bytes.size() - 3), "Failed to find expected tag Button_end"},
        {bytes.left(40), "Failed to find expected tag Control_end"},
        {QByteArray(bytes).replace("Button_start", "Button_stArt"),
         "Failed to find expected tag Button_start"},
        {QByteArray(bytes).replace("Control_end", "Control_eNd"),
         "Failed to find expected tag Control_end"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TestUtil::runtimeErrorOf([&] {
                      Button b;
                      readControl(c.bytes, b);
                  }),
                  c.message);
    }
}
