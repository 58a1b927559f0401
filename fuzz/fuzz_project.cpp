#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include <QByteArray>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

QByteArray saved(const Velmora::Configuration& project)
{
    QByteArray bytes;
    Velmora::Streamer stream;
    stream.open(Velmora::Streamer::Mode_WRITE, &bytes);
    project.write(stream, false);
    return bytes;
}

void load(Velmora::Configuration& project, QByteArray bytes)
{
    project.clear();
    Velmora::Streamer stream;
    stream.open(Velmora::Streamer::Mode_READ, &bytes);
    project.read(stream);
}

// What the editor may do with whatever a read left, loaded or not: look up every default skin,
// and remove each control and put it back (as deleting it and undoing does).
void useAsTheEditorDoes(Velmora::Configuration& project)
{
    project.getUsedSkins();
    if (const Velmora::Theme* theme = project.getTheme()) {
        for (int itemType = 0; itemType <= 8; ++itemType)
            theme->getDefaultSkin(Velmora::ThemedItemType(itemType));
    }
    std::vector<unsigned int> ids;
    for (const Velmora::Control& control : project.getControls())
        ids.push_back(control.getId());
    for (unsigned int id : ids) {
        smart_ptr<Velmora::Control> control = project.removeControl(id);
        project.insertControl(control, id);
    }
}

// A project that loads holds only what the editor can work on without a fatal lookup: every
// control's rectangle in the range of control geometry, and every reference between its
// objects resolved (theme image ids aside: they may name images the theme lacks).
bool consistent(const Velmora::Configuration& project)
{
    using namespace Velmora;
    const auto& pages = project.getPages();
    const auto& controls = project.getControls();
    const auto& switchers = project.getPageSwitchers();
    const auto pageOrNone = [&](unsigned int id) { return id == UINT_MAX || pages.exists(id); };
    for (const Control& control : controls) {
        if (!ControlGeometry::inRange(control.getGeometry()) ||
            !pages.exists(control.getPageId()) ||
            !pages[control.getPageId()].getControlIds().count(control.getId()))
            return false;
        const auto* button = dynamic_cast<const Button*>(&control);
        if (button && button->getFunction() == ButtonFunction_GO_TO_PAGE &&
            !pageOrNone(button->getFunctionPage()))
            return false;
    }
    for (const Page& page : pages) {
        for (unsigned int id : page.getControlIds())
            if (!controls.exists(id) || controls[id].getPageId() != page.getId())
                return false;
        if (page.getPageSwitcherId() != UINT_MAX && !switchers.exists(page.getPageSwitcherId()))
            return false;
    }
    for (const PageSwitcher& switcher : switchers)
        for (unsigned int id : switcher.getPageIds())
            if (!pages.exists(id))
                return false;
    for (const auto& entry : project.getIRSlots().left)
        if (!controls.exists(entry.second.controlId) ||
            controls[entry.second.controlId].getIRSlotId(entry.second.action) != entry.first)
            return false;
    return pageOrNone(project.getDefaultPageId());
}

} // namespace

// Input: a whole project file. A damaged file may only end in std::runtime_error, and what was
// read still saves and can be used. A file that loads is consistent (see above) and saves to
// bytes that load again and save to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Velmora::Configuration project;
    bool loaded = false;
    try {
        load(project, bytes);
        loaded = true;
    } catch (const std::runtime_error&) {
    }
    useAsTheEditorDoes(project);
    const QByteArray first = saved(project);
    if (!loaded)
        return 0;
    if (!consistent(project))
        std::abort();
    Velmora::Configuration again;
    try {
        load(again, first);
    } catch (const std::runtime_error&) {
        std::abort(); // a saved project must load
    }
    if (saved(again) != first)
        std::abort(); // and save to the same bytes
    return 0;
}
