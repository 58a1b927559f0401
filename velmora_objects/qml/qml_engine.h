#pragma once

#include <QString>

class QObject;
class QQmlContext;
class QQmlEngine;

namespace VelmoraQML {

// Set-up shared by every QML engine of the program and of its tests.

// Makes every QtQuick scene of the process render through the software scene graph, so the
// preview looks the same everywhere, headless too. Must run before the application object
// exists.
void useSoftwareSceneGraph();

// Compiles a QML document given as text and creates its root object in the context (the
// engine's root context when null), with the module's types registered. The caller owns the
// object. Returns null when the text does not compile or the object cannot be created, with
// the errors, one a line, in errors when given.
QObject* createObject(QQmlEngine& engine, const QString& text, QQmlContext* context = nullptr,
                      QString* errors = nullptr);

// Starts compiling the preview's components (the documents under "qrc:/qml") on the engine's
// loader thread, with the module's types registered, and returns at once. The first items made
// then find their components compiled, instead of waiting while the loader compiles them. The
// engine keeps the compiled components for its life.
void compileComponentsAhead(QQmlEngine& engine);

} // namespace VelmoraQML
