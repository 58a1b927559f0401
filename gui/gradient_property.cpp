#include "gui/gradient_property.h"

#include "core/gradient_library.h"
#include "gui/gradient_dialog.h"
#include "gui/gradient_picker.h"
#include "gui/property_model.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyleOption>

GradientProperty::GradientProperty(Property* parent)
    : Property(parent), linearGradient(std::make_unique<QLinearGradient>(0, 0, 1, 0))
{
    linearGradient->setCoordinateMode(QGradient::ObjectBoundingMode);
}

GradientProperty::~GradientProperty() = default;

void GradientProperty::setValue(const QVariant& value)
{
    Property::setValue(value.metaType() == QMetaType::fromType<Gradient>() ? value : QVariant());
}

bool GradientProperty::compare(const QVariant& value) const
{
    const QVariant stored = this->value();
    if (stored.isValid() != value.isValid())
        return false;
    return !stored.isValid() || gradient() == qvariant_cast<Gradient>(value);
}

bool GradientProperty::reset()
{
    if (gradient().isNull())
        return false;
    setValue(QVariant::fromValue(Gradient()));
    return true;
}

QString GradientProperty::toText() const
{
    return gradient().name();
}

bool GradientProperty::paint(QPainter* painter, const QStyleOption& option) const
{
    const Gradient stored = gradient();
    if (stored.isNull())
        return false;
    linearGradient->setStops(stored.stops());
    painter->save();
    painter->setPen(QColor(Qt::black));
    painter->setBrush(QBrush(*linearGradient));
    painter->drawRect(option.rect.adjusted(2, 2, -2, -2));
    painter->restore();
    return true;
}

QWidget* GradientProperty::createEditor(QWidget* parent, const QObject* receiver,
                                        const char* member) const
{
    auto* picker = new GradientPicker(parent);
    if (receiver && member)
        connect(picker, SIGNAL(activated(int)), receiver, member);
    return picker;
}

void GradientProperty::setEditorData(QWidget* editor) const
{
    if (auto* picker = dynamic_cast<GradientPicker*>(editor))
        picker->setGradient(gradient());
}

QVariant GradientProperty::valueFromEditor(QWidget* editor) const
{
    auto* picker = dynamic_cast<GradientPicker*>(editor);
    return picker ? QVariant::fromValue(picker->gradient()) : QVariant();
}

void GradientProperty::showMoreEditor(QWidget* parent)
{
    GradientDialog dialog(parent);
    dialog.setAlphaEnabled(alphaEnabled);
    const Gradient stored = gradient();
    if (!stored.isNull())
        dialog.selectGradient(GradientLibrary::instance()->find(stored));
    connect(&dialog, &GradientDialog::gradientSelected, this,
            &GradientProperty::onGradientSelected);
    dialog.exec();
}

void GradientProperty::onGradientSelected(const QModelIndex& index)
{
    const Gradient chosen =
        index.model() ? index.data(GradientLibrary::GradientRole).value<Gradient>() : Gradient();
    if (model())
        model()->setData(this->index(1), QVariant::fromValue(chosen), Qt::EditRole);
}
