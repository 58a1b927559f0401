#pragma once

#include <QString>
#include <QValidator>

class QLineEdit;

// Guards a one-line field of a theme name, or of a theme file's path, against what the user
// brings into it by typing, pasting or dropping:
// - a line break (line feed, carriage return, the two together, a line or paragraph separator)
//   becomes one space: the field draws it as a space, and the text kept is the text shown;
// - a character that a theme file cannot store (a control character other than tab, line feed
//   and carriage return, U+FFFE, U+FFFF or a lone surrogate) refuses the whole edit: the field
//   keeps its text, and once the edit is over a message tells the user which character and why.
// Only the part of the text that the edit changed is looked at, so that a text the program
// shows as it is stored (setStoredText: a theme's name read from a file, say) keeps its
// carriage returns while the user edits around them. Any other text, the empty one too, is
// taken.
class ThemeNameValidator : public QValidator
{
    Q_OBJECT

public:
    // Validates the edit's text from now on; a child of the edit.
    explicit ThemeNameValidator(QLineEdit* edit);

    // Shows the text in the edit exactly as it is, with the edit's signals as the caller left
    // them: nothing of it is changed or refused.
    void setStoredText(const QString& text);

    State validate(QString& input, int& position) const override;

private:
    QLineEdit* const m_edit;
    // The text the edit held after the last edit taken; what an edit changed is what differs
    // from it.
    mutable QString m_taken;
};
