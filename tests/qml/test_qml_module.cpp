#include "common/helpers.h"
#include "common/qml_fixture.h"

#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/qml/colour_wheel.h"
#include "velmora_objects/qml/qml_button.h"
#include "velmora_objects/qml/qml_colour_picker.h"
#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_page_switcher.h"
#include "velmora_objects/qml/qml_screen.h"
#include "velmora_objects/qml/qml_skin_changer.h"
#include "velmora_objects/qml/qml_slider.h"
#include "velmora_objects/qml/qml_sync_animation.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/qml/theme_image_provider.h"
#include "velmora_objects/theme.h"

#include <QAnimationDriver>
#include <QCoreApplication>
#include <QEasingCurve>
#include <QImage>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <climits>
#include <list>
#include <vector>

using namespace VelmoraQML;
using TestUtil::pngBytes;
using TestUtil::QmlFixture;
using Kind = ThemeImageProvider::ImageKind;

namespace {

// What the host was told, in order: "event <key> <event> <value>", "page <name> <shown>",
// "trigger <number> <argument count>" and "brightness <mode> <level>"; the tests add the shows
// and hides of the pages and page switchers they connect to.
QStringList seen;

void recordEvent(const QString& key, int event, const QVariant& value)
{
    seen << QString("event %1 %2 %3").arg(key).arg(event).arg(value.toString());
}

void recordPageChanged(const QString& name, bool shown)
{
    seen << QString("page %1 %2").arg(name).arg(shown);
}

void recordTrigger(int number, QVariantList args)
{
    seen << QString("trigger %1 %2").arg(number).arg(args.size());
}

void recordBrightness(int mode, int value)
{
    seen << QString("brightness %1 %2").arg(mode).arg(value);
}

// Every type of the module, as the preview's QML text and components use them.
const char* everyType = R"(
Configuration {
    width: screen.size.width; height: screen.size.height
    Theme {
        id: theTheme1
        skinSets: [
            SkinSet { itemType: 1; defaultSkinIdx: 0
                      skins: [ Skin { name: "Blue"; property color fill: "blue" } ] }
        ]
    }
    PagePrivate {
        objectName: "page"; configId: 3; name: "Home"; sortValue: 0
        property int snap: PagePrivate.SnapTransition
        ButtonPrivate { id: button; objectName: "button"; itemType: 1; theme: theTheme1
                        controlKey: "b"
                        property int actuation: Control.MaintainedActuation
                        currentSkin: Skin { property color fill: "white" }
                        skinChanger: SkinChanger {
                            id: changer
                            parallelAnimation: ParallelAnimation {
                                ColorAnimation { target: button.currentSkin; property: "fill"
                                                 duration: changer.transitionDuration }
                            }
                        }
                        SyncAnimation { objectName: "pulse"; target: button
                                        propertyName: "opacity"; period: 500
                                        startValue: 0.5; endValue: 1.0; offValue: 0.9 }
                        Component.onCompleted: onControlCompleted() }
        SliderPrivate { objectName: "slider"; property real minimum: 0; property real maximum: 1 }
        ColourPickerPrivate { objectName: "picker"; property int wheelWidth: 100
                              property int wheelHeight: 100 }
        KeypadPrivate { objectName: "keypad"; property int style: Types.TextStyle_RAISED }
        LabelPrivate { objectName: "label" }
        AnalogueClockPrivate { objectName: "clock" }
        Control { objectName: "control" }
    }
    PageSwitcherPrivate { objectName: "switcher"; configId: 1 }
}
)";

// Drives every animation of the process by a clock the test sets.
class ManualAnimationDriver : public QAnimationDriver
{
public:
    qint64 elapsed() const override { return now; }
    // Animations started since the last call join the timer through the event loop first.
    void advanceTo(qint64 ms)
    {
        QCoreApplication::processEvents();
        now = ms;
        advance();
    }

    qint64 now = 0;
};

// A themed item with one colour and one number skinned, two sets of skins (a second set of the
// same item type behind the first is never used) and a skin changer built as the components
// build theirs.
const char* skinnedItem = R"(
Item {
    property alias control: control
    Theme {
        id: theme
        skinSets: [
            SkinSet { itemType: 1; defaultSkinIdx: 1
                skins: [
                    Skin { name: "Plain"; transitionDuration: 1000; easingType: 0
                           property color fill: "#000000"; property real level: 0 },
                    Skin { name: "Bright"; transitionDuration: 1000; easingType: 0
                           property color fill: "#ffffff"; property real level: 100 },
                    Skin { name: "Plain"; property color fill: "#ff0000"; property real level: 7 },
                    Skin { name: "Slow"; transitionDuration: 300; easingType: 6
                           property color fill: "#0000ff"; property real level: 10 },
                    Skin { name: "Partial"; property real level: 20 }
                ] },
            SkinSet { itemType: 1; defaultSkinIdx: 0
                skins: [ Skin { name: "Other"; property real level: 99 } ] },
            SkinSet { itemType: 2; defaultSkinIdx: -1
                skins: [ Skin { name: "Only"; property real level: 1 } ] },
            SkinSet { itemType: 3; defaultSkinIdx: 1
                skins: [ Skin { name: "Only"; property real level: 1 } ] }
        ]
    }
    Control {
        id: control
        itemType: 1
        theme: theme
        currentSkin: Skin { property color fill: "#808080"; property real level: 50 }
        skinChanger: SkinChanger {
            id: changer
            parallelAnimation: ParallelAnimation {
                ColorAnimation { objectName: "fillAnimation"; target: control.currentSkin
                                 property: "fill"; duration: changer.transitionDuration
                                 easing.type: changer.easingType }
                PropertyAnimation { objectName: "levelAnimation"; target: control.currentSkin
                                    property: "level"; duration: changer.transitionDuration
                                    easing.type: changer.easingType }
                PropertyAnimation { objectName: "unnamed" }
            }
        }
    }
}
)";

