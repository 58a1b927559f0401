#pragma once

#include "velmora_objects/control.h"

#include <boost/logic/tribool.hpp>

namespace Velmora {

// A control that sets a value within a range, reached through two IR slots: one for
// Action_INCREMENT and one for Action_DECREMENT.
class Slider : public Control
{
public:
    enum Unit : int
    {
        Unit_8BIT = 1,   // range 0..255
        Unit_PERCENT = 2 // range 0..100, suffix "%"
    };

    Slider() = default;
    // Copies every field, the IR slots included.
    Slider(const Slider& other) = default;

    // A copy that holds no IR slots.
    Slider* clone() const override;
    ControlType getType() const override { return ControlType_SLIDER; }
    void read(Streamer& s) override;
    void write(Streamer& s) const override;
    unsigned char getIRSlotId(Action action) const override;
    void setIRSlotId(Action action, unsigned char slot) override;

    // Takes the theme's Slider defaults of "captionFontSize", "valueFontSize",
    // "wordWrap", "handleSize" and "spacing".
    void initialiseFromTheme(const Theme* theme, const Theme* previous) override;
    void render(AbstractRenderer* renderer) const override;

    bool getShowValue() const { return m_showValue; }
    void setShowValue(bool show) { m_showValue = show; }
    Unit getUnit() const { return m_unit; }
    // Stores the unit; the two known units also set their range and suffix. The value is
    // left as it is.
    void setUnit(Unit unit);
    const QString& getValueSuffix() const { return m_valueSuffix; }
    void setValueSuffix(const QString& suffix) { m_valueSuffix = suffix; }
    int getMinimum() const { return m_minimum; }
    void setMinimum(int minimum) { m_minimum = minimum; }
    int getMaximum() const { return m_maximum; }
    void setMaximum(int maximum) { m_maximum = maximum; }
    int getValue() const { return m_value; }
    void setValue(int value) { m_value = value; }
    int getCaptionFontSize() const { return m_captionFontSize; }
    void setCaptionFontSize(int size) { m_captionFontSize = size; }
    int getValueFontSize() const { return m_valueFontSize; }
    void setValueFontSize(int size) { m_valueFontSize = size; }
    // Only true counts as on.
    boost::logic::tribool getWordWrap() const { return m_wordWrap; }
    void setWordWrap(boost::logic::tribool wrap) { m_wordWrap = wrap; }
    // The handle's share of the track.
    double getHandleSize() const { return m_handleSize; }
    void setHandleSize(double size) { m_handleSize = size; }
    // Text spacing in pixels.
    int getSpacing() const { return m_spacing; }
    void setSpacing(int spacing) { m_spacing = spacing; }

private:
    bool m_showValue = false;
    Unit m_unit = Unit_PERCENT;
    QString m_valueSuffix;
    qint32 m_minimum = 0;
    qint32 m_maximum = 100;
    qint32 m_value = 0;
    unsigned char m_incrementIRSlot = NoIRSlot;
    unsigned char m_decrementIRSlot = NoIRSlot;
    int m_captionFontSize = 11;
    int m_valueFontSize = 11;
    boost::logic::tribool m_wordWrap = false;
    double m_handleSize = 0.2;
    int m_spacing = 6;
};

constexpr bool isKnown(Slider::Unit unit)
{
    return unit == Slider::Unit_8BIT || unit == Slider::Unit_PERCENT;
}

} // namespace Velmora

Q_DECLARE_METATYPE(Velmora::Slider::Unit)
