#include "main/new_page_data.h"

#include "velmora_objects/configuration.h"

#include <algorithm>

using namespace Velmora;

NewPageData::NewPageData(const Configuration& configuration, unsigned int pageId)
{
    const Page& page = configuration.getPage(pageId);
    name = page.getName();
    iconId = page.getIconId();
    backgroundColour = page.getBackgroundColour();
    backgroundGradient = page.getBackgroundGradient();
    backgroundImageId = page.getBackgroundImageId();
    backgroundScaling = page.getBackgroundImageScaling();
    layoutName = page.getLayoutName();

    const NavButtons& navigation = page.getNavButtons();
    for (ButtonFunction function : navigation.functions)
        navigationButtons.emplace_back(function, 0u);

    pageSwitcherId = page.getPageSwitcherId();
    if (pageSwitcherId == UINT_MAX) {
        if (!navigation.functions.empty()) {
            navigationPosition = navigation.position;
            navigationAlignment = navigation.alignment;
        } else {
            navigationPosition = 0;
            navigationAlignment = 0;
        }
    } else {
        const PageSwitcher& pageSwitcher = configuration.getPageSwitcher(pageSwitcherId);
        navigationPosition = pageSwitcher.getPosition();
        navigationAlignment = pageSwitcher.getAlignment();
        pageSwitcherPages = pageSwitcher.getPageIds();
    }
}

void NewPageData::clearReferences()
{
    if (backgroundImageId != UINT_MAX) {
        backgroundImageId = UINT_MAX;
        backgroundImageFile.clear();
        backgroundColour = Qt::white;
    }
    if (iconId != UINT_MAX) {
        iconId = UINT_MAX;
        iconFile.clear();
    }
    for (auto& [function, target] : navigationButtons)
        if (function == ButtonFunction_GO_TO_PAGE)
            target = UINT_MAX;
    pageSwitcherId = UINT_MAX;
    pageSwitcherPages.clear();
}

void NewPageData::assignNewPageId(unsigned int pageId)
{
    std::replace(pageSwitcherPages.begin(), pageSwitcherPages.end(), UINT_MAX, pageId);
}
