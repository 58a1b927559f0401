#pragma once

#include <QByteArray>
#include <QString>

// The bounds that a theme bundle sets on one image (ThemeReader::limits(): the sides of a
// picture and the bytes of a member), applied where an image enters a theme and before a bundle
// is written, so that no theme holds an image that its own bundle could not carry.
namespace ThemeImageLimits {

// What is wrong with the image, in words that name the bound ("5000 by 5000 pixels, larger
// than the 4096 by 4096 pixels a theme image may have"); empty when it is within the bounds.
// Only a picture's header is read; bytes that are no picture have no sides to check.
QString fault(const QByteArray& bytes);

// What keeps a file from becoming a theme image before its picture is decoded.
struct FileFault
{
    // The path names something other than a regular file (a folder, a FIFO, a socket, a device,
    // a loop of links), which is neither opened nor read: the regular-file rule's words.
    QString refusal;
    // The file breaks a bound: the words of fault(). A file larger than the bound allows is not
    // read.
    QString bound;

    bool isEmpty() const { return refusal.isEmpty() && bound.isEmpty(); }
};
// Both empty for a file within the bounds, and for one that does not exist or may not be read
// (its bytes, none, decode as no picture).
FileFault fileFault(const QString& path);

} // namespace ThemeImageLimits
