#include "velmora_objects/label.h"

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include <QVariant>

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
    m_fontSize = readInt(s);
    m_wordWrap = readBool(s);
    s.expectTag("Label_end");
    s.checkStatus();
}

void Label::write(Streamer& s) const
{
    s.writeTag("Label_start");
    Control::write(s);
    writeInt(s, m_fontSize);
    s << m_wordWrap;
    s.writeTag("Label_end");
}

void Label::initialiseFromTheme(const Theme* theme, const Theme* previous)
{
    if (!theme)
        return;
    const ThemedItemType type = ThemedItemType_LABEL;
    QVariant value;
    if (defaultFromTheme(theme, previous, type, QStringLiteral("fontSize"), m_fontSize, value))
        m_fontSize = int(value.toUInt());
    if (defaultFromTheme(theme, previous, type, QStringLiteral("wordWrap"), m_wordWrap, value))
        m_wordWrap = value.toBool();
}

void Label::render(AbstractRenderer* renderer) const
{
    renderer->renderLabel(this);
}

} // namespace Velmora
