#include "velmora_objects/label.h"

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

namespace Velmora {

using namespace StreamFields;

Label* Label::clone() const
{
    return new Label(*this);
}

void Label::read(Streamer& s)
{
    readBlock(s, "Label", [&] {
        m_fontSize = readInt(s);
        m_wordWrap = readBool(s);
    });
}

void Label::write(Streamer& s) const
{
    writeBlock(s, "Label", [&] {
        writeInt(s, m_fontSize);
        s << m_wordWrap;
    });
}

void Label::initialiseFromTheme(const Theme* theme, const Theme* previous)
{
    const ThemeDefaults defaults(theme, previous, ThemedItemType_LABEL);
    defaults.take("fontSize", m_fontSize);
    defaults.take("wordWrap", m_wordWrap);
}

void Label::render(AbstractRenderer* renderer) const
{
    renderer->renderLabel(this);
}

} // namespace Velmora
