#pragma once

#include "velmora_objects/qml/qml_control.h"

namespace VelmoraQML {

// A slider item. It keeps the position as a fraction from 0 to 1; panel values are 0 to 255,
// and the number shown runs from the component's "minimum" to its "maximum".
class QMLSlider : public QMLControl
{
    Q_OBJECT
    Q_PROPERTY(double value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(QString valueSuffix READ valueSuffix WRITE setValueSuffix NOTIFY valueSuffixChanged)

public:
    explicit QMLSlider(QQuickItem* parent = nullptr);

    double value() const { return m_value; }
    // Limits the value to 0..1, stores it and always emits valueChanged.
    void setValue(double value);
    const QString& valueSuffix() const { return m_valueSuffix; }
    void setValueSuffix(const QString& suffix);

    // The text shown for the value: the integer part of minimum + (maximum - minimum) × value,
    // then the suffix.
    Q_INVOKABLE QString valueString() const;

    // Hands the component the panel value as a fraction (event 5); the channel is not used.
    void setValue(unsigned int channel, int value) override;
    // Increment and decrement step by a tenth on every call, press or release.
    void handleIRAction(Velmora::Action action, bool pressed) override;

    // The shared arithmetic, for the items and their tests.
    static double clampFraction(double value);
    static double fractionOfPanelValue(int panelValue);
    static QString formatValue(double minimum, double maximum, double value, const QString& suffix);

signals:
    void valueChanged(double value);
    void valueSuffixChanged(const QString& suffix);

private:
    double m_value = 0.0;
    QString m_valueSuffix;
};

} // namespace VelmoraQML
