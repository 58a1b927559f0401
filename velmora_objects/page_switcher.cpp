#include "velmora_objects/page_switcher.h"

#include "core/assertion.h"
#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include <algorithm>
#include <bitset>
#include <unordered_set>

namespace Velmora {

using namespace StreamFields;

namespace {

// The bar's background until it is given another: black, dark grey at 0.3, black. Shared by
// every new switcher (a gradient is copied on write).
const Gradient& defaultBackground()
{
    static const Gradient background = [] {
        Gradient gradient;
        gradient.setStops({{0.0, QColor(0x00, 0x00, 0x00)},
                           {0.3, QColor(0x3f, 0x3f, 0x3f)},
                           {1.0, QColor(0x00, 0x00, 0x00)}});
        return gradient;
    }();
    return background;
}

} // namespace

PageSwitcher::PageSwitcher()
    : m_backgroundGradient(defaultBackground()), m_buttonTextColour(0xb2, 0xb2, 0xb2),
      m_buttonHighlight(0x46, 0x82, 0xb4), m_timeFormat(QStringLiteral("hh:mm")),
      m_dateFormat(QStringLiteral("d/M/yyyy"))
{
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
    if (!containsPage(pageId))
        m_pageIds.insert(m_pageIds.begin() + index, pageId);
}

int PageSwitcher::removePage(unsigned int pageId)
{
    const auto it = std::find(m_pageIds.begin(), m_pageIds.end(), pageId);
    if (it == m_pageIds.end())
        return -1;
    const int index = int(it - m_pageIds.begin());
    // Every place of the id goes, should the list ever hold it twice.
    m_pageIds.erase(std::remove(it, m_pageIds.end(), pageId), m_pageIds.end());
    return index;
}

void PageSwitcher::setPageIds(const std::vector<unsigned int>& pageIds)
{
    std::unordered_set<unsigned int> seen(pageIds.size());
    std::vector<unsigned int> kept;
    kept.reserve(pageIds.size());
    for (unsigned int pageId : pageIds)
        if (seen.insert(pageId).second)
            kept.push_back(pageId);
    m_pageIds = std::move(kept);
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

namespace {

bool usable(const Gradient&)
{
    return true;
}

bool usable(const QColor& colour)
{
    return colour.isValid();
}

// A theme default as a T (a colour may be stored as its name); false when the theme has none
// or it does not make a usable T, so that a damaged theme cannot blank a colour or a gradient.
template <class T> bool typedDefault(const Theme* theme, const QString& key, T& result)
{
    const QVariant value = theme->getDefaultItemProperty(ThemedItemType_PAGE_SWITCHER, key);
    if (!value.isValid() || !QMetaType::canConvert(value.metaType(), QMetaType::fromType<T>()))
        return false;
    result = value.value<T>();
    return usable(result);
}

// Gradients and colours are compared as such, not as variants: the new theme's default
// replaces the field when there was no previous theme, or when the previous theme's default
// equals the field's value.
template <class T>
void takeTypedDefault(const Theme* theme, const Theme* previous, const QString& key, T& field)
{
    T value;
    if (!typedDefault(theme, key, value))
        return;
    if (previous) {
        T old;
        if (!typedDefault(previous, key, old) || !(old == field))
            return;
    }
    field = value;
}

} // namespace

void PageSwitcher::initialiseFromTheme(const Theme* theme, const Theme* previous)
{
    if (!theme)
        return;
    takeTypedDefault(theme, previous, QStringLiteral("backgroundGradient"), m_backgroundGradient);
    takeTypedDefault(theme, previous, QStringLiteral("buttonTextColour"), m_buttonTextColour);
    takeTypedDefault(theme, previous, QStringLiteral("buttonHighlight"), m_buttonHighlight);

    const ThemedItemType type = ThemedItemType_PAGE_SWITCHER;
    QVariant value;
    auto take = [&](const char* key, const QVariant& current) {
        return defaultFromTheme(theme, previous, type, QString::fromLatin1(key), current, value);
    };
    if (take("backgroundOpacity", m_backgroundOpacity))
        m_backgroundOpacity = value.toDouble();
    if (take("buttonFontSize", m_buttonFontSize))
        m_buttonFontSize = value.toInt();
    if (take("buttonHighlightOpacity", m_buttonHighlightOpacity))
        m_buttonHighlightOpacity = value.toDouble();
    if (take("showPageNames", m_showPageNames))
        m_showPageNames = value.toBool();
    if (take("showTime", m_showTime))
        m_showTime = value.toBool();
    if (take("showDate", m_showDate))
        m_showDate = value.toBool();
    if (take("timeFormat", m_timeFormat))
        m_timeFormat = value.toString();
    if (take("dateFormat", m_dateFormat))
        m_dateFormat = value.toString();
    if (take("dateTimeAtEnd", m_dateTimeAtEnd))
        m_dateTimeAtEnd = value.toBool();
    if (take("dateTimeFontSize", m_dateTimeFontSize))
        m_dateTimeFontSize = value.toInt();
}

Streamer& operator<<(Streamer& s, const PageSwitcher& switcher)
{
    s.writeTag("PageSwitcher_start");
    {
        DataStream::Fields out(s.stream(),
                               1 + 1 + 4 + 4 * qsizetype(switcher.m_pageIds.size()) + 4 +
                                   Streamer::gradientBytes(switcher.m_backgroundGradient) + 8 + 4 +
                                   4 + 4 + 8 + 3 + DataStream::textBytes(switcher.m_timeFormat) +
                                   DataStream::textBytes(switcher.m_dateFormat) + 1 + 4);
        out << qint8(switcher.m_position) << qint8(switcher.m_alignment)
            << qint32(switcher.m_pageIds.size());
        for (unsigned int pageId : switcher.m_pageIds)
            out << qint32(pageId);
        out << qint32(switcher.m_usage);
        Streamer::writeGradient(out, switcher.m_backgroundGradient);
        out << switcher.m_backgroundOpacity << qint32(switcher.m_buttonFontSize)
            << switcher.m_buttonTextColour << switcher.m_buttonHighlight
            << switcher.m_buttonHighlightOpacity << switcher.m_showPageNames << switcher.m_showTime
            << switcher.m_showDate << switcher.m_timeFormat << switcher.m_dateFormat
            << switcher.m_dateTimeAtEnd << qint32(switcher.m_dateTimeFontSize);
    }
    s.writeTag("PageSwitcher_end");
    return s;
}

Streamer& operator>>(Streamer& s, PageSwitcher& switcher)
{
    s.expectTag("PageSwitcher_start");
    // An edge no editor gives takes the editor's edge (the bottom), rather than a bar over the
    // whole page. The alignment is kept as read: the preview lines up the buttons of an
    // unknown one from the start of the bar.
    switcher.m_position = knownOr(NavigationPosition(readByte(s)), NavigationPosition_BOTTOM);
    switcher.m_alignment = Alignment(readByte(s));
    // The list keeps each page once, and no id beyond those a project's pages can have: however
    // long the list in the file, at most a project's pages are kept, in one pass over it.
    quint32 count = 0;
    s.stream() >> count;
    s.checkCount(count, 4);
    std::bitset<Configuration::MaximumPages> listed;
    switcher.m_pageIds.clear();
    DataStream::Run run(s.stream(), qsizetype(count) * 4);
    for (quint32 i = 0; i < count; ++i) {
        quint32 pageId = 0;
        run >> pageId;
        if (pageId < Configuration::MaximumPages && !listed.test(pageId)) {
            listed.set(pageId);
            switcher.m_pageIds.push_back(pageId);
        }
    }
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
        s.stream().readRepeated(switcher.m_timeFormat).readRepeated(switcher.m_dateFormat);
        switcher.m_dateTimeAtEnd = readBool(s);
        switcher.m_dateTimeFontSize = readInt(s);
    }
    s.expectTag("PageSwitcher_end");
    return s;
}

} // namespace Velmora
