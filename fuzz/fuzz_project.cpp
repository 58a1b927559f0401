#include "velmora_objects/configuration.h"
#include "velmora_objects/streamer.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

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

} // namespace

// Input: a whole project file. A damaged file may only end in std::runtime_error, and what was
// read still saves. A file that loads saves to bytes that load again and save to the same bytes.
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
    project.getUsedSkins();
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
