#pragma once

#include "gui/basic_properties.h"
#include "gui/property.h"

#include <QStandardItemModel>
#include <QString>
#include <QVariant>
#include <map>
#include <type_traits>

// What every enumerated-choice property shares, whatever its value type: the list of choices
// (text in Qt::DisplayRole, value in Qt::UserRole, in the order they were added) and the combo
// box that edits the value and commits as soon as a text is picked.
class ChoiceProperty : public Property
{
public:
    const QStandardItemModel& choiceModel() const { return choices; }

    bool isEditable() const override { return true; }
    QWidget* createEditor(QWidget* parent, const QObject* receiver,
                          const char* member) const override;
    // Selects the first choice equal to the value; none when the value is unset or has no
    // choice.
    void setEditorData(QWidget* editor) const override;
    // The value of the current choice; invalid when none is current.
    QVariant valueFromEditor(QWidget* editor) const override;

protected:
    explicit ChoiceProperty(Property* parent) : Property(parent) {}
    void appendChoice(const QVariant& value, const QString& text);
    void clearChoices() { choices.clear(); }
    // True when two valid values name the same choice.
    virtual bool sameChoice(const QVariant& a, const QVariant& b) const = 0;

private:
    // The combo box shows this model; it is not changed through the editor.
    mutable QStandardItemModel choices;
};

// A value of type T chosen from a fixed list; each choice pairs a value with its text. T is an
// enumeration registered as a QVariant type, bool or QString. An enumeration takes only values
// of its own type (Qt 6 would turn any int into one); bool and QString take what the yes/no and
// text properties take. Any other value leaves the property unset.
template <typename T> class EnumProperty : public ChoiceProperty
{
public:
    explicit EnumProperty(Property* parent) : ChoiceProperty(parent) {}

    // Adds a choice at the end of the list. A value added again is listed again, and reads
    // with the later text.
    void setString(const T& value, const QString& text)
    {
        texts[value] = text;
        appendChoice(QVariant::fromValue(value), text);
    }
    // Removes every choice; the value stays.
    void clear()
    {
        texts.clear();
        clearChoices();
    }
    const std::map<T, QString>& textMap() const { return texts; }

    void setValue(const QVariant& value) override
    {
        Property::setValue(accepts(value) ? value : QVariant());
    }
    bool compare(const QVariant& value) const override
    {
        const QVariant stored = this->value();
        if (stored.isValid() != value.isValid())
            return false;
        return !stored.isValid() || sameChoice(stored, value);
    }
    // The text of the value's choice; empty when unset or when the value has no choice.
    QString toText() const override
    {
        const QVariant stored = value();
        if (!stored.isValid())
            return QString();
        const auto it = texts.find(qvariant_cast<T>(stored));
        return it == texts.end() ? QString() : it->second;
    }

protected:
    bool sameChoice(const QVariant& a, const QVariant& b) const override
    {
        return qvariant_cast<T>(a) == qvariant_cast<T>(b);
    }

private:
    static bool accepts(const QVariant& value)
    {
        if constexpr (std::is_same_v<T, bool>)
            return isAcceptedValue(PropertyValueKind::Bool, value);
        else if constexpr (std::is_same_v<T, QString>)
            return isAcceptedValue(PropertyValueKind::String, value);
        else
            return value.metaType() == QMetaType::fromType<T>();
    }

    std::map<T, QString> texts;
};
