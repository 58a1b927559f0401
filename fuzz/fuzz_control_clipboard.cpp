#include "main/control_clipboard.h"
#include "main/control_commands.h"
#include "velmora_objects/control.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/streamer.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// The rectangle of the control the stream holds; a null rectangle when it does not read.
QRect geometryOf(Velmora::ControlType type, QByteArray stream)
{
    std::unique_ptr<Velmora::Control> control(ControlFactory::get(type)->create({}));
    Velmora::Streamer streamer;
    streamer.open(Velmora::Streamer::Mode_READ, &stream);
    control->read(streamer);
    return control->getGeometry();
}

} // namespace

// Input: the bytes another program (or a copy cut short) left on the clipboard under the
// controls' MIME type. Decoding never fails otherwise than by refusing the data, and every
// entry it hands on is one the paste command takes: the command never meets a bad entry. The
// controls it hands on, and the rectangle that places them, lie in the range of control
// geometry; no more controls are handed on than asked for, and the others are counted.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<ControlClipboard::Contents> contents = ControlClipboard::decode(bytes);
    if (!contents)
        return 0;
    if (PasteControlsCommand::validEntries(contents->controls) != contents->controls ||
        !Velmora::ControlGeometry::inRange(contents->bounds))
        std::abort();
    for (const auto& [type, streams] : contents->controls)
        for (const QByteArray& stream : streams)
            if (!Velmora::ControlGeometry::inRange(geometryOf(type, stream)))
                std::abort();
    const std::optional<ControlClipboard::Contents> one = ControlClipboard::decode(bytes, 1);
    if (!one || one->controlCount() != std::min<std::size_t>(contents->controlCount(), 1) ||
        one->controlCount() + one->beyondLimit + one->refused < contents->controlCount())
        std::abort();
    return 0;
}
