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
#include <tuple>
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

// Brightness calls join the event log as event -1 with the level as the value.
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

    template <typename T> T* make(const QString& body, std::unique_ptr<QObject>& holder)
    {
        holder = create(body);
        return qobject_cast<T*>(holder.get());
    }
};

TEST_F(QmlItems, ControlEventsReachTheControllerUnderTheKey)
{
    std::unique_ptr<QObject> holder;
    auto* control = make<QMLControl>("Control { controlKey: \"k1\" }", holder);
    ASSERT_TRUE(control);
    control->sendEvent(QMLControl::Event_KEYPAD_CODE_ENTERED, QVariant("1234"));
    control->sendEvent(QMLControl::Event_BUTTON_PRESSED);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].key, "k1");
    EXPECT_EQ(seen[0].value, QVariant("1234"));
    EXPECT_FALSE(seen[1].value.isValid());

    // The base control takes no panel values or IR actions.
    QSignalSpy received(control, &QMLControl::eventReceived);
    control->setValue(0, 100);
    control->handleIRAction(Velmora::Action_CLICK, true);
    EXPECT_EQ(received.count(), 0);
    EXPECT_EQ(seen.size(), 2u);

    controller()->setEnabled(false);
    control->sendEvent(QMLControl::Event_BUTTON_PRESSED);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(QmlItems, ControlKeyMovesTheRegistryEntryAndCaptionAlwaysEmits)
{
    std::unique_ptr<QObject> holder;
    auto* control = make<QMLControl>("Control { controlKey: \"old\" }", holder);
    control->setControlKey("new");
    EXPECT_TRUE(controller()->controlsWithKey("old").empty());
    EXPECT_EQ(controller()->controlsWithKey("new"), std::vector<QMLControl*>{control});

    QSignalSpy captions(control, &QMLControl::captionChanged);
    control->setCaption("Hello");
    control->setCaption("Hello");
    ASSERT_EQ(captions.count(), 2);
    EXPECT_EQ(captions[1][0].toString(), "Hello");
}

TEST_F(QmlItems, ButtonIRClickPressesThenReleasesAndClicks)
{
    std::unique_ptr<QObject> holder;
    auto* button = make<QMLButton>("ButtonPrivate { controlKey: \"b\"; configId: 4 }", holder);
    ASSERT_TRUE(button);
    button->handleIRAction(Velmora::Action_CLICK, true);
    button->handleIRAction(Velmora::Action_CLICK, false);
    button->handleIRAction(Velmora::Action_INCREMENT, true);
    EXPECT_EQ(seenEventNumbers(),
              (std::vector<int>{QMLControl::Event_BUTTON_PRESSED, QMLControl::Event_BUTTON_RELEASED,
                                QMLControl::Event_BUTTON_CLICKED}));
    for (const SeenEvent& e : seen)
        EXPECT_FALSE(e.value.isValid());

    // The component reaches the same path through the button's own sendEvent slots.
    QMetaObject::invokeMethod(button, "sendEvent", Q_ARG(int, 2));
    EXPECT_EQ(seen.back().event, QMLControl::Event_BUTTON_REPEAT);
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

    model->setFunction(Velmora::ButtonFunction_INCREASE_BRIGHTNESS);
    button->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    EXPECT_EQ(seen[3].key, "1");
    EXPECT_EQ(seen[3].value.toInt(), 10);
    model->setFunction(Velmora::ButtonFunction_DECREASE_BRIGHTNESS);
    button->sendEvent(QMLControl::Event_BUTTON_PRESSED); // only a click performs the function
    button->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    EXPECT_EQ(seen[6].key, "2");
    EXPECT_EQ(seen.size(), 8u);

    // Disabled, neither the function nor the event goes anywhere.
    controller()->setEnabled(false);
    button->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    EXPECT_EQ(seen.size(), 8u);
    root.reset();
}

TEST_F(QmlItems, SliderClampsAndFormatsItsValue)
{
    std::unique_ptr<QObject> holder;
    auto* slider = make<QMLSlider>(
        "SliderPrivate { property real minimum: 0; property real maximum: 255 }", holder);
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
    slider->setValue(0.999);
    EXPECT_EQ(slider->valueString(), "99%");
    slider->setProperty("minimum", -10);
    slider->setValue(0.01);
    EXPECT_EQ(slider->valueString(), "-8%"); // -8.9 truncated towards zero
    slider->setValue(0.09);
    EXPECT_EQ(slider->valueString(), "0%"); // -0.1: no "-0"

    // The shared formatter on its own.
    EXPECT_EQ(QMLSlider::formatValue(0, 255, 0.5, ""), "127");
    EXPECT_EQ(QMLSlider::formatValue(0, 100, 0.999, "%"), "99%");
    EXPECT_EQ(QMLSlider::formatValue(0, 0, 1.0, ""), "0");
}

TEST_F(QmlItems, SliderPanelValuesAndIRSteps)
{
    std::unique_ptr<QObject> holder;
    auto* slider = make<QMLSlider>("SliderPrivate {}", holder);
    QSignalSpy received(slider, &QMLControl::eventReceived);
    const std::pair<int, double> panel[] = {{300, 1.0}, {-5, 0.0}, {51, 0.2}, {255, 1.0}};
    for (const auto& [value, fraction] : panel) {
        slider->setValue(7u, value);
        ASSERT_FALSE(received.isEmpty());
        const QList<QVariant> args = received.takeFirst();
        EXPECT_EQ(args[0].toInt(), QMLControl::Event_SLIDER_VALUE_CHANGED);
        EXPECT_EQ(args[1].metaType(), QMetaType::fromType<double>());
        EXPECT_DOUBLE_EQ(args[1].toDouble(), fraction) << value;
    }
    EXPECT_EQ(slider->value(), 0.0); // the component sets the value, not the item

    slider->setValue(0.05);
    slider->handleIRAction(Velmora::Action_DECREMENT, true);
    EXPECT_EQ(slider->value(), 0.0);
    slider->handleIRAction(Velmora::Action_INCREMENT, true);
    slider->handleIRAction(Velmora::Action_INCREMENT, false); // a release steps as well
    EXPECT_DOUBLE_EQ(slider->value(), 0.2);
    slider->handleIRAction(Velmora::Action_CLICK, true);
    EXPECT_DOUBLE_EQ(slider->value(), 0.2);
    slider->setValue(0.95);
    slider->handleIRAction(Velmora::Action_INCREMENT, true);
    EXPECT_EQ(slider->value(), 1.0);
}

