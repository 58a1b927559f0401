#pragma once

#include "containers/sortvector_el.h"

#include <QByteArray>
#include <QString>

namespace Velmora {

class Streamer;

// One image of a theme's image stores: the bytes of the image file exactly as read (never
// decoded and re-encoded), their MD5 digest, by which the theme recognises a file it already
// holds, and for page backgrounds the orientation the image is meant for.
class ImageData : public sortvector_el
{
public:
    ImageData() = default;
    // Copies the id, the bytes, the digest and the orientation; the copy is in no store.
    ImageData(const ImageData& other) = default;
    ImageData& operator=(const ImageData& other) = delete;
    ~ImageData() override = default;

    ImageData* clone() const override { return new ImageData(*this); }

    // Stores the bytes and their digest.
    void setData(const QByteArray& bytes);
    // Reads the whole file into the bytes and computes their digest; a file that cannot be
    // opened leaves both empty. Nothing is reported: callers that need to know test the file.
    void loadFromFile(const QString& path);

    const QByteArray& getData() const { return data; }
    // The 16-byte MD5 digest of the bytes; empty only for a file that failed to open.
    const QByteArray& getMd5() const { return md5; }
    // For page backgrounds a Velmora::Orientation (0 any, 1 landscape, 2 portrait); 0 in the
    // other stores.
    int getOrientation() const { return orientation; }
    void setOrientation(int value) { orientation = value; }

    static QByteArray digestOf(const QByteArray& bytes);

    // The image's block in the project stream (theme_stream.cpp). Reading computes the digest
    // when the block holds none.
    void write(Streamer& streamer) const;
    void read(Streamer& streamer);

private:
    QByteArray data;
    QByteArray md5;
    int orientation = 0;
};

} // namespace Velmora
