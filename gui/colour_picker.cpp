#include "gui/colour_picker.h"

#include "core/assertion.h"
#include "gui/colour_maths.h"
#include "gui/colour_widget_resources.h"
#include "gui/hs_picker.h"
#include "gui/window_utilities.h"

#include <QAction>
#include <QActionGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

int ColourPicker::defaultView = 1;

namespace {

constexpr float unset = std::numeric_limits<float>::infinity();

bool isSet(float x)
{
    return x < unset;
}

// Bits of ColourPicker::updateControls.
enum ControlBit
{
    RowSliders = 0,     // bits 0 to 2
    HueSliderBit = 3,   // H, S and I sliders: bits 3 to 5
    AlphaSliderBit = 6, // the horizontal A slider
    RowSpinBoxes = 8,   // bits 8 to 10
    HueSpinBoxBit = 11, // H, S, I and A spin boxes: bits 11 to 14
    WheelBit = 16,
    VerticalIntensityBit = 17,
    VerticalAlphaBit = 18
};

constexpr int bit(int n)
{
    return 1 << n;
}

constexpr int allButAlpha = 0x3f | (0x3f << 8) | bit(WheelBit) | bit(VerticalIntensityBit);
constexpr int all = allButAlpha | bit(AlphaSliderBit) | bit(14) | bit(VerticalAlphaBit);

// A component as a spin box shows it: x * 255 (hue: x * 360) formed in single precision, then
// rounded half up.
int rounded(float x, float scale = 255.0f)
{
    return int(double(x * scale) + 0.5);
}

int roundedHue(float x)
{
    return rounded(x, 360.0f) % 360;
}

void showInSpinBox(QSpinBox* spinBox, float x, bool hue = false)
{
    const QSignalBlocker blocker(spinBox);
    if (!isSet(x))
        spinBox->clear();
    else
        spinBox->setValue(hue ? roundedHue(x) : rounded(x));
}

// An unset level stays unset on a slider; it is only drawn with an invalid colour.
float inverted(float x)
{
    return isSet(x) ? 1.0f - x : unset;
}

} // namespace

