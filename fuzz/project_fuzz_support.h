#pragma once

#include "main/page_commands.h"
#include "main/page_switcher_commands.h"
#include "main/velmora_document.h"
#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/qml_renderer.h"
#include "velmora_objects/qml_streamer.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QUndoStack>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <vector>

// Shared by the project fuzz targets: the reader's checks, which every input goes through, and
// what the editor's commands may do with a project open in its document.
namespace ProjectFuzz {

inline QByteArray saved(const Velmora::Configuration& project)
{
    QByteArray bytes;
    Velmora::Streamer stream;
    stream.open(Velmora::Streamer::Mode_WRITE, &bytes);
    project.write(stream, false);
    return bytes;
}

inline void load(Velmora::Configuration& project, QByteArray bytes)
{
    project.clear();
    Velmora::Streamer stream;
    stream.open(Velmora::Streamer::Mode_READ, &bytes);
    project.read(stream);
}

// What the editor may do with whatever a read left, loaded or not: look up every default skin,
// and remove each control and put it back (as deleting it and undoing does).
inline void useAsTheEditorDoes(Velmora::Configuration& project)
{
    project.getUsedSkins();
    if (const Velmora::Theme* theme = project.getTheme()) {
        for (int itemType = 0; itemType <= 8; ++itemType)
            theme->getDefaultSkin(Velmora::ThemedItemType(itemType));
    }
    std::vector<unsigned int> ids;
    for (const Velmora::Control& control : project.getControls())
        ids.push_back(control.getId());
    for (unsigned int id : ids) {
        smart_ptr<Velmora::Control> control = project.removeControl(id);
        project.insertControl(control, id);
    }
}

// A project that loads holds only what the editor can work on without a fatal lookup: every
// control's rectangle in the range of control geometry, and every reference between its
// objects resolved (theme image ids aside: they may name images the theme lacks).
inline bool consistent(const Velmora::Configuration& project)
{
    using namespace Velmora;
    const auto& pages = project.getPages();
    const auto& controls = project.getControls();
    const auto& switchers = project.getPageSwitchers();
    const auto pageOrNone = [&](unsigned int id) { return id == UINT_MAX || pages.exists(id); };
    for (const Control& control : controls) {
        if (!ControlGeometry::inRange(control.getGeometry()) ||
            !pages.exists(control.getPageId()) ||
            !pages[control.getPageId()].getControlIds().count(control.getId()))
            return false;
        const auto* button = dynamic_cast<const Button*>(&control);
        if (button && button->getFunction() == ButtonFunction_GO_TO_PAGE &&
            !pageOrNone(button->getFunctionPage()))
            return false;
    }
    for (const Page& page : pages) {
        for (unsigned int id : page.getControlIds())
            if (!controls.exists(id) || controls[id].getPageId() != page.getId())
                return false;
        if (page.getPageSwitcherId() != UINT_MAX && !switchers.exists(page.getPageSwitcherId()))
            return false;
    }
    for (const PageSwitcher& switcher : switchers) {
        std::set<unsigned int> listed;
        for (unsigned int id : switcher.getPageIds())
            if (!pages.exists(id) || !listed.insert(id).second)
                return false;
    }
    for (const auto& entry : project.getIRSlots().left)
        if (!controls.exists(entry.second.controlId) ||
            controls[entry.second.controlId].getIRSlotId(entry.second.action) != entry.first)
            return false;
    return pageOrNone(project.getDefaultPageId());
}

// The preview's text of the whole project, which looks up every page a switcher lists.
inline void render(const Velmora::Configuration& project)
{
    VelmoraQML::QMLStreamer streamer(&project);
    VelmoraQML::QMLRenderer renderer(&streamer);
    project.render(&renderer);
}

// Reads a whole project file as the reader does. A damaged file may only end in
// std::runtime_error, and what was read still saves and can be used. A file that loads is
// consistent (see above) and saves to bytes that load again and save to the same bytes.
// Returns whether the editor may open the file: the reader takes it and it holds a page.
inline bool readAsTheEditorMay(const QByteArray& bytes)
{
    Velmora::Configuration project;
    bool loaded = false;
    try {
        load(project, bytes);
        loaded = true;
    } catch (const std::runtime_error&) {
    }
    useAsTheEditorDoes(project);
    const QByteArray first = saved(project);
    if (!loaded)
        return false;
    if (!consistent(project))
        std::abort();
    Velmora::Configuration again;
    try {
        load(again, first);
    } catch (const std::runtime_error&) {
        std::abort(); // a saved project must load
    }
    if (saved(again) != first)
        std::abort(); // and save to the same bytes
    return !project.getPages().empty();
}

// Writes the input where the document can open it: a file in a folder of its own, in memory
// where the system offers a memory file system, so that a run costs no disk writes. The bytes
// are flushed and checked before the file is opened: a short file on a full disk would read as
// a damaged project that the reader took whole, which is no fault of the editor's, so the run
// stops saying so.
inline QString writtenAsAFile(const QByteArray& bytes)
{
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/velmora_fuzz_XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/velmora_fuzz_XXXXXX"));
    const QString path = folder.filePath(QStringLiteral("input.qvp"));
    QFile file(path);
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write the input to %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        std::abort();
    }
    return path;
}

// Uses a project open in the document as the user may: every page's switcher, then every page
// but the default one, removed with the editor's commands, each step consistent and drawn;
// undo then brings back the project as opened, and redo the emptied one. Leaves the undo stack
// at the emptied project.
inline void removeAndRestoreAsTheUserDoes(VelmoraDocument& document)
{
    const QByteArray opened = saved(document);
    QUndoStack& stack = document.undoStack();
    const auto step = [&](QUndoCommand* command) {
        stack.push(command);
        if (!consistent(document))
            std::abort();
        render(document);
    };
    const unsigned int home = document.getDefaultPageId();
    std::vector<unsigned int> pageIds;
    for (const Velmora::Page& page : document.getPages())
        pageIds.push_back(page.getId());
    for (unsigned int pageId : pageIds)
        if (document.pageSwitcherOfPage(pageId) != UINT_MAX)
            step(new RemovePageSwitcherCommand(pageId, document));
    for (unsigned int pageId : pageIds)
        if (pageId != home)
            step(new RemovePageCommand(pageId, document));

    const QByteArray emptied = saved(document);
    while (stack.canUndo()) {
        stack.undo();
        if (!consistent(document))
            std::abort();
    }
    if (saved(document) != opened)
        std::abort();
    while (stack.canRedo())
        stack.redo();
    if (saved(document) != emptied)
        std::abort();
}

} // namespace ProjectFuzz
