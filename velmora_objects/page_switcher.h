#pragma once

#include "containers/sortvector_el.h"
#include "core/block_pool.h"
#include "core/gradient.h"
#include "velmora_objects/renderable.h"
#include "velmora_objects/velmora_types.h"

#include <QColor>
#include <QString>
#include <vector>

namespace Velmora {

class Streamer;

// A navigation bar of page buttons along one edge of a page: the page ids of its buttons in
// order, its edge and alignment, its background, the styling of its buttons and whether it
// shows page names, the time and the date. Several pages may show one switcher; it counts
// them (usageCount).
//
// The list holds each page once, however it is given: a page removed from it is then gone
// from it, and a bar never shows more buttons than the project has pages.
class PageSwitcher : public sortvector_el, public Themed
{
public:
    // A project holds hundreds of page switchers, made and freed together.
    BLOCK_POOL_ALLOCATED

    PageSwitcher();
    PageSwitcher(const PageSwitcher& other) = default;
    PageSwitcher& operator=(const PageSwitcher&) = delete;
    ~PageSwitcher() override = default;

    // Takes the theme's Page Switcher defaults.
    void initialiseFromTheme(const Theme* theme, const Theme* previous) override;
    void render(AbstractRenderer* renderer) const override;

    // The most pages a switcher at this edge (a NavigationPosition) may hold on a project of
    // this orientation: 10 along the long side of the screen, 6 along the short side, 0 for
    // orientation 0 or an unknown edge. Any orientation but 0 and 1 counts as portrait.
    static int maxPages(int position, int orientation);

    bool containsPage(unsigned int pageId) const;
    // Inserts the id before position index; an index equal to the size appends. An id the list
    // holds already stays where it is.
    void insertPage(unsigned int pageId, int index);
    // Removes the id and returns its former index; -1 when absent.
    int removePage(unsigned int pageId);

    // The number of pages that show this switcher.
    int usageCount() const { return m_usage; }
    // Raises the count by one when another page starts showing the switcher; returns the new
    // count.
    int incrementUsage() { return ++m_usage; }
    // Lowers the count by one and returns the new count. The count must be above 0.
    int decrementUsage();
    void setUsage(int usage) { m_usage = usage; }

    // A NavigationPosition; 0 while none is chosen.
    int getPosition() const { return m_position; }
    void setPosition(int position) { m_position = position; }
    Alignment getAlignment() const { return m_alignment; }
    void setAlignment(Alignment alignment) { m_alignment = alignment; }
    const std::vector<unsigned int>& getPageIds() const { return m_pageIds; }
    // Keeps each id at its first place only.
    void setPageIds(const std::vector<unsigned int>& pageIds);
    const Gradient& getBackgroundGradient() const { return m_backgroundGradient; }
    void setBackgroundGradient(const Gradient& gradient) { m_backgroundGradient = gradient; }
    double getBackgroundOpacity() const { return m_backgroundOpacity; }
    void setBackgroundOpacity(double opacity) { m_backgroundOpacity = opacity; }
    int getButtonFontSize() const { return m_buttonFontSize; }
    void setButtonFontSize(int size) { m_buttonFontSize = size; }
    const QColor& getButtonTextColour() const { return m_buttonTextColour; }
    void setButtonTextColour(const QColor& colour) { m_buttonTextColour = colour; }
    const QColor& getButtonHighlight() const { return m_buttonHighlight; }
    void setButtonHighlight(const QColor& colour) { m_buttonHighlight = colour; }
    double getButtonHighlightOpacity() const { return m_buttonHighlightOpacity; }
    void setButtonHighlightOpacity(double opacity) { m_buttonHighlightOpacity = opacity; }
    bool getShowPageNames() const { return m_showPageNames; }
    void setShowPageNames(bool show) { m_showPageNames = show; }
    bool getShowTime() const { return m_showTime; }
    void setShowTime(bool show) { m_showTime = show; }
    bool getShowDate() const { return m_showDate; }
    void setShowDate(bool show) { m_showDate = show; }
    // Qt time and date formats.
    const QString& getTimeFormat() const { return m_timeFormat; }
    void setTimeFormat(const QString& format) { m_timeFormat = format; }
    const QString& getDateFormat() const { return m_dateFormat; }
    void setDateFormat(const QString& format) { m_dateFormat = format; }
    // Whether time and date sit at the end of the bar (else at its start).
    bool getDateTimeAtEnd() const { return m_dateTimeAtEnd; }
    void setDateTimeAtEnd(bool atEnd) { m_dateTimeAtEnd = atEnd; }
    int getDateTimeFontSize() const { return m_dateTimeFontSize; }
    void setDateTimeFontSize(int size) { m_dateTimeFontSize = size; }

private:
    friend Streamer& operator<<(Streamer& s, const PageSwitcher& switcher);
    friend Streamer& operator>>(Streamer& s, PageSwitcher& switcher);

    int m_position = 0;
    Alignment m_alignment = Alignment_SPREAD;
    std::vector<unsigned int> m_pageIds;
    int m_usage = 0;
    Gradient m_backgroundGradient;
    double m_backgroundOpacity = 0.5;
    int m_buttonFontSize = 11;
    QColor m_buttonTextColour;
    QColor m_buttonHighlight;
    double m_buttonHighlightOpacity = 0.5;
    bool m_showPageNames = true;
    bool m_showTime = false;
    bool m_showDate = false;
    QString m_timeFormat;
    QString m_dateFormat;
    bool m_dateTimeAtEnd = true;
    int m_dateTimeFontSize = 11;
};

// The page-switcher block.
Streamer& operator<<(Streamer& s, const PageSwitcher& switcher);
Streamer& operator>>(Streamer& s, PageSwitcher& switcher);

} // namespace Velmora
