#include "velmora_objects/keypad.h"

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

namespace Velmora {

using namespace StreamFields;

Keypad* Keypad::clone() const
{
    return new Keypad(*this);
}

void Keypad::read(Streamer& s)
{
    s.expectTag("Keypad_start");
    Control::read(s);
    const quint32 version = s.version();
    DataStream::Run run(s.stream(), (version >= 10 ? 4 : 0) + (version >= 18 ? 1 : 0) +
                                        (version >= 9 ? 1 + 1 : 0));
    if (version >= 10)
        run >> m_maxDigits;
    if (version >= 18)
        run >> m_hideCharacters;
    if (version >= 9) {
        quint8 display = 0, button = 0;
        run >> display >> button;
        // Kept as read: the preview draws a style it does not know as Normal.
        m_displayTextStyle = TextStyle(display);
        m_buttonTextStyle = TextStyle(button);
    }
    s.expectTag("Keypad_end");
}

void Keypad::write(Streamer& s) const
{
    constexpr qsizetype TagBytes = sizeof "Keypad_start" - 1 + sizeof "Keypad_end" - 1;
    {
        DataStream::Fields out(s.stream(), TagBytes + controlBlockBytes() + 4 + 1 + 1 + 1);
        out.tag("Keypad_start");
        writeControlBlock(out);
        out << qint32(m_maxDigits) << m_hideCharacters << qint8(m_displayTextStyle)
            << qint8(m_buttonTextStyle);
        out.tag("Keypad_end");
    }
    s.blockWritten();
}

void Keypad::initialiseFromTheme(const Theme* theme, const Theme* previous)
{
    const ThemeDefaults defaults(theme, previous, ThemedItemType_KEYPAD);
    defaults.take("displayTextStyle", m_displayTextStyle);
    defaults.take("buttonTextStyle", m_buttonTextStyle);
}

void Keypad::render(AbstractRenderer* renderer) const
{
    renderer->renderKeypad(this);
}

} // namespace Velmora
