#include "gui/colour_picker_dialog.h"

#include "gui/colour_picker.h"
#include "gui/colour_swatch.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

ColourPickerDialog::ColourPickerDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Colour Picker"));
    auto* layout = new QVBoxLayout(this);
    colourPicker = new ColourPicker(this);
    connect(colourPicker, &ColourPicker::colourChanged, this, &ColourPickerDialog::onColourChanged);
    layout->addWidget(colourPicker, 1);

    auto* bottom = new QHBoxLayout;
    layout->addLayout(bottom);
    if (ColourSwatch::activeSwatch) {
        auto* swatchWidget = new ColourSwatchWidget(this);
        swatchWidget->setSwatch(ColourSwatch::activeSwatch);
        connect(swatchWidget, &ColourSwatchWidget::colourSelected, this,
                &ColourPickerDialog::onSwatchColourSelected);
        bottom->addWidget(swatchWidget);
        bottom->addStretch(1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton* button : buttons->buttons()) {
        auto* push = static_cast<QPushButton*>(button);
        push->setDefault(false);
        push->setAutoDefault(false);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &ColourPickerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ColourPickerDialog::reject);
    bottom->addWidget(buttons);
    setMinimumWidth(340);
}

void ColourPickerDialog::setAlphaEnabled(bool enabled)
{
    colourPicker->setAlphaEnabled(enabled);
}

void ColourPickerDialog::setColour(QColor colour)
{
    chosenColour = colour;
    colourPicker->setColour(colour);
}

void ColourPickerDialog::setColours(std::vector<QColor> colours)
{
    chosenColour = QColor();
    colourPicker->setColours(std::move(colours));
}

void ColourPickerDialog::onColourChanged(QColor colour)
{
    chosenColour = colour;
    emit colourChanged(colour);
}

void ColourPickerDialog::onSwatchColourSelected(QColor colour)
{
    chosenColour = colour;
    colourPicker->setColour(colour);
    emit colourChanged(colour);
}

void ColourPickerDialog::accept()
{
    // A dialog accepted without a colour (started unset and left alone) has nothing to recall.
    if (ColourSwatch::activeSwatch && chosenColour.isValid())
        ColourSwatch::activeSwatch->addColour(chosenColour);
    QDialog::accept();
}