ColourPicker::ColourPicker(QWidget* parent) : QWidget(parent)
{
    loadColourWidgetResources();
    for (float& c : component)
        c = 0.0f;

    auto* outer = new QHBoxLayout(this);
    outer->setSpacing(4);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* stack = new QStackedWidget(this);
    auto* page = new QWidget(stack);
    stack->addWidget(page);
    outer->addWidget(stack, 1);
    auto* grid = new QGridLayout(page);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);

    auto makeLabel = [page](const QString& text) {
        auto* label = new QLabel(text, page);
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    auto makeSlider = [this, page](int component, Qt::Orientation orientation, const char* name) {
        auto* slider = new ColourSlider(orientation, page);
        slider->setComponent(component);
        slider->setObjectName(QLatin1String(name));
        connect(slider, &ColourSlider::levelChanged, this, &ColourPicker::handleLevelChange);
        return slider;
    };
    auto makeSpinBox = [this, page](ColourSlider::Component component, const char* name) {
        auto* spinBox = new ColourSpinBox(component, page);
        spinBox->setObjectName(QLatin1String(name));
        connect(spinBox, &ColourSpinBox::colourChanged, this, &ColourPicker::handleSpinBox);
        return spinBox;
    };

    rowLabels[0] = makeLabel(tr("R", "Red abbreviation"));
    rowLabels[1] = makeLabel(tr("G", "Green abbreviation"));
    rowLabels[2] = makeLabel(tr("B", "Blue abbreviation"));
    const char* rowSliderNames[] = {"sliderR", "sliderG", "sliderB"};
    const char* rowSpinBoxNames[] = {"spinR", "spinG", "spinB"};
    for (int row = 0; row < 3; ++row) {
        rowSliders[row] = makeSlider(row, Qt::Horizontal, rowSliderNames[row]);
        rowSpinBoxes[row] =
            makeSpinBox(ColourSlider::Component(ColourSlider::Red + row), rowSpinBoxNames[row]);
        grid->addWidget(rowLabels[row], row, 0);
        grid->addWidget(rowSliders[row], row, 1);
        grid->addWidget(rowSpinBoxes[row], row, 2);
    }
    hueSlider = makeSlider(ColourSlider::Hue, Qt::Horizontal, "sliderH");
    saturationSlider = makeSlider(ColourSlider::Saturation, Qt::Horizontal, "sliderS");
    intensitySlider = makeSlider(ColourSlider::Intensity, Qt::Horizontal, "sliderI");
    alphaSlider = makeSlider(ColourSlider::Alpha, Qt::Horizontal, "sliderA");
    hueSpinBox = makeSpinBox(ColourSlider::Hue, "spinH");
    saturationSpinBox = makeSpinBox(ColourSlider::Saturation, "spinS");
    intensitySpinBox = makeSpinBox(ColourSlider::Intensity, "spinI");
    alphaSpinBox = makeSpinBox(ColourSlider::Alpha, "spinA");
    alphaLabel = makeLabel(tr("A", "Alpha abbreviation"));
    grid->addWidget(makeLabel(tr("H", "Hue abbreviation")), 4, 0);
    grid->addWidget(hueSlider, 4, 1);
    grid->addWidget(hueSpinBox, 4, 2);
    grid->addWidget(makeLabel(tr("S", "Saturation abbreviation")), 5, 0);
    grid->addWidget(saturationSlider, 5, 1);
    grid->addWidget(saturationSpinBox, 5, 2);
    grid->addWidget(makeLabel(tr("I", "Intensity abbreviation")), 6, 0);
    grid->addWidget(intensitySlider, 6, 1);
    grid->addWidget(intensitySpinBox, 6, 2);
    grid->addWidget(alphaLabel, 8, 0);
    grid->addWidget(alphaSlider, 8, 1);
    grid->addWidget(alphaSpinBox, 8, 2);
    grid->setRowStretch(9, 1);

    wheel = new HSPicker(page);
    wheel->setObjectName(QStringLiteral("wheel"));
    overlay = new MultipleHSOverlay(this);
    wheel->addOverlay(overlay);
    connect(wheel, qOverload<float, uchar>(&HSPicker::colourSelectInProgress), this,
            &ColourPicker::handleColourPicker);
    verticalIntensitySlider = makeSlider(ColourSlider::Intensity, Qt::Vertical, "sliderVI");
    verticalAlphaSlider = makeSlider(ColourSlider::Alpha, Qt::Vertical, "sliderVA");
    grid->addWidget(wheel, 0, 3, 10, 1);
    grid->addWidget(verticalIntensitySlider, 0, 4, 10, 1);
    grid->addWidget(verticalAlphaSlider, 0, 5, 10, 1);

    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    auto makeAction = [this, group](const QString& text, const QString& icon, int view) {
        auto* action = new QAction(QIcon(icon), text, group);
        action->setCheckable(true);
        action->setData(view);
        return action;
    };
    hsiAction = makeAction(tr("HSI"), QStringLiteral(":/icons/colour_picker/hs_picker.png"), 0);
    rgbAction = makeAction(tr("RGB"), QStringLiteral(":/icons/colour_picker/rgb_sliders.png"), 1);
    cmyAction = makeAction(tr("CMY"), QStringLiteral(":/icons/colour_picker/cmy_sliders.png"), 2);
    connect(group, &QActionGroup::triggered, this, &ColourPicker::onViewChangeTriggered);

    auto* side = new QVBoxLayout;
    side->setSpacing(4);
    outer->addLayout(side);
    auto* hsiButton = new QToolButton(this);
    hsiButton->setDefaultAction(hsiAction);
    side->addWidget(hsiButton);
    modelButton = new QToolButton(this);
    auto* modelMenu = new QMenu(modelButton);
    modelMenu->addAction(rgbAction);
    modelMenu->addAction(cmyAction);
    modelButton->setMenu(modelMenu);
    modelButton->setPopupMode(QToolButton::MenuButtonPopup);
    modelButton->setDefaultAction(defaultView == 2 ? cmyAction : rgbAction);
    side->addWidget(modelButton);
    side->addStretch(1);
    colourLabel = new ColourLabel(this);
    colourLabel->setFixedSize(40, 40);
    side->addWidget(colourLabel);

    for (QAction* action : group->actions())
        if (action->data().toInt() == defaultView)
            action->setChecked(true);

    setViewInternal(defaultView);
    setColour(QColor(0, 0, 0, 255));
}

