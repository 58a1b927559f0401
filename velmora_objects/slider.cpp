#include "velmora_objects/slider.h"

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/stream_fields.h"
#include "velmora_objects/streamer.h"

namespace Velmora {

using namespace StreamFields;

Slider* Slider::clone() const
{
    Slider* copy = new Slider(*this);
    copy->m_incrementIRSlot = NoIRSlot;
    copy->m_decrementIRSlot = NoIRSlot;
    return copy;
}

void Slider::read(Streamer& s)
{
    s.expectTag("Slider_start");
    Control::read(s);
    DataStream& fields = s.stream();
    quint8 unit = 0;
    DataStream::Run(fields, 1 + 1) >> m_showValue >> unit;
    m_unit = Unit(unit);
    fields.readRepeated(m_valueSuffix);
    qint32 captionFontSize = 0, valueFontSize = 0, spacing = 0;
    quint8 wordWrap = 0;
    double handleSize = 0;
    // Files before version 9 hold the last five values too, but they meant nothing then.
    DataStream::Run(fields, 3 * 4 + 1 + 1 + 4 + 4 + 1 + 8 + 4) >> m_minimum >> m_maximum >>
        m_value >> m_incrementIRSlot >> m_decrementIRSlot >> captionFontSize >> valueFontSize >>
        wordWrap >> handleSize >> spacing;
    // Sliders of old files may carry no unit; it is recognised from the range and suffix
    // where they are those of a unit. Any other unit, 0 included, stays as read: the unit only
    // names the range in the property editor, which shows no choice for it.
    if (m_unit == 0) {
        if (m_minimum == 0 && m_maximum == 100 && m_valueSuffix == QLatin1String("%"))
            m_unit = Unit_PERCENT;
        else if (m_minimum == 0 && m_maximum == 255 && m_valueSuffix.isEmpty())
            m_unit = Unit_8BIT;
    }
    if (s.version() >= 9) {
        m_captionFontSize = captionFontSize;
        m_valueFontSize = valueFontSize;
        setTriboolFromByte(m_wordWrap, wordWrap);
        m_handleSize = handleSize;
        m_spacing = spacing;
    }
    s.expectTag("Slider_end");
}

void Slider::write(Streamer& s) const
{
    constexpr qsizetype TagBytes = sizeof "Slider_start" - 1 + sizeof "Slider_end" - 1;
    {
        DataStream::Fields out(s.stream(), TagBytes + controlBlockBytes() + 1 + 1 +
                                               DataStream::textBytes(m_valueSuffix) + 3 * 4 + 2 +
                                               2 * 4 + 1 + 8 + 4);
        out.tag("Slider_start");
        writeControlBlock(out);
        out << m_showValue << qint8(m_unit) << m_valueSuffix << qint32(m_minimum)
            << qint32(m_maximum) << qint32(m_value) << qint8(m_incrementIRSlot)
            << qint8(m_decrementIRSlot) << qint32(m_captionFontSize) << qint32(m_valueFontSize)
            << triboolByte(m_wordWrap) << m_handleSize << qint32(m_spacing);
        out.tag("Slider_end");
    }
    s.blockWritten();
}

unsigned char Slider::getIRSlotId(Action action) const
{
    switch (action) {
    case Action_INCREMENT:
        return m_incrementIRSlot;
    case Action_DECREMENT:
        return m_decrementIRSlot;
    default:
        return NoIRSlot;
    }
}

void Slider::setIRSlotId(Action action, unsigned char slot)
{
    switch (action) {
    case Action_INCREMENT:
        m_incrementIRSlot = slot;
        break;
    case Action_DECREMENT:
        m_decrementIRSlot = slot;
        break;
    default:
        break;
    }
}

void Slider::setUnit(Unit unit)
{
    m_unit = unit;
    switch (unit) {
    case Unit_PERCENT:
        m_minimum = 0;
        m_maximum = 100;
        m_valueSuffix = QStringLiteral("%");
        break;
    case Unit_8BIT:
        m_minimum = 0;
        m_maximum = 255;
        m_valueSuffix.clear();
        break;
    default:
        break;
    }
}

void Slider::initialiseFromTheme(const Theme* theme, const Theme* previous)
{
    const ThemeDefaults defaults(theme, previous, ThemedItemType_SLIDER);
    defaults.take("captionFontSize", m_captionFontSize);
    defaults.take("valueFontSize", m_valueFontSize);
    defaults.take("wordWrap", m_wordWrap);
    defaults.take("handleSize", m_handleSize);
    defaults.take("spacing", m_spacing);
}

void Slider::render(AbstractRenderer* renderer) const
{
    renderer->renderSlider(this);
}

} // namespace Velmora
