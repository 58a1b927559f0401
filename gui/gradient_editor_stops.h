#pragma once

#include <QColor>
#include <QPair>
#include <QVector>
#include <boost/multi_index/identity.hpp>
#include <boost/multi_index/member.hpp>
#include <boost/multi_index/ordered_index.hpp>
#include <boost/multi_index/sequenced_index.hpp>
#include <boost/multi_index_container.hpp>
#include <limits>
#include <map>
#include <set>

// How a new stop gets its colour. Any value other than InterpolateColours copies.
enum GradientAddStopBehaviour
{
    CopyPreviousColour = 0,
    InterpolateColours = 1
};

// The colour stops behind the gradient editor. Every stop has an id that stays valid while other
// stops are added, moved or removed, so that undo commands can address it; ids are not reused
// until the store is reloaded or cleared. Besides their order by position, the stops keep a
// drawing order: the front stop is drawn on top and hit first. A stop at position exactly -1.0
// is being dragged off the editor and is neither drawn nor part of the gradient.
//
// Operations given the id of a stop that does not exist change nothing.
class GradientEditorStops
{
public:
    using StopList = QVector<QPair<double, QColor>>;

    struct Stop : QPair<double, QColor>
    {
        Stop(unsigned int id, const QPair<double, QColor>& stop)
            : QPair<double, QColor>(stop), id(id)
        {
        }
        double position() const { return first; }
        const QColor& colour() const { return second; }
        unsigned int id;
        // The position this stop had before the last reversal, while it has not moved since:
        // 1.0 - (1.0 - p) is not always p in floating point, so a second reversal restores it
        // from here. Not a number when there is none.
        double unreversed = std::numeric_limits<double>::quiet_NaN();
    };

    struct DrawingOrder;
    struct ById;
    struct ByPosition;
    using Container = boost::multi_index_container<
        Stop, boost::multi_index::indexed_by<
                  boost::multi_index::sequenced<boost::multi_index::tag<DrawingOrder>>,
                  boost::multi_index::ordered_unique<
                      boost::multi_index::tag<ById>,
                      boost::multi_index::member<Stop, unsigned int, &Stop::id>>,
                  boost::multi_index::ordered_non_unique<
                      boost::multi_index::tag<ByPosition>,
                      boost::multi_index::member<QPair<double, QColor>, double,
                                                 &QPair<double, QColor>::first>>>>;
    using Sequence = Container::index<DrawingOrder>::type;

    // Replaces every stop; the first entry goes to the front, ids count from 0.
    void setStops(const StopList& stops);
    // Every stop, hidden ones too, front first.
    StopList stops() const;
    // The stops front first, for drawing (back to front) and hit testing (front to back).
    const Sequence& inDrawingOrder() const { return container.get<DrawingOrder>(); }
    std::size_t size() const { return container.size(); }
    bool contains(unsigned int id) const;
    // The stop of an id; null when there is none.
    const Stop* find(unsigned int id) const;

    // A new stop in front, coloured from its neighbours by the behaviour; in an empty store it
    // is opaque black. Returns its id.
    unsigned int addStop(double position, GradientAddStopBehaviour behaviour);
    // Puts a stop back in front under its old id, unless that id exists.
    void insertStop(unsigned int id, const QPair<double, QColor>& stop);
    // Returns the removed stop; (0.0, an invalid colour) when there was none.
    QPair<double, QColor> removeStop(unsigned int id);
    // Returns the previous position (the given one when there is no such stop).
    double setStopPosition(unsigned int id, double position);
    // Gives each stop of the map its colour and leaves the stop's previous colour in the map.
    void swapColours(std::map<unsigned int, QColor>& colours);
    // Every position p becomes 1.0 - p; a second reversal restores every position exactly.
    void reverse();
    void moveToFront(unsigned int id);
    void clear();

    // The colour all the given stops share; invalid when there is none or two differ.
    QColor commonColour(const std::set<unsigned int>& ids) const;

    // a at t = 0 to b at t = 1; an invalid end fades the other end's alpha instead.
    static QColor interpolateColour(const QColor& a, const QColor& b, double t);

private:
    QColor newStopColour(double position, GradientAddStopBehaviour behaviour) const;

    Container container;
    unsigned int nextId = 0;
};