void ColourPicker::addOverlay(HSPickerOverlay* newOverlay)
{
    wheel->addOverlay(newOverlay);
}

void ColourPicker::hsvFromRgb()
{
    for (int c = R; c <= B; ++c)
        if (!isSet(component[c]))
            component[c] = 0.0f;
    rgbToHsv(component[R], component[G], component[B], &component[H], &component[S], &component[I]);
}

void ColourPicker::rgbFromHsv()
{
    if (!isSet(component[H]))
        component[H] = 0.0f;
    if (!isSet(component[S]))
        component[S] = 1.0f;
    if (!isSet(component[I]))
        component[I] = 1.0f;
    hsvToRgb(component[H], component[S], component[I], &component[R], &component[G], &component[B]);
}

int ColourPicker::commitColour()
{
    if (!isSet(component[R]) || !isSet(component[G]) || !isSet(component[B]))
        return 0;
    // Colours that differed in alpha alone leave it unset: the new colour is then opaque.
    int extra = 0;
    if (!isSet(component[A])) {
        component[A] = 1.0f;
        extra = bit(AlphaSliderBit) | bit(14) | bit(VerticalAlphaBit);
    }
    currentColour = QColor(rounded(component[R]), rounded(component[G]), rounded(component[B]),
                           alphaOn ? rounded(component[A]) : 255);
    overlay->clear();
    emit colourChanged(currentColour);
    return extra;
}

void ColourPicker::updateControls(int mask)
{
    for (int row = 0; row < 3; ++row) {
        const float x = cmyMode ? inverted(component[R + row]) : component[R + row];
        if (mask & bit(RowSliders + row))
            rowSliders[row]->setLevel(x);
        if (mask & bit(RowSpinBoxes + row))
            showInSpinBox(rowSpinBoxes[row], x);
    }
    ColourSlider* hsiSliders[] = {hueSlider, saturationSlider, intensitySlider};
    for (int i = 0; i < 3; ++i)
        if (mask & bit(HueSliderBit + i))
            hsiSliders[i]->setLevel(component[H + i]);
    if (mask & bit(AlphaSliderBit))
        alphaSlider->setLevel(component[A]);
    if (mask & bit(HueSpinBoxBit))
        showInSpinBox(hueSpinBox, component[H], true);
    if (mask & bit(12))
        showInSpinBox(saturationSpinBox, component[S]);
    if (mask & bit(13))
        showInSpinBox(intensitySpinBox, component[I]);
    if (mask & bit(14))
        showInSpinBox(alphaSpinBox, component[A]);
    if (mask & bit(WheelBit)) {
        if (!currentColour.isValid()) {
            wheel->clearSelection();
        } else {
            float r, g, b;
            hsvToRgb(float(currentColour.hueF()), float(currentColour.saturationF()), 1.0f, &r, &g,
                     &b);
            wheel->setColour(uchar(int(r * 255)), uchar(int(g * 255)), uchar(int(b * 255)));
        }
    }
    if (mask & bit(VerticalIntensityBit))
        verticalIntensitySlider->setLevel(component[I]);
    if (mask & bit(VerticalAlphaBit))
        verticalAlphaSlider->setLevel(component[A]);

    for (ColourSlider* slider : {rowSliders[0], rowSliders[1], rowSliders[2], hueSlider,
                                 saturationSlider, intensitySlider, verticalIntensitySlider})
        slider->setColour(currentColour);
    if (alphaOn) {
        alphaSlider->setColour(currentColour);
        verticalAlphaSlider->setColour(currentColour);
    }
    colourLabel->setColour(currentColour);
}

