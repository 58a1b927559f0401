#include "core/xml_characters.h"

#include <algorithm>

namespace XmlCharacters {

qsizetype unstorableAt(QStringView text, qsizetype from)
{
    for (qsizetype i = std::max<qsizetype>(from, 0); i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        const bool storable = u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && u < 0xD800) ||
                              (u >= 0xE000 && u <= 0xFFFD);
        if (!storable)
            return i;
    }
    return -1;
}

QString codePointName(char16_t unit)
{
    return QStringLiteral("U+") +
           QString::number(unit, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace XmlCharacters
