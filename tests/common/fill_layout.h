#pragma once

#include "appengine/layout_library.h"
#include "common/helpers.h"

#include <QDir>
#include <QSignalSpy>
#include <QString>
#include <utility>
#include <vector>

namespace TestUtil {

// Starts the layout library on folder/layout with the shipped schema and the given templates
// (file name without ".xml", document). True once the library has listed them; the caller ends
// the library (LayoutLibrary::destroyInstance).
inline bool startLayoutLibrary(const QString& folder,
                               const std::vector<std::pair<QString, QByteArray>>& templates)
{
    const QString layouts = folder + "/layout";
    QDir().mkpath(layouts);
    writeFile(layouts + "/layout.xsd", readFile(bundledPath("layout/layout.xsd")));
    for (const auto& [name, document] : templates)
        writeFile(layouts + "/" + name + ".xml", document);
    LayoutLibrary::init(layouts, QString());
    QSignalSpy finished(LayoutLibrary::instance(), &LayoutLibrary::refreshFinished);
    return finished.wait(10000);
}

// One template, "Fill": a button taking the whole free area.
inline bool startFillLayoutLibrary(const QString& folder)
{
    return startLayoutLibrary(
        folder, {{"fill", "<layout name=\"Fill\"><vbox margin=\"0\"><button/></vbox></layout>"}});
}

// Three templates of one button each, named after their orientation: "Any", "Land", "Port".
inline bool startOrientedLayoutLibrary(const QString& folder)
{
    const char* const oriented[][2] = {{"Any", "any"}, {"Land", "landscape"}, {"Port", "portrait"}};
    std::vector<std::pair<QString, QByteArray>> templates;
    for (const auto& t : oriented)
        templates.push_back({t[0], QStringLiteral("<?xml version=\"1.0\"?>\n"
                                                  "<layout name=\"%1\" orientation=\"%2\">\n"
                                                  "<hbox><button/></hbox>\n</layout>\n")
                                       .arg(t[0], t[1])
                                       .toUtf8()});
    return startLayoutLibrary(folder, templates);
}

} // namespace TestUtil
