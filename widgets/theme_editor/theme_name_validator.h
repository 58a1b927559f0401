#pragma once

#include <QValidator>

// Refuses a theme name holding a character that a theme file cannot store (a control character
// other than tab, line feed and carriage return, U+FFFE, U+FFFF or a lone surrogate): typing or
// pasting one into the edit changes nothing. Any other name, the empty one too, is taken.
class ThemeNameValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
};
