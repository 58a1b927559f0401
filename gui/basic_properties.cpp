#include "gui/basic_properties.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMetaType>
#include <QSpinBox>
#include <algorithm>
#include <initializer_list>

namespace {

bool hasType(const QVariant& value, std::initializer_list<int> typeIds)
{
    const int id = value.metaType().id();
    return std::find(typeIds.begin(), typeIds.end(), id) != typeIds.end();
}

// Numbers and text that read as numbers (a text that does not becomes 0, as in a spin box).
const std::initializer_list<int> numberTypes = {
    QMetaType::Int,        QMetaType::UInt,  QMetaType::LongLong, QMetaType::ULongLong,
    QMetaType::Double,     QMetaType::Float, QMetaType::Bool,     QMetaType::QString,
    QMetaType::QByteArray, QMetaType::Short, QMetaType::UShort,   QMetaType::Long,
    QMetaType::ULong,      QMetaType::Char,  QMetaType::UChar,    QMetaType::SChar};

} // namespace

bool isAcceptedValue(PropertyValueKind kind, const QVariant& value)
{
    switch (kind) {
    case PropertyValueKind::String:
        return hasType(value, numberTypes) ||
               hasType(value, {QMetaType::QChar, QMetaType::QDate, QMetaType::QTime,
                               QMetaType::QDateTime, QMetaType::QUrl});
    case PropertyValueKind::Int:
    case PropertyValueKind::Double:
        return hasType(value, numberTypes);
    case PropertyValueKind::Bool:
        return hasType(value, numberTypes) || hasType(value, {QMetaType::QChar});
    case PropertyValueKind::Colour:
        return hasType(value, {QMetaType::QColor, QMetaType::QString});
    }
    return false;
}

// Text --------------------------------------------------------------------------------------

QString StringProperty::toText() const
{
    return value().toString();
}

QWidget* StringProperty::createEditor(QWidget* parent, const QObject*, const char*) const
{
    return new QLineEdit(parent);
}

void StringProperty::setEditorData(QWidget* editor) const
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(value().toString());
}

QVariant StringProperty::valueFromEditor(QWidget* editor) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    return line ? QVariant(line->text()) : QVariant();
}

// Whole number -------------------------------------------------------------------------------

QString IntProperty::toText() const
{
    const QVariant v = value();
    if (!v.isValid())
        return QString();
    if (!specialValueText.isEmpty() && v.toInt() == minimum)
        return specialValueText;
    return v.toString() + suffix;
}

QWidget* IntProperty::createEditor(QWidget* parent, const QObject*, const char*) const
{
    auto* spin = new QSpinBox(parent);
    spin->setRange(minimum, maximum);
    if (!specialValueText.isEmpty())
        spin->setSpecialValueText(specialValueText);
    spin->setSuffix(suffix);
    spin->setWrapping(wrapping);
    return spin;
}

void IntProperty::setEditorData(QWidget* editor) const
{
    if (auto* spin = qobject_cast<QSpinBox*>(editor))
        spin->setValue(value().toInt());
}

QVariant IntProperty::valueFromEditor(QWidget* editor) const
{
    auto* spin = qobject_cast<QSpinBox*>(editor);
    return spin ? QVariant(spin->value()) : QVariant();
}

// Decimal number -----------------------------------------------------------------------------

QString DoubleProperty::toText() const
{
    const QVariant v = value();
    if (!v.isValid())
        return QString();
    if (!specialValueText.isEmpty() && v.toDouble() == minimum)
        return specialValueText;
    return v.toString() + suffix;
}

QWidget* DoubleProperty::createEditor(QWidget* parent, const QObject*, const char*) const
{
    auto* spin = new QDoubleSpinBox(parent);
    spin->setRange(minimum, maximum);
    if (!specialValueText.isEmpty())
        spin->setSpecialValueText(specialValueText);
    spin->setSingleStep(singleStep);
    spin->setDecimals(decimals);
    spin->setSuffix(suffix);
    return spin;
}

void DoubleProperty::setEditorData(QWidget* editor) const
{
    if (auto* spin = qobject_cast<QDoubleSpinBox*>(editor))
        spin->setValue(value().toDouble());
}

QVariant DoubleProperty::valueFromEditor(QWidget* editor) const
{
    auto* spin = qobject_cast<QDoubleSpinBox*>(editor);
    return spin ? QVariant(spin->value()) : QVariant();
}

// Yes or no ----------------------------------------------------------------------------------

BoolProperty::BoolProperty(Property* parent)
    : FilteredProperty(parent), trueText(QObject::tr("Yes")), falseText(QObject::tr("No"))
{
}

QString BoolProperty::toText() const
{
    const QVariant v = value();
    if (!v.isValid())
        return QString();
    return v.toBool() ? trueText : falseText;
}

QWidget* BoolProperty::createEditor(QWidget* parent, const QObject* receiver,
                                    const char* member) const
{
    auto* combo = new QComboBox(parent);
    combo->addItem(trueText);
    combo->addItem(falseText);
    if (receiver && member)
        QObject::connect(combo, SIGNAL(activated(int)), receiver, member);
    return combo;
}

void BoolProperty::setEditorData(QWidget* editor) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setCurrentIndex(value().toBool() ? 0 : 1);
}

QVariant BoolProperty::valueFromEditor(QWidget* editor) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    return combo ? QVariant(combo->currentIndex() == 0) : QVariant();
}
