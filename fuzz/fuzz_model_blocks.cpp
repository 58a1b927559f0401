#include "velmora_objects/button.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/streamer.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>

using namespace Velmora;

namespace {

// Reads one block of the kind from the stream bytes, uses what was read the way the editor
// does, and returns the block written again (header included).
QByteArray roundTrip(int kind, QByteArray bytes)
{
    QByteArray out;
    Streamer reader;
    reader.open(Streamer::Mode_READ, &bytes);
    Streamer writer;
    writer.open(Streamer::Mode_WRITE, &out);
    if (kind == 0) {
        Page page;
        reader >> page;
        writer << page;
    } else if (kind == 1) {
        PageSwitcher switcher;
        reader >> switcher;
        PageSwitcher::maxPages(switcher.getPosition(), switcher.getPosition() % 3);
        PageSwitcher copy(switcher);
        if (!copy.getPageIds().empty())
            copy.removePage(copy.getPageIds().back());
        writer << switcher;
    } else {
        const ControlType type = ControlType(kind - 1);
        std::unique_ptr<Control> control(ControlFactory::get(type)->create({}));
        control->read(reader);
        for (Action action : {NoAction, Action_CLICK, Action_INCREMENT, Action_DECREMENT})
            control->getIRSlotId(action);
        std::unique_ptr<Control> clone(control->clone());
        if (auto* button = dynamic_cast<Button*>(clone.get())) {
            button->getFunctionPage();
            button->getFunctionLevel();
            button->setFunction(ButtonFunction(button->getFunction() ^ 1));
        }
        if (auto* slider = dynamic_cast<Slider*>(clone.get()))
            slider->setUnit(slider->getUnit());
        control->write(writer);
    }
    return out;
}

} // namespace

// The first byte picks the block: 0 page, 1 page switcher, 2 to 7 the control types 1 to 6.
// The rest is a project stream (header, then the block). Whatever is read must be written
// and read again to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int kind = data[0] % 8;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), int(size - 1));
    QByteArray first;
    try {
        first = roundTrip(kind, bytes);
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (roundTrip(kind, first) != first)
        std::abort();
    return 0;
}
