#pragma once

#include "velmora_objects/control.h"

namespace Velmora {

// A control that shows its caption as text.
class Label : public Control
{
public:
    Label() = default;
    Label(const Label& other) = default;

    Label* clone() const override;
    ControlType getType() const override { return ControlType_LABEL; }
    void read(Streamer& s) override;
    void write(Streamer& s) const override;

    // Takes the theme's Label defaults of "fontSize" and "wordWrap".
    void initialiseFromTheme(const Theme* theme, const Theme* previous) override;
    void render(AbstractRenderer* renderer) const override;

    int getFontSize() const { return m_fontSize; }
    void setFontSize(int size) { m_fontSize = size; }
    bool getWordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap) { m_wordWrap = wrap; }

private:
    int m_fontSize = 16;
    bool m_wordWrap = false;
};

} // namespace Velmora
