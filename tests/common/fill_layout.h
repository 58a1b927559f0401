#pragma once

#include "appengine/layout_library.h"
#include "common/helpers.h"

#include <QDir>
#include <QSignalSpy>
#include <QString>

namespace TestUtil {

// Starts the layout library on folder/layout, which gets the shipped schema and one template,
// "Fill": a button taking the whole free area. True once the library has listed it; the caller
// ends the library (LayoutLibrary::destroyInstance).
inline bool startFillLayoutLibrary(const QString& folder)
{
    const QString layouts = folder + "/layout";
    QDir().mkpath(layouts);
    writeFile(layouts + "/layout.xsd",
              readFile(LayoutLibrary::defaultSystemDirectory() + "/layout.xsd"));
    writeFile(layouts + "/fill.xml",
              "<layout name=\"Fill\"><vbox margin=\"0\"><button/></vbox></layout>");
    LayoutLibrary::init(layouts, QString());
    QSignalSpy finished(LayoutLibrary::instance(), &LayoutLibrary::refreshFinished);
    return finished.wait(10000);
}

} // namespace TestUtil
