#include "common/helpers.h"
#include "containers/smart_ptr.h"
#include "containers/sortvector.h"
#include "hex_fixture.h"
#include "model_stream.h"
#include "velmora_objects/button.h"

#include <gtest/gtest.h>

using namespace Velmora;
using boost::logic::indeterminate;
using ModelStream::controlBytes;
using ModelStream::readControl;

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

void expectAll(const Button& b)
{
    EXPECT_EQ(b.getPageId(), 7u);
    EXPECT_EQ(b.getGeometry(), QRect(QPoint(-3, 4), QPoint(120, 60)));
    EXPECT_EQ(b.getName(), "Key");
    EXPECT_EQ(b.getCaption(), QString::fromUtf8("Caption \u00e9"));
    EXPECT_EQ(b.getStartupSkin(), "Pressed");
    EXPECT_EQ(b.getImageId(), 9u);
    EXPECT_EQ(b.getActuation(), Button::Actuation_MAINTAINED);
    EXPECT_EQ(b.getHeldTimeout(), 1500);
    EXPECT_EQ(b.getRepeatInterval(), 75);
    EXPECT_EQ(b.getFunction(), ButtonFunction_GO_TO_PAGE);
    EXPECT_EQ(b.getFunctionPage(), 12u);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_LEFT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 900);
    EXPECT_EQ(b.getIRSlotId(Action_CLICK), 6);
    EXPECT_EQ(b.getFontSize(), 33);
    EXPECT_TRUE(b.getWordWrap() == true);
}

Button readButton(const QString& fixture, quint32 version)
{
    Button b;
    EXPECT_TRUE(readControl(HexFixture::load(fixture, version), b))
        << fixture.toStdString() << " at version " << version;
    return b;
}

} // namespace

TEST(Button, NewButtonHasItsDefaults)
{
    const Button b;
    EXPECT_EQ(b.getType(), ControlType_BUTTON);
    EXPECT_EQ(b.getPageId(), UINT_MAX);
    EXPECT_TRUE(b.getGeometry().isNull());
    EXPECT_EQ(b.getGeometry(), QRect(QPoint(0, 0), QPoint(-1, -1)));
    EXPECT_TRUE(b.getName().isEmpty() && b.getCaption().isEmpty() && b.getStartupSkin().isEmpty());
    EXPECT_EQ(b.getImageId(), UINT_MAX);
    EXPECT_EQ(b.getActuation(), Button::Actuation_MOMENTARY);
    EXPECT_EQ(b.getHeldTimeout(), 500);
    EXPECT_EQ(b.getRepeatInterval(), 200);
    EXPECT_EQ(b.getFunction(), ButtonFunction_NONE);
    EXPECT_EQ(b.getIRSlotId(Action_CLICK), NoIRSlot);
    EXPECT_EQ(b.getFontSize(), 16);
    EXPECT_TRUE(b.getWordWrap() == false);
}

TEST(Button, StreamsEveryField)
{
    Button source;
    setAll(source);
    Button copy;
    ASSERT_TRUE(readControl(controlBytes(source), copy));
    expectAll(copy);

    // The two function forms with other arguments, and the indeterminate flag.
    source.setFunction(ButtonFunction_SET_BRIGHTNESS);
    source.setFunctionLevel(77);
    source.setWordWrap(indeterminate);
    Button level;
    ASSERT_TRUE(readControl(controlBytes(source), level));
    EXPECT_EQ(level.getFunctionLevel(), 77);
    EXPECT_TRUE(indeterminate(level.getWordWrap()));

    source.setFunction(ButtonFunction_BACK);
    source.setFunctionTransition(PageTransition_NONE);
    source.setFunctionTransitionDuration(0);
    Button back;
    ASSERT_TRUE(readControl(controlBytes(source), back));
    EXPECT_EQ(back.getFunction(), ButtonFunction_BACK);
    EXPECT_EQ(back.getFunctionTransition(), PageTransition_NONE);
    EXPECT_EQ(back.getFunctionTransitionDuration(), 0);
}

