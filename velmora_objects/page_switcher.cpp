#include "velmora_objects/page_switcher.h"

#include "core/assertion.h"
#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

#include <algorithm>

namespace Velmora {

using namespace StreamFields;

PageSwitcher::PageSwitcher()
    : m_buttonTextColour(QStringLiteral("#b2b2b2")), m_buttonHighlight(QStringLiteral("#4682B4")),
      m_timeFormat(QStringLiteral("hh:mm")), m_dateFormat(QStringLiteral("d/M/yyyy"))
{
    m_backgroundGradient.setStops({{0.0, QColor(QStringLiteral("#000000"))},
                                   {0.3, QColor(QStringLiteral("#3f3f3f"))},
                                   {1.0, QColor(QStringLiteral("#000000"))}});
}

int PageSwitcher::maxPages(int position, int orientation)
{
    if (orientation == Orientation_ANY)
        return 0;
    const bool landscape = orientation == Orientation_LANDSCAPE;
    switch (position) {
    case NavigationPosition_TOP:
    case NavigationPosition_BOTTOM:
        return landscape ? 10 : 6;
    case NavigationPosition_RIGHT:
    case NavigationPosition_LEFT:
        return landscape ? 6 : 10;
    default:
        return 0;
    }
}

bool PageSwitcher::containsPage(unsigned int pageId) const
{
    return std::find(m_pageIds.begin(), m_pageIds.end(), pageId) != m_pageIds.end();
}

void PageSwitcher::insertPage(unsigned int pageId, int index)
{
    const bool indexInRange = index >= 0 && size_t(index) <= m_pageIds.size();
    VELMORA_ASSERT(indexInRange);
    m_pageIds.insert(m_pageIds.begin() + index, pageId);
}

int PageSwitcher::removePage(unsigned int pageId)
{
    const auto it = std::find(m_pageIds.begin(), m_pageIds.end(), pageId);
    if (it == m_pageIds.end())
        return -1;
    const int index = int(it - m_pageIds.begin());
    m_pageIds.erase(it);
    return index;
}

int PageSwitcher::decrementUsage()
{
    const int usage = m_usage;
    VELMORA_ASSERT(usage > 0);
    return --m_usage;
}

void PageSwitcher::render(AbstractRenderer* renderer) const
{
    renderer->renderPageSwitcher(this);
}

Streamer& operator<<(Streamer& s, const PageSwitcher& switcher)
{
    s.writeTag("PageSwitcher_start");
    writeByte(s, switcher.m_position);
    writeByte(s, switcher.m_alignment);
    s << switcher.m_pageIds;
    writeInt(s, switcher.m_usage);
    s << switcher.m_backgroundGradient;
    s.stream() << switcher.m_backgroundOpacity << qint32(switcher.m_buttonFontSize)
               << switcher.m_buttonTextColour << switcher.m_buttonHighlight
               << switcher.m_buttonHighlightOpacity;
    s << switcher.m_showPageNames << switcher.m_showTime << switcher.m_showDate;
    s.stream() << switcher.m_timeFormat << switcher.m_dateFormat;
    s << switcher.m_dateTimeAtEnd;
    writeInt(s, switcher.m_dateTimeFontSize);
    s.writeTag("PageSwitcher_end");
    return s;
}

Streamer& operator>>(Streamer& s, PageSwitcher& switcher)
{
    s.expectTag("PageSwitcher_start");
    switcher.m_position = readByte(s);
    switcher.m_alignment = Alignment(readByte(s));
    s >> switcher.m_pageIds;
    // Files before version 4 kept no count; their switchers were shown on one page each.
    switcher.m_usage = s.version() >= 4 ? readInt(s) : 1;
    if (s.version() >= 9) {
        s >> switcher.m_backgroundGradient;
        switcher.m_backgroundOpacity = readDouble(s);
        switcher.m_buttonFontSize = readInt(s);
        switcher.m_buttonTextColour = readColour(s);
        switcher.m_buttonHighlight = readColour(s);
        switcher.m_buttonHighlightOpacity = readDouble(s);
    }
    if (s.version() >= 12)
        switcher.m_showPageNames = readBool(s);
    if (s.version() >= 17) {
        switcher.m_showTime = readBool(s);
        switcher.m_showDate = readBool(s);
        switcher.m_timeFormat = readString(s);
        switcher.m_dateFormat = readString(s);
        switcher.m_dateTimeAtEnd = readBool(s);
        switcher.m_dateTimeFontSize = readInt(s);
    }
    s.expectTag("PageSwitcher_end");
    return s;
}

} // namespace Velmora
