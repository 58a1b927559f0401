#include "common/qml_fixture.h"

#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/qml/qml_button.h"
#include "velmora_objects/qml/qml_colour_picker.h"
#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_page_switcher.h"
#include "velmora_objects/qml/qml_slider.h"

#include <QSignalSpy>
#include <vector>

using namespace VelmoraQML;
using TestUtil::QmlFixture;

namespace {

struct SeenEvent
{
    QString key;
    int event;
    QVariant value;
};
std::vector<SeenEvent> seen;

void recordEvent(const QString& key, int event, const QVariant& value)
{
    seen.push_back({key, event, value});
}

// Brightness calls join the event log as event -1, with the mode as the key and the level as
// the value.
void recordBrightness(int mode, int value)
{
    seen.push_back({QString::number(mode), -1, value});
}

std::vector<int> seenEventNumbers()
{
    std::vector<int> numbers;
    for (const SeenEvent& e : seen)
        numbers.push_back(e.event);
    return numbers;
}

} // namespace

class QmlItems : public QmlFixture
{
protected:
    void SetUp() override
    {
        seen.clear();
        callbacks.controlEvent = recordEvent;
        callbacks.brightness = recordBrightness;
        QmlFixture::SetUp();
    }

    template <typename T> T* make(const QString& body)
    {
        holder = create(body);
        return qobject_cast<T*>(holder.get());
    }

    std::unique_ptr<QObject> holder;
};

TEST_F(QmlItems, EventsReachTheControllerUnderTheControlKey)
{
    auto* button = make<QMLButton>("ButtonPrivate { controlKey: \"old\" }");
    ASSERT_TRUE(button);
    button->setControlKey("b");
    EXPECT_TRUE(controller()->controlsWithKey("old").empty());
    EXPECT_EQ(controller()->controlsWithKey("b"), std::vector<QMLControl*>{button});

    // An IR click presses, then releases and clicks; the component's sendEvent slots take the
    // same path.
    button->handleIRAction(Velmora::Action_CLICK, true);
    button->handleIRAction(Velmora::Action_CLICK, false);
    button->handleIRAction(Velmora::Action_INCREMENT, true);
    QMetaObject::invokeMethod(button, "sendEvent", Q_ARG(int, 8), Q_ARG(QVariant, "1234"));
    EXPECT_EQ(seenEventNumbers(),
              (std::vector<int>{QMLControl::Event_BUTTON_PRESSED, QMLControl::Event_BUTTON_RELEASED,
                                QMLControl::Event_BUTTON_CLICKED, 8}));
    EXPECT_EQ(seen.back().key, "b");
    EXPECT_EQ(seen.back().value, QVariant("1234"));

    controller()->setEnabled(false);
    button->sendEvent(QMLControl::Event_BUTTON_PRESSED);
    EXPECT_EQ(seen.size(), 4u);
}

TEST_F(QmlItems, ClickPerformsTheButtonFunctionBeforeTheEventTravels)
{
    Velmora::Configuration project;
    project.clear();
    auto* model = new Velmora::Button();
    model->setFunction(Velmora::ButtonFunction_SET_BRIGHTNESS);
    model->setFunctionLevel(128);
    smart_ptr<Velmora::Control> owned(model);
    const unsigned int id = project.insertControl(owned, UINT_MAX);

    auto root = create(
        QString("Configuration { ButtonPrivate { controlKey: \"b\"; configId: %1 } }").arg(id));
    ASSERT_TRUE(root);
    updateConfiguration(&project);
    auto* button = root->findChild<QMLButton*>();
    button->handleIRAction(Velmora::Action_CLICK, false);
    EXPECT_EQ(seenEventNumbers(), (std::vector<int>{QMLControl::Event_BUTTON_RELEASED, -1,
                                                    QMLControl::Event_BUTTON_CLICKED}));
    EXPECT_EQ(seen[1].key, "0"); // set, at the button's level
    EXPECT_EQ(seen[1].value.toInt(), 128);

    // Increase steps by 10.
    model->setFunction(Velmora::ButtonFunction_INCREASE_BRIGHTNESS);
    button->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    EXPECT_EQ(seen[3].key, "1");
    EXPECT_EQ(seen[3].value.toInt(), 10);

    // Disabled, neither the function nor the event goes anywhere.
    controller()->setEnabled(false);
    button->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    EXPECT_EQ(seen.size(), 5u);
    root.reset();
}

