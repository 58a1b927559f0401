#include "resources/embedded_resources.h"

#include <QtGlobal>

// The resource initialisers are global functions: they cannot be named from inside a namespace.
static void initialiseQmlComponents()
{
    Q_INIT_RESOURCE(qml_components);
}

namespace Velmora {

void initialiseEmbeddedResources()
{
    static const bool done = (initialiseQmlComponents(), true);
    (void)done;
}

} // namespace Velmora
