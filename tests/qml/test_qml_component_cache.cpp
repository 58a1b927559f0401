#include "common/qml_fixture.h"
#include "velmora_objects/qml_fixtures.h"

#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/qml/qml_component_cache.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml_streamer.h"

#include <QQmlComponent>
#include <QQmlProperty>
#include <memory>

using namespace VelmoraQML;

class ComponentCacheTest : public TestUtil::QmlFixture
{
};

// A text is compiled once, one that fails too, and the texts used longest ago make room.
TEST_F(ComponentCacheTest, CompilesEachTextOnce)
{
    ComponentCache& cache = ComponentCache::of(*engine);
    EXPECT_EQ(&ComponentCache::of(*engine), &cache);
    const auto text = [](int i) {
        return QString("import QtQuick 2.0\nItem { width: %1 }\n").arg(i);
    };
    QQmlComponent* first = cache.component(text(0));
    ASSERT_TRUE(first);
    EXPECT_EQ(cache.component(text(0)), first);
    const QString wrong = "import QtQuick 2.0\nItem { nonsense: 1 }\n";
    for (int twice = 0; twice < 2; ++twice) {
        QString errors;
        EXPECT_EQ(cache.component(wrong, &errors), nullptr);
        EXPECT_TRUE(errors.contains("nonsense")) << errors.toStdString();
    }
    EXPECT_EQ(cache.compilations(), 2);

    for (int i = 1; i <= ComponentCache::Capacity; ++i)
        cache.component(text(i));
    EXPECT_EQ(cache.count(), ComponentCache::Capacity);
    const int compiled = cache.compilations();
    cache.component(text(ComponentCache::Capacity));
    EXPECT_EQ(cache.compilations(), compiled);
    cache.component(text(0));
    EXPECT_EQ(cache.compilations(), compiled + 1);
}

// Every control and page made from the text its kind shares and its own values is the object
// its whole text makes; controls of one component and item type share their text.
TEST_F(ComponentCacheTest, SharedTextAndOwnValuesMakeTheObjectOfTheWholeText)
{
    const auto project = QmlFixtures::makeProject();
    const auto write = [&](const Velmora::Renderable& object, QMLPropertyValues* values) {
        QMLStreamer streamer(project.get());
        streamer.editable = true;
        QMLRenderer renderer(&streamer);
        renderer.standalone = true;
        renderer.renderChildren = false;
        renderer.ownValues = values;
        object.render(&renderer);
        return streamer.text();
    };
    std::vector<const Velmora::Renderable*> objects;
    for (const Velmora::Control& control : project->getControls())
        objects.push_back(&control);
    for (const Velmora::Page& page : project->getPages())
        objects.push_back(&page);

    std::map<QString, int> sharers;
    for (const Velmora::Renderable* object : objects) {
        QMLPropertyValues values;
        const QString shared = write(*object, &values);
        ++sharers[shared];
        std::unique_ptr<QObject> whole(createObject(*engine, write(*object, nullptr)));
        std::unique_ptr<QObject> made(createCachedObject(*engine, shared, values));
        ASSERT_EQ(bool(made), bool(whole));
        if (!whole)
            continue; // a clock of no known type is shown by neither
        EXPECT_FALSE(values.empty());
        for (const auto& [name, value] : values)
            EXPECT_EQ(QQmlProperty::read(made.get(), name), QQmlProperty::read(whole.get(), name))
                << name.toStdString() << " of " << whole->metaObject()->className();
        EXPECT_EQ(QQmlProperty::read(made.get(), "currentSkin.name"),
                  QQmlProperty::read(whole.get(), "currentSkin.name"));
    }
    // The two buttons share one text, and so do the two sliders.
    EXPECT_EQ(sharers.size(), objects.size() - 2);
}
