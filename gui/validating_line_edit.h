#pragma once

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

// A regular-expression validator (whole-text match) that reports every change of its verdict.
class VerboseRegExpValidator : public QRegularExpressionValidator
{
    Q_OBJECT

public:
    explicit VerboseRegExpValidator(QObject* parent = nullptr);
    VerboseRegExpValidator(const QRegularExpression& expression, QObject* parent = nullptr);

    // The expression's verdict; emits stateChanged first when it differs from the last one.
    // The first verdict is always reported.
    State validate(QString& input, int& position) const override;
    // Stores the state and reports it, changed or not.
    void setState(State state);

signals:
    void stateChanged(QValidator::State state);

private:
    // None yet: outside Invalid, Intermediate and Acceptable.
    mutable int lastState = -1;
};

// A line edit that refuses text its regular expression calls invalid and, while the text is not
// yet acceptable, shows a message in a tool tip at its top-left corner.
class ValidatingLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ValidatingLineEdit(QWidget* parent = nullptr);
    ValidatingLineEdit(const QRegularExpression& expression, QWidget* parent = nullptr);

    void setRegExp(const QRegularExpression& expression);
    QRegularExpression regExp() const;
    // Replaces the message, "Invalid" at first.
    void setInvalidMessage(const QString& message) { invalidMessage = message; }
    QString message() const { return invalidMessage; }

public slots:
    // Hides the tool tip for Acceptable text and shows the message for any other.
    void onValidation(QValidator::State state);

private:
    void initialise();

    VerboseRegExpValidator* validatorObject;
    QString invalidMessage;
};
