#include "velmora_objects/qml/qml_engine.h"

#include "velmora_objects/qml/qml_module.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QStringList>

namespace VelmoraQML {

void useSoftwareSceneGraph()
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

QObject* createObject(QQmlEngine& engine, const QString& text, QQmlContext* context,
                      QString* errors)
{
    registerTypes();
    QQmlComponent component(&engine);
    component.setData(text.toUtf8(), QUrl());
    QObject* object = nullptr;
    if (component.isReady())
        object = component.create(context ? context : engine.rootContext());
    if (!object && errors) {
        QStringList lines;
        for (const QQmlError& error : component.errors())
            lines << error.toString();
        *errors = lines.join('\n');
    }
    return object;
}

void compileComponentsAhead(QQmlEngine& engine)
{
    registerTypes();
    const QDir folder(QStringLiteral(":/qml"), QStringLiteral("*.qml"));
    for (const QString& name : folder.entryList(QDir::Files)) {
        // Held by the engine, so that the loader keeps the compiled document in its cache.
        new QQmlComponent(&engine, QUrl(QStringLiteral("qrc:/qml/") + name),
                          QQmlComponent::Asynchronous, &engine);
    }
}

} // namespace VelmoraQML
