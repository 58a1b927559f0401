#include "gui/gradient_editor_stops.h"

#include <cmath>
#include <iterator>
#include <utility>

namespace {

// In-place modifiers, so that the position index stays ordered.
struct SetPosition
{
    double position;
    void operator()(GradientEditorStops::Stop& stop) const
    {
        stop.first = position;
        stop.unreversed = std::numeric_limits<double>::quiet_NaN();
    }
};

struct Reverse
{
    void operator()(GradientEditorStops::Stop& stop) const
    {
        const double reversed = std::isnan(stop.unreversed) ? 1.0 - stop.first : stop.unreversed;
        stop.unreversed = stop.first;
        stop.first = reversed;
    }
};

struct SetColour
{
    QColor colour;
    void operator()(GradientEditorStops::Stop& stop) const { stop.second = colour; }
};

} // namespace

void GradientEditorStops::setStops(const StopList& stops)
{
    clear();
    for (const auto& stop : stops)
        container.push_back(Stop(nextId++, stop));
}

GradientEditorStops::StopList GradientEditorStops::stops() const
{
    StopList list;
    list.reserve(int(container.size()));
    for (const Stop& stop : inDrawingOrder())
        list.append(stop);
    return list;
}

bool GradientEditorStops::contains(unsigned int id) const
{
    return container.get<ById>().count(id) != 0;
}

const GradientEditorStops::Stop* GradientEditorStops::find(unsigned int id) const
{
    const auto& byId = container.get<ById>();
    const auto it = byId.find(id);
    return it == byId.end() ? nullptr : &*it;
}

QColor GradientEditorStops::newStopColour(double position, GradientAddStopBehaviour behaviour) const
{
    // A gradient file may hold a gradient without stops: its first stop starts opaque black.
    if (container.empty())
        return QColor(0, 0, 0);
    const auto& byPosition = container.get<ByPosition>();
    auto previous = byPosition.lower_bound(position);
    previous = previous == byPosition.begin() ? byPosition.begin() : std::prev(previous);
    if (behaviour != InterpolateColours)
        return previous->second;
    auto next = byPosition.upper_bound(position);
    if (next == byPosition.end())
        next = std::prev(byPosition.end());
    const double span = next->first - previous->first;
    const double t = span != 0.0 ? (position - previous->first) / span : 0.0;
    return interpolateColour(previous->second, next->second, t);
}

unsigned int GradientEditorStops::addStop(double position, GradientAddStopBehaviour behaviour)
{
    const unsigned int id = nextId++;
    container.push_front(Stop(id, qMakePair(position, newStopColour(position, behaviour))));
    return id;
}

void GradientEditorStops::insertStop(unsigned int id, const QPair<double, QColor>& stop)
{
    if (!contains(id))
        container.push_front(Stop(id, stop));
}

QPair<double, QColor> GradientEditorStops::removeStop(unsigned int id)
{
    auto& byId = container.get<ById>();
    const auto it = byId.find(id);
    if (it == byId.end())
        return qMakePair(0.0, QColor());
    const QPair<double, QColor> removed = *it;
    byId.erase(it);
    return removed;
}

double GradientEditorStops::setStopPosition(unsigned int id, double position)
{
    auto& byId = container.get<ById>();
    const auto it = byId.find(id);
    if (it == byId.end())
        return position;
    const double previous = it->first;
    byId.modify(it, SetPosition{position});
    return previous;
}

void GradientEditorStops::swapColours(std::map<unsigned int, QColor>& colours)
{
    auto& byId = container.get<ById>();
    for (auto& [id, colour] : colours) {
        const auto it = byId.find(id);
        if (it == byId.end())
            continue;
        const QColor previous = it->second;
        byId.modify(it, SetColour{colour});
        colour = previous;
    }
}

void GradientEditorStops::reverse()
{
    // Walk the drawing order: the position index reorders under modification.
    auto& sequence = container.get<DrawingOrder>();
    for (auto it = sequence.begin(); it != sequence.end(); ++it)
        sequence.modify(it, Reverse());
}

void GradientEditorStops::moveToFront(unsigned int id)
{
    const auto& byId = container.get<ById>();
    const auto it = byId.find(id);
    if (it == byId.end())
        return;
    auto& sequence = container.get<DrawingOrder>();
    sequence.relocate(sequence.begin(), container.project<DrawingOrder>(it));
}

void GradientEditorStops::clear()
{
    container.clear();
    nextId = 0;
}

QColor GradientEditorStops::commonColour(const std::set<unsigned int>& ids) const
{
    QColor common;
    bool first = true;
    for (const unsigned int id : ids) {
        const Stop* stop = find(id);
        if (!stop)
            continue;
        if (first)
            common = stop->second;
        else if (stop->second != common)
            return QColor();
        first = false;
    }
    return common;
}

QColor GradientEditorStops::interpolateColour(const QColor& a, const QColor& b, double t)
{
    if (a == b || t <= 0.0)
        return a;
    if (t >= 1.0)
        return b;
    if (!a.isValid()) {
        QColor faded = b;
        faded.setAlphaF(float(t));
        return faded;
    }
    if (!b.isValid()) {
        QColor faded = a;
        faded.setAlphaF(float(1.0 - t));
        return faded;
    }
    auto mix = [t](float from, float to) { return float(from + (to - from) * t); };
    QColor mixed;
    mixed.setRgbF(mix(a.redF(), b.redF()), mix(a.greenF(), b.greenF()), mix(a.blueF(), b.blueF()),
                  mix(a.alphaF(), b.alphaF()));
    return mixed;
}
