#pragma once

#include <QString>
#include <QStringView>

// The characters an XML 1.0 document can hold: tab, line feed, carriage return, U+0020 to
// U+D7FF, U+E000 to U+FFFD and, as a surrogate pair, U+10000 to U+10FFFF. Qt's stream writer
// fails on any other (the other control characters, U+FFFE, U+FFFF, a lone surrogate), so a
// text headed for a document is checked, or cleaned, first.
namespace XmlCharacters {

// The index of the first character at or after from that a document cannot hold (a lone
// surrogate counts as one); -1 when there is none.
qsizetype unstorableAt(QStringView text, qsizetype from = 0);

// A UTF-16 code unit as a message names it to the user: "U+" and at least four upper-case hex
// digits ("U+0001", "U+FFFE").
QString codePointName(char16_t unit);

} // namespace XmlCharacters
