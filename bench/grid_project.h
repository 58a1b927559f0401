#pragma once

#include "velmora_objects/configuration.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/streamer.h"

#include "mixed_controls.h"

#include <QRect>
#include <QString>
#include <climits>
#include <functional>
#include <vector>

// The projects the benchmarks open: pages of mixed controls in a grid, every page under one
// page switcher at the bottom that lists the first few pages.
struct GridProject
{
    int pages = 1;
    int controlsPerPage = 1;
    int columns = 1;
    // A control's cell; the control leaves a 2-pixel gap to its neighbours.
    QSize cell;
    int switcherPages = 4;
    bool withDigitalClock = true;
    // Called for each page after it is named, and for each control after it is placed, for
    // what a benchmark adds of its own.
    std::function<void(Velmora::Page& page, int index)> preparePage;
    std::function<void(Velmora::Control& control)> prepareControl;

    // Adds the page switcher and the pages to the (empty) project; the first page is the
    // default one.
    void build(Velmora::Configuration& project) const
    {
        using namespace Velmora;
        smart_ptr<PageSwitcher> bar(new PageSwitcher);
        bar->setPosition(NavigationPosition_BOTTOM);
        const unsigned int barId = project.insertPageSwitcher(bar, UINT_MAX);
        std::vector<unsigned int> barPages;
        for (int p = 0; p < pages; ++p) {
            const unsigned int pageId = project.addPage();
            Page& page = project.getPage(pageId);
            page.setName(QString("Page %1").arg(p + 1));
            if (preparePage)
                preparePage(page, p);
            page.setPageSwitcherId(barId);
            project.getPageSwitcher(barId).incrementUsage();
            if (p < switcherPages)
                barPages.push_back(pageId);
            for (int i = 0; i < controlsPerPage; ++i) {
                Control* control = newMixedControl(i, withDigitalClock);
                control->setPageId(pageId);
                control->setGeometry(QRect((i % columns) * cell.width(),
                                           (i / columns) * cell.height(), cell.width() - 2,
                                           cell.height() - 2));
                if (prepareControl)
                    prepareControl(*control);
                control->setCaption(QString("Control %1").arg(i));
                smart_ptr<Control> owned(control);
                page.getControlIds().insert(project.insertControl(owned, UINT_MAX));
            }
        }
        project.getPageSwitcher(barId).setPageIds(barPages);
        project.setDefaultPageId(0);
    }
};

// Writes the project to the path as a project file.
inline void writeProjectFile(const Velmora::Configuration& project, const QString& path)
{
    Velmora::Streamer streamer;
    streamer.open(Velmora::Streamer::Mode_WRITE, path);
    project.write(streamer, false);
    streamer.close();
}