// A theme whose stores hold images of distinct sizes: icons 0..3, backgrounds 0..12, control
// images 0..1 and skin images 0..12.
std::unique_ptr<Velmora::Theme> makeTheme()
{
    auto theme = std::make_unique<Velmora::Theme>(QString());
    for (int i = 0; i < 4; ++i)
        theme->addIconData(pngBytes(10 + i, 20, Qt::red));
    for (int i = 0; i < 13; ++i)
        theme->addPageBackgroundImageData(pngBytes(100 + i, 50, Qt::green), 1);
    for (int i = 0; i < 2; ++i)
        theme->addControlImageData(pngBytes(30 + i, 40, Qt::blue));
    for (int i = 0; i < 13; ++i)
        theme->addSkinImageData(pngBytes(60 + i, 70, Qt::yellow));
    return theme;
}

const QSize wheel(200, 100); // radius 50, centre (100, 50)

} // namespace

// A QML engine with the module, whose host callbacks log to seen.
class QmlModule : public QmlFixture
{
protected:
    void SetUp() override
    {
        seen.clear();
        callbacks = {recordEvent, recordPageChanged, recordTrigger, recordBrightness};
        QmlFixture::SetUp();
    }

    template <typename T> T* make(const QString& body)
    {
        holder = create(body);
        return qobject_cast<T*>(holder.get());
    }

    std::unique_ptr<QObject> holder;
};

TEST_F(QmlModule, EveryTypeCompilesAndRuns)
{
    auto root = create(everyType);
    ASSERT_TRUE(root);
    EXPECT_TRUE(qobject_cast<QMLConfiguration*>(root.get()));
    EXPECT_EQ(controller()->configuration(), root.get());

    auto* page = root->findChild<QMLPage*>("page");
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->isVisible());

    auto* button = root->findChild<QMLButton*>("button");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->property("actuation").toInt(), 1);
    // The startup skin (the set's default) was applied at once on completion.
    EXPECT_EQ(button->currentSkin()->property("fill").value<QColor>(), QColor(Qt::blue));
    EXPECT_EQ(controller()->controlsWithKey("b"), std::vector<QMLControl*>{button});
    auto* pulse = button->findChild<QMLSyncAnimation*>("pulse");
    ASSERT_TRUE(pulse);
    pulse->setRunning(true);
    EXPECT_TRUE(pulse->isRunning());

    EXPECT_TRUE(root->findChild<QMLSlider*>("slider"));
    EXPECT_TRUE(root->findChild<QMLColourPicker*>("picker"));
    EXPECT_EQ(root->findChild<QMLKeypad*>("keypad")->property("style").toInt(), 2);
    EXPECT_TRUE(root->findChild<QMLLabel*>("label"));
    EXPECT_TRUE(root->findChild<QMLAnalogueClock*>("clock"));
    EXPECT_TRUE(root->findChild<QMLControl*>("control"));
    auto* switcher = root->findChild<QMLPageSwitcher*>("switcher");
    ASSERT_TRUE(switcher);
    EXPECT_FALSE(switcher->isVisible());

    button->sendEvent(QMLControl::Event_BUTTON_PRESSED);
    EXPECT_EQ(seen, QStringList{"event b 0 "});

    root.reset();
    EXPECT_EQ(controller()->configuration(), nullptr);
    EXPECT_TRUE(controller()->controlsWithKey("b").empty());
}

TEST_F(QmlModule, TypesCannotBeCreated)
{
    EXPECT_EQ(errorsOf("Types {}"),
              "<Unknown File>:3:1: Cannot instantiate Types: only for declaring enums.");
}

TEST_F(QmlModule, ScreenIsPublishedWithTheProjectSize)
{
    auto root = create("Item { width: screen.size.width; height: screen.size.height }");
    EXPECT_EQ(root->property("width").toInt(), 480);
    EXPECT_EQ(root->property("height").toInt(), 272);
    screen()->setSize(QSize(272, 480));
    EXPECT_EQ(root->property("width").toInt(), 272);
    EXPECT_EQ(root->property("height").toInt(), 480);
}

TEST_F(QmlModule, UpdateConfigurationNeedsAnAttachedConfigurationItem)
{
    Velmora::Configuration project;
    project.clear();
    project.setOrientation(Velmora::Orientation_PORTRAIT);
    controller()->setEnabled(false);
    updateConfiguration(&project); // no configuration item yet
    EXPECT_FALSE(controller()->isEnabled());

    auto root = create("Configuration {}");
    auto* item = qobject_cast<QMLConfiguration*>(root.get());
    updateConfiguration(&project);
    EXPECT_TRUE(controller()->isEnabled());
    EXPECT_EQ(item->configuration(), &project);
    EXPECT_EQ(screen()->size(), QSize(272, 480));
    updateConfiguration(nullptr); // detaches the project, keeps the size
    EXPECT_EQ(item->configuration(), nullptr);
    EXPECT_EQ(screen()->size(), QSize(272, 480));
}

// Without a controller the items skip every controller step.
TEST_F(QmlModule, ItemsWorkWithoutControllerAfterShutdown)
{
    shutdown();
    EXPECT_EQ(controller(), nullptr);
    auto root = create("Configuration { ButtonPrivate { controlKey: \"b\" } "
                       "PagePrivate {} PageSwitcherPrivate {} }");
    ASSERT_TRUE(root);
    root->findChild<QMLButton*>()->handleIRAction(Velmora::Action_CLICK, false);
    updateConfiguration(nullptr);
    EXPECT_TRUE(seen.isEmpty());
}

TEST_F(QmlModule, DocumentsRenderThroughTheSoftwareSceneGraph)
{
    EXPECT_EQ(QQuickWindow::sceneGraphBackend(), "software");
    auto root = create("Rectangle { width: 40; height: 30; color: \"#ff0000\" }");
    auto* item = qobject_cast<QQuickItem*>(root.get());
    ASSERT_TRUE(item);
    QQuickWindow window;
    window.resize(40, 30);
    item->setParentItem(window.contentItem());
    window.show();
    const QImage image = window.grabWindow();
    EXPECT_EQ(QColor(image.pixel(20, 15)), QColor(255, 0, 0));
    item->setParentItem(nullptr);
}

