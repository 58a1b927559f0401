#include "widgets/theme_editor/theme_name_validator.h"

#include "core/xml_characters.h"

QValidator::State ThemeNameValidator::validate(QString& input, int& /*position*/) const
{
    return XmlCharacters::unstorableAt(input) < 0 ? Acceptable : Invalid;
}
