#pragma once

#include "velmora_objects/control.h"

namespace Velmora {

// A control that shows the time, analogue or digital.
class Clock : public Control
{
public:
    // The preview shows nothing for any other value.
    enum ClockType : int
    {
        ClockType_ANALOGUE = 0,
        ClockType_DIGITAL = 1
    };

    Clock() = default;
    Clock(const Clock& other) = default;

    Clock* clone() const override;
    ControlType getType() const override { return ControlType_CLOCK; }
    void read(Streamer& s) override;
    void write(Streamer& s) const override;

    // Takes the theme's Clock defaults of "captionFontSize" and "spacing".
    void initialiseFromTheme(const Theme* theme, const Theme* previous) override;
    void render(AbstractRenderer* renderer) const override;

    ClockType getClockType() const { return m_clockType; }
    void setClockType(ClockType type) { m_clockType = type; }
    int getCaptionFontSize() const { return m_captionFontSize; }
    void setCaptionFontSize(int size) { m_captionFontSize = size; }
    int getSpacing() const { return m_spacing; }
    void setSpacing(int spacing) { m_spacing = spacing; }

private:
    ClockType m_clockType = ClockType_ANALOGUE;
    int m_captionFontSize = 11;
    int m_spacing = 6;
};

constexpr bool isKnown(Clock::ClockType type)
{
    return type == Clock::ClockType_ANALOGUE || type == Clock::ClockType_DIGITAL;
}

} // namespace Velmora

Q_DECLARE_METATYPE(Velmora::Clock::ClockType)
