#pragma once

#include "core/gradient.h"

#include <QComboBox>

// A combo box over the gradient library itself, each row drawn as its swatch and name, so that
// gradients added or changed elsewhere show at once. Users take the choice on activated(int).
class GradientPicker : public QComboBox
{
public:
    explicit GradientPicker(QWidget* parent = nullptr);

    // Makes the library row holding an equal gradient current; a null gradient selects nothing.
    void setGradient(const Gradient& gradient);
    // The current row's gradient; a null gradient when there is no current row.
    Gradient gradient() const;
};
