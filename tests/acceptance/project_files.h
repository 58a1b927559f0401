#pragma once

#include "velmora_objects/velmora_types.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

// The files a scenario starts from, made apart from the editor's windows so that each scenario
// has files of its own: projects made and saved by a document of their own, as the
// new-project wizard makes them, and theme files written by the theme writer. Failures are
// reported to the running test; the path is returned all the same.
namespace ProjectFiles {

struct Control
{
    Velmora::ControlType type;
    QRect geometry;
};

// A landscape project saved at the path: the theme of the library of that name, the first
// page from the layout template ("" none) under the page name, with the controls on it, then
// blank pages of the names given (an empty one too). With sharedSwitcher, the first page has a
// page switcher at the bottom that every page shows and lists, as a project's one navigation
// bar is.
QString project(const QString& path, const QString& theme, const QString& layout,
                const QString& pageName, const std::vector<Control>& controls = {},
                const QStringList& morePages = {}, bool sharedSwitcher = false);

// A copy of the library's theme `from` under the name, written at the path and listed in the
// library, as a theme file the user added.
QString theme(const QString& path, const QString& from, const QString& name);

// A copy of a file an earlier scenario left (`madeBy` names it), for a scenario of its own to
// change; the test fails when there is none.
QString copyOf(const QString& path, const QString& copy, const char* madeBy);

} // namespace ProjectFiles