TEST_F(QmlModule, EventsReachTheControllerUnderTheControlKey)
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
    EXPECT_EQ(seen, (QStringList{"event b 0 ", "event b 3 ", "event b 4 ", "event b 8 1234"}));

    controller()->setEnabled(false);
    button->sendEvent(QMLControl::Event_BUTTON_PRESSED);
    EXPECT_EQ(seen.size(), 4);
}

TEST_F(QmlModule, ClickPerformsTheButtonFunctionBeforeTheEventTravels)
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
    // Set, at the button's level, between the release and the click.
    EXPECT_EQ(seen, (QStringList{"event b 3 ", "brightness 0 128", "event b 4 "}));

    // Increase steps by 10.
    model->setFunction(Velmora::ButtonFunction_INCREASE_BRIGHTNESS);
    button->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    EXPECT_EQ(seen.value(3), "brightness 1 10");

    // Disabled, neither the function nor the event goes anywhere.
    controller()->setEnabled(false);
    button->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    EXPECT_EQ(seen.size(), 5);
    root.reset();
}

TEST_F(QmlModule, SliderClampsAndFormatsItsValue)
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

TEST_F(QmlModule, SliderPanelValuesAndIRSteps)
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

TEST_F(QmlModule, ColourPickerPicksFromTheWheelAndShowsPanelValues)
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
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].endsWith(QColor::fromHsvF(0.25f, 0.36f, 1.0f).name()))
        << seen[0].toStdString();

    // Panel values set the channels (clamped) and move the indicator; channel 3 is ignored.
    picker->setValue(3u, 100);
    for (auto [channel, value] : {std::pair{0u, 300}, {1u, 0}, {2u, -20}})
        picker->setValue(channel, value);
    EXPECT_EQ(picker->colour(), QColor(255, 0, 0));
    ASSERT_EQ(received.count(), 3);
    EXPECT_EQ(received[2][1].toPoint(), QPoint(100, 0)); // straight above, full radius
    EXPECT_EQ(seen.size(), 1); // panel values do not travel back to the controller
}

TEST_F(QmlModule, PageSwitcherButtonMap)
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

// A new configuration item empties the registries of what a whole document registered; a
// second one takes over, and the first one's end leaves it attached.
TEST_F(QmlModule, ConfigurationItemResetsTheRegistries)
{
    auto root = create(R"(
Item {
    PagePrivate {
        objectName: "page"; configId: 1
        Component.onCompleted: controller.addPage(this)
        Control { controlKey: "k" }
        Control { controlKey: "k" }
    }
    PageSwitcherPrivate {
        objectName: "switcher"; configId: 7
        Component.onCompleted: controller.addPageSwitcher(this)
    }
})");
    ASSERT_TRUE(root);
    auto* page = root->findChild<QMLPage*>("page");
    auto* switcher = root->findChild<QMLPageSwitcher*>("switcher");
    ASSERT_TRUE(controller()->hasPage(page) && controller()->hasPageSwitcher(switcher));
    ASSERT_EQ(controller()->controlsWithKey("k").size(), 2u);

    auto configuration = create("Configuration {}");
    EXPECT_EQ(controller()->configuration(), configuration.get());
    EXPECT_FALSE(controller()->hasPage(page));
    EXPECT_FALSE(controller()->hasPageSwitcher(switcher));
    EXPECT_TRUE(controller()->controlsWithKey("k").empty());
    auto second = create("Configuration {}");
    configuration.reset();
    EXPECT_EQ(controller()->configuration(), second.get());
    second.reset();
    EXPECT_EQ(controller()->configuration(), nullptr);
}

class QmlController : public QmlModule
{
protected:
    void SetUp() override
    {
        QmlModule::SetUp();
        project.clear();
        root = create("Configuration {}");
        ASSERT_TRUE(root);
        updateConfiguration(&project);
    }

    void TearDown() override
    {
        root.reset();
        QmlModule::TearDown();
    }

    QMLController& c() { return *controller(); }
    QQuickItem* rootItem() { return qobject_cast<QQuickItem*>(root.get()); }

    QMLPage* addPage(int id, const QString& name, int sortValue,
                     int pageSwitcherId = QMLPage::NoPageSwitcher)
    {
        auto* page = new QMLPage(rootItem());
        page->setConfigId(id);
        page->setName(name);
        page->setSortValue(sortValue);
        page->setPageSwitcherId(pageSwitcherId);
        QObject::connect(page, &QMLPage::showPage, [name](int transition, int msecs) {
            seen << QString("show %1 %2 %3").arg(name).arg(transition).arg(msecs);
        });
        QObject::connect(page, &QMLPage::hidePage, [name](int transition, int msecs) {
            seen << QString("hide %1 %2 %3").arg(name).arg(transition).arg(msecs);
        });
        c().addPage(page);
        return page;
    }

    QMLPageSwitcher* addPageSwitcher(int id)
    {
        auto* switcher = new QMLPageSwitcher(rootItem());
        switcher->setConfigId(id);
        QObject::connect(switcher, &QMLPageSwitcher::showPageSwitcher,
                         [id](int, int) { seen << QString("showSwitcher %1").arg(id); });
        QObject::connect(switcher, &QMLPageSwitcher::hidePageSwitcher,
                         [id](int, int) { seen << QString("hideSwitcher %1").arg(id); });
        c().addPageSwitcher(switcher);
        return switcher;
    }

    // A button of the project with its live item.
    QMLButton* addButton(Velmora::ButtonFunction function, unsigned int pageArgument = UINT_MAX)
    {
        auto* model = new Velmora::Button();
        model->setFunction(function);
        model->setFunctionPage(pageArgument);
        smart_ptr<Velmora::Control> owned(model);
        const unsigned int id = project.insertControl(owned, UINT_MAX);
        auto* item = new QMLButton(rootItem());
        item->setConfigId(int(id));
        item->setControlKey(QString("button%1").arg(id));
        return item;
    }

    int current() { return c().currentPage() ? c().currentPage()->configId() : INT_MIN; }

    Velmora::Configuration project;
    std::unique_ptr<QObject> root;
};

