#pragma once

#include "velmora_objects/streamer.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <boost/logic/tribool.hpp>

// Small readers and writers of the plain fields of the model's stream blocks. Integers keep
// the widths of the file format; a byte is always taken as unsigned.
namespace Velmora {
namespace StreamFields {

inline quint8 readByte(Streamer& s)
{
    quint8 value = 0;
    s.stream() >> value;
    return value;
}

inline qint32 readInt(Streamer& s)
{
    qint32 value = 0;
    s.stream() >> value;
    return value;
}

inline double readDouble(Streamer& s)
{
    double value = 0;
    s.stream() >> value;
    return value;
}

inline bool readBool(Streamer& s)
{
    bool value = false;
    s >> value;
    return value;
}

inline QString readString(Streamer& s)
{
    QString value;
    s.stream() >> value;
    return value;
}

inline QColor readColour(Streamer& s)
{
    QColor value;
    s.stream() >> value;
    return value;
}

inline QRect readRect(Streamer& s)
{
    QRect value;
    s.stream() >> value;
    return value;
}

// The three-state word-wrap flag travels as one byte: 0 false, 1 true, 2 indeterminate.
inline quint8 triboolByte(boost::logic::tribool flag)
{
    if (boost::logic::indeterminate(flag))
        return 2;
    return flag ? 1 : 0;
}

// Sets the flag from its byte; any other byte leaves the flag as it was.
inline void setTriboolFromByte(boost::logic::tribool& flag, quint8 byte)
{
    switch (byte) {
    case 0:
        flag = false;
        break;
    case 1:
        flag = true;
        break;
    case 2:
        flag = boost::logic::indeterminate;
        break;
    default:
        break;
    }
}

} // namespace StreamFields
} // namespace Velmora
