#include "velmora_objects/control.h"
#include "velmora_objects/layout_template.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

// Reads the input as a page-layout template; when it loads, lays it out in the free areas of
// both page orientations, makes its controls and paints both thumbnails. Nothing may crash,
// and a template that loads keeps its tree until it is destroyed.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // libFuzzer brings no application object (the replay program does).
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_layout_template";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    LayoutTemplate layoutTemplate;
    if (!layoutTemplate.load(bytes))
        return 0;
    if (!layoutTemplate.getLayout())
        std::abort();
    for (const QRect& area : {QRect(0, 0, 480, 230), QRect(48, 0, 224, 480), QRect(0, 0, 0, 0)}) {
        for (Velmora::Control* control : layoutTemplate.createControls(area)) {
            if (control->getGeometry().width() < 0 || control->getGeometry().height() < 0)
                std::abort();
            delete control;
        }
    }
    layoutTemplate.renderThumbnail(1, QSize(120, 68));
    layoutTemplate.renderThumbnail(2, QSize(68, 120));
    return 0;
}
