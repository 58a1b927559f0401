#include "velmora_objects/page.h"

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

#include <typeinfo>

namespace Velmora {

using namespace StreamFields;

bool Page::lessThan(const sortvector_el& other) const
{
    // A page's sequence holds pages only: the exact type is checked first, without the cost
    // of a cast; anything else is cast, which refuses what is not a page.
    const Page& page = typeid(other) == typeid(Page) ? static_cast<const Page&>(other)
                                                     : dynamic_cast<const Page&>(other);
    return m_sortValue < page.m_sortValue;
}

void Page::render(AbstractRenderer* renderer) const
{
    renderer->renderPage(this);
}

void Page::setBackgroundColour(const QColor& colour)
{
    m_backgroundColour = colour;
    m_backgroundGradient = Gradient();
    m_backgroundGradientRotation = -1;
}

void Page::setBackgroundGradient(const Gradient& gradient)
{
    m_backgroundGradient = gradient;
    if (m_backgroundGradientRotation == -1)
        m_backgroundGradientRotation = 0;
    m_backgroundColour = m_backgroundGradient.isNull() ? QColor(Qt::white) : QColor();
}

Streamer& operator<<(Streamer& s, const NavButtons& buttons)
{
    s.writeTag("NavButtons_start");
    {
        DataStream::Fields out(s.stream(), 1 + 1 + 4 + qsizetype(buttons.functions.size()));
        out << qint8(buttons.position) << qint8(buttons.alignment)
            << qint32(buttons.functions.size());
        for (ButtonFunction function : buttons.functions)
            out << qint8(function);
    }
    s.writeTag("NavButtons_end");
    return s;
}

Streamer& operator>>(Streamer& s, NavButtons& buttons)
{
    s.expectTag("NavButtons_start");
    // Kept as read, also values no editor gives: the page never works them, it only hands
    // them on to a copy of itself.
    buttons.position = readByte(s);
    buttons.alignment = Alignment(readByte(s));
    quint32 count = 0;
    s.stream() >> count;
    s.checkCount(count, 1);
    const qsizetype kept = qsizetype(qMin<quint32>(count, NavButtons::MaximumFunctions));
    buttons.functions.clear();
    for (qsizetype i = 0; i < kept; ++i)
        buttons.functions.push_back(ButtonFunction(readByte(s)));
    s.stream().take(qsizetype(count) - kept);
    s.expectTag("NavButtons_end");
    return s;
}

Streamer& operator<<(Streamer& s, const Page& page)
{
    s.writeTag("Page_start");
    {
        const QString colourName =
            page.m_backgroundColour.isValid() ? page.m_backgroundColour.name() : QStringLiteral("");
        DataStream::Fields out(s.stream(), DataStream::textBytes(page.m_name) + 4 + 4 +
                                               DataStream::textBytes(colourName) +
                                               Streamer::gradientBytes(page.m_backgroundGradient) +
                                               4 + 4 + 1 + 4 +
                                               DataStream::textBytes(page.m_layoutName));
        out << page.m_name << page.m_sortValue << qint32(page.m_iconId) << colourName;
        Streamer::writeGradient(out, page.m_backgroundGradient);
        out << page.m_backgroundGradientRotation << qint32(page.m_backgroundImageId)
            << qint8(page.m_backgroundImageScaling) << qint32(page.m_pageSwitcherId)
            << page.m_layoutName;
    }
    s << page.m_navButtons;
    s.writeTag("Page_end");
    return s;
}

Streamer& operator>>(Streamer& s, Page& page)
{
    s.expectTag("Page_start");
    page.m_name = readString(s);
    page.m_sortValue = readInt(s);
    page.m_iconId = quint32(readInt(s));
    const QString colourName = readString(s);
    if (!colourName.isEmpty())
        page.m_backgroundColour = QColor::fromString(colourName);
    s >> page.m_backgroundGradient;
    if (s.version() >= 8)
        page.m_backgroundGradientRotation = readInt(s);
    else
        page.m_backgroundGradientRotation = page.m_backgroundGradient.isNull() ? -1 : 0;
    page.m_backgroundImageId = quint32(readInt(s));
    // Kept as read: the preview shows the image of an unknown scaling at its own size.
    if (s.version() >= 7)
        page.m_backgroundImageScaling = Scaling(readByte(s));
    page.m_pageSwitcherId = quint32(readInt(s));
    s.stream().readRepeated(page.m_layoutName);
    s >> page.m_navButtons;
    s.expectTag("Page_end");
    return s;
}

} // namespace Velmora
