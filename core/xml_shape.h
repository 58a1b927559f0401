#pragma once

#include <QString>
#include <QtGlobal>

class QByteArray;

// A check of an XML document's shape, run before a schema, a document tree or an element
// reader sees a file: all of them take memory, and some time, that grow with the nesting, the
// number of elements and attributes and the length of values and texts, and Qt's parsers take
// time that grows with the square of the attributes of one element. Entity declarations are
// refused outright: no document of this program needs one, and their expansion multiplies what
// a small file holds.
namespace XmlShape {

// What the check found.
enum Result
{
    Result_FINE,
    Result_TOO_DEEP,
    Result_TOO_MANY_ELEMENTS,
    Result_TOO_MANY_ATTRIBUTES_IN_ELEMENT,
    Result_TOO_MANY_ATTRIBUTES,
    Result_VALUE_TOO_LONG, // an attribute value
    Result_TEXT_TOO_LONG,  // a run of character data, or a CDATA section
    Result_ENTITY_DECLARED,
    Result_NOT_WELL_FORMED // message() holds the parser's error
};

// The bounds of one kind of document. The document element is at depth 1. Lengths count the
// characters that a parser gives; the written form of a character takes up to eight bytes (a
// character reference, an escape such as "&quot;"), and a written form longer than that for
// the characters allowed is refused unread.
struct Limits
{
    int depth;
    int elements;
    int attributesPerElement;
    int attributes;
    int valueLength = 64 * 1024;
    int textLength = 64 * 1024;
};

class Check
{
public:
    // Checks the document. First its bytes are read without a parser: an entity declaration
    // is refused there, the attributes of every tag are counted (also the default values that
    // attribute declarations give) and the written length of values and texts is measured, so
    // that an element with very many attributes or a value of many megabytes is refused before
    // any parser reads it. Then Qt's stream reader reads the document to its end, or to the
    // first element, value or text beyond the limits.
    Check(const QByteArray& document, const Limits& limits);

    Result result() const { return m_result; }
    bool fine() const { return m_result == Result_FINE; }
    // What is wrong, in words for the user; empty when the document is fine.
    const QString& message() const { return m_message; }
    // Where the check stopped, counted from 1 (0 when it did not stop).
    qint64 line() const { return m_line; }
    qint64 column() const { return m_column; }

private:
    bool countAttributes(const QByteArray& document);
    void read(const QByteArray& document);
    void refuse(Result result);

    Limits m_limits;
    Result m_result = Result_FINE;
    QString m_message;
    qint64 m_line = 0;
    qint64 m_column = 0;
};

} // namespace XmlShape
