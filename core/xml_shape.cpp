#include "core/xml_shape.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QXmlStreamReader>
#include <algorithm>
#include <array>
#include <cstring>

namespace XmlShape {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("XmlShape", text);
}

bool startsWith(const char* at, const char* end, const char* text)
{
    const size_t length = std::strlen(text);
    return size_t(end - at) >= length && std::memcmp(at, text, length) == 0;
}

// Where the text first starts at or after `at`; `end` when nowhere.
const char* find(const char* at, const char* end, const char* text)
{
    const void* found = ::memmem(at, size_t(end - at), text, std::strlen(text));
    return found ? static_cast<const char*>(found) : end;
}

// What a character means inside a tag.
enum Mark : unsigned char
{
    Mark_NONE,
    Mark_EQUALS,
    Mark_QUOTE,
    Mark_TAG_END // '>', or a '<' that ends a tag left open
};

const std::array<Mark, 256>& marks()
{
    static const std::array<Mark, 256> table = [] {
        std::array<Mark, 256> made{};
        made['='] = Mark_EQUALS;
        made['"'] = made['\''] = Mark_QUOTE;
        made['>'] = made['<'] = Mark_TAG_END;
        return made;
    }();
    return table;
}

} // namespace

Check::Check(const QByteArray& document, const Limits& limits) : m_limits(limits)
{
    if (countAttributes(document))
        read(document);
}

// A well-formed tag holds one '=' outside its quoted values per attribute, and an attribute
// declaration one quoted value per default it gives. Comments, character data and processing
// instructions hold no tags; every other '<' may begin one. Character data runs from the end of
// one tag to the next '<'. What is not well-formed is measured roughly, and left to the parser
// to report.
bool Check::countAttributes(const QByteArray& document)
{
    const char* const begin = document.constData();
    const char* const end = begin + document.size();
    // Eight bytes may write one character: anything longer cannot be within the limit.
    const qint64 valueBytes = 8 * qint64(m_limits.valueLength);
    const qint64 textBytes = 8 * qint64(m_limits.textLength);
    qint64 total = 0;
    // The defaults of all declarations might fall to one element.
    int declaredDefaults = 0;
    const auto refuseAt = [&](Result result, const char* at) {
        refuse(result);
        m_line = 1 + std::count(begin, at, '\n');
        const char* lineStart = at;
        while (lineStart > begin && lineStart[-1] != '\n')
            --lineStart;
        m_column = at - lineStart + 1;
        return false;
    };
    // Skips to the end of the markup that begins here, measuring what it holds as text when
    // asked to.
    const auto skipTo = [&](const char*& at, const char* terminator, bool text) {
        const char* const content = at;
        at = find(at, end, terminator);
        if (text && at - content > textBytes)
            return refuseAt(Result_TEXT_TOO_LONG, content);
        at = std::min(end, at + std::strlen(terminator));
        return true;
    };
    const char* text = begin;
    const char* at = begin;
    while ((at = static_cast<const char*>(std::memchr(at, '<', size_t(end - at))))) {
        if (at - text > textBytes)
            return refuseAt(Result_TEXT_TOO_LONG, text);
        const char* const tag = at++;
        // Comments and instructions hold no text of the document; a CDATA section does.
        const bool comment = startsWith(at, end, "!--");
        const bool cdata = startsWith(at, end, "![CDATA[");
        if (comment || cdata || startsWith(at, end, "?")) {
            at += comment ? 3 : cdata ? 8 : 1;
            if (!skipTo(at, comment ? "-->" : cdata ? "]]>" : "?>", cdata))
                return false;
            text = at;
            continue;
        }
        if (startsWith(at, end, "!ENTITY"))
            return refuseAt(Result_ENTITY_DECLARED, tag);
        const bool declaration = startsWith(at, end, "!ATTLIST");
        if (!declaration && (at == end || *at == '!' || *at == '/')) {
            const void* close = std::memchr(at, '>', size_t(end - at));
            text = close ? static_cast<const char*>(close) + 1 : end;
            continue;
        }
        int count = 0;
        while (at < end) {
            const Mark mark = marks()[static_cast<unsigned char>(*at)];
            if (mark == Mark_NONE) {
                ++at;
                continue;
            }
            if (mark == Mark_TAG_END)
                break;
            if (mark == Mark_QUOTE) {
                // The value, to its closing quote.
                const char quote = *at++;
                const char* const value = at;
                while (at < end && *at != quote)
                    ++at;
                if (at - value > valueBytes)
                    return refuseAt(Result_VALUE_TOO_LONG, tag);
                at += at < end;
                if (!declaration)
                    continue;
            } else if (++at, declaration) {
                continue;
            }
            if (++count > m_limits.attributesPerElement ||
                (declaration && ++declaredDefaults > m_limits.attributesPerElement))
                return refuseAt(Result_TOO_MANY_ATTRIBUTES_IN_ELEMENT, tag);
            if (++total > m_limits.attributes)
                return refuseAt(Result_TOO_MANY_ATTRIBUTES, tag);
        }
        text = at < end && *at == '>' ? at + 1 : at;
    }
    if (end - text > textBytes)
        return refuseAt(Result_TEXT_TOO_LONG, text);
    return true;
}

