#include "appengine/themed_object_preview_scene.h"
#include "common/qml_fixture.h"
#include "velmora_objects/qml_fixtures.h"

#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_skin_changer.h"
#include "velmora_objects/qml/qml_themed_object.h"

#include <QJSValue>
#include <QPainter>
#include <QPointer>
#include <QQmlListReference>
#include <QQmlProperty>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTest>

using namespace Velmora;
using VelmoraQML::QMLThemedObject;

namespace {

// Button skins of one flat colour each, without border or rounding.
Skin* flatSkin(SkinSet& set, const QString& name, const QColor& colour)
{
    Skin* skin = QmlFixtures::addSkin(set, name, 0, 3);
    for (const char* key : {"gradientTopColour", "gradientBottomColour"})
        QmlFixtures::addProperty(*skin, new ColourSkinProperty(key, key, colour));
    QmlFixtures::addProperty(*skin, new IntSkinProperty("borderWidth", "", 0, "", 0, 99, ""));
    QmlFixtures::addProperty(*skin, new IntSkinProperty("radius", "", 0, "", 0, 99, ""));
    return skin;
}

// Button skins "Blue" (the default) and "Red"; a keypad skin set.
Theme* makeTheme()
{
    auto* theme = new Theme(QString());
    auto* buttons = new SkinSet(ThemedItemType_BUTTON);
    flatSkin(*buttons, "Blue", Qt::blue);
    flatSkin(*buttons, "Red", Qt::red);
    theme->setSkinSet(smart_ptr<SkinSet>(buttons));
    theme->setDefaultSkin(ThemedItemType_BUTTON, "Blue");
    auto* keypads = new SkinSet(ThemedItemType_KEYPAD);
    QmlFixtures::addSkin(*keypads, "Dark", 300, 3);
    theme->setSkinSet(smart_ptr<SkinSet>(keypads));
    return theme;
}

} // namespace

class ThemedPreview : public TestUtil::QmlFixture
{
protected:
    void SetUp() override
    {
        QmlFixture::SetUp();
        project.setOrientation(Orientation_LANDSCAPE);
        project.setTheme(makeTheme());
        scene = std::make_unique<ThemedObjectPreviewScene>();
    }

    void TearDown() override
    {
        scene.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QmlFixture::TearDown();
    }

    // The object the theme editor builds: the sample item written with its theme.
    QMLThemedObject* build(const Renderable& sample)
    {
        VelmoraQML::QMLStreamer streamer(&project);
        VelmoraQML::QMLRenderer renderer(&streamer);
        renderer.standalone = true;
        sample.render(&renderer);
        QString errors;
        QObject* object = VelmoraQML::createObject(*engine, streamer.text(), nullptr, &errors);
        EXPECT_TRUE(object) << errors.toStdString();
        return qobject_cast<QMLThemedObject*>(object);
    }

    QMLThemedObject* button(const QRect& geometry)
    {
        Button sample;
        sample.setGeometry(geometry);
        sample.setCaption(QString());
        return build(sample);
    }

    // What the surface draws, at a point of the scene.
    QRgb pixel(int x, int y) const { return scene->surface()->grabFramebuffer().pixel(x, y); }

    // The items on the surface.
    QList<QQuickItem*> onSurface() const
    {
        return scene->surface()->quickWindow()->contentItem()->childItems().value(0)->childItems();
    }

    Configuration project;
    std::unique_ptr<ThemedObjectPreviewScene> scene;
};

