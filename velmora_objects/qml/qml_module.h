#pragma once

#include "velmora_objects/qml/qml_controller.h"

class QQmlContext;

namespace Velmora {
class Configuration;
}

namespace VelmoraQML {

class QMLScreen;

// The QML module "Velmora" 1.0 and its process-wide state: one context, one controller and
// one screen object, for one project preview at a time (GUI thread only).

// Registers the module's types and the embedded components under "qrc:/qml" once per
// process; later calls do nothing.
void registerTypes();

// Registers the types, creates the controller (with a copy of the callbacks) and the screen
// object of the given size, and publishes them to the context as "controller" and "screen".
void initialise(int screenWidth, int screenHeight, QQmlContext* context,
                const QMLController::Callbacks& callbacks);
// Deletes the controller and the screen object. Type registrations stay.
void shutdown();

bool isInitialised();
// The context given to initialise, while it exists and the module is initialised.
QQmlContext* context();
// Null while the module is not initialised: the items then skip every controller step.
QMLController* controller();
QMLScreen* screen();

// Gives the attached configuration item the project, enables the controller and sizes the
// screen after the project; nothing without a controller or an attached configuration item.
void updateConfiguration(const Velmora::Configuration* configuration);

} // namespace VelmoraQML