TEST_F(QmlItems, SliderClampsAndFormatsItsValue)
{
    auto* slider = make<QMLSlider>("SliderPrivate { property real minimum: 0; "
                                   "property real maximum: 255 }");
    ASSERT_TRUE(slider);
    QSignalSpy changes(slider, &QMLSlider::valueChanged);
    slider->setValue(1.7);
    EXPECT_EQ(slider->value(), 1.0);
    slider->setValue(-0.2);
    EXPECT_EQ(slider->value(), 0.0);
    slider->setValue(0.0);
    EXPECT_EQ(changes.count(), 3); // always emitted, also for an equal value

    slider->setValue(0.5);
    EXPECT_EQ(slider->valueString(), "127");
    slider->setProperty("maximum", 100);
    slider->setValueSuffix("%");
    slider->setProperty("minimum", -10);
    slider->setValue(0.01);
    EXPECT_EQ(slider->valueString(), "-8%"); // -8.9 truncated towards zero
    slider->setValue(0.09);
    EXPECT_EQ(slider->valueString(), "0%"); // -0.1: no "-0"
    EXPECT_EQ(QMLSlider::formatValue(0, 0, 1.0, ""), "0");
}

TEST_F(QmlItems, SliderPanelValuesAndIRSteps)
{
    auto* slider = make<QMLSlider>("SliderPrivate {}");
    QSignalSpy received(slider, &QMLControl::eventReceived);
    for (const auto& [value, fraction] : {std::pair{300, 1.0}, {-5, 0.0}, {51, 0.2}}) {
        slider->setValue(7u, value);
        const QList<QVariant> args = received.takeFirst();
        EXPECT_EQ(args[0].toInt(), QMLControl::Event_SLIDER_VALUE_CHANGED);
        EXPECT_DOUBLE_EQ(args[1].toDouble(), fraction) << value;
    }
    EXPECT_EQ(slider->value(), 0.0); // the component sets the value, not the item

    slider->setValue(0.05);
    slider->handleIRAction(Velmora::Action_DECREMENT, true);
    EXPECT_EQ(slider->value(), 0.0);
    slider->handleIRAction(Velmora::Action_INCREMENT, true);
    slider->handleIRAction(Velmora::Action_INCREMENT, false); // a release steps as well
    EXPECT_DOUBLE_EQ(slider->value(), 0.2);
    slider->setValue(0.95);
    slider->handleIRAction(Velmora::Action_INCREMENT, true);
    EXPECT_EQ(slider->value(), 1.0);
}

TEST_F(QmlItems, ColourPickerPicksFromTheWheelAndShowsPanelValues)
{
    auto* picker = make<QMLColourPicker>("ColourPickerPrivate { controlKey: \"c\"; "
                                         "property int wheelWidth: 200; "
                                         "property int wheelHeight: 100 }");
    ASSERT_TRUE(picker);
    QSignalSpy received(picker, &QMLControl::eventReceived);
    // A press on the wheel (in real coordinates, as QML passes them) moves the indicator and
    // hands the controller the colour at the point: hue 0.25, saturation (30 / 50)².
    picker->sendEvent(QMLControl::Event_COLOUR_PICKER_PRESS, QVariant(QPointF(130.0, 50.0)));
    EXPECT_EQ(received.takeFirst()[0].toInt(), QMLControl::Event_COLOUR_PICKER_MOVE);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].value.value<QColor>(), QColor::fromHsvF(0.25f, 0.36f, 1.0f));

    // Panel values set the channels (clamped) and move the indicator; channel 3 is ignored.
    picker->setValue(3u, 100);
    for (auto [channel, value] : {std::pair{0u, 300}, {1u, 0}, {2u, -20}})
        picker->setValue(channel, value);
    EXPECT_EQ(picker->colour(), QColor(255, 0, 0));
    ASSERT_EQ(received.count(), 3);
    EXPECT_EQ(received[2][1].toPoint(), QPoint(100, 0)); // straight above, full radius
    EXPECT_EQ(seen.size(), 1u); // panel values do not travel back to the controller
}

