#include "widgets/theme_editor/theme_name_validator.h"

#include "core/xml_characters.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

ThemeNameValidator::ThemeNameValidator(QLineEdit* edit)
    : QValidator(edit), m_edit(edit), m_taken(edit->text())
{
    edit->setValidator(this);
}

void ThemeNameValidator::setStoredText(const QString& text)
{
    m_taken = text;
    m_edit->setText(text);
}

QValidator::State ThemeNameValidator::validate(QString& input, int& position) const
{
    // What the edit changed: the input less the longest start and end it shares with the text
    // taken before.
    const qsizetype shorter = std::min(input.size(), m_taken.size());
    qsizetype begin = 0;
    while (begin < shorter && input.at(begin) == m_taken.at(begin))
        ++begin;
    qsizetype kept = 0;
    while (kept < shorter - begin &&
           input.at(input.size() - 1 - kept) == m_taken.at(m_taken.size() - 1 - kept))
        ++kept;
    const qsizetype end = input.size() - kept;

    for (qsizetype at = XmlCharacters::unstorableAt(input); at >= 0;
         at = XmlCharacters::unstorableAt(input, at + 1)) {
        if (at < begin || at >= end)
            continue;
        // Told once the edit is over: a message box shown from inside the edit would run an
        // event loop in the middle of it. Nothing is told if the edit is gone by then.
        const QString reason = tr("The text was not taken: it holds the character %1, which a "
                                  "theme file cannot store.")
                                   .arg(XmlCharacters::codePointName(input.at(at).unicode()));
        QTimer::singleShot(0, m_edit, [edit = m_edit, reason] {
            QMessageBox::warning(edit, tr("Theme Editor"), reason);
        });
        return Invalid;
    }

    QString taken = input.left(begin);
    taken.reserve(input.size());
    int cursor = position;
    for (qsizetype i = begin; i < end; ++i) {
        const QChar c = input.at(i);
        // A carriage return and line feed together are one line break, and one space.
        if (c == u'\r' && i + 1 < end && input.at(i + 1) == u'\n') {
            if (i < position)
                --cursor;
            continue;
        }
        taken += isLineBreak(c) ? QChar(u' ') : c;
    }
    taken += input.mid(end);
    input = taken;
    position = cursor;
    m_taken = taken;
    return Acceptable;
}
