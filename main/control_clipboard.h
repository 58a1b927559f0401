#pragma once

#include "main/control_commands.h"
#include "velmora_objects/velmora_types.h"

#include <QByteArray>
#include <QRect>
#include <cstdint>
#include <optional>
#include <set>

namespace Velmora {
class Configuration;
}

// The clipboard form of copied controls, under the MIME type MimeType: a big-endian data
// stream (version Qt 4.8) holding the number of controls (32 bits), then per control its
// Velmora::ControlType (32 bits) and a byte array (32-bit length, then the bytes) with a
// complete project stream of that one control, and last the rectangle enclosing the copied
// controls (left, top, right, bottom, 32 bits each).
//
// The data may come from another program, or be cut short: decode() reads all of it before
// anything is pasted and hands on only entries that make a control.
class ControlClipboard
{
public:
    static const char* const MimeType;

    // What a paste takes from the clipboard: per control type, the streams of the controls
    // that read as controls of their type (in the order they were copied), and the rectangle
    // that enclosed the copied controls.
    struct Contents
    {
        ControlStreamRequest controls;
        QRect bounds;
        // Entries left out: a type outside 1 to 6, a stream that does not read, or a control
        // whose rectangle is outside the range of control geometry.
        std::size_t refused = 0;
        // Entries left out unread because the controls taken reached the most asked for.
        std::size_t beyondLimit = 0;

        std::size_t controlCount() const;
    };

    // The controls in ascending id order, which must exist in the project.
    static QByteArray encode(const Velmora::Configuration& project,
                             const std::set<unsigned int>& controlIds);
    // None when the bytes are not of this form: cut short, a count that promises more entries
    // than the bytes can hold, a byte array running past the end, no rectangle at the end or
    // one outside the range of control geometry. Otherwise the entries that make controls,
    // possibly none, at most maximumControls of them: the entries after those are skipped
    // without being read. Bytes there is not the memory to read throw std::bad_alloc, as does
    // isReadableControl.
    static std::optional<Contents> decode(const QByteArray& bytes,
                                          std::size_t maximumControls = SIZE_MAX);
    // Whether the stream opens as a project stream and reads into a control of the type.
    static bool isReadableControl(Velmora::ControlType type, const QByteArray& stream);
};
