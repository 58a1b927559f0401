#include "main/control_clipboard.h"
#include "main/control_commands.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Input: the bytes another program (or a copy cut short) left on the clipboard under the
// controls' MIME type. Decoding never fails otherwise than by refusing the data, and every
// entry it hands on is one the paste command takes: the command never meets a bad entry.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<ControlClipboard::Contents> contents = ControlClipboard::decode(bytes);
    if (!contents)
        return 0;
    if (PasteControlsCommand::validEntries(contents->controls) != contents->controls)
        std::abort();
    return 0;
}
