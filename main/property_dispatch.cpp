#include "main/property_dispatch.h"

#include "main/velmora_document.h"

PropertyDispatch::PropertyDispatch(VelmoraDocument& document) : document(document) {}

bool PropertyDispatch::setPropertyValue(int, const QVariant&, QUndoStack&)
{
    return false;
}
