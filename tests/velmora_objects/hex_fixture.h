#pragma once

#include "common/helpers.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

// Byte fixtures written by hand as annotated hex text: groups of hex digits, raw ASCII between
// double quotes (the tags of the project stream) and comments from '#' to the end of the line.
namespace HexFixture {

inline QByteArray parse(const QByteArray& text)
{
    QByteArray bytes;
    QByteArray digits;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '#') {
            while (i < text.size() && text.at(i) != '\n')
                ++i;
        } else if (c == '"') {
            const int end = text.indexOf('"', i + 1);
            if (end < 0)
                throw std::invalid_argument("unterminated quote in fixture");
            bytes += QByteArray::fromHex(digits);
            digits.clear();
            bytes += text.mid(i + 1, end - i - 1);
            i = end;
        } else if (QByteArray("0123456789abcdefABCDEF").contains(c)) {
            digits += c;
        } else if (c != ' ' && c != '\n' && c != '\t' && c != '\r') {
            throw std::invalid_argument(std::string("stray character in fixture: ") + c);
        }
        if (c == ' ' || c == '\n' || c == '\t') {
            if (digits.size() % 2 != 0)
                throw std::invalid_argument("odd number of hex digits in fixture");
        }
    }
    if (digits.size() % 2 != 0)
        throw std::invalid_argument("odd number of hex digits in fixture");
    return bytes + QByteArray::fromHex(digits);
}

// The bytes of tests/data/<name>.hex, where a name without a folder is one of objects/.
inline QByteArray load(const QString& name)
{
    const QString path = name.contains('/') ? name : "objects/" + name;
    const QByteArray text = TestUtil::readFile(TestUtil::dataPath(path + ".hex"));
    if (text.isEmpty())
        throw std::invalid_argument("missing fixture " + name.toStdString());
    return parse(text);
}

// The same bytes with another format version in the stream header. A fixture stands for every
// version that has its layout, so that tests can read it at both ends of that range.
inline QByteArray load(const QString& name, quint32 version)
{
    QByteArray bytes = load(name);
    for (int i = 0; i < 4; ++i)
        bytes[8 + i] = char((version >> (24 - 8 * i)) & 0xff);
    return bytes;
}

} // namespace HexFixture
