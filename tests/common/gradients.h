#pragma once

#include "core/gradient.h"
#include "core/gradient_library.h"

#include <QModelIndex>

// Gradients and the gradient library's rows, for the tests of gradients and their files.
namespace TestUtil {

inline Gradient makeGradient(const QString& name, const GradientStops& stops)
{
    Gradient gradient;
    gradient.setName(name);
    gradient.setStops(stops);
    return gradient;
}

inline Gradient gradientAt(const QModelIndex& index)
{
    return index.data(GradientLibrary::GradientRole).value<Gradient>();
}

inline GradientLibrary::GradientType gradientTypeAt(const QModelIndex& index)
{
    return index.data(GradientLibrary::GradientTypeRole).value<GradientLibrary::GradientType>();
}

} // namespace TestUtil
