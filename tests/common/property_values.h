#pragma once

#include "common/gradients.h"
#include "velmora_objects/button.h"
#include "velmora_objects/page.h"
#include "velmora_objects/slider.h"
#include "widgets/property_id_table.h"

namespace TestUtil {

// A value of the type the property editor's row edits, one of a few by n; a page is pageId.
// n = 5 gives values new items do not hold (an IR slot of the row's own, 0 to 15).
inline QVariant propertyValue(const PropertyRow& row, int n, unsigned int pageId)
{
    using namespace Velmora;
    const QString text = QStringLiteral("Pump%1").arg(n % 3);
    const QVariant image = n % 2 ? 3u : UINT_MAX;
    const Gradient gradient = n % 2 ? makeGradient("g", {{0, Qt::red}}) : Gradient();
    // In the order of PropertyClass.
    // clang-format off
    const QVariant values[] = {QVariant(), text, 1 + n % 100, (n % 10) / 10.0 + 0.2, n % 2 == 1,
        QColor::fromRgb(QRgb(n * 0x10305)), QVariant::fromValue(gradient), image, image, image,
        (row.id + n) % 17, pageId, QVariant::fromValue(Scaling(n % 7)),
        QVariant::fromValue(Button::Actuation(n % 2)), QVariant::fromValue(ButtonFunction(n % 9)),
        QVariant::fromValue(PageTransition(n % 3)), QVariant::fromValue(Slider::Unit(1 + n % 2)),
        QVariant::fromValue(Alignment(n % 4)), n % 2 == 1, text};
    // clang-format on
    return values[int(row.type)];
}

} // namespace TestUtil