// One object per type, exactly the chosen one on the surface; objects are kept while other
// types are shown and deleted only when replaced by another object.
TEST_F(ThemedPreview, ShowsTheChosenTypeAndReplacesObjects)
{
    QPointer<QMLThemedObject> first = button(QRect(0, 0, 100, 44));
    Keypad keypadSample;
    keypadSample.setGeometry(QRect(0, 0, 120, 200));
    QPointer<QMLThemedObject> keypad = build(keypadSample);
    scene->setThemedObject(first, ThemedItemType_BUTTON);
    scene->setThemedObject(keypad, ThemedItemType_KEYPAD);
    EXPECT_TRUE(onSurface().isEmpty());
    EXPECT_TRUE(scene->hasThemedObject(ThemedItemType_KEYPAD));
    EXPECT_FALSE(scene->hasThemedObject(ThemedItemType_SLIDER));

    scene->showItemType(ThemedItemType_BUTTON);
    EXPECT_EQ(onSurface(), QList<QQuickItem*>{first.data()});
    EXPECT_EQ(scene->sceneRect(), QRectF(0, 0, 100, 44));
    EXPECT_EQ(pixel(50, 22), qRgb(0, 0, 255));

    scene->showItemType(ThemedItemType_KEYPAD);
    EXPECT_EQ(onSurface(), QList<QQuickItem*>{keypad.data()});
    EXPECT_EQ(scene->sceneRect(), QRectF(0, 0, 120, 200));
    // No object: nothing shown, the rectangle stays.
    scene->showItemType(ThemedItemType_SLIDER);
    EXPECT_TRUE(onSurface().isEmpty() && !scene->shownObject());
    EXPECT_EQ(scene->sceneRect(), QRectF(0, 0, 120, 200));

    scene->showItemType(ThemedItemType_KEYPAD);
    // The same object again deletes nothing; another for a type not shown replaces it alone.
    scene->setThemedObject(first, ThemedItemType_BUTTON);
    EXPECT_TRUE(first);
    QPointer<QMLThemedObject> second = button(QRect(0, 0, 140, 60));
    scene->setThemedObject(second, ThemedItemType_BUTTON);
    EXPECT_FALSE(first);
    EXPECT_EQ(scene->shownObject(), keypad.data());
    EXPECT_EQ(scene->sceneRect(), QRectF(0, 0, 120, 200));

    // Rebuilding the shown type puts the new object in its place.
    scene->showItemType(ThemedItemType_BUTTON);
    QPointer<QMLThemedObject> third = button(QRect(0, 0, 80, 30));
    scene->setThemedObject(third, ThemedItemType_BUTTON);
    EXPECT_FALSE(second);
    EXPECT_EQ(onSurface(), QList<QQuickItem*>{third.data()});
    EXPECT_EQ(scene->sceneRect(), QRectF(0, 0, 80, 30));

    // The view shows the object on the scene's background, once the surface has drawn it.
    scene->setThemedObject(button(QRect(0, 0, 100, 44)), ThemedItemType_BUTTON);
    QImage view(200, 44, QImage::Format_ARGB32);
    const auto rendered = [&] {
        view.fill(Qt::white);
        QPainter painter(&view);
        scene->render(&painter, QRectF(0, 0, 200, 44), QRectF(0, 0, 200, 44));
        return view.pixel(50, 22) == qRgb(0, 0, 255);
    };
    EXPECT_TRUE(QTest::qWaitFor(rendered));
    EXPECT_EQ(view.pixel(150, 22), scene->backgroundBrush().color().rgb());

    scene.reset();
    EXPECT_FALSE(keypad);
}