TEST_F(QmlController, HistoryKeepsTheFiftyLatestPagesAndBackWalksThem)
{
    std::vector<QMLPage*> pages;
    for (int i = 0; i < 60; ++i)
        pages.push_back(addPage(i, QString("P%1").arg(i), i));
    for (int i = 0; i < 60; ++i)
        c().goToPage(i);
    // Going to the page shown does nothing.
    seen.clear();
    c().goToPage(59);
    EXPECT_TRUE(seen.isEmpty());

    std::list<int> expected;
    for (int i = 9; i < 59; ++i)
        expected.push_back(i);
    EXPECT_EQ(c().backHistory(), expected);

    // Back moves add nothing, so repeated Backs walk further back, newest first.
    for (int i = 58; i >= 9; --i) {
        c().navigateBack();
        ASSERT_EQ(current(), i);
    }
    EXPECT_TRUE(c().backHistory().empty());
    seen.clear();
    c().navigateBack();
    EXPECT_EQ(current(), 9);
    EXPECT_TRUE(seen.isEmpty());

    // An entry whose page has gone is dropped by the Back that meets it.
    c().goToPage(3);
    c().goToPage(4);
    delete pages[3];
    c().navigateBack();
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(c().backHistory(), (std::list<int>{9}));
}

TEST_F(QmlController, PageSwitcherStaysHidesOrShowsWithThePage)
{
    addPage(0, "A", 0, 7);
    addPage(1, "B", 1, 7);
    addPage(2, "C", 2, 8);
    addPage(3, "D", 3);
    addPageSwitcher(7);
    addPageSwitcher(8);
    struct Step
    {
        int page;
        QStringList expected;
        int switcherShown;
    };
    const Step steps[] = {
        {0, {"show A 2 300", "showSwitcher 7", "page A 1"}, 7},
        // The same switcher stays on screen without a signal.
        {1, {"page A 0", "hide A 2 300", "show B 2 300", "page B 1"}, 7},
        {2,
         {"hideSwitcher 7", "page B 0", "hide B 2 300", "show C 2 300", "showSwitcher 8",
          "page C 1"},
         8},
        {3, {"hideSwitcher 8", "page C 0", "hide C 2 300", "show D 2 300", "page D 1"}, -1},
        {1, {"page D 0", "hide D 2 300", "show B 2 300", "showSwitcher 7", "page B 1"}, 7},
    };
    for (const Step& step : steps) {
        seen.clear();
        c().goToPage(step.page, 2, 300);
        EXPECT_EQ(seen, step.expected) << step.page;
        EXPECT_EQ(c().currentPageSwitcher() ? c().currentPageSwitcher()->configId() : -1,
                  step.switcherShown);
    }
}

TEST_F(QmlController, NextAndPreviousWrapAndPassTheLockPage)
{
    addPage(0, "A", 10);
    QMLPage* lockPage = addPage(QMLController::LockPageId, "Lock", 15);
    // With one ordinary page, next and previous change nothing.
    c().goToPage(0);
    seen.clear();
    c().goToNextPage();
    c().goToPrevPage();
    EXPECT_TRUE(seen.isEmpty());

    addPage(1, "B", 20);
    addPage(2, "C", 30);
    struct Step
    {
        bool next;
        int expected;
        const char* shown;
    };
    const Step steps[] = {{true, 1, "show B 2 200"},  {true, 2, "show C 2 200"},
                          {true, 0, "show A 2 200"},  {false, 2, "show C 1 200"},
                          {false, 1, "show B 1 200"}, {false, 0, "show A 1 200"}};
    for (const Step& step : steps) {
        seen.clear();
        step.next ? c().goToNextPage() : c().goToPrevPage();
        EXPECT_EQ(current(), step.expected);
        EXPECT_TRUE(seen.contains(step.shown)) << seen.join(", ").toStdString();
    }
    // The lock page neither enters the history nor reports itself to the host.
    c().switchToPage(lockPage, 0, 200, false);
    seen.clear();
    c().goToNextPage();
    EXPECT_EQ(current(), 1);
    EXPECT_EQ(seen, (QStringList{"hide Lock 2 200", "show B 2 200", "page B 1"}));
    EXPECT_EQ(c().backHistory().back(), 0);
}

TEST_F(QmlController, SecondRegistrationIsRefusedOrReplaces)
{
    addPage(0, "A", 0);
    struct Row
    {
        int id;
        const char* name;
        int sortValue;
    };
    for (const Row& row : {Row{0, "Other", 5}, Row{5, "A", 5}, Row{5, "Other", 0}}) {
        QMLPage* page = addPage(row.id, row.name, row.sortValue);
        EXPECT_FALSE(c().hasPage(page)) << row.id << row.name << row.sortValue;
        c().goToPage(5);
        c().goToPage(QString("Other"));
        EXPECT_NE(c().currentPage(), page);
        delete page;
    }
    // A page switcher under a taken id replaces the earlier one, whose end leaves the later.
    QMLPageSwitcher* first = addPageSwitcher(7);
    QMLPageSwitcher* second = addPageSwitcher(7);
    EXPECT_FALSE(c().hasPageSwitcher(first));
    delete first;
    EXPECT_TRUE(c().hasPageSwitcher(second));
}

