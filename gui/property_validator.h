#pragma once

class Property;
class QVariant;

// Decides whether an edited value may be stored in a property model.
class PropertyValidator
{
public:
    virtual ~PropertyValidator() = default;
    // True lets `value` through as the new value of `property`.
    virtual bool validate(Property* property, const QVariant& value) = 0;
};