void Check::read(const QByteArray& document)
{
    QXmlStreamReader reader(document);
    reader.setNamespaceProcessing(false);
    int depth = 0;
    int elements = 0;
    qint64 attributes = 0;
    while (!reader.atEnd()) {
        Result result = Result_FINE;
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // Declarations in a document that is not UTF-8 escape the first pass.
            if (!reader.entityDeclarations().isEmpty())
                result = Result_ENTITY_DECLARED;
            break;
        case QXmlStreamReader::StartElement: {
            // Entities may repeat elements, and declarations add attributes: what the parser
            // gives is counted again.
            const QXmlStreamAttributes given = reader.attributes();
            const qsizetype count = given.size();
            attributes += count;
            if (++depth > m_limits.depth)
                result = Result_TOO_DEEP;
            else if (++elements > m_limits.elements)
                result = Result_TOO_MANY_ELEMENTS;
            else if (count > m_limits.attributesPerElement)
                result = Result_TOO_MANY_ATTRIBUTES_IN_ELEMENT;
            else if (attributes > m_limits.attributes)
                result = Result_TOO_MANY_ATTRIBUTES;
            for (const QXmlStreamAttribute& attribute : given) {
                if (result == Result_FINE && attribute.value().size() > m_limits.valueLength)
                    result = Result_VALUE_TOO_LONG;
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            if (reader.text().size() > m_limits.textLength)
                result = Result_TEXT_TOO_LONG;
            break;
        default:
            break;
        }
        if (result != Result_FINE) {
            refuse(result);
            m_line = reader.lineNumber();
            m_column = reader.columnNumber();
            return;
        }
    }
    if (reader.hasError()) {
        m_result = Result_NOT_WELL_FORMED;
        m_message = reader.errorString();
        m_line = reader.lineNumber();
        m_column = reader.columnNumber();
    }
}

void Check::refuse(Result result)
{
    m_result = result;
    switch (result) {
    case Result_TOO_DEEP:
        m_message = tr("Elements are nested deeper than %1 levels").arg(m_limits.depth);
        break;
    case Result_TOO_MANY_ELEMENTS:
        m_message = tr("The document has more than %1 elements").arg(m_limits.elements);
        break;
    case Result_TOO_MANY_ATTRIBUTES_IN_ELEMENT:
        m_message = tr("An element has more than %1 attributes").arg(m_limits.attributesPerElement);
        break;
    case Result_TOO_MANY_ATTRIBUTES:
        m_message = tr("The document has more than %1 attributes").arg(m_limits.attributes);
        break;
    case Result_VALUE_TOO_LONG:
        m_message = tr("An attribute value is longer than %1 characters").arg(m_limits.valueLength);
        break;
    case Result_TEXT_TOO_LONG:
        m_message = tr("A text is longer than %1 characters").arg(m_limits.textLength);
        break;
    case Result_ENTITY_DECLARED:
        m_message = tr("The document declares entities, which are not accepted");
        break;
    case Result_FINE:
    case Result_NOT_WELL_FORMED:
        break;
    }
}

} // namespace XmlShape