TEST_F(QmlController, PageSwitcherButtonsFollowThePageShown)
{
    addPage(0, "A", 0);
    QMLPage* b = addPage(1, "B", 1);
    auto buttons = create(R"(
Item {
    component PageButton: Item {
        property string targetPage
        property var calls: []
        function indicateCurrentPage(on) { calls.push(on) }
        function click() { controller.goToPage(targetPage, 1, 50) }
        Component.onCompleted: controller.addPageSwitcherButton(this)
    }
    PageButton { targetPage: "A" }
    PageButton { targetPage: "B" }
    PageButton { targetPage: "A" }
})");
    ASSERT_TRUE(buttons);
    QObject* toA = c().pageSwitcherButtons("A").front();
    QObject* toB = c().pageSwitcherButtons("B").front();
    ASSERT_EQ(c().pageSwitcherButtons("A").size(), 2u);

    // A tap goes by page name, the QML argument choosing the overload that takes one.
    QMetaObject::invokeMethod(toB, "click");
    EXPECT_EQ(current(), 1);
    EXPECT_TRUE(seen.contains("show B 1 50"));
    QMetaObject::invokeMethod(toA, "click");
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(toA->property("calls").toList(), QVariantList{true});
    EXPECT_EQ(toB->property("calls").toList(), (QVariantList{true, false}));
    // A page the editor shows marks its buttons as well; a button made while its page is
    // shown is marked at once.
    c().setShownPage(b);
    EXPECT_EQ(toA->property("calls").toList(), (QVariantList{true, false}));
    EXPECT_EQ(toB->property("calls").toList(), (QVariantList{true, false, true}));
    auto late = create(R"(
Item {
    property var calls: []
    property string targetPage: "B"
    function indicateCurrentPage(on) { calls.push(on) }
    Component.onCompleted: controller.addPageSwitcherButton(this)
})");
    EXPECT_EQ(late->property("calls").toList(), QVariantList{true});
    late.reset();

    c().removePageSwitcherButton(toA);
    EXPECT_EQ(c().pageSwitcherButtons("A").size(), 1u);
    buttons.reset();
    EXPECT_TRUE(c().pageSwitcherButtons("A").empty());
    EXPECT_TRUE(c().pageSwitcherButtons("B").empty());
    c().goToPage(1);
}

TEST_F(QmlController, LockPageGuardsTheUnlockCode)
{
    addPage(0, "Home", 0);
    addPage(1, "A", 1);
    // A page without a name, registered first, at the lock page's place in the order: the lock
    // page registers all the same, and the page keeps its name for page-switcher buttons.
    addPage(2, "", 3);
    addPage(QMLController::LockPageId, "", 3);
    auto* keypad = new QMLKeypad(rootItem());
    keypad->setControlKey("keypad");
    QMLButton* lock = addButton(Velmora::ButtonFunction_LOCK);
    project.setDefaultPageId(0);

    // Without an unlock code there is nothing to lock.
    c().goToPage(1);
    c().goToPage(QString());
    lock->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    EXPECT_EQ(current(), 2);

    project.setUnlockCode("1234");
    struct Row
    {
        int unlockFunction;
        int pageAfter;
        std::list<int> history;
    };
    // Back returns to the page locked from and takes one entry only; another function goes
    // to the default page, also one the project-properties dialog does not offer.
    for (const Row& row : {Row{Velmora::ButtonFunction_BACK, 2, {1}},
                           Row{Velmora::ButtonFunction_GO_TO_PAGE, 0, {1, 2}},
                           Row{Velmora::ButtonFunction_NONE, 0, {1, 2}}}) {
        c().goToPage(2);
        project.setUnlockFunction(row.unlockFunction);
        lock->sendEvent(QMLControl::Event_BUTTON_CLICKED);
        ASSERT_EQ(current(), QMLController::LockPageId);
        EXPECT_EQ(c().backHistory().back(), 2);

        seen.clear();
        keypad->sendEvent(QMLControl::Event_KEYPAD_CODE_ENTERED, "9999");
        EXPECT_EQ(current(), QMLController::LockPageId);
        c().setEnabled(false);
        keypad->sendEvent(QMLControl::Event_KEYPAD_CODE_ENTERED, "1234");
        c().setEnabled(true);
        EXPECT_EQ(current(), QMLController::LockPageId);
        EXPECT_TRUE(seen.isEmpty()) << seen.join(", ").toStdString();

        keypad->sendEvent(QMLControl::Event_KEYPAD_CODE_ENTERED, "1234");
        EXPECT_EQ(current(), row.pageAfter);
        EXPECT_EQ(c().backHistory(), row.history);
        // Unlocked, a code is an ordinary event for the host.
        seen.clear();
        keypad->sendEvent(QMLControl::Event_KEYPAD_CODE_ENTERED, "1234");
        EXPECT_EQ(seen, QStringList{"event keypad 8 1234"});
        while (!c().backHistory().empty())
            c().navigateBack();
    }
}

TEST_F(QmlController, ButtonFunctionsAndTheDisabledState)
{
    addPage(0, "A", 0);
    addPage(1, "B", 1);
    addPage(2, "C", 2);
    QMLButton* next = addButton(Velmora::ButtonFunction_NEXT_PAGE);
    QMLButton* previous = addButton(Velmora::ButtonFunction_PREVIOUS_PAGE);
    QMLButton* goToC = addButton(Velmora::ButtonFunction_GO_TO_PAGE, 2);
    QMLButton* goNowhere = addButton(Velmora::ButtonFunction_GO_TO_PAGE);
    QMLButton* back = addButton(Velmora::ButtonFunction_BACK);
    c().goToPage(0);
    struct Step
    {
        QMLButton* button;
        int expected;
    };
    for (const Step& step : {Step{next, 1}, Step{goToC, 2}, Step{goNowhere, 2}, Step{back, 1},
                             Step{previous, 0}, Step{previous, 2}}) {
        step.button->sendEvent(QMLControl::Event_BUTTON_CLICKED);
        EXPECT_EQ(current(), step.expected);
    }

    // Disabled: buttons and triggers do nothing, a page-switcher button still switches.
    c().fireTrigger(3, {1, 2});
    EXPECT_EQ(seen.last(), "trigger 3 2");
    c().setEnabled(false);
    seen.clear();
    next->sendEvent(QMLControl::Event_BUTTON_CLICKED);
    c().fireTrigger(3);
    EXPECT_TRUE(seen.isEmpty());
    c().goToPage(QString("A"));
    EXPECT_EQ(current(), 0);
}

