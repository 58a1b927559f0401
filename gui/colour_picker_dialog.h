#pragma once

#include <QColor>
#include <QDialog>
#include <vector>

class ColourPicker;

// The modal "Colour Picker": a ColourPicker, the row of recently used colours of the active
// swatch (when there is one) and OK/Cancel. Accepting puts the colour at the front of the
// active swatch. Callers set the starting colour, may follow colourChanged() for a live preview,
// and read colour() after an accepted exec(); on rejection they restore their starting value.
class ColourPickerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ColourPickerDialog(QWidget* parent = nullptr);

    void setAlphaEnabled(bool enabled);
    // The colour chosen so far; invalid until one is set or chosen.
    const QColor& colour() const { return chosenColour; }
    ColourPicker* picker() const { return colourPicker; }

signals:
    void colourChanged(QColor colour);

public slots:
    void setColour(QColor colour);
    void setColours(std::vector<QColor> colours);

protected slots:
    void onColourChanged(QColor colour);
    void onSwatchColourSelected(QColor colour);
    void accept() override;

private:
    ColourPicker* colourPicker;
    QColor chosenColour;
};