TEST_F(QmlItems, PageSwitcherButtonMap)
{
    auto root = create(R"(
PageSwitcherPrivate {
    property var log: []
    Item { objectName: "a"; function indicateCurrentPage(on) { parent.log.push("a" + on) } }
    Item { objectName: "b"; function indicateCurrentPage(on) { parent.log.push("b" + on) } }
})");
    auto* switcher = qobject_cast<QMLPageSwitcher*>(root.get());
    ASSERT_TRUE(switcher);
    QObject* a = root->findChild<QObject*>("a");
    QObject* b = root->findChild<QObject*>("b");
    switcher->addButton(a, "Home");
    switcher->addButton(b, "Home");  // name taken
    switcher->addButton(a, "Other"); // button taken
    switcher->addButton(b, "Next");
    EXPECT_EQ(switcher->buttonCount(), 2);

    switcher->indicatePage("Home");
    switcher->indicatePage("Next");
    switcher->indicatePage("Missing");
    EXPECT_EQ(root->property("log").toStringList(),
              (QStringList{"atrue", "afalse", "btrue", "bfalse"}));

    switcher->removeButton(a);
    EXPECT_EQ(switcher->buttonForPage("Home"), nullptr);
    // A destroyed button leaves the map, and the highlight no longer reaches it.
    switcher->indicatePage("Next");
    delete b;
    EXPECT_EQ(switcher->buttonCount(), 0);
    switcher->indicatePage("Next");
}

// Pages, page switchers and controls as a whole document registers them (the orders of their
// destruction are tested with the controller).
class QmlRegistries : public QmlItems
{
protected:
    void SetUp() override
    {
        QmlItems::SetUp();
        root = create(R"(
Item {
    PagePrivate {
        objectName: "page"; configId: 1
        Component.onCompleted: controller.addPage(this)
        Control { objectName: "c1"; controlKey: "k" }
        Control { objectName: "c2"; controlKey: "k" }
    }
    PageSwitcherPrivate {
        objectName: "switcher"; configId: 7
        Component.onCompleted: controller.addPageSwitcher(this)
    }
})");
        ASSERT_TRUE(root);
        page = root->findChild<QMLPage*>("page");
        switcher = root->findChild<QMLPageSwitcher*>("switcher");
        c1 = root->findChild<QMLControl*>("c1");
        c2 = root->findChild<QMLControl*>("c2");
        ASSERT_TRUE(controller()->hasPage(page));
        ASSERT_TRUE(controller()->hasPageSwitcher(switcher));
        ASSERT_EQ(controller()->controlsWithKey("k"), (std::vector<QMLControl*>{c1, c2}));
    }

    void expectEmpty()
    {
        EXPECT_FALSE(controller()->hasPage(page));
        EXPECT_FALSE(controller()->hasPageSwitcher(switcher));
        EXPECT_TRUE(controller()->controlsWithKey("k").empty());
    }

    std::unique_ptr<QObject> root;
    QMLPage* page = nullptr;
    QMLPageSwitcher* switcher = nullptr;
    QMLControl* c1 = nullptr;
    QMLControl* c2 = nullptr;
};

TEST_F(QmlRegistries, ConfigurationItemResetsTheRegistries)
{
    auto configuration = create("Configuration {}");
    EXPECT_EQ(controller()->configuration(), configuration.get());
    expectEmpty();
    // A second configuration item takes over; the first one's end leaves it attached.
    auto second = create("Configuration {}");
    configuration.reset();
    EXPECT_EQ(controller()->configuration(), second.get());
    second.reset();
    EXPECT_EQ(controller()->configuration(), nullptr);
    root.reset();
}