TEST_F(QmlController, HostOperationsReachEveryControlUnderTheKey)
{
    auto* first = new QMLSlider(rootItem());
    auto* second = new QMLSlider(rootItem());
    for (QMLSlider* slider : {first, second})
        slider->setControlKey("k");
    QSignalSpy firstReceived(first, &QMLControl::eventReceived);
    QSignalSpy secondReceived(second, &QMLControl::eventReceived);
    c().setControlValue("k", 0, 255);
    c().sendControlEvent("k", QMLControl::Event_COLOUR_PICKER_MOVE, 42);
    c().setControlCaption("k", "Volume");
    for (QSignalSpy* spy : {&firstReceived, &secondReceived}) {
        ASSERT_EQ(spy->count(), 2);
        EXPECT_EQ(spy->at(0), (QVariantList{QMLControl::Event_SLIDER_VALUE_CHANGED, 1.0}));
        EXPECT_EQ(spy->at(1), (QVariantList{QMLControl::Event_COLOUR_PICKER_MOVE, 42}));
    }
    EXPECT_EQ(second->caption(), "Volume");

    // An IR slot reaches the item that shows the assigned control, not others of its key.
    QMLButton* button = addButton(Velmora::ButtonFunction_NONE);
    auto* twin = new QMLButton(rootItem());
    twin->setConfigId(button->configId() + 1);
    twin->setControlKey(button->controlKey());
    project.assignIRSlot(5, unsigned(button->configId()), Velmora::Action_CLICK);
    project.getControl(unsigned(button->configId())).setName(button->controlKey());
    seen.clear();
    c().handleIRSlot(5, true);
    c().handleIRSlot(6, true);
    c().setEnabled(false);
    c().handleIRSlot(5, false);
    EXPECT_EQ(seen, QStringList{QString("event %1 0 ").arg(button->controlKey())});
}

// Items destroyed in any order leave every registry; the controller is used after each
// destruction, so that a dangling entry shows under the address sanitizer.
TEST_F(QmlController, ItemsLeaveTheRegistriesInAnyOrder)
{
    const char* document = R"(
Item {
    component PageButton: Item {
        property string targetPage
        function indicateCurrentPage(on) {}
        Component.onCompleted: controller.addPageSwitcherButton(this)
    }
    PagePrivate {
        objectName: "A"; configId: 0; name: "A"; sortValue: 0; pageSwitcherId: 7
        Component.onCompleted: controller.addPage(this)
        Control { objectName: "c"; controlKey: "k" }
    }
    PagePrivate {
        objectName: "B"; configId: 1; name: "B"; sortValue: 1; pageSwitcherId: 7
        Component.onCompleted: controller.addPage(this)
        Control { objectName: "d"; controlKey: "k" }
    }
    PageSwitcherPrivate {
        objectName: "S"; configId: 7
        Component.onCompleted: controller.addPageSwitcher(this)
        PageButton { objectName: "toA"; targetPage: "A" }
        PageButton { objectName: "toB"; targetPage: "B" }
    }
})";
    const QStringList orders[] = {
        {"c", "d", "A", "B", "toA", "toB", "S"}, // controls before their pages
        {"A", "B", "S"},                         // pages with their controls, switcher last
        {"S", "B", "A"},                         // switcher and its buttons first
        {"toB", "B", "S", "A"},
    };
    for (const QStringList& order : orders) {
        auto items = create(document);
        ASSERT_TRUE(items);
        c().goToPage(0);
        c().goToPage(1);
        ASSERT_TRUE(c().currentPageSwitcher());
        for (const QString& name : order) {
            delete items->findChild<QObject*>(name);
            c().goToPage(QString("A"));
            c().goToNextPage();
            c().navigateBack();
            c().setControlCaption("k", name);
        }
        EXPECT_EQ(c().currentPage(), nullptr) << order.join(" ").toStdString();
        EXPECT_EQ(c().currentPageSwitcher(), nullptr);
        EXPECT_TRUE(c().controlsWithKey("k").empty());
        EXPECT_TRUE(c().pageSwitcherButtons("A").empty());
        EXPECT_TRUE(c().pageSwitcherButtons("B").empty());
    }
    // Removing the page shown leaves none shown: the next page comes without a hide.
    QMLPage* a = addPage(0, "A", 0);
    addPage(1, "B", 1);
    c().switchToPage(a, 0, 0, false);
    delete a;
    seen.clear();
    c().goToPage(1);
    EXPECT_EQ(seen, (QStringList{"show B 0 200", "page B 1"}));
    // The configuration item's end hides the page shown and empties the registries.
    root.reset();
    EXPECT_EQ(seen.last(), "hide B 0 200");
    EXPECT_FALSE(c().configuration());
}

class QmlSkins : public QmlFixture
{
protected:
    void SetUp() override
    {
        QmlFixture::SetUp();
        root = create(skinnedItem);
        ASSERT_TRUE(root);
        control = root->property("control").value<QMLControl*>();
        ASSERT_TRUE(control);
        changer = control->skinChanger();
        ASSERT_TRUE(changer);
        skin = control->currentSkin();
        ASSERT_TRUE(skin);
    }

    void TearDown() override
    {
        if (driver.isRunning() || driverInstalled)
            driver.uninstall();
        root.reset();
        QmlFixture::TearDown();
    }

    void useManualClock()
    {
        driver.install();
        driverInstalled = true;
    }

    double level() const { return skin->property("level").toDouble(); }
    QColor fill() const { return skin->property("fill").value<QColor>(); }

    std::unique_ptr<QObject> root;
    QMLControl* control = nullptr;
    QMLSkinChanger* changer = nullptr;
    QMLSkin* skin = nullptr;
    ManualAnimationDriver driver;
    bool driverInstalled = false;
};

TEST_F(QmlSkins, ChangeWithoutTransitionIsImmediate)
{
    control->setSkin("Slow", true);
    EXPECT_EQ(changer->transitionDuration(), 0);
    EXPECT_EQ(changer->easingType(), 6);
    EXPECT_EQ(fill(), QColor("#0000ff"));
    EXPECT_EQ(level(), 10.0);
    EXPECT_EQ(control->currentSkin(), skin); // animated, never replaced

    // With its transition the change takes the skin's duration and easing.
    control->setSkin("Slow");
    EXPECT_EQ(changer->transitionDuration(), 300);

    // The startup skin, and the default skin when it is empty.
    control->setStartupSkin("Plain");
    control->onControlCompleted();
    EXPECT_EQ(fill(), QColor("#000000")); // the first "Plain" in list order
    control->setStartupSkin("");
    control->onControlCompleted();
    EXPECT_EQ(fill(), QColor("#ffffff"));
}

