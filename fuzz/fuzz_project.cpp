#include "appengine/selection_manager.h"
#include "main/application/editor_program.h"
#include "main/application/velmora_application.h"
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
#include "widgets/main_window.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUndoStack>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

QByteArray saved(const Velmora::Configuration& project)
{
    QByteArray bytes;
    Velmora::Streamer stream;
    stream.open(Velmora::Streamer::Mode_WRITE, &bytes);
    project.write(stream, false);
    return bytes;
}

void load(Velmora::Configuration& project, QByteArray bytes)
{
    project.clear();
    Velmora::Streamer stream;
    stream.open(Velmora::Streamer::Mode_READ, &bytes);
    project.read(stream);
}

// What the editor may do with whatever a read left, loaded or not: look up every default skin,
// and remove each control and put it back (as deleting it and undoing does).
void useAsTheEditorDoes(Velmora::Configuration& project)
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
bool consistent(const Velmora::Configuration& project)
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
void render(const Velmora::Configuration& project)
{
    VelmoraQML::QMLStreamer streamer(&project);
    VelmoraQML::QMLRenderer renderer(&streamer);
    project.render(&renderer);
}

// The editor as its main brings it up, made once, with its settings in a folder of its own and
// the standard paths in their test mode, so that no run reads or writes the user's. The replay
// takes it down as it ends (VelmoraFuzzerFinalize, while the application is whole: its QML engine
// keeps memory that only its own destruction frees); a libFuzzer run keeps it to the end.
QTemporaryDir* settingsFolder = nullptr;
EditorProgram* editor = nullptr;

// Answers every message box at once, as its Escape key does ("Load failed" has only OK), and
// notes its title.
class MessageBoxAnswerer : public QObject
{
public:
    QStringList titles;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show) {
            titles << box->windowTitle();
            QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
};
MessageBoxAnswerer* answerer = nullptr;

void bringUpEditor()
{
    if (editor)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    settingsFolder = new QTemporaryDir;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, settingsFolder->path());
    static int argc = 1;
    static char name[] = "fuzz_project";
    static char* argv[] = {name, nullptr};
    editor = new EditorProgram(argc, argv);
    answerer = new MessageBoxAnswerer;
    editor->application()->installEventFilter(answerer);
}

// Opens the file in the editor as File > Open does: the document reads it, the default page is
// selected and shown, the property editor, the page list and the page view follow, and the main
// window draws them. A file the reader takes that holds a page opens with its default page
// alone selected and current; any other is refused with "Load failed" and leaves no project.
// What opens can be used as the user uses it: every page's switcher, then every page but the
// default one, removed with the editor's commands, each step consistent and drawn; undo then
// brings back the project as opened, and redo the emptied one.
void openAndEditAsTheUserDoes(const QByteArray& bytes, bool readable)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath("input.qvp");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();

    VelmoraApplication* app = editor->application();
    VelmoraDocument& document = app->document();
    answerer->titles.clear();
    const bool opened = app->openDocument(path);
    QCoreApplication::processEvents();
    editor->mainWindow()->grab();
    if (!opened) {
        if (readable || answerer->titles != QStringList{"Load failed"} ||
            app->state() != VelmoraApplication::NoProject || !document.getPages().empty())
            std::abort();
        return;
    }
    const unsigned int home = document.getDefaultPageId();
    const SelectionManager& selection = *app->selection();
    if (!readable || !answerer->titles.isEmpty() || !document.pageExists(home) ||
        selection.kind() != SelectionManager::SelectionKind_PAGES ||
        selection.selectedIdVector() != std::vector<unsigned int>{home} ||
        selection.currentPage() != home || !consistent(document))
        std::abort();

    const QByteArray loaded = saved(document);
    QUndoStack& stack = document.undoStack();
    const auto step = [&](QUndoCommand* command) {
        stack.push(command);
        if (!consistent(document))
            std::abort();
        render(document);
    };
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
    if (saved(document) != loaded)
        std::abort();
    while (stack.canRedo())
        stack.redo();
    if (saved(document) != emptied)
        std::abort();
    // Closed without the save question, as after a save.
    stack.setClean();
    if (!app->closeDocument(true) || app->state() != VelmoraApplication::NoProject)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    bringUpEditor();
    return 0;
}

extern "C" void VelmoraFuzzerFinalize()
{
    delete answerer;
    answerer = nullptr;
    delete editor;
    editor = nullptr;
    delete settingsFolder;
    settingsFolder = nullptr;
    QStandardPaths::setTestModeEnabled(false);
}

// Input: a whole project file. A damaged file may only end in std::runtime_error, and what was
// read still saves and can be used. A file that loads is consistent (see above) and saves to
// bytes that load again and save to the same bytes. The editor opens it, or refuses it, as
// openAndEditAsTheUserDoes says, with no fatal lookup.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Velmora::Configuration project;
    bool loaded = false;
    try {
        load(project, bytes);
        loaded = true;
    } catch (const std::runtime_error&) {
    }
    useAsTheEditorDoes(project);
    const QByteArray first = saved(project);
    if (loaded) {
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
    }
    openAndEditAsTheUserDoes(bytes, loaded && !project.getPages().empty());
    return 0;
}
