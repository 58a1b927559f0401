#include "appengine/selection_manager.h"
#include "main/velmora_document.h"
#include "project_fuzz_support.h"
#include "velmora_objects/qml/qml_engine.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QSortFilterProxyModel>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace {

using namespace ProjectFuzz;

// The document alone, as the application keeps it (one object for the whole run, emptied and
// refilled), without the windows, the selection's views or the preview brought up: the reader
// and the document see many times the inputs that fuzz_project, which opens each in the whole
// editor, can give them.
QApplication* application = nullptr;
SelectionManager* selection = nullptr;
VelmoraDocument* document = nullptr;

// Takes the document down while the application is whole (its QML engine keeps memory that
// only its own destruction frees). A libFuzzer run does so as the process exits, so that the
// leak check at exit sees nothing of it; the replay does so after its last input. (LeakSanitizer
// cannot see into the engine's script heap, so libFuzzer's check after an input takes what the
// engine holds for leaks: run with -detect_leaks=0, which leaves the check at exit on.)
void takeDownDocument()
{
    delete document;
    document = nullptr;
    delete selection;
    selection = nullptr;
}

bool empty(VelmoraDocument& document)
{
    return document.getPages().empty() && document.getControls().empty() &&
           document.getPageSwitchers().empty() && document.getIRSlots().empty() &&
           document.getTheme() == nullptr && document.path().isNull() &&
           document.pageModel()->rowCount() == 0 && document.undoStack().count() == 0;
}

} // namespace

// The document's widgets and QML engine need an application: a libFuzzer run has none, and the
// replay makes its own only when the target has not.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        VelmoraQML::useSoftwareSceneGraph();
        static int argc = 1;
        static char name[] = "fuzz_project_document";
        static char* argv[] = {name, nullptr};
        application = new QApplication(argc, argv);
    }
    selection = new SelectionManager;
    document = new VelmoraDocument(*selection);
    std::atexit(takeDownDocument);
    return 0;
}

extern "C" void VelmoraFuzzerFinalize()
{
    takeDownDocument();
    delete application;
    application = nullptr;
}

// Input: a whole project file. The reader takes it or refuses it as readAsTheEditorMay says.
// The document loads what the editor may open, with its page list, and its switchers and pages
// can be removed and the removals undone and redone (removeAndRestoreAsTheUserDoes); it refuses
// anything else with std::runtime_error and is empty afterwards, as after clear().
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool readable = readAsTheEditorMay(bytes);
    bool loaded = false;
    try {
        document->load(writtenAsAFile(bytes));
        loaded = true;
    } catch (const std::runtime_error&) {
    }
    if (loaded != readable)
        std::abort();
    if (loaded) {
        if (!document->pageExists(document->getDefaultPageId()) || !consistent(*document) ||
            document->pageModel()->rowCount() != int(document->getPages().size()))
            std::abort();
        removeAndRestoreAsTheUserDoes(*document);
        document->clear();
    }
    if (!empty(*document))
        std::abort();
    return 0;
}
