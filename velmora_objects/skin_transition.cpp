#include "velmora_objects/skin_transition.h"

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
    // Kept as read, also a curve theme XML cannot name: the preview animates with the default
    // curve where it cannot run the one stored.
    easing = readEasing;
    streamer.expectTag(EndTag);
}

} // namespace Velmora
