#include "common/qml_fixture.h"

#include "velmora_objects/configuration.h"
#include "velmora_objects/qml/qml_button.h"
#include "velmora_objects/qml/qml_colour_picker.h"
#include "velmora_objects/qml/qml_configuration.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_page.h"
#include "velmora_objects/qml/qml_page_switcher.h"
#include "velmora_objects/qml/qml_screen.h"
#include "velmora_objects/qml/qml_slider.h"
#include "velmora_objects/qml/qml_sync_animation.h"

#include <QImage>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <vector>

using namespace VelmoraQML;
using TestUtil::QmlFixture;

namespace {

std::vector<int> eventsSeen;

void recordEvent(const QString&, int event, const QVariant&)
{
    eventsSeen.push_back(event);
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

} // namespace

class QmlModule : public QmlFixture
{
protected:
    void SetUp() override
    {
        eventsSeen.clear();
        callbacks.controlEvent = recordEvent;
        QmlFixture::SetUp();
    }
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
    EXPECT_EQ(eventsSeen, std::vector<int>{QMLControl::Event_BUTTON_PRESSED});

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
    EXPECT_TRUE(eventsSeen.empty());
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