// Skin changes and edits of the QML skins: an edit of a skin that is not shown shows nothing
// until the object changes to it, with the transition the skin has then.
TEST_F(ThemedPreview, SkinEditsReachTheLiveSkins)
{
    QMLThemedObject* object = button(QRect(0, 0, 100, 44));
    scene->setThemedObject(object, ThemedItemType_BUTTON);
    scene->setSkin("Red"); // nothing shown: nothing happens
    scene->showItemType(ThemedItemType_BUTTON);
    ASSERT_EQ(pixel(50, 22), qRgb(0, 0, 255));

    for (const char* key : {"gradientTopColour", "gradientBottomColour"})
        scene->setSkinProperty(ThemedItemType_BUTTON, "Red", key, QColor(Qt::green));
    scene->setSkinProperty(ThemedItemType_BUTTON, "Missing", "gradientTopColour",
                           QColor(Qt::black));
    EXPECT_EQ(pixel(50, 22), qRgb(0, 0, 255));
    scene->setSkin("Red");
    EXPECT_EQ(pixel(50, 22), qRgb(0, 255, 0));
    scene->setSkin("Nonesuch");
    EXPECT_EQ(object->currentSkin()->property("gradientTopColour"), QColor(Qt::green));

    // Duration and easing apply to the next change, which an empty name makes to the default.
    scene->setSkinTransitionDuration(ThemedItemType_BUTTON, "Blue", 0);
    scene->setSkin("");
    EXPECT_EQ(pixel(50, 22), qRgb(0, 0, 255));
    scene->setSkinTransitionDuration(ThemedItemType_BUTTON, "Red", 400);
    scene->setSkinTransitionEasing(ThemedItemType_BUTTON, "Red", 7);
    EXPECT_EQ(object->skinChanger()->transitionDuration(), 0);
    scene->setSkin("Red");
    EXPECT_EQ(object->skinChanger()->transitionDuration(), 400);
    EXPECT_EQ(object->skinChanger()->easingType(), 7);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pixel(50, 22) == qRgb(0, 255, 0); }, 3000));

    scene->renameSkin(ThemedItemType_BUTTON, "Red", "Crimson");
    const VelmoraQML::QMLSkinSet* set = scene->skinSet(ThemedItemType_BUTTON);
    ASSERT_TRUE(set);
    QStringList names;
    for (const VelmoraQML::QMLSkin* skin : set->skins())
        names << skin->name();
    EXPECT_EQ(names, QStringList({"Blue", "Crimson"}));
    EXPECT_FALSE(scene->skinSet(ThemedItemType_SLIDER));
}

// Default item properties are written into the type's object, shown or not, with gradients
// made into QML gradient objects and text styles into their numbers.
TEST_F(ThemedPreview, DefaultPropertiesReachTheObject)
{
    Keypad keypadSample;
    keypadSample.setGeometry(QRect(0, 0, 120, 200));
    QMLThemedObject* keypad = build(keypadSample);
    PageSwitcher switcherSample;
    switcherSample.setPosition(NavigationPosition_BOTTOM);
    QMLThemedObject* switcher = build(switcherSample);
    ASSERT_TRUE(keypad && switcher);
    scene->setThemedObject(keypad, ThemedItemType_KEYPAD);
    scene->setThemedObject(switcher, ThemedItemType_PAGE_SWITCHER);
    scene->showItemType(ThemedItemType_PAGE_SWITCHER);
    const QRect bar = scene->sceneRect().toRect();
    EXPECT_EQ(bar, QRect(0, 272 - 42, 480, 42));

    scene->setDefaultProperty(ThemedItemType_KEYPAD, "displayTextStyle",
                              QVariant::fromValue(TextStyle_SUNKEN));
    scene->setDefaultProperty(ThemedItemType_KEYPAD, "maxWidth", 3);
    scene->setDefaultProperty(ThemedItemType_SLIDER, "maxWidth", 9); // no object: nothing
    EXPECT_EQ(keypad->property("displayTextStyle").toInt(), 3);
    EXPECT_EQ(keypad->property("maxWidth").toInt(), 3);

    const auto gradientOf = [&] {
        return QQmlProperty::read(switcher, "backgroundGradient").value<QJSValue>().toQObject();
    };
    scene->setDefaultProperty(ThemedItemType_PAGE_SWITCHER, "backgroundOpacity", 1.0);
    Gradient green;
    green.setStops({{0.0, Qt::green}, {0.5, Qt::green}, {1.0, Qt::green}});
    scene->setDefaultProperty(ThemedItemType_PAGE_SWITCHER, "backgroundGradient",
                              QVariant::fromValue(green));
    QPointer<QObject> first = gradientOf();
    ASSERT_TRUE(first);
    EXPECT_EQ(QQmlListReference(first, "stops").count(), 3);
    EXPECT_EQ(pixel(bar.x() + 2, bar.y() + 2), qRgb(0, 255, 0));

    Gradient red;
    red.setStops({{0.0, Qt::red}, {1.0, Qt::red}});
    scene->setDefaultProperty(ThemedItemType_PAGE_SWITCHER, "backgroundGradient",
                              QVariant::fromValue(red));
    EXPECT_EQ(pixel(bar.x() + 2, bar.y() + 2), qRgb(255, 0, 0));
    // The replaced gradient goes; the one in use stays with the object.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    EXPECT_TRUE(gradientOf());
}
