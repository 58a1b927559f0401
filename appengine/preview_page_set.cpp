#include "appengine/preview_page_set.h"

#include "appengine/preview_control_kinds.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"

#include <QRect>
#include <algorithm>
#include <climits>

namespace {

// The memory a built item takes, in KiB (the heap of a Release build), besides the controls
// of PreviewControlKinds: a page item, a page switcher without its buttons and a button. A
// keypad also draws its keys into an image of its own size.
constexpr int PageItemKiB = 24;
constexpr int PageSwitcherKiB = 20;
constexpr int ButtonKiB = 6;

} // namespace

void PreviewPageSet::noteShown(unsigned int pageId)
{
    forget(pageId);
    m_recent.push_front(pageId);
    if (m_recent.size() > RecentLimit)
        m_recent.pop_back();
}

void PreviewPageSet::forget(unsigned int pageId)
{
    m_recent.erase(std::remove(m_recent.begin(), m_recent.end(), pageId), m_recent.end());
}

std::set<unsigned int>
PreviewPageSet::pagesToKeep(unsigned int currentPageId, const std::vector<unsigned int>& neighbours,
                            const std::function<int(unsigned int)>& weight) const
{
    std::set<unsigned int> kept;
    int total = 0;
    if (currentPageId != UINT_MAX) {
        kept.insert(currentPageId);
        total = weight(currentPageId);
    }
    const auto offer = [&](unsigned int pageId) {
        if (pageId == UINT_MAX || kept.count(pageId))
            return;
        const int w = weight(pageId);
        if (total + w <= m_budget) {
            kept.insert(pageId);
            total += w;
        }
    };
    for (unsigned int pageId : neighbours)
        offer(pageId);
    for (unsigned int pageId : m_recent)
        offer(pageId);
    return kept;
}

int PreviewPageSet::pageWeight(const Velmora::Configuration& project, unsigned int pageId)
{
    if (!project.getPages().exists(pageId))
        return 0;
    const Velmora::Page& page = project.getPage(pageId);
    int weight = PageItemKiB;
    for (unsigned int controlId : page.getControlIds()) {
        if (!project.getControls().exists(controlId))
            continue;
        const Velmora::Control& control = project.getControl(controlId);
        const int type = control.getType();
        if (const PreviewControlKind* kind = previewControlKind(type))
            weight += kind->weightKiB;
    }
    const unsigned int pageSwitcherId = page.getPageSwitcherId();
    if (project.getPageSwitchers().exists(pageSwitcherId))
        weight += PageSwitcherKiB +
                  ButtonKiB * int(project.getPageSwitcher(pageSwitcherId).getPageIds().size());
    return weight;
}
