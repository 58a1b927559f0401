#include "velmora_objects/easing_curve_names.h"

#include <boost/assign/list_of.hpp>
#include <boost/bimap.hpp>

namespace {

using NameMap = boost::bimap<QEasingCurve::Type, QString>;
using Pair = NameMap::value_type;

const NameMap& names()
{
    // clang-format off
    static const NameMap map = boost::assign::list_of<Pair>
        (QEasingCurve::Linear, "Linear")
        (QEasingCurve::InQuad, "InQuad")
        (QEasingCurve::OutQuad, "OutQuad")
        (QEasingCurve::InOutQuad, "InOutQuad")
        (QEasingCurve::OutInQuad, "OutInQuad")
        (QEasingCurve::InCubic, "InCubic")
        (QEasingCurve::OutCubic, "OutCubic")
        (QEasingCurve::InOutCubic, "InOutCubic")
        (QEasingCurve::OutInCubic, "OutInCubic")
        (QEasingCurve::InQuart, "InQuart")
        (QEasingCurve::OutQuart, "OutQuart")
        (QEasingCurve::InOutQuart, "InOutQuart")
        (QEasingCurve::OutInQuart, "OutInQuart")
        (QEasingCurve::InQuint, "InQuint")
        (QEasingCurve::OutQuint, "OutQuint")
        (QEasingCurve::InOutQuint, "InOutQuint")
        (QEasingCurve::OutInQuint, "OutInQuint")
        (QEasingCurve::InSine, "InSine")
        (QEasingCurve::OutSine, "OutSine")
        (QEasingCurve::InOutSine, "InOutSine")
        (QEasingCurve::OutInSine, "OutInSine")
        (QEasingCurve::InExpo, "InExpo")
        (QEasingCurve::OutExpo, "OutExpo")
        (QEasingCurve::InOutExpo, "InOutExpo")
        (QEasingCurve::OutInExpo, "OutInExpo")
        (QEasingCurve::InCirc, "InCirc")
        (QEasingCurve::OutCirc, "OutCirc")
        (QEasingCurve::InOutCirc, "InOutCirc")
        (QEasingCurve::OutInCirc, "OutInCirc")
        (QEasingCurve::InElastic, "InElastic")
        (QEasingCurve::OutElastic, "OutElastic")
        (QEasingCurve::InOutElastic, "InOutElastic")
        (QEasingCurve::OutInElastic, "OutInElastic")
        (QEasingCurve::InBack, "InBack")
        (QEasingCurve::OutBack, "OutBack")
        (QEasingCurve::InOutBack, "InOutBack")
        (QEasingCurve::OutInBack, "OutInBack")
        (QEasingCurve::InBounce, "InBounce")
        (QEasingCurve::OutBounce, "OutBounce")
        (QEasingCurve::InOutBounce, "InOutBounce")
        (QEasingCurve::OutInBounce, "OutInBounce");
    // clang-format on
    return map;
}

// Builds the table during static initialisation, before any theme is read or written.
const NameMap& builtAtStart = names();

} // namespace

std::optional<QString> EasingCurveNames::name(int type)
{
    // The named types are one contiguous run of numbers; test the range before the number
    // becomes an enumerator, so that no foreign number is ever held as one.
    const auto& byType = names().left;
    if (type < int(byType.begin()->first) || type > int(byType.rbegin()->first))
        return std::nullopt;
    const auto it = byType.find(QEasingCurve::Type(type));
    if (it == byType.end())
        return std::nullopt;
    return it->second;
}

std::optional<QEasingCurve::Type> EasingCurveNames::type(const QString& name)
{
    const auto it = names().right.find(name);
    if (it == names().right.end())
        return std::nullopt;
    return it->second;
}

std::size_t EasingCurveNames::size()
{
    return names().size();
}
