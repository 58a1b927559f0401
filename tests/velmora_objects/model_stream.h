#pragma once

#include "velmora_objects/abstract_renderer.h"
#include "velmora_objects/control.h"
#include "velmora_objects/streamer.h"

#include <QByteArray>
#include <QStringList>
#include <functional>

// Writing model objects into a project stream held in memory and reading them back.
namespace ModelStream {

// The bytes of a stream (header included) into which write put its block.
inline QByteArray written(const std::function<void(Velmora::Streamer&)>& write)
{
    QByteArray bytes;
    Velmora::Streamer s;
    s.open(Velmora::Streamer::Mode_WRITE, &bytes);
    write(s);
    return bytes;
}

// Opens the bytes for reading and lets read take its block from them.
inline void read(QByteArray bytes, const std::function<void(Velmora::Streamer&)>& read)
{
    Velmora::Streamer s;
    s.open(Velmora::Streamer::Mode_READ, &bytes);
    read(s);
}

inline QByteArray controlBytes(const Velmora::Control& control)
{
    return written([&](Velmora::Streamer& s) { control.write(s); });
}

// Reads a control block into the control and checks that nothing is left over.
inline bool readControl(const QByteArray& bytes, Velmora::Control& control)
{
    bool atEnd = false;
    read(bytes, [&](Velmora::Streamer& s) {
        control.read(s);
        atEnd = s.stream().atEnd();
    });
    return atEnd;
}

// A renderer that records which of its operations were called, with which object.
class RecordingRenderer : public Velmora::AbstractRenderer
{
public:
    QStringList calls;
    const void* object = nullptr;

    void renderConfiguration(const Velmora::Configuration* o) override { note("configuration", o); }
    void renderPage(const Velmora::Page* o) override { note("page", o); }
    void renderButton(const Velmora::Button* o) override { note("button", o); }
    void renderSlider(const Velmora::Slider* o) override { note("slider", o); }
    void renderColourPicker(const Velmora::ColourPicker* o) override { note("colourPicker", o); }
    void renderKeypad(const Velmora::Keypad* o) override { note("keypad", o); }
    void renderLabel(const Velmora::Label* o) override { note("label", o); }
    void renderClock(const Velmora::Clock* o) override { note("clock", o); }
    void renderPageSwitcher(const Velmora::PageSwitcher* o) override { note("pageSwitcher", o); }

private:
    void note(const char* kind, const void* o)
    {
        calls << QString::fromLatin1(kind);
        object = o;
    }
};

} // namespace ModelStream