TEST(Button, BlockLayout)
{
    Button b;
    b.setFunction(ButtonFunction_LOCK);
    b.setWordWrap(indeterminate);
    const QByteArray bytes = controlBytes(b);
    // Lock carries no arguments: the IR slot follows the function byte at once.
    const QByteArray tail =
        TestUtil::fromHex("00 000001f4 000000c8 08 ff 00000010 02") + "Button_end";
    EXPECT_TRUE(bytes.endsWith(tail)) << bytes.toHex().constData();
    EXPECT_TRUE(bytes.mid(12).startsWith("Button_startControl_start"));
}

TEST(Button, SetFunctionKeepsAndResetsArguments)
{
    Button b;
    b.setFunction(ButtonFunction_NEXT_PAGE);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 200);

    b.setFunctionTransitionDuration(350);
    b.setFunction(ButtonFunction_BACK); // had a transition: kept
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 350);

    b.setFunction(ButtonFunction_GO_TO_PAGE);
    EXPECT_EQ(b.getFunctionPage(), UINT_MAX);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    b.setFunctionPage(4);
    b.setFunction(ButtonFunction_GO_TO_PAGE); // same function: page kept
    EXPECT_EQ(b.getFunctionPage(), 4u);

    b.setFunction(ButtonFunction_SET_BRIGHTNESS);
    EXPECT_EQ(b.getFunctionLevel(), 255);
    b.setFunctionLevel(0x1234); // low 8 bits
    EXPECT_EQ(b.getFunctionLevel(), 0x34);
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
    b.setFunction(ButtonFunction_SET_BRIGHTNESS); // from Go To Page: level reset
    EXPECT_EQ(b.getFunctionLevel(), 255);

    // Beyond the known functions nothing more happens.
    b.setFunction(ButtonFunction(42));
    EXPECT_EQ(b.getFunction(), ButtonFunction(42));
    EXPECT_EQ(b.getFunctionLevel(), -1);
}

TEST(Button, ArgumentAccessorsFollowTheFunction)
{
    Button b;
    b.setFunction(ButtonFunction_NEXT_PAGE);
    EXPECT_EQ(b.getFunctionPage(), UINT_MAX);
    EXPECT_EQ(b.getFunctionLevel(), -1);
    b.setFunctionPage(3);
    b.setFunctionLevel(9);

    b.setFunction(ButtonFunction_GO_TO_PAGE);
    EXPECT_EQ(b.getFunctionLevel(), -1);
    b.setFunction(ButtonFunction_SET_BRIGHTNESS);
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_NONE);
    EXPECT_EQ(b.getFunctionTransitionDuration(), -1);
    b.setFunctionTransition(PageTransition_PAN_LEFT);
    b.setFunctionTransitionDuration(1);
    b.setFunction(ButtonFunction_NEXT_PAGE);
    // The transition set while the function had none was not stored.
    EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_RIGHT);
    EXPECT_EQ(b.getFunctionTransitionDuration(), 200);
}

TEST(Button, CloneHoldsNoIRSlotWhileACopyKeepsIt)
{
    sortvector<Control> controls(64, 4096);
    smart_ptr<Control> owned(new Button);
    auto* source = static_cast<Button*>(owned.get());
    setAll(*source);
    source->setIRSlotId(Action_CLICK, 4);
    ASSERT_EQ(controls.insert(owned, 12), 12u);

    std::unique_ptr<Control> clone(source->clone());
    ASSERT_EQ(clone->getType(), ControlType_BUTTON);
    EXPECT_EQ(clone->getId(), 12u);
    EXPECT_EQ(clone->getIRSlotId(Action_CLICK), NoIRSlot);
    clone->setIRSlotId(Action_CLICK, 4);
    EXPECT_EQ(controlBytes(*clone), controlBytes(*source));

    const Button copy(*source);
    EXPECT_EQ(copy.getId(), 12u);
    EXPECT_EQ(copy.getIRSlotId(Action_CLICK), 4);
    EXPECT_EQ(controlBytes(copy), controlBytes(*source));

    EXPECT_EQ(source->defaultName(), "control12");
}

TEST(Button, IRSlotOnlyForClicks)
{
    Button b;
    b.setIRSlotId(Action_INCREMENT, 7);
    b.setIRSlotId(NoAction, 7);
    EXPECT_EQ(b.getIRSlotId(Action_CLICK), NoIRSlot);
    b.setIRSlotId(Action_CLICK, 7);
    EXPECT_EQ(b.getIRSlotId(Action_CLICK), 7);
    EXPECT_EQ(b.getIRSlotId(Action_INCREMENT), NoIRSlot);
    EXPECT_EQ(b.getIRSlotId(Action_DECREMENT), NoIRSlot);
}

