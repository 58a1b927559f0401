#include "appengine/selection_manager.h"
#include "main/application/editor_program.h"
#include "main/application/velmora_application.h"
#include "main/velmora_document.h"
#include "project_fuzz_support.h"
#include "widgets/main_window.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace ProjectFuzz;

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
// What opens can be used as the user uses it (removeAndRestoreAsTheUserDoes), then closes.
void openAndEditAsTheUserDoes(const QByteArray& bytes, bool readable)
{
    const QString path = writtenAsAFile(bytes);
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

    removeAndRestoreAsTheUserDoes(document);
    // Closed without the save question, as after a save.
    document.undoStack().setClean();
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

// Input: a whole project file. The reader takes it or refuses it as readAsTheEditorMay says,
// and the editor opens it, or refuses it, as openAndEditAsTheUserDoes says, with no fatal
// lookup. The reader and the document alone are fuzzed faster by fuzz_project_document.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    openAndEditAsTheUserDoes(bytes, readAsTheEditorMay(bytes));
    return 0;
}
