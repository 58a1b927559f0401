#include "velmora_objects/qml/qml_screen.h"

namespace VelmoraQML {

QMLScreen::QMLScreen(QObject* parent) : QObject(parent) {}

void QMLScreen::setSize(const QSize& size)
{
    m_size = size;
    emit sizeChanged(m_size);
}

} // namespace VelmoraQML
