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
    s.expectTag("Label_start");
    Control::read(s);
    DataStream::Run(s.stream(), 4 + 1) >> m_fontSize >> m_wordWrap;
    s.expectTag("Label_end");
}

void Label::write(Streamer& s) const
{
    constexpr qsizetype TagBytes = sizeof "Label_start" - 1 + sizeof "Label_end" - 1;
    {
        DataStream::Fields out(s.stream(), TagBytes + controlBlockBytes() + 4 + 1);
        out.tag("Label_start");
        writeControlBlock(out);
        out << qint32(m_fontSize) << m_wordWrap;
        out.tag("Label_end");
    }
    s.blockWritten();
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
