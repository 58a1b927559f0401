#pragma once

#include "velmora_objects/streamer.h"

#include <QByteArray>
#include <functional>

// Project streams held in memory, for the tests of the model's stream blocks.
namespace TestUtil {

// The bytes of a stream (header included) into which write put its blocks.
inline QByteArray streamed(const std::function<void(Velmora::Streamer&)>& write)
{
    QByteArray bytes;
    {
        Velmora::Streamer s;
        s.open(Velmora::Streamer::Mode_WRITE, &bytes);
        write(s);
    }
    return bytes;
}

// The bytes after the stream header.
inline QByteArray body(const QByteArray& bytes)
{
    return bytes.mid(12);
}

// A stream of the current format version holding the body.
inline QByteArray withHeader(const QByteArray& body)
{
    return streamed([](Velmora::Streamer&) {}) + body;
}

// Opens the bytes for reading and lets read take its blocks from them.
inline void readStream(QByteArray bytes, const std::function<void(Velmora::Streamer&)>& read)
{
    Velmora::Streamer s;
    s.open(Velmora::Streamer::Mode_READ, &bytes);
    read(s);
}

} // namespace TestUtil
