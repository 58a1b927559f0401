#include "core/xml_shape.h"

#include <QXmlStreamReader>

namespace XmlShape {

Result scan(QXmlStreamReader& reader, int maxDepth, int maxElements)
{
    int depth = 0;
    int elements = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > maxDepth)
                return Result_TOO_DEEP;
            if (++elements > maxElements)
                return Result_TOO_MANY_ELEMENTS;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return reader.hasError() ? Result_NOT_WELL_FORMED : Result_FINE;
}

} // namespace XmlShape
