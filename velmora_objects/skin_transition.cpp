#include "velmora_objects/skin_transition.h"

#include "velmora_objects/easing_curve_names.h"
#include "velmora_objects/streamer.h"

namespace Velmora {

namespace {
const char* const StartTag = "SkinTransition_start";
const char* const EndTag = "SkinTransition_end";
} // namespace

void SkinTransition::write(Streamer& streamer) const
{
    streamer.writeTag(StartTag);
    streamer.stream() << qint32(duration) << qint32(easing);
    streamer.writeTag(EndTag);
}

void SkinTransition::read(Streamer& streamer)
{
    streamer.expectTag(StartTag);
    qint32 readDuration = 0;
    qint32 readEasing = 0;
    streamer.stream() >> readDuration >> readEasing;
    duration = readDuration;
    // Only the standard curves, those theme XML can name; the special and custom ones need
    // data a transition does not carry.
    easing = EasingCurveNames::name(readEasing) ? readEasing : DefaultEasing;
    streamer.expectTag(EndTag);
}

} // namespace Velmora
