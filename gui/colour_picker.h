#pragma once

#include "gui/colour_picker_controls.h"

#include <QColor>
#include <QWidget>
#include <vector>

class ColourLabel;
class HSPicker;
class HSPickerOverlay;
class MultipleHSOverlay;
class QAction;
class QActionGroup;
class QLabel;
class QToolButton;

// Which three components the first slider rows show.
enum ColourModel
{
    CMYModel = 0,
    RGBModel = 1
};

// Chooses one colour, optionally with alpha, in three views of the same colour: the hue and
// saturation wheel with an intensity slider (HSI), RGB sliders or CMY sliders; a spin box per
// component is always shown. Every user edit updates the other controls at once and emits
// colourChanged(). Given several colours, the picker shows the components they share, leaves
// the others blank and rings every colour on the wheel.
class ColourPicker : public QWidget
{
    Q_OBJECT

public:
    explicit ColourPicker(QWidget* parent = nullptr);

    // The view every new picker opens in (0 HSI, 1 RGB, 2 CMY): the last one used anywhere.
    static int defaultView;
    static void setDefaultView(int view) { defaultView = view; }

    // Hides the alpha controls; the colour is then always opaque.
    void setAlphaEnabled(bool enabled);
    bool alphaEnabled() const { return alphaOn; }
    // The colour shown; invalid when unset or when several different colours are shown.
    const QColor& colour() const { return currentColour; }
    int view() const { return currentView; }

    void addOverlay(HSPickerOverlay* overlay);

signals:
    // After every user edit that yields a complete colour; never by the setters.
    void colourChanged(QColor colour);

public slots:
    void setColour(QColor colour);
    void setColours(std::vector<QColor> colours);
    void setColourModel(ColourModel model);

protected slots:
    void onViewChangeTriggered(QAction* action);
    void setViewInternal(int view);
    void handleLevelChange(ColourSlider::Component component, float level);
    void handleSpinBox(ColourSlider::Component component, int value);
    void handleColourPicker(float hue, uchar saturation);

private:
    // Components of the colour as floats 0..1; +infinity stands for unset (the colours shown
    // differ in it).
    enum ComponentIndex
    {
        R,
        G,
        B,
        H,
        S,
        I,
        A,
        ComponentCount
    };

    void updateControls(int mask);
    // Makes the current colour from the components and emits it; returns the controls that
    // must be refreshed beyond the caller's own mask.
    int commitColour();
    void hsvFromRgb();
    void rgbFromHsv();
    void showRowLevels();

    float component[ComponentCount];
    QColor currentColour;
    bool alphaOn = true;
    bool cmyMode = false;
    int currentView = -1;

    QLabel* rowLabels[3];
    QLabel* alphaLabel;
    ColourSlider* rowSliders[3];
    ColourSlider* hueSlider;
    ColourSlider* saturationSlider;
    ColourSlider* intensitySlider;
    ColourSlider* alphaSlider;
    ColourSlider* verticalIntensitySlider;
    ColourSlider* verticalAlphaSlider;
    ColourSpinBox* rowSpinBoxes[3];
    ColourSpinBox* hueSpinBox;
    ColourSpinBox* saturationSpinBox;
    ColourSpinBox* intensitySpinBox;
    ColourSpinBox* alphaSpinBox;
    HSPicker* wheel;
    MultipleHSOverlay* overlay;
    QToolButton* modelButton;
    QAction* hsiAction;
    QAction* rgbAction;
    QAction* cmyAction;
    ColourLabel* colourLabel;
};