void ColourPicker::setColour(QColor colour)
{
    int mask = all;
    if (!alphaOn) {
        colour.setAlpha(255);
        mask = allButAlpha;
    }
    currentColour = colour;
    if (colour.isValid()) {
        component[R] = colour.red() / 255.0f;
        component[G] = colour.green() / 255.0f;
        component[B] = colour.blue() / 255.0f;
        component[A] = colour.alpha() / 255.0f;
        hsvFromRgb();
    } else {
        for (int c = R; c <= I; ++c)
            component[c] = 0.0f;
        component[A] = 1.0f;
    }
    // Rings of colours shown before belong to them, not to this one.
    overlay->clear();
    updateControls(mask);
}

void ColourPicker::setColours(std::vector<QColor> colours)
{
    for (float& c : component)
        c = unset;
    currentColour = QColor();
    auto componentsOf = [](const QColor& c) {
        std::vector<float> values{float(c.redF()),  float(c.greenF()),      float(c.blueF()),
                                  float(c.hueF()),  float(c.saturationF()), float(c.valueF()),
                                  float(c.alphaF())};
        if (values[H] < 0) // achromatic: no hue
            values[H] = unset;
        return values;
    };
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const QColor& colour = colours[i];
        if (!colour.isValid()) {
            for (float& c : component)
                c = unset;
            currentColour = QColor();
            break;
        }
        const std::vector<float> values = componentsOf(colour);
        if (i == 0) {
            currentColour = colour;
            for (int c = 0; c < ComponentCount; ++c)
                component[c] = values[c];
            continue;
        }
        if (colour != currentColour)
            currentColour = QColor();
        for (int c = 0; c < ComponentCount; ++c)
            if (component[c] != values[c])
                component[c] = unset;
    }

    int mask = all;
    if (!alphaOn) {
        mask = allButAlpha;
        if (currentColour.isValid())
            currentColour.setAlpha(255);
    }
    if (currentColour.isValid()) {
        overlay->clear();
    } else {
        overlay->setColours(colours);
        wheel->clearSelection();
        mask &= ~bit(WheelBit);
    }
    updateControls(mask);
}

void ColourPicker::showRowLevels()
{
    for (int row = 0; row < 3; ++row) {
        const float x = cmyMode ? inverted(component[R + row]) : component[R + row];
        rowSliders[row]->setComponent((cmyMode ? ColourSlider::Cyan : ColourSlider::Red) + row);
        rowSliders[row]->setLevel(x);
        showInSpinBox(rowSpinBoxes[row], x);
    }
}

void ColourPicker::setColourModel(ColourModel model)
{
    cmyMode = model == CMYModel;
    blockSignalsRecursively(this, true);
    if (cmyMode) {
        rowLabels[0]->setText(tr("C", "Cyan abbreviation"));
        rowLabels[1]->setText(tr("M", "Magenta abbreviation"));
        rowLabels[2]->setText(tr("Y", "Yellow abbreviation"));
    } else {
        rowLabels[0]->setText(tr("R", "Red abbreviation"));
        rowLabels[1]->setText(tr("G", "Green abbreviation"));
        rowLabels[2]->setText(tr("B", "Blue abbreviation"));
    }
    showRowLevels();
    blockSignalsRecursively(this, false);
}

void ColourPicker::onViewChangeTriggered(QAction* action)
{
    setViewInternal(action->data().toInt());
}

void ColourPicker::setViewInternal(int view)
{
    defaultView = view;
    if (view != 0 && view != 1 && view != 2)
        return;
    currentView = view;
    const bool sliders = view != 0;
    wheel->setVisible(!sliders);
    verticalIntensitySlider->setVisible(!sliders);
    for (ColourSlider* slider : {rowSliders[0], rowSliders[1], rowSliders[2], hueSlider,
                                 saturationSlider, intensitySlider})
        slider->setVisible(sliders);
    if (alphaOn) {
        verticalAlphaSlider->setVisible(!sliders);
        alphaSlider->setVisible(sliders);
    }
    if (sliders) {
        modelButton->setDefaultAction(view == 2 ? cmyAction : rgbAction);
        setColourModel(view == 2 ? CMYModel : RGBModel);
    }
}

