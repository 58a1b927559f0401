#include "core/gradient.h"

#include <algorithm>
#include <cmath>

namespace {

// The shared null payload. The static reference keeps its count above one, so every setter
// on a null gradient detaches.
QSharedDataPointer<GradientData>& sharedNull()
{
    static QSharedDataPointer<GradientData> null(new GradientData);
    return null;
}

// Registered during static initialisation, before anything reads a gradient from a variant.
const int gradientMetaTypeId = qRegisterMetaType<Gradient>("Gradient");

// A payload made for one gradient, counted as held by it before that gradient exists: it
// adopts the payload without a count going up.
GradientData* adopted(GradientData* data)
{
    data->ref.storeRelaxed(1);
    return data;
}

bool positionsEqual(double p, double q)
{
    if (p == 0.0 || q == 0.0)
        return p == q;
    return std::fabs(p - q) <= 1e-12 * std::min(std::fabs(p), std::fabs(q));
}

} // namespace

Gradient::Gradient() : d(sharedNull()) {}
Gradient::Gradient(QString name, GradientStops&& stops)
    : d(adopted(new GradientData), QAdoptSharedDataTag())
{
    d->name = std::move(name);
    d->stops = std::move(stops);
    sortStops();
}

Gradient::Gradient(const Gradient& other) = default;
Gradient& Gradient::operator=(const Gradient& other) = default;
Gradient::~Gradient() = default;

void Gradient::setName(const QString& name)
{
    d.detach();
    d->name = name;
}

void Gradient::setStops(const GradientStops& stops)
{
    d.detach();
    d->stops = stops;
    sortStops();
}

void Gradient::setStops(GradientStops&& stops)
{
    d.detach();
    d->stops = std::move(stops);
    sortStops();
}

void Gradient::sortStops()
{
    // NaN positions (only from a damaged file) go last, so that the order stays a strict weak
    // order and a sort stays within the vector.
    const auto before = [](const QPair<double, QColor>& a, const QPair<double, QColor>& b) {
        const bool aNan = std::isnan(a.first), bNan = std::isnan(b.first);
        if (aNan != bNan)
            return bNan;
        if (a.first < b.first)
            return true;
        if (b.first < a.first)
            return false;
        return a.second < b.second;
    };
    // Stable: stops that neither key tells apart (0.0 and -0.0, NaNs of different bits) keep
    // their order, so that stops read back from a file are stored, and saved again, as they
    // were. Stops already in order, as saved ones are, are kept as given: the vector stays
    // shared and no sort buffer is taken.
    if (!std::is_sorted(d->stops.cbegin(), d->stops.cend(), before))
        std::stable_sort(d->stops.begin(), d->stops.end(), before);
}

bool Gradient::isNull() const
{
    return d.constData() == sharedNull().constData();
}

bool Gradient::operator==(const Gradient& other) const
{
    if (d.constData() == other.d.constData())
        return true;
    return d->name == other.d->name && gradientStopsEqual(d->stops, other.d->stops);
}

bool gradientStopsEqual(const GradientStops& a, const GradientStops& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (!positionsEqual(a[i].first, b[i].first) || a[i].second != b[i].second)
            return false;
    }
    return true;
}

bool operator<(const QColor& a, const QColor& b)
{
    return quint32(a.rgba()) < quint32(b.rgba());
}
