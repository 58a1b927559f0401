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
    if (s.version() >= 10)
        m_maxDigits = readInt(s);
    if (s.version() >= 18)
        m_hideCharacters = readBool(s);
    if (s.version() >= 9) {
        m_displayTextStyle = TextStyle(readByte(s));
        m_buttonTextStyle = TextStyle(readByte(s));
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