TEST(Button, Version8DropsFontSizeAndWordWrap)
{
    for (quint32 version : {0u, 8u}) {
        SCOPED_TRACE(version);
        const Button b = readButton("button_v8", version);
        EXPECT_EQ(b.getPageId(), 3u);
        EXPECT_EQ(b.getGeometry(), QRect(QPoint(10, 20), QPoint(89, 49)));
        EXPECT_EQ(b.getName(), "Key");
        EXPECT_EQ(b.getCaption(), "Go");
        EXPECT_TRUE(b.getStartupSkin().isEmpty());
        EXPECT_EQ(b.getImageId(), UINT_MAX);
        EXPECT_EQ(b.getActuation(), Button::Actuation_MAINTAINED);
        EXPECT_EQ(b.getHeldTimeout(), 1000);
        EXPECT_EQ(b.getRepeatInterval(), 100);
        EXPECT_EQ(b.getFunction(), ButtonFunction_GO_TO_PAGE);
        EXPECT_EQ(b.getFunctionPage(), 7u);
        EXPECT_EQ(b.getFunctionTransition(), PageTransition_PAN_LEFT);
        EXPECT_EQ(b.getFunctionTransitionDuration(), 300);
        EXPECT_EQ(b.getIRSlotId(Action_CLICK), 4);
        EXPECT_EQ(b.getFontSize(), 16);
        EXPECT_TRUE(b.getWordWrap() == false);
    }
}

TEST(Button, Version9ReadsFontSizeAndWordWrap)
{
    for (quint32 version : {9u, 12u}) {
        SCOPED_TRACE(version);
        const Button b = readButton("button_v9", version);
        EXPECT_EQ(b.getImageId(), UINT_MAX); // still before the image id
        EXPECT_EQ(b.getFunction(), ButtonFunction_SET_BRIGHTNESS);
        EXPECT_EQ(b.getFunctionLevel(), 128);
        EXPECT_EQ(b.getIRSlotId(Action_CLICK), NoIRSlot);
        EXPECT_EQ(b.getFontSize(), 20);
        EXPECT_TRUE(indeterminate(b.getWordWrap()));
    }
}

TEST(Button, Version13ReadsTheImageButNoSkin)
{
    for (quint32 version : {13u, 14u}) {
        SCOPED_TRACE(version);
        const Button b = readButton("button_v13", version);
        EXPECT_EQ(b.getImageId(), 5u);
        EXPECT_TRUE(b.getStartupSkin().isEmpty());
        EXPECT_EQ(b.getFunction(), ButtonFunction_LOCK);
        EXPECT_EQ(b.getIRSlotId(Action_CLICK), 15);
        EXPECT_EQ(b.getFontSize(), 12);
        EXPECT_TRUE(b.getWordWrap() == false); // byte 5 is no flag value
    }
}

TEST(Button, Version15ReadsTheStartupSkin)
{
    for (quint32 version : {15u, 18u}) {
        SCOPED_TRACE(version);
        const Button b = readButton("button_v15", version);
        EXPECT_EQ(b.getStartupSkin(), "Pressed");
        EXPECT_EQ(b.getImageId(), UINT_MAX);
        EXPECT_EQ(b.getFunction(), ButtonFunction_NEXT_PAGE);
        EXPECT_EQ(b.getFunctionTransition(), PageTransition_NONE);
        EXPECT_EQ(b.getFunctionTransitionDuration(), 0);
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
    EXPECT_EQ(b.getFunctionTransitionDuration(), -1);
    EXPECT_EQ(b.getIRSlotId(Action_CLICK), 15);
    // Written back unchanged.
    Button again;
    ASSERT_TRUE(readControl(controlBytes(b), again));
    EXPECT_EQ(controlBytes(again), controlBytes(b));
}

TEST(Button, DamagedBlocksRaiseTheStreamError)
{
    const QByteArray bytes = HexFixture::load("button_v15");
    struct Case
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

TEST(Button, RendersAsAButton)
{
    ModelStream::RecordingRenderer renderer;
    const Button b;
    b.render(&renderer);
    EXPECT_EQ(renderer.calls, QStringList{"button"});
    EXPECT_EQ(renderer.object, &b);
}
