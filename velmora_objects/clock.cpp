#include "velmora_objects/clock.h"

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

namespace Velmora {

using namespace StreamFields;

Clock* Clock::clone() const
{
    return new Clock(*this);
}

void Clock::read(Streamer& s)
{
    s.expectTag("Clock_start");
    Control::read(s);
    qint32 clockType = 0;
    DataStream::Run(s.stream(), 3 * 4) >> clockType >> m_captionFontSize >> m_spacing;
    m_clockType = ClockType(clockType); // kept as read: the preview shows no unknown type
    s.expectTag("Clock_end");
}

void Clock::write(Streamer& s) const
{
    constexpr qsizetype TagBytes = sizeof "Clock_start" - 1 + sizeof "Clock_end" - 1;
    {
        DataStream::Fields out(s.stream(), TagBytes + controlBlockBytes() + 3 * 4);
        out.tag("Clock_start");
        writeControlBlock(out);
        out << qint32(m_clockType) << qint32(m_captionFontSize) << qint32(m_spacing);
        out.tag("Clock_end");
    }
    s.blockWritten();
}

void Clock::initialiseFromTheme(const Theme* theme, const Theme* previous)
{
    const ThemeDefaults defaults(theme, previous, ThemedItemType_CLOCK);
    defaults.take("captionFontSize", m_captionFontSize);
    defaults.take("spacing", m_spacing);
}

void Clock::render(AbstractRenderer* renderer) const
{
    renderer->renderClock(this);
}

} // namespace Velmora
