#include "velmora_objects/clock.h"

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include <QVariant>

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
    m_clockType = ClockType(readInt(s));
    m_captionFontSize = readInt(s);
    m_spacing = readInt(s);
    s.expectTag("Clock_end");
    s.checkStatus();
}

void Clock::write(Streamer& s) const
{
    s.writeTag("Clock_start");
    Control::write(s);
    writeInt(s, m_clockType);
    writeInt(s, m_captionFontSize);
    writeInt(s, m_spacing);
    s.writeTag("Clock_end");
}

void Clock::initialiseFromTheme(const Theme* theme, const Theme* previous)
{
    if (!theme)
        return;
    const ThemedItemType type = ThemedItemType_CLOCK;
    QVariant value;
    if (defaultFromTheme(theme, previous, type, QStringLiteral("captionFontSize"),
                         m_captionFontSize, value))
        m_captionFontSize = int(value.toUInt());
    if (defaultFromTheme(theme, previous, type, QStringLiteral("spacing"), m_spacing, value))
        m_spacing = int(value.toUInt());
}

void Clock::render(AbstractRenderer* renderer) const
{
    renderer->renderClock(this);
}

} // namespace Velmora
