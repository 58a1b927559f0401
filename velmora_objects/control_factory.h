#pragma once

#include "velmora_objects/velmora_types.h"

#include <QString>
#include <map>

namespace Velmora {
class Control;
}

// Makes a new control of one type from a map of property texts, without the caller knowing the
// control classes. One factory per control type lives for the whole program; get() hands them
// out and they are never deleted.
class ControlFactory
{
public:
    // The factory of the type; null for anything but the six control types.
    static ControlFactory* get(Velmora::ControlType type);

    virtual Velmora::ControlType controlType() const = 0;

    // A new control with its class's defaults, owned by the caller; no id, page, geometry or
    // name is set. Of the properties, a key "caption" (in any case) sets the caption, and on a
    // slider a key "unit" (in any case) with the value "8bit" or "percent" (in any case) sets
    // the unit with its range and suffix. Other keys and values are ignored; keys that differ
    // only in case are applied in the map's order.
    virtual Velmora::Control* create(const std::map<QString, QString>& properties) const = 0;

protected:
    ControlFactory() = default;
    // Factories are never deleted through this interface.
    ~ControlFactory() = default;
};

// The factory of control class T, of control type N.
template <class T, Velmora::ControlType N>
class ConcreteControlFactory final : public ControlFactory
{
public:
    Velmora::ControlType controlType() const override { return N; }
    Velmora::Control* create(const std::map<QString, QString>& properties) const override;
};
