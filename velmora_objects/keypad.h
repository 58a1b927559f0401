#pragma once

#include "velmora_objects/control.h"

namespace Velmora {

// A numeric keypad that takes a code of up to maxDigits digits.
class Keypad : public Control
{
public:
    Keypad() = default;
    Keypad(const Keypad& other) = default;

    Keypad* clone() const override;
    ControlType getType() const override { return ControlType_KEYPAD; }
    void read(Streamer& s) override;
    void write(Streamer& s) const override;

    // Takes the theme's Keypad defaults of "displayTextStyle" and
    // "buttonTextStyle".
    void initialiseFromTheme(const Theme* theme, const Theme* previous) override;
    void render(AbstractRenderer* renderer) const override;

    int getMaxDigits() const { return m_maxDigits; }
    void setMaxDigits(int digits) { m_maxDigits = digits; }
    // Whether the digits typed show as hidden characters.
    bool getHideCharacters() const { return m_hideCharacters; }
    void setHideCharacters(bool hide) { m_hideCharacters = hide; }
    TextStyle getDisplayTextStyle() const { return m_displayTextStyle; }
    void setDisplayTextStyle(TextStyle style) { m_displayTextStyle = style; }
    TextStyle getButtonTextStyle() const { return m_buttonTextStyle; }
    void setButtonTextStyle(TextStyle style) { m_buttonTextStyle = style; }

private:
    qint32 m_maxDigits = 4;
    bool m_hideCharacters = true;
    TextStyle m_displayTextStyle = TextStyle_NORMAL;
    TextStyle m_buttonTextStyle = TextStyle_NORMAL;
};

} // namespace Velmora