// The curves that need no data run as stored, InCurve to CosineCurve too; a curve a theme may
// store that an animation cannot run (one that needs data a transition does not carry, or a
// number that is no curve) changes with the default curve, quietly.
TEST_F(QmlSkins, CurvesAnAnimationCannotRunGiveTheDefaultCurve)
{
    const QObject* animation = changer->parallelAnimation()->findChild<QObject*>("levelAnimation");
    ASSERT_TRUE(animation);
    const std::pair<int, int> rows[] = {{40, 40}, {41, 41}, {42, 42}, {43, 43}, {44, 44},
                                        {45, 3},  {46, 3},  {47, 3},  {200, 3}, {-1, 3}};
    for (const auto& [stored, used] : rows) {
        EXPECT_EQ(TestUtil::warningsDuring([&] { changer->setEasingType(stored); }), QStringList())
            << stored;
        EXPECT_EQ(animation->property("easing").value<QEasingCurve>().type(), used) << stored;
    }
}

TEST_F(QmlSkins, SkinsThatAreNotFoundChangeNothing)
{
    control->setSkin("Plain", true);
    QSignalSpy durations(changer, &QMLSkinChanger::transitionDurationChanged);
    control->setSkin("plain", true); // the name is compared with its case
    control->setSkin("Missing");
    control->setSkin("Other", true); // in the second set of the type, which is never used
    control->setItemType(2);         // default index -1
    control->setSkin("", true);
    control->setItemType(3); // default index beyond the list
    control->setSkin("", true);
    control->setItemType(4); // no set of that type
    control->setSkin("Only", true);
    control->setItemType(1);
    control->setTheme(nullptr);
    control->setSkin("Bright", true);
    EXPECT_EQ(durations.count(), 0);
    EXPECT_EQ(fill(), QColor("#000000"));
}

TEST_F(QmlSkins, MissingPropertyKeepsTheEarlierTarget)
{
    control->setSkin("Bright", true);
    QObject* fillAnimation = root->findChild<QObject*>("fillAnimation");
    ASSERT_TRUE(fillAnimation);
    EXPECT_EQ(fillAnimation->property("to").value<QColor>(), QColor("#ffffff"));
    control->setSkin("Partial", true); // carries "level" only
    EXPECT_EQ(fillAnimation->property("to").value<QColor>(), QColor("#ffffff"));
    EXPECT_EQ(level(), 20.0);
    EXPECT_EQ(fill(), QColor("#ffffff"));
}

TEST_F(QmlSkins, InterruptedChangeContinuesFromTheValueReached)
{
    useManualClock();
    control->setSkin("Plain", true); // level 0
    driver.advanceTo(10);
    ASSERT_EQ(level(), 0.0);

    control->setSkin("Bright"); // to 100 over 1000 ms, linear
    driver.advanceTo(20);
    driver.advanceTo(520);
    const double reached = level();
    EXPECT_NEAR(reached, 50.0, 2.0);

    control->setSkin("Slow", false); // to 10 over 300 ms
    driver.advanceTo(521);
    EXPECT_NEAR(level(), reached, 1.0); // no jump back to 0 or on to 100
    driver.advanceTo(670);
    EXPECT_LT(level(), reached - 1.0);
    EXPECT_GT(level(), 11.0);
    driver.advanceTo(2000);
    EXPECT_EQ(level(), 10.0);
    EXPECT_EQ(fill(), QColor("#0000ff"));
}

TEST(ThemeImageProvider, ParsesIds)
{
    struct Case
    {
        const char* id;
        Kind kind;
        unsigned int number;
    };
    const Case cases[] = {
        {"icon3", Kind::Icon, 3},
        {"controlImage0", Kind::ControlImage, 0},
        {"skinImage12", Kind::SkinImage, 12},
        {"007", Kind::PageBackground, 7},
        {"4294967295", Kind::PageBackground, 4294967295u},
        {"icon", Kind::Invalid, 0},
        {"icon-1", Kind::Invalid, 0},
        {"icon+1", Kind::Invalid, 0},
        {"icon3 ", Kind::Invalid, 0},
        {"Icon3", Kind::Invalid, 0}, // not an icon: a background id that is not a number
        {"", Kind::Invalid, 0},
        {"4294967296", Kind::Invalid, 0},
        {"١٢", Kind::Invalid, 0}, // digits of another script
    };
    for (const Case& c : cases) {
        const auto id = ThemeImageProvider::parseId(QString::fromUtf8(c.id));
        EXPECT_EQ(id.kind, c.kind) << c.id;
        if (c.kind != Kind::Invalid) {
            EXPECT_EQ(id.number, c.number) << c.id;
        }
    }
}

TEST(ThemeImageProvider, ServesEachStoreWithItsSizeAndNothingVisibleForUnknownIds)
{
    const auto theme = makeTheme();
    ThemeImageProvider provider(theme.get());
    const QSize none(-1, -1);

    struct Case
    {
        const char* id;
        QSize size;
        QColor colour;
    };
    const Case cases[] = {
        {"icon3", {24, 24}, Qt::red},
        {"12", {112, 50}, Qt::green},
        {"controlImage1", {31, 40}, Qt::blue},
        {"skinImage12", {72, 70}, Qt::yellow},
    };
    // The same whether decoded at the request or ahead of it.
    for (const bool ahead : {false, true}) {
        if (ahead)
            provider.prefetch({"icon3", "12", "controlImage1", "skinImage12", "iconX", "13"});
        for (const Case& c : cases) {
            QSize size;
            const QPixmap pixmap = provider.requestPixmap(c.id, &size, none);
            EXPECT_EQ(pixmap.size(), c.size) << c.id << ahead;
            EXPECT_EQ(size, c.size) << c.id << ahead;
            EXPECT_EQ(pixmap.toImage().pixelColor(0, 0), c.colour) << c.id << ahead;
        }
    }
    // Stretched to exactly the requested size; the reported size stays the stored one.
    QSize size;
    const QPixmap stretched = provider.requestPixmap("12", &size, QSize(100, 50));
    EXPECT_EQ(stretched.size(), QSize(100, 50));
    EXPECT_EQ(size, QSize(112, 50));
    EXPECT_EQ(provider.requestPixmap("icon0", nullptr, QSize(8, 30)).size(), QSize(8, 30));

    // Images a page or a button names that the theme lacks give a transparent pixel (which QML
    // takes without a warning); a skin image it lacks gives none.
    for (const char* id : {"icon4", "13", "controlImage2"}) {
        const QImage none = provider.requestPixmap(id, &size, QSize(-1, -1)).toImage();
        EXPECT_TRUE(size == QSize(1, 1) && none.size() == size && !qAlpha(none.pixel(0, 0))) << id;
    }
    EXPECT_TRUE(provider.requestPixmap("skinImage99", nullptr, QSize(-1, -1)).isNull());
    // An id of no known form, or no theme, leaves the size alone.
    size = QSize(5, 5);
    EXPECT_TRUE(provider.requestPixmap("iconX", &size, QSize(-1, -1)).isNull());
    EXPECT_TRUE(ThemeImageProvider(nullptr).requestPixmap("icon0", &size, QSize(-1, -1)).isNull());
    EXPECT_EQ(size, QSize(5, 5));

    // An image changed since it was decoded ahead is decoded again.
    provider.prefetch({"12"});
    theme->getPageBackgroundImages()[12].setData(TestUtil::pngBytes(5, 6, Qt::cyan));
    EXPECT_EQ(provider.requestPixmap("12", nullptr, none).size(), QSize(5, 6));
}

