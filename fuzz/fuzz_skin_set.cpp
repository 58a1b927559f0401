#include "velmora_objects/skin_set.h"
#include "velmora_objects/streamer.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

// Input: a skin set's block. A broken block may only end in the stream's std::runtime_error;
// whatever was read writes back.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes;
    {
        Velmora::Streamer header;
        header.open(Velmora::Streamer::Mode_WRITE, &bytes);
    }
    bytes.append(reinterpret_cast<const char*>(data), qsizetype(size));
    Velmora::SkinSet set(Velmora::ThemedItemType(0));
    try {
        Velmora::Streamer stream;
        stream.open(Velmora::Streamer::Mode_READ, &bytes);
        set.read(stream);
    } catch (const std::runtime_error&) {
    }
    QByteArray again;
    Velmora::Streamer out;
    out.open(Velmora::Streamer::Mode_WRITE, &again);
    set.write(out);
    Velmora::SkinSet copy(set);
    return 0;
}
