#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace Velmora {
class Theme;
}

namespace TestUtil {

// An empty theme of the given name.
std::unique_ptr<Velmora::Theme> emptyTheme(const QString& name);

// A theme named "Blue" that uses every part of the theme document:
// - splash images: a 48x27 landscape one, no portrait one;
// - page backgrounds 0 (orientation 0), 1 (landscape) and 2 (portrait); icon 7 alone (ids 0 to
//   6 removed again); control image 0;
// - skin images 0 (used by the Button skin "Normal"), 1 (used by no skin) and 2 (used by the
//   Clock skin "Face");
// - default item properties of Button ("fontSize" 12, "gradient" with three stops, the first
//   one half transparent, "textStyle" Raised), of Label ("text" "Hello") and of item type 9,
//   which has no name;
// - skin sets: Button with "Normal" (the default; 250 ms OutBounce; backgroundImage 0,
//   borderWidth 3, fontBold true, gradientTopColour #123456, opacity 0.75) and "Pressed"
//   (easing 45, which has no name; backgroundImage_pressed without value); Slider with "Track"
//   (the default; trackBorderWidth 4); Clock with "Face" (no default skin; faceImage the
//   built-in resource address, hourHandImage naming image 99, which is not stored,
//   minuteHandImage naming skin image 2).
std::unique_ptr<Velmora::Theme> sampleTheme();

// Takes every row of the theme library that lists one of the files out of it.
void forgetThemes(const QStringList& paths);

// Bytes that stand for an image file; random bytes of a fixed seed do not compress.
QByteArray imageBytes(int size, quint32 seed);

} // namespace TestUtil
