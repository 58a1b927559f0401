#include "common/qml_fixture.h"

#include "velmora_objects/qml/qml_control.h"
#include "velmora_objects/qml/qml_skin_changer.h"
#include "velmora_objects/qml/qml_sync_animation.h"
#include "velmora_objects/qml/qml_theme.h"

#include <QAnimationDriver>
#include <QCoreApplication>
#include <QSignalSpy>

using namespace VelmoraQML;
using TestUtil::QmlFixture;

namespace {

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

} // namespace

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

TEST_F(QmlFixture, SyncAnimationRestsAtItsOffValue)
{
    auto root = create(R"(
Item {
    id: item
    property alias pulse: pulse
    SyncAnimation { id: pulse; target: item; propertyName: "opacity"; period: 400
                    startValue: 0.2; endValue: 1.0 }
})");
    auto* pulse = root->property("pulse").value<QMLSyncAnimation*>();
    ASSERT_TRUE(pulse);
    pulse->setOffValue(0.7); // not running: on the target at once
    EXPECT_DOUBLE_EQ(root->property("opacity").toDouble(), 0.7);

    root->setProperty("opacity", 0.3);
    pulse->setProperty("running", true);
    pulse->setPeriod(800); // moves to the timeline of the new period
    EXPECT_TRUE(pulse->isRunning());
    pulse->setProperty("running", false);
    EXPECT_DOUBLE_EQ(root->property("opacity").toDouble(), 0.7);
}
