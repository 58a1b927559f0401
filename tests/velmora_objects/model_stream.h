#pragma once

#include "common/stream_bytes.h"
#include "velmora_objects/control.h"

// Writing model objects into a project stream held in memory and reading them back.
namespace ModelStream {

using TestUtil::body;
using TestUtil::readStream;
using TestUtil::streamed;
using TestUtil::withHeader;

inline QByteArray controlBytes(const Velmora::Control& control)
{
    return streamed([&](Velmora::Streamer& s) { control.write(s); });
}

// Reads a control block into the control and checks that nothing is left over.
inline bool readControl(const QByteArray& bytes, Velmora::Control& control)
{
    bool atEnd = false;
    readStream(bytes, [&](Velmora::Streamer& s) {
        control.read(s);
        atEnd = s.stream().atEnd();
    });
    return atEnd;
}

// The block of a page or page switcher (any object streamed through operator<<).
template <class T> QByteArray objectBytes(const T& object)
{
    return streamed([&](Velmora::Streamer& s) { s << object; });
}

// Reads the object's block from the bytes; true when nothing is left over.
template <class T> bool readObject(const QByteArray& bytes, T& object)
{
    bool atEnd = false;
    readStream(bytes, [&](Velmora::Streamer& s) {
        s >> object;
        atEnd = s.stream().atEnd();
    });
    return atEnd;
}

// The control's block read into a new control of its kind and written again: equal to the
// first block when every field survives the round trip (and is away from its default).
template <class T> QByteArray roundTripped(const T& control)
{
    T fresh;
    readControl(controlBytes(control), fresh);
    return controlBytes(fresh);
}

} // namespace ModelStream
