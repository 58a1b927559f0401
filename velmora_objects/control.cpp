#include "velmora_objects/control.h"

#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

namespace Velmora {

using namespace StreamFields;

void Control::read(Streamer& s)
{
    s.expectTag("Control_start");
    m_pageId = quint32(readInt(s));
    m_geometry = readRect(s);
    m_name = readString(s);
    m_caption = readString(s);
    if (s.version() >= 15)
        m_startupSkin = readString(s);
    s.expectTag("Control_end");
    s.checkStatus();
}

void Control::write(Streamer& s) const
{
    s.writeTag("Control_start");
    s.stream() << qint32(m_pageId) << m_geometry << m_name << m_caption << m_startupSkin;
    s.writeTag("Control_end");
}

QString Control::defaultName() const
{
    return QStringLiteral("control%1").arg(getId());
}

unsigned char Control::getIRSlotId(Action) const
{
    return NoIRSlot;
}

void Control::setIRSlotId(Action, unsigned char) {}

} // namespace Velmora
