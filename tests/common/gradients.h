#pragma once

#include "core/gradient.h"
#include "core/gradient_library.h"

#include <QModelIndex>
#include <QTemporaryDir>

// Gradients and the gradient library's rows, for the tests of gradients and their files.
namespace TestUtil {

// The gradient library started on empty folders of the run's own, for tests whose widgets
// offer the library's gradients. Returns the user's folder.
inline QString startScratchGradientLibrary()
{
    static QTemporaryDir root;
    GradientLibrary::initialise(root.filePath("builtin"), root.filePath("user"));
    return root.filePath("user");
}

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
