#include "velmora_objects/qml/qml_component_cache.h"

#include "velmora_objects/qml/qml_module.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QStringList>
#include <QUrl>
#include <algorithm>

namespace VelmoraQML {

namespace {

QString messagesOf(const QQmlComponent& component)
{
    QStringList lines;
    for (const QQmlError& error : component.errors())
        lines << error.toString();
    return lines.join('\n');
}

} // namespace

ComponentCache::ComponentCache(QQmlEngine& engine) : QObject(&engine), m_engine(engine) {}

ComponentCache& ComponentCache::of(QQmlEngine& engine)
{
    if (auto* cache = engine.findChild<ComponentCache*>(QString(), Qt::FindDirectChildrenOnly))
        return *cache;
    return *new ComponentCache(engine);
}

QQmlComponent* ComponentCache::component(const QString& text, QString* errors)
{
    auto found = m_entries.find(text);
    if (found == m_entries.end()) {
        if (m_entries.size() >= Capacity) {
            // The entry used longest ago makes room. Objects made from it keep what they need
            // of the compiled document.
            const auto oldest = std::min_element(
                m_entries.begin(), m_entries.end(),
                [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
            m_entries.erase(oldest);
        }
        registerTypes();
        Entry entry;
        entry.component = std::make_shared<QQmlComponent>(&m_engine);
        entry.component->setData(text.toUtf8(), QUrl());
        ++m_compilations;
        if (!entry.component->isReady()) {
            entry.errors = messagesOf(*entry.component);
            entry.component.reset();
        }
        found = m_entries.insert(text, entry);
    }
    found->lastUse = ++m_clock;
    if (!found->component && errors)
        *errors = found->errors;
    return found->component.get();
}

QObject* createObject(QQmlComponent& component, const QMLPropertyValues& values,
                      QQmlContext* context, QString* errors, QObject* parent)
{
    QQmlContext* in = context ? context : component.engine()->rootContext();
    QObject* object = component.beginCreate(in);
    if (!object) {
        if (errors)
            *errors = messagesOf(component);
        return nullptr;
    }
    if (parent) {
        object->setParent(parent);
        auto* item = qobject_cast<QQuickItem*>(object);
        if (auto* parentItem = qobject_cast<QQuickItem*>(parent); item && parentItem)
            item->setParentItem(parentItem);
    }
    QStringList refused;
    for (const auto& [name, value] : values)
        if (!QQmlProperty::write(object, name, value, in))
            refused << QStringLiteral("Cannot assign %1 to \"%2\"").arg(value.toString(), name);
    component.completeCreate();
    if (errors)
        *errors = refused.join('\n');
    return object;
}

QObject* createCachedObject(QQmlEngine& engine, const QString& text,
                            const QMLPropertyValues& values, QQmlContext* context, QString* errors,
                            QObject* parent)
{
    QQmlComponent* component = ComponentCache::of(engine).component(text, errors);
    return component ? createObject(*component, values, context, errors, parent) : nullptr;
}

} // namespace VelmoraQML
