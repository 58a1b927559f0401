#include "gui/validating_line_edit.h"

#include <QToolTip>

VerboseRegExpValidator::VerboseRegExpValidator(QObject* parent)
    : QRegularExpressionValidator(parent)
{
}

VerboseRegExpValidator::VerboseRegExpValidator(const QRegularExpression& expression,
                                               QObject* parent)
    : QRegularExpressionValidator(expression, parent)
{
}

QValidator::State VerboseRegExpValidator::validate(QString& input, int& position) const
{
    const State state = QRegularExpressionValidator::validate(input, position);
    if (state != lastState) {
        lastState = state;
        // Validation is a const operation of the validator; the report is not.
        emit const_cast<VerboseRegExpValidator*>(this)->stateChanged(state);
    }
    return state;
}

void VerboseRegExpValidator::setState(State state)
{
    lastState = state;
    emit stateChanged(state);
}

ValidatingLineEdit::ValidatingLineEdit(QWidget* parent)
    : QLineEdit(parent), validatorObject(new VerboseRegExpValidator(this))
{
    initialise();
}

ValidatingLineEdit::ValidatingLineEdit(const QRegularExpression& expression, QWidget* parent)
    : QLineEdit(parent), validatorObject(new VerboseRegExpValidator(expression, this))
{
    initialise();
}

void ValidatingLineEdit::initialise()
{
    invalidMessage = tr("Invalid");
    connect(validatorObject, &VerboseRegExpValidator::stateChanged, this,
            &ValidatingLineEdit::onValidation);
    setValidator(validatorObject);
}

void ValidatingLineEdit::setRegExp(const QRegularExpression& expression)
{
    validatorObject->setRegularExpression(expression);
}

QRegularExpression ValidatingLineEdit::regExp() const
{
    return validatorObject->regularExpression();
}

void ValidatingLineEdit::onValidation(QValidator::State state)
{
    if (state == QValidator::Acceptable) {
        QToolTip::hideText();
        return;
    }
    // The tip stays while the pointer is over the line edit (its own rectangle, in its own
    // coordinates, as the tool tip expects).
    QToolTip::showText(mapToGlobal(QPoint(0, 0)), invalidMessage, this, rect());
}
