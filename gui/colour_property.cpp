#include "gui/colour_property.h"

#include "gui/colour_picker_dialog.h"
#include "gui/property_model.h"

#include <QPainter>
#include <QStyleOption>

ColourProperty::ColourProperty(Property* parent) : FilteredProperty(parent) {}

bool ColourProperty::reset()
{
    if (qvariant_cast<QColor>(value()) == defaultColour)
        return false;
    setValue(defaultColour);
    return true;
}

bool ColourProperty::paint(QPainter* painter, const QStyleOption& option) const
{
    const QColor colour = qvariant_cast<QColor>(value());
    if (!colour.isValid())
        return true;
    painter->save();
    painter->setPen(QColor(Qt::black));
    painter->setBrush(colour);
    painter->drawRect(option.rect.adjusted(2, 2, -2, -2));
    painter->restore();
    return true;
}

void ColourProperty::onColourSelected(const QColor& colour)
{
    if (model())
        model()->setData(index(1), colour, Qt::EditRole);
}

void ColourProperty::showMoreEditor(QWidget* parent)
{
    const QColor start = qvariant_cast<QColor>(value());
    const bool live = start.isValid();
    ColourPickerDialog dialog(parent);
    dialog.setAlphaEnabled(false);
    dialog.setColour(start);
    if (live)
        connect(&dialog, &ColourPickerDialog::colourChanged, this,
                &ColourProperty::onColourSelected);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (live && !accepted)
        onColourSelected(start);
    else if (!live && accepted && dialog.colour().isValid())
        onColourSelected(dialog.colour());
}
