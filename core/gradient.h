#pragma once

#include "core/block_pool.h"

#include <QColor>
#include <QMetaType>
#include <QPair>
#include <QSharedDataPointer>
#include <QString>
#include <QVector>

// A stop of a colour gradient: (position, colour). The vector type is the one QGradient takes.
using GradientStops = QVector<QPair<double, QColor>>;

class GradientData : public QSharedData
{
public:
    // Every page and page switcher of a project holds a gradient of its own.
    BLOCK_POOL_ALLOCATED

    QString name;
    GradientStops stops;
};

// A named list of colour stops, implicitly shared. A default-constructed gradient shares one
// static null payload; any setter gives it a payload of its own.
class Gradient
{
public:
    Gradient();
    // A gradient of the name and the stops, stored as setName and setStops store them.
    Gradient(QString name, GradientStops&& stops);
    Gradient(const Gradient& other);
    Gradient& operator=(const Gradient& other);
    // Takes the other's payload and leaves it this one's: both stay valid gradients.
    Gradient& operator=(Gradient&& other) noexcept
    {
        d.swap(other.d);
        return *this;
    }
    ~Gradient();

    const QString& name() const { return d->name; }
    const GradientStops& stops() const { return d->stops; }
    void setName(const QString& name);
    // Stores the stops sorted by position, then by colour (see operator< on colours); stops
    // equal in both keep the order they were given in.
    void setStops(const GradientStops& stops);
    void setStops(GradientStops&& stops);

    bool isNull() const;

    bool operator==(const Gradient& other) const;
    bool operator!=(const Gradient& other) const { return !(*this == other); }

private:
    void sortStops();

    QSharedDataPointer<GradientData> d;
};

Q_DECLARE_METATYPE(Gradient)

// Equality of stop vectors: same length, positions equal within a relative 1e-12 (exactly when
// either is 0), colours equal.
bool gradientStopsEqual(const GradientStops& a, const GradientStops& b);

// Colour order for stops of equal position: QColor::rgba() as an unsigned number (alpha first).
bool operator<(const QColor& a, const QColor& b);
