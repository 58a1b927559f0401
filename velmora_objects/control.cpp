#include "velmora_objects/control.h"

#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

#include <QVariant>

namespace Velmora {

using namespace StreamFields;

void Control::read(Streamer& s)
{
    s.expectTag("Control_start");
    DataStream& fields = s.stream();
    qint32 pageId = 0;
    DataStream::Run(fields, 4 + 16) >> pageId >> m_geometry;
    m_pageId = quint32(pageId);
    fields >> m_name >> m_caption;
    if (s.version() >= 15)
        fields.readRepeated(m_startupSkin);
    s.expectTag("Control_end");
}

void Control::write(Streamer& s) const
{
    s.writeTag("Control_start");
    DataStream::Fields(s.stream(), controlBlockBytes())
        << qint32(m_pageId) << m_geometry << m_name << m_caption << m_startupSkin;
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

Control::ThemeDefaults::ThemeDefaults(const Theme* theme, const Theme* previous,
                                      ThemedItemType itemType)
    : theme(theme), previous(previous), itemType(itemType)
{
}

bool Control::ThemeDefaults::taken(const char* key, const QVariant& current, QVariant& value) const
{
    return theme &&
           defaultFromTheme(theme, previous, itemType, QString::fromLatin1(key), current, value);
}

void Control::ThemeDefaults::take(const char* key, int& field) const
{
    QVariant value;
    if (taken(key, field, value))
        field = int(value.toUInt());
}

void Control::ThemeDefaults::take(const char* key, bool& field) const
{
    QVariant value;
    if (taken(key, field, value))
        field = value.toBool();
}

void Control::ThemeDefaults::take(const char* key, double& field) const
{
    QVariant value;
    if (taken(key, field, value))
        field = value.toDouble();
}

void Control::ThemeDefaults::take(const char* key, boost::logic::tribool& field) const
{
    QVariant value;
    if (taken(key, bool(field), value))
        field = value.toBool();
}

void Control::ThemeDefaults::take(const char* key, TextStyle& field) const
{
    QVariant value;
    if (taken(key, int(field), value))
        field = TextStyle(value.toInt());
}

} // namespace Velmora
