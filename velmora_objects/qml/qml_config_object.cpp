#include "velmora_objects/qml/qml_config_object.h"

namespace VelmoraQML {

QMLConfigObject::QMLConfigObject(QQuickItem* parent) : QQuickItem(parent) {}

void QMLConfigObject::setConfigId(int configId)
{
    m_configId = configId;
}

} // namespace VelmoraQML
