#pragma once

class QXmlStreamReader;

namespace XmlShape {

// What a pass over an XML document's elements found.
enum Result
{
    Result_FINE,
    Result_TOO_DEEP,
    Result_TOO_MANY_ELEMENTS,
    Result_NOT_WELL_FORMED // the reader's error string and position say why
};

// Reads the document to its end, or to the first element nested deeper than maxDepth or
// beyond the first maxElements. Run on the stream before a schema or a document tree sees a
// file: both take memory, and a tree time, that grow with the count and the depth.
Result scan(QXmlStreamReader& reader, int maxDepth, int maxElements);

} // namespace XmlShape
