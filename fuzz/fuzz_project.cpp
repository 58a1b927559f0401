#include "velmora_objects/configuration.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include <QByteArray>
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

} // namespace

// Input: a whole project file. A damaged file may only end in std::runtime_error, and what was
// read still saves and can be used. A file that loads saves to bytes that load again and save
// to the same bytes.
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
