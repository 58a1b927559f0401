#include "velmora_objects/colour_picker.h"

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

namespace Velmora {

using namespace StreamFields;

ColourPicker* ColourPicker::clone() const
{
    return new ColourPicker(*this);
}

void ColourPicker::read(Streamer& s)
{
    s.expectTag("ColourPicker_start");
    Control::read(s);
    const bool sized = s.version() >= 11;
    DataStream::Run run(s.stream(), 4 + (sized ? 4 + 1 + 4 : 0));
    run >> m_colour;
    if (sized)
        run >> m_captionFontSize >> m_wordWrap >> m_spacing;
    s.expectTag("ColourPicker_end");
}

void ColourPicker::write(Streamer& s) const
{
    constexpr qsizetype TagBytes = sizeof "ColourPicker_start" - 1 + sizeof "ColourPicker_end" - 1;
    {
        DataStream::Fields out(s.stream(), TagBytes + controlBlockBytes() + 4 + 4 + 1 + 4);
        out.tag("ColourPicker_start");
        writeControlBlock(out);
        out << m_colour << qint32(m_captionFontSize) << m_wordWrap << qint32(m_spacing);
        out.tag("ColourPicker_end");
    }
    s.blockWritten();
}

void ColourPicker::initialiseFromTheme(const Theme* theme, const Theme* previous)
{
    const ThemeDefaults defaults(theme, previous, ThemedItemType_COLOUR_PICKER);
    defaults.take("captionFontSize", m_captionFontSize);
    defaults.take("wordWrap", m_wordWrap);
    defaults.take("spacing", m_spacing);
}

void ColourPicker::render(AbstractRenderer* renderer) const
{
    renderer->renderColourPicker(this);
}

} // namespace Velmora
