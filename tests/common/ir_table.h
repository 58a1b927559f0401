#pragma once

#include "velmora_objects/configuration.h"

#include <QString>
#include <QStringList>

namespace TestUtil {

// The project's IR table as "slot:control/action" entries, in slot order.
inline QStringList irTable(const Velmora::Configuration& project)
{
    QStringList entries;
    for (const auto& entry : project.getIRSlots().left)
        entries << QString("%1:%2/%3")
                       .arg(entry.first)
                       .arg(entry.second.controlId)
                       .arg(entry.second.action);
    return entries;
}

} // namespace TestUtil
