#pragma once

#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"

#include <QApplication>
#include <QQmlEngine>

// The GUI application of a benchmark: offscreen unless the environment names a platform, and
// drawing QML with the software scene graph, as on a machine without a GPU.
class OffscreenApplication : public QApplication
{
public:
    OffscreenApplication(int& argc, char** argv) : QApplication(prepared(argc), argv) {}

private:
    static int& prepared(int& argc)
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        VelmoraQML::useSoftwareSceneGraph();
        return argc;
    }
};

// The engine of the page preview at the panel's size, with the module set up on it; the module
// is shut down before the engine goes.
struct PreviewEngine
{
    PreviewEngine() { VelmoraQML::initialise(480, 272, engine.rootContext(), {}); }
    ~PreviewEngine() { VelmoraQML::shutdown(); }

    QQmlEngine engine;
};
