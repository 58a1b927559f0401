#pragma once

#include "appengine/selection_manager.h"
#include "main/new_page_data.h"
#include "main/new_project_data.h"
#include "main/velmora_document.h"
#include "velmora_objects/control.h"
#include "velmora_objects/image_data.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/theme.h"

#include <QCoreApplication>
#include <QRect>
#include <QString>
#include <algorithm>
#include <string>
#include <vector>

// The project every benchmark of the editor's speed opens, as a user's project looks: pages of
// 30 controls of all six kinds mixed (a grid of 6 x 5 above the navigation bar), the built-in
// theme Midnight with its page backgrounds and icons, and on every page a page switcher of its
// own at the bottom that lists the 10 pages around it. Controls take the theme's defaults and
// keys as the editor gives them.
namespace RealisticProject {

constexpr int Pages = 50;
constexpr int ControlsPerPage = 30;
constexpr int SwitcherPages = 10;
constexpr int Columns = 6;
constexpr int Rows = 5;
// The navigation bar at the bottom is 42 pixels high.
constexpr int GridHeight = 272 - 42;

// What the benchmarks print as the project they used.
inline std::string description(int pages = Pages)
{
    return "realistic project: " + std::to_string(pages) + " pages x " +
           std::to_string(ControlsPerPage) +
           " controls of the six kinds mixed, theme Midnight, a page switcher per page listing " +
           std::to_string(SwitcherPages) + " pages";
}

inline QString midnightTheme()
{
    return QCoreApplication::applicationDirPath() + "/../Resources/theme/Midnight.qvt";
}

// The control type of the index-th control of a page: the six kinds in turn.
inline Velmora::ControlType typeOf(int index)
{
    return Velmora::ControlType(1 + index % 6);
}

// The place of the index-th control in the grid, with a 2-pixel gap to its neighbours.
inline QRect cellOf(int index)
{
    const int width = 480 / Columns;
    const int height = GridHeight / Rows;
    return QRect((index % Columns) * width + 1, (index / Columns) * height + 1, width - 2,
                 height - 2);
}

// Fills the emptied document with the project and writes it to the path.
inline void build(VelmoraDocument& document, const QString& path, int pages = Pages)
{
    using namespace Velmora;
    NewProjectData data;
    data.name = "Realistic";
    data.path = path;
    data.themeFile = midnightTheme();
    std::vector<unsigned int> pageIds{document.createProject(data)};
    for (int p = 1; p < pages; ++p) {
        NewPageData next;
        pageIds.push_back(document.addPage(next));
    }
    const std::vector<unsigned int> backgrounds = [&] {
        std::vector<unsigned int> ids;
        for (const ImageData& image : document.getTheme()->getPageBackgroundImages())
            if (image.getOrientation() != Orientation_PORTRAIT)
                ids.push_back(image.getId());
        return ids;
    }();
    std::vector<unsigned int> icons;
    for (const ImageData& image : document.getTheme()->getIcons())
        icons.push_back(image.getId());

    for (int p = 0; p < pages; ++p) {
        Page& page = document.getPage(pageIds[p]);
        if (!icons.empty())
            page.setIconId(icons[p % icons.size()]);
        if (!backgrounds.empty()) {
            page.setBackgroundImageId(backgrounds[p % backgrounds.size()]);
            page.setBackgroundImageScaling(Scaling_STRETCH);
        }
        // The ten pages around this one, clamped to the project.
        const int first = std::clamp(p - SwitcherPages / 2, 0, std::max(0, pages - SwitcherPages));
        std::vector<unsigned int> listed;
        for (int i = first; i < std::min(pages, first + SwitcherPages); ++i)
            listed.push_back(pageIds[i]);
        const unsigned int switcher =
            document.addPageSwitcher(NavigationPosition_BOTTOM, Alignment_START, listed);
        document.getPageSwitcher(switcher).setUsage(1);
        page.setPageSwitcherId(switcher);
        for (int i = 0; i < ControlsPerPage; ++i) {
            const unsigned int controlId = document.addControl(typeOf(i));
            Control& control = document.getControl(controlId);
            control.setPageId(page.getId());
            control.setGeometry(cellOf(i));
            control.setCaption(QString("Control %1").arg(i + 1));
            page.getControlIds().insert(controlId);
        }
    }
    document.save(false);
}

// Writes the project file, with a document of its own.
inline void write(const QString& path, int pages = Pages)
{
    SelectionManager selection;
    VelmoraDocument document(selection);
    build(document, path, pages);
    document.clear();
}

} // namespace RealisticProject
