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
// The same for a file, which is not read when it is larger than the bound allows; empty too
// for a file that cannot be read.
QString fileFault(const QString& path);

} // namespace ThemeImageLimits
