#pragma once

#include "gui/property.h"

#include <QObject>
#include <QString>

// The value types a text, number or yes/no property takes. QVariant::canConvert answers yes to
// far more in Qt 6 (a colour "converts" to a string, any int to any enumeration), so each kind
// lists the types it accepts; a value of another type leaves the property unset.
enum class PropertyValueKind
{
    String,
    Int,
    Double,
    Bool,
    Colour
};
bool isAcceptedValue(PropertyValueKind kind, const QVariant& value);

// Stores the value unchanged (it keeps its own type) when its type is accepted for `kind`,
// else stores an invalid value.
template <PropertyValueKind kind> class FilteredProperty : public Property
{
public:
    explicit FilteredProperty(Property* parent) : Property(parent) {}
    void setValue(const QVariant& value) override
    {
        Property::setValue(isAcceptedValue(kind, value) ? value : QVariant());
    }
    bool isEditable() const override { return true; }
};

// Text, edited in a line edit.
class StringProperty : public FilteredProperty<PropertyValueKind::String>
{
public:
    explicit StringProperty(Property* parent) : FilteredProperty(parent) {}
    QString toText() const override;
    QWidget* createEditor(QWidget* parent, const QObject* receiver,
                          const char* member) const override;
    void setEditorData(QWidget* editor) const override;
    QVariant valueFromEditor(QWidget* editor) const override;
};

// A whole number, edited in a spin box. The value shows as the special text when that is set
// and the value is the minimum, else as the number followed directly by the suffix.
class IntProperty : public FilteredProperty<PropertyValueKind::Int>
{
public:
    explicit IntProperty(Property* parent) : FilteredProperty(parent) {}
    QString toText() const override;
    QWidget* createEditor(QWidget* parent, const QObject* receiver,
                          const char* member) const override;
    void setEditorData(QWidget* editor) const override;
    QVariant valueFromEditor(QWidget* editor) const override;

    int minimum = 0;
    int maximum = 2147483647;
    bool wrapping = false;
    QString specialValueText;
    QString suffix;
};

// A decimal number, edited in a spin box; shown unrounded, as the number converts to text.
class DoubleProperty : public FilteredProperty<PropertyValueKind::Double>
{
public:
    explicit DoubleProperty(Property* parent) : FilteredProperty(parent) {}
    QString toText() const override;
    QWidget* createEditor(QWidget* parent, const QObject* receiver,
                          const char* member) const override;
    void setEditorData(QWidget* editor) const override;
    QVariant valueFromEditor(QWidget* editor) const override;

    double minimum = 0.0;
    double maximum = 2147483647.0;
    double singleStep = 1.0;
    int decimals = 2;
    QString specialValueText;
    QString suffix;
};

// Yes or no, picked from a combo box that commits at once.
class BoolProperty : public FilteredProperty<PropertyValueKind::Bool>
{
public:
    explicit BoolProperty(Property* parent);
    QString toText() const override;
    QWidget* createEditor(QWidget* parent, const QObject* receiver,
                          const char* member) const override;
    void setEditorData(QWidget* editor) const override;
    QVariant valueFromEditor(QWidget* editor) const override;

    QString trueText;
    QString falseText;
};
