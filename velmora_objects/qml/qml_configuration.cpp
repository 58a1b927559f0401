#include "velmora_objects/qml/qml_configuration.h"

#include "velmora_objects/qml/qml_module.h"

namespace VelmoraQML {

QMLConfiguration::QMLConfiguration(QQuickItem* parent) : QQuickItem(parent)
{
    if (QMLController* c = controller())
        c->setConfiguration(this);
}

QMLConfiguration::~QMLConfiguration()
{
    // Another configuration item may have been attached since: only the attached one
    // detaches, so that its registries stay.
    QMLController* c = controller();
    if (c && c->configuration() == this)
        c->setConfiguration(nullptr);
}

} // namespace VelmoraQML