TEST_F(QmlItems, ColourPickerPicksFromTheWheel)
{
    std::unique_ptr<QObject> holder;
    auto* picker = make<QMLColourPicker>(
        "ColourPickerPrivate { controlKey: \"c\"; property int wheelWidth: 200; "
        "property int wheelHeight: 100 }",
        holder);
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->colour(), QColor(Qt::white));
    QSignalSpy received(picker, &QMLControl::eventReceived);

    picker->sendEvent(QMLControl::Event_COLOUR_PICKER_PRESS, QVariant(QPoint(130, 50)));
    ASSERT_EQ(received.count(), 1);
    EXPECT_EQ(received[0][0].toInt(), QMLControl::Event_COLOUR_PICKER_MOVE);
    EXPECT_EQ(received[0][1].toPoint(), QPoint(130, 50));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].key, "c");
    EXPECT_EQ(seen[0].event, QMLControl::Event_COLOUR_PICKER_PRESS);
    const QColor sent = seen[0].value.value<QColor>();
    EXPECT_NEAR(sent.hsvHueF(), 0.25, 1e-4);
    EXPECT_NEAR(sent.hsvSaturationF(), 0.36, 1e-4); // (30 / 50)²
    EXPECT_EQ(picker->colour(), sent);

    // Points as QML passes them (real coordinates) are taken as well.
    picker->sendEvent(QMLControl::Event_COLOUR_PICKER_MOVE, QVariant(QPointF(100.0, 80.0)));
    EXPECT_NEAR(seen.back().value.value<QColor>().hsvHueF(), 0.5, 1e-4);

    // The wheel's size comes from the component's properties.
    EXPECT_FALSE(picker->isPointInWheel(QPoint(151, 50)));
    EXPECT_EQ(picker->nearestPointInWheel(QPoint(190, 50)), QPoint(150, 50));
}

TEST_F(QmlItems, ColourPickerPanelValuesMoveTheIndicator)
{
    std::unique_ptr<QObject> holder;
    auto* picker = make<QMLColourPicker>(
        "ColourPickerPrivate { property int wheelWidth: 200; property int wheelHeight: 100 }",
        holder);
    QSignalSpy received(picker, &QMLControl::eventReceived);
    picker->setValue(3u, 100);
    EXPECT_EQ(received.count(), 0);
    EXPECT_EQ(picker->colour(), QColor(Qt::white));

    picker->setValue(1u, 0);
    picker->setValue(2u, -20); // clamped to 0: pure red
    EXPECT_EQ(picker->colour(), QColor(255, 0, 0));
    ASSERT_EQ(received.count(), 2);
    EXPECT_EQ(received[1][0].toInt(), QMLControl::Event_COLOUR_PICKER_PRESS);
    EXPECT_EQ(received[1][1].toPoint(), QPoint(100, 0)); // straight above, full radius

    picker->setValue(0u, 0);
    picker->setValue(1u, 400); // clamped to 255: pure green, to the lower right
    EXPECT_EQ(picker->colour(), QColor(0, 255, 0));
    EXPECT_EQ(received.last()[1].toPoint(), QPoint(143, 75));
    EXPECT_TRUE(seen.empty()); // panel values do not travel back to the controller
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
    EXPECT_EQ(switcher->buttonForPage("Home"), a);
    EXPECT_EQ(switcher->buttonForPage("Next"), b);

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

// Pages, page switchers and controls as a whole document registers them.
static const char* registeredItems = R"(
Item {
    PagePrivate {
        objectName: "page"; name: "P"; sortValue: 1; configId: 1
        Component.onCompleted: controller.addPage(this)
        Control { objectName: "c1"; controlKey: "k" }
        Control { objectName: "c2"; controlKey: "k" }
    }
    PageSwitcherPrivate {
        objectName: "switcher"; configId: 7
        Component.onCompleted: controller.addPageSwitcher(this)
    }
}
)";

class QmlRegistries : public QmlItems
{
protected:
    void SetUp() override
    {
        QmlItems::SetUp();
        root = create(registeredItems);
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

TEST_F(QmlRegistries, ControlsFirstThenPageThenSwitcher)
{
    delete c2;
    EXPECT_EQ(controller()->controlsWithKey("k"), std::vector<QMLControl*>{c1});
    delete c1;
    delete page;
    delete switcher;
    expectEmpty();
}

TEST_F(QmlRegistries, PageTakesItsControlsWithIt)
{
    delete switcher;
    EXPECT_FALSE(controller()->hasPageSwitcher(switcher));
    EXPECT_TRUE(controller()->hasPage(page));
    delete page;
    expectEmpty();
}

TEST_F(QmlRegistries, WholeDocumentAtOnce)
{
    root.reset();
    expectEmpty();
}

TEST_F(QmlRegistries, AfterShutdownNothingIsTouched)
{
    shutdown();
    delete c1;
    root.reset();
}

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