TEST_F(QmlModule, ImagesAddressTheProviderByName)
{
    const auto theme = makeTheme();
    engine->addImageProvider("theme7", new ThemeImageProvider(theme.get()));
    auto root = create("Image { source: \"image://theme7/3\"; sourceSize.width: 40; "
                       "sourceSize.height: 20 }");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->property("status").toInt(), 1); // Image.Ready
    EXPECT_EQ(root->property("width").toInt(), 40);
    EXPECT_EQ(root->property("height").toInt(), 20);
    // An image the theme lacks is no error (which QML would warn of at every showing).
    root = create("Image { source: \"image://theme7/99\" }");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->property("status").toInt(), 1);
    root.reset();
    engine->removeImageProvider("theme7");
}

// The hue grows clockwise from the top; the saturation is the squared ratio of the distance
// from the centre to the radius.
TEST(ColourWheel, HueAndSaturationOfAPoint)
{
    struct Case
    {
        QPoint point;
        double hue, saturation;
    };
    const Case cases[] = {
        {{100, 20}, 0.0, 0.36},   // straight up
        {{130, 50}, 0.25, 0.36},  // right of the centre
        {{100, 80}, 0.5, 0.36},   // straight below
        {{70, 50}, 0.75, 0.36},   // left of the centre
        {{120, 30}, 0.125, 0.32}, // upper right
        {{125, 50}, 0.25, 0.25},
    };
    for (const Case& c : cases) {
        const QColor colour = ColourWheel::colourAt(wheel, c.point);
        EXPECT_NEAR(colour.hsvHueF(), c.hue, 1e-4) << c.point.x() << "," << c.point.y();
        EXPECT_NEAR(colour.hsvSaturationF(), c.saturation, 1e-4) << c.point.x();
        EXPECT_EQ(colour.valueF(), 1.0f);
        EXPECT_EQ(colour.alphaF(), 1.0f);
    }
    EXPECT_EQ(ColourWheel::colourAt(wheel, {100, 50}).hsvSaturationF(), 0.0f); // centre
    EXPECT_EQ(ColourWheel::colourAt(wheel, {150, 50}).hsvSaturationF(), 1.0f); // rim
    EXPECT_EQ(ColourWheel::colourAt(wheel, {190, 90}).hsvSaturationF(), 1.0f); // outside
    // A wheel without area gives a valid colour rather than a division by zero.
    EXPECT_TRUE(ColourWheel::colourAt(QSize(0, 0), {3, 4}).isValid());
}

TEST(ColourWheel, ContainsAndNearestPoint)
{
    EXPECT_TRUE(ColourWheel::contains(wheel, {100, 50}));
    EXPECT_TRUE(ColourWheel::contains(wheel, {150, 50}));
    EXPECT_FALSE(ColourWheel::contains(wheel, {151, 50}));
    EXPECT_FALSE(ColourWheel::contains(wheel, {141, 20}));

    EXPECT_EQ(ColourWheel::nearestPoint(wheel, {120, 60}), QPoint(120, 60));
    EXPECT_EQ(ColourWheel::nearestPoint(wheel, {190, 50}), QPoint(150, 50));
    EXPECT_EQ(ColourWheel::nearestPoint(wheel, {100, -40}), QPoint(100, 0));
    // (100 + 100 × 50/√20000, 50 + 100 × 50/√20000) = (135.36, 85.36)
    EXPECT_EQ(ColourWheel::nearestPoint(wheel, {200, 150}), QPoint(135, 85));
    // Halves round upwards: an 11 × 6 wheel has its centre at (5.5, 3) and radius 3.
    EXPECT_EQ(ColourWheel::nearestPoint(QSize(11, 6), {100, 3}), QPoint(9, 3));
    EXPECT_EQ(ColourWheel::nearestPoint(QSize(11, 6), {-100, 3}), QPoint(3, 3));
}

TEST(ColourWheel, PointOfAColour)
{
    EXPECT_EQ(ColourWheel::pointOf(wheel, QColor(255, 0, 0)), QPoint(100, 0));     // up, rim
    EXPECT_EQ(ColourWheel::pointOf(wheel, Qt::white), QPoint(100, 50));            // centre
    EXPECT_EQ(ColourWheel::pointOf(wheel, QColor(0, 255, 255)), QPoint(100, 100)); // down
    // Green (hue 120) lies to the lower right: angle 30° below the horizontal.
    EXPECT_EQ(ColourWheel::pointOf(wheel, QColor(0, 255, 0)), QPoint(143, 75));
    // The point lies at the picked colour's hue (its distance follows the saturation).
    const QPoint back = ColourWheel::pointOf(wheel, ColourWheel::colourAt(wheel, {150, 0}));
    EXPECT_EQ(back, QPoint(135, 14)); // (135.36, 14.64) truncated
}
