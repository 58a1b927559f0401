#pragma once

#include <QEasingCurve>

namespace Velmora {

class Streamer;

// How the preview animates a control into a skin: the length of the animation and the
// QEasingCurve::Type of its curve.
class SkinTransition
{
public:
    static constexpr int DefaultDuration = 300;
    static constexpr int DefaultEasing = QEasingCurve::InOutQuad;

    SkinTransition() = default;

    // "SkinTransition_start", duration and easing as qint32, "SkinTransition_end".
    void write(Streamer& streamer) const;
    void read(Streamer& streamer);

    int duration = DefaultDuration; // milliseconds
    int easing = DefaultEasing;     // a QEasingCurve::Type
};

} // namespace Velmora