void ColourPicker::setAlphaEnabled(bool enabled)
{
    if (enabled == alphaOn)
        return;
    alphaOn = enabled;
    alphaLabel->setVisible(enabled);
    alphaSpinBox->setVisible(enabled);
    alphaSlider->setVisible(enabled && (currentView == 1 || currentView == 2));
    verticalAlphaSlider->setVisible(enabled && currentView == 0);
    if (!enabled && component[A] != 1.0f) {
        component[A] = 1.0f;
        commitColour();
        updateControls(bit(AlphaSliderBit) | bit(14) | bit(VerticalAlphaBit));
    }
}

void ColourPicker::handleLevelChange(ColourSlider::Component edited, float level)
{
    int mask = allButAlpha;
    switch (edited) {
    case ColourSlider::Red:
    case ColourSlider::Green:
    case ColourSlider::Blue:
        component[R + edited] = isSet(level) ? level : 0.0f;
        hsvFromRgb();
        mask &= ~bit(RowSliders + edited);
        break;
    case ColourSlider::Cyan:
    case ColourSlider::Magenta:
    case ColourSlider::Yellow: {
        const int row = edited - ColourSlider::Cyan;
        component[R + row] = isSet(level) ? 1.0f - level : 0.0f;
        hsvFromRgb();
        mask &= ~bit(RowSliders + row);
        break;
    }
    case ColourSlider::Hue:
        // A colour without a hue (grey, or colours differing in hue) would stay grey: a hue
        // picked for it becomes visible.
        if (!isSet(component[H])) {
            if (component[S] == 0.0f)
                component[S] = 1.0f;
            if (component[I] == 0.0f)
                component[I] = 1.0f;
        }
        component[H] = level;
        rgbFromHsv();
        mask &= ~bit(HueSliderBit);
        break;
    case ColourSlider::Saturation:
        component[S] = level;
        rgbFromHsv();
        mask &= ~bit(HueSliderBit + 1);
        break;
    case ColourSlider::Intensity:
        component[I] = level;
        rgbFromHsv();
        mask &= sender() == intensitySlider ? ~bit(HueSliderBit + 2) : ~bit(VerticalIntensityBit);
        break;
    case ColourSlider::Alpha:
        component[A] = level;
        mask = sender() == alphaSlider ? bit(14) | bit(VerticalAlphaBit)
                                       : bit(AlphaSliderBit) | bit(14);
        break;
    default:
        VELMORA_UNREACHABLE("Unknown colour component is being edited");
    }
    mask |= commitColour();
    updateControls(mask);
}

void ColourPicker::handleSpinBox(ColourSlider::Component edited, int value)
{
    int mask = allButAlpha;
    switch (edited) {
    case ColourSlider::Red:
    case ColourSlider::Green:
    case ColourSlider::Blue:
        component[R + edited] = (cmyMode ? 255 - value : value) / 255.0f;
        hsvFromRgb();
        mask &= ~bit(RowSpinBoxes + edited);
        break;
    case ColourSlider::Hue:
        component[H] = value / 360.0f;
        rgbFromHsv();
        mask &= ~bit(HueSpinBoxBit);
        break;
    case ColourSlider::Saturation:
        component[S] = value / 255.0f;
        rgbFromHsv();
        mask &= ~bit(12);
        break;
    case ColourSlider::Intensity:
        component[I] = value / 255.0f;
        rgbFromHsv();
        mask &= ~bit(13);
        break;
    case ColourSlider::Alpha:
        component[A] = value / 255.0f;
        mask = bit(AlphaSliderBit) | bit(VerticalAlphaBit);
        break;
    default:
        break;
    }
    mask |= commitColour();
    updateControls(mask);
}

void ColourPicker::handleColourPicker(float hue, uchar saturation)
{
    component[H] = hue;
    component[S] = saturation / 255.0f;
    int mask;
    if (currentColour.isValid() && isSet(component[I]) && component[I] != 0.0f) {
        mask = 0x1f | (0x1f << 8) | bit(WheelBit);
    } else {
        // On black, or over colours of differing intensity, the picked hue shows at full value.
        component[I] = 1.0f;
        mask = allButAlpha;
    }
    rgbFromHsv();
    mask |= commitColour();
    updateControls(mask);
}
