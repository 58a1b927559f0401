#include "gui/gradient_picker.h"

#include "core/gradient_library.h"
#include "gui/gradient_item_delegate.h"

GradientPicker::GradientPicker(QWidget* parent) : QComboBox(parent)
{
    setModel(GradientLibrary::instance());
    setItemDelegate(new GradientItemDelegate(this));
}

void GradientPicker::setGradient(const Gradient& gradient)
{
    if (gradient.isNull()) {
        setCurrentIndex(-1);
        return;
    }
    const QModelIndex found = GradientLibrary::instance()->find(gradient);
    setCurrentIndex(found.isValid() ? found.row() : -1);
}

Gradient GradientPicker::gradient() const
{
    if (currentIndex() < 0)
        return Gradient();
    return model()->index(currentIndex(), 0).data(GradientLibrary::GradientRole).value<Gradient>();
}
