#pragma once

#include "velmora_objects/control.h"

#include <QColor>

namespace Velmora {

// A control on which the panel's user picks a colour.
class ColourPicker : public Control
{
public:
    ColourPicker() = default;
    ColourPicker(const ColourPicker& other) = default;

    ColourPicker* clone() const override;
    ControlType getType() const override { return ControlType_COLOUR_PICKER; }
    void read(Streamer& s) override;
    void write(Streamer& s) const override;

    // Takes the theme's Colour Picker defaults of "captionFontSize",
    // "wordWrap" and "spacing".
    void initialiseFromTheme(const Theme* theme, const Theme* previous) override;
    void render(AbstractRenderer* renderer) const override;

    // Streamed without its alpha; invalid on a new picker.
    const QColor& getColour() const { return m_colour; }
    void setColour(const QColor& colour) { m_colour = colour; }
    int getCaptionFontSize() const { return m_captionFontSize; }
    void setCaptionFontSize(int size) { m_captionFontSize = size; }
    bool getWordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap) { m_wordWrap = wrap; }
    int getSpacing() const { return m_spacing; }
    void setSpacing(int spacing) { m_spacing = spacing; }

private:
    QColor m_colour;
    int m_captionFontSize = 11;
    bool m_wordWrap = false;
    int m_spacing = 6;
};

} // namespace Velmora
