#pragma once

#include <QEasingCurve>
#include <QString>
#include <cstddef>
#include <optional>

// The names under which the easing curves of skin transitions travel in theme XML: the 41
// standard curves, from Linear (0) to OutInBounce (40), each named exactly as Qt names its
// enumerator. The special and custom curves (41 and above) have no name.
//
// The table is built during static initialisation and only read afterwards.
class EasingCurveNames
{
public:
    // The name of an easing type; nothing for a type without a name.
    static std::optional<QString> name(int type);
    // The type of a name, matched exactly and case-sensitively; nothing for any other text.
    static std::optional<QEasingCurve::Type> type(const QString& name);
    // The number of named curves.
    static std::size_t size();
};
