#pragma once

#include "velmora_objects/qml_renderer.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <memory>

class QQmlComponent;
class QQmlContext;
class QQmlEngine;

namespace VelmoraQML {

// The compiled QML documents of one engine by their text. Compiling is the dear part of making
// an item: a text is compiled once, and every object of it is then created from the compiled
// component, taking its own values as it is created. The cache keeps the texts used most
// recently, at most Capacity of them; it is a child of the engine and goes with it.
//
// GUI thread only.
class ComponentCache : public QObject
{
    Q_OBJECT

public:
    static constexpr int Capacity = 48;

    // The engine's cache, made on first use.
    static ComponentCache& of(QQmlEngine& engine);

    // The component of the text, compiled on first use; null when the text does not compile,
    // with the compiler's messages, one a line, in errors when given. A text that failed is
    // not compiled again while it stays in the cache.
    QQmlComponent* component(const QString& text, QString* errors = nullptr);

    // How many texts the cache holds, and how many it has compiled since it was made.
    int count() const { return int(m_entries.size()); }
    int compilations() const { return m_compilations; }

private:
    explicit ComponentCache(QQmlEngine& engine);

    struct Entry
    {
        std::shared_ptr<QQmlComponent> component;
        QString errors;
        quint64 lastUse = 0;
    };

    QQmlEngine& m_engine;
    QHash<QString, Entry> m_entries;
    quint64 m_clock = 0;
    int m_compilations = 0;
};

// Creates the component's object in the context (the engine's root context when null) with
// the values written, in their order, before the object completes, so that its completion
// handlers see them. A parent given becomes the object's parent (and its parent item, when
// both are items) before the object completes as well. The caller owns the object unless it
// gave a parent. Null when it cannot be created, with the messages in errors when given; a
// value that cannot be written is reported there too but does not stop the object.
QObject* createObject(QQmlComponent& component, const QMLPropertyValues& values,
                      QQmlContext* context = nullptr, QString* errors = nullptr,
                      QObject* parent = nullptr);

// The same for a text, compiled through the engine's cache.
QObject* createCachedObject(QQmlEngine& engine, const QString& text,
                            const QMLPropertyValues& values = {}, QQmlContext* context = nullptr,
                            QString* errors = nullptr, QObject* parent = nullptr);

} // namespace VelmoraQML
