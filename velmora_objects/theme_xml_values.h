#pragma once

#include "velmora_objects/velmora_types.h"

#include <QString>

class Gradient;
class QXmlStreamWriter;

// The namespace URI of theme XML and the name of its root element. A theme document is
// recognised only by a root element of this name in this namespace.
extern const QString VELMORA_THEME_NAMESPACE;
extern const QString VELMORA_THEME_TAG;

namespace Velmora {

// Item-type names as they travel in theme XML: "Button", "Slider", "Colour Picker", "Keypad",
// "Page Switcher", "Label", "Clock". Any other number gives an empty string.
QString themedItemTypeName(int itemType);
// The inverse, exact and case-sensitive; any other text gives 0.
ThemedItemType themedItemTypeFromName(const QString& name);

// Text-style names: "Normal", "Outline", "Raised", "Sunken". Any other number gives an empty
// string.
QString textStyleName(int textStyle);
// The inverse, exact and case-sensitive; any other text gives TextStyleCount (one past
// Sunken), which names no style.
constexpr int TextStyleCount = 4;
TextStyle textStyleFromName(const QString& name);

// An element "TextStyle" whose text is the style's name; a style without a name is written
// as "Normal".
void writeTextStyleElement(QXmlStreamWriter& writer, TextStyle textStyle);
// An element "Gradient" with one "GradientStop" per stop, in stop order, each with the
// attributes "Position" (6 significant digits, shortest form) and "Colour" ("#rrggbb", lower
// case, no alpha). The gradient's name is not written.
void writeGradientElement(QXmlStreamWriter& writer, const Gradient& gradient);

} // namespace Velmora
