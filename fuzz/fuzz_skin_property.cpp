#include "velmora_objects/skin_property.h"
#include "velmora_objects/streamer.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>

// Input: one byte with the property type, then the property's block. A broken block may only
// end in the stream's std::runtime_error.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    std::unique_ptr<Velmora::SkinProperty> property(
        Velmora::SkinProperty::create(Velmora::SkinPropertyType(data[0])));
    if (!property)
        return 0;
    QByteArray bytes;
    {
        Velmora::Streamer header;
        header.open(Velmora::Streamer::Mode_WRITE, &bytes);
    }
    bytes.append(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        Velmora::Streamer stream;
        stream.open(Velmora::Streamer::Mode_READ, &bytes);
        property->read(stream);
        // What was read writes back.
        QByteArray again;
        Velmora::Streamer out;
        out.open(Velmora::Streamer::Mode_WRITE, &again);
        property->write(out);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
