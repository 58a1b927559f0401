#include "velmora_objects/qml/qml_slider.h"

#include <cmath>

namespace VelmoraQML {

QMLSlider::QMLSlider(QQuickItem* parent) : QMLControl(parent) {}

double QMLSlider::clampFraction(double value)
{
    if (!(value >= 0.0)) // also NaN
        return 0.0;
    return value > 1.0 ? 1.0 : value;
}

double QMLSlider::fractionOfPanelValue(int panelValue)
{
    return clampFraction(panelValue / 255.0);
}

QString QMLSlider::formatValue(double minimum, double maximum, double value, const QString& suffix)
{
    // Adding 0.0 turns a truncated -0 into 0.
    const double shown = std::trunc(minimum + (maximum - minimum) * value) + 0.0;
    QString text;
    if (std::isfinite(shown) && std::fabs(shown) < 9.0e15)
        text = QString::number(static_cast<qint64>(shown));
    else
        text = QString::number(shown, 'f', 0);
    return text + suffix;
}

void QMLSlider::setValue(double value)
{
    m_value = clampFraction(value);
    emit valueChanged(m_value);
}

void QMLSlider::setValueSuffix(const QString& suffix)
{
    m_valueSuffix = suffix;
    emit valueSuffixChanged(m_valueSuffix);
}

QString QMLSlider::valueString() const
{
    return formatValue(property("minimum").toDouble(), property("maximum").toDouble(), m_value,
                       m_valueSuffix);
}

void QMLSlider::setValue(unsigned int, int value)
{
    emit eventReceived(Event_SLIDER_VALUE_CHANGED, QVariant(fractionOfPanelValue(value)));
}

void QMLSlider::handleIRAction(Velmora::Action action, bool)
{
    if (action == Velmora::Action_INCREMENT)
        setValue(m_value + 0.1);
    else if (action == Velmora::Action_DECREMENT)
        setValue(m_value - 0.1);
}

} // namespace VelmoraQML
