#include "appengine/layout_library.h"
#include "appengine/page_preview_scene.h"
#include "appengine/wysiwyg_layout.h"
#include "common/command_fixture.h"
#include "common/fill_layout.h"
#include "common/gradients.h"
#include "common/helpers.h"
#include "common/modal_answerer.h"
#include "common/property_values.h"
#include "core/gradient_library.h"
#include "main/action_manager.h"
#include "main/application/editing_operations.h"
#include "main/control_clipboard.h"
#include "main/property_dispatch.h"
#include "velmora_objects/control_geometry.h"
#include "velmora_objects/label.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"
#include "widgets/configuration_edit_record.h"
#include "widgets/duplicate_page_dialog.h"
#include "widgets/page_preview.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <climits>
#include <cstdio>
#include <random>
#include <unistd.h>

using namespace Velmora;
using Rects = std::map<unsigned int, QRect>;

namespace {

class EditingOperationsTest : public TestUtil::CommandFixture
{
protected:
    static void SetUpTestSuite() { TestUtil::startScratchGradientLibrary(); }
    void SetUp() override
    {
        CommandFixture::SetUp();
        ASSERT_TRUE(TestUtil::startFillLayoutLibrary(folder.path()));
        home = create();
        document->preparePreview();
        actions.setDocument(document.get());
        actions.onDocumentOpened();
        // As the application does, the current page is the one shown.
        QObject::connect(&selection, &SelectionManager::currentPageChanged, document.get(),
                         [this](uint pageId) { document->showPage(pageId); });
        selection.selectPage(home, true, true);
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override { LayoutLibrary::destroyInstance(); }

    // A button "Pump" and a slider "Level" on the page, copied.
    void copyTwo(unsigned int pageId)
    {
        const unsigned int a = addControl(pageId, ControlType_BUTTON, QRect(30, 40, 50, 20));
        const unsigned int b = addControl(pageId, ControlType_SLIDER, QRect(90, 45, 60, 30));
        document->getControl(a).setCaption("Pump");
        document->getControl(b).setCaption("Level");
        selection.selectControls({a, b}, true);
        ops.copySelectedControls();
    }
    unsigned int home = UINT_MAX;
    ActionManager actions;
    NewPageData remembered;
    EditingOperations ops{*document, actions, remembered};
    TestUtil::ModalAnswerer answers;
};

// A hostile clipboard: a button at the very end of the range of control geometry, a label far
// beyond it and an entry of no control type. Pasted by the tool bar's action and from the page
// view's context menu (at a right click), the button lands in the range and the same message
// says that two were left out; controls beyond the project's room are left unread, and a
// message says how many; bytes cut short paste nothing and say so; text of another program
// disables Paste. The first paste runs in a child process, so that an overflow the sanitizers
// catch reports instead of ending the suite.
TEST_F(EditingOperationsTest, PasteTakesOnlyWhatFitsAndSaysWhatItLeftOutWhicheverWayItIsChosen)
{
    const int l = ControlGeometry::Limit;
    const QRect edge(QPoint(l - 19, l - 9), QPoint(l, l));
    Button button;
    Label label;
    const auto streamOf = [](Control& control, const QRect& geometry) {
        QByteArray stream;
        control.setGeometry(geometry);
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, &stream);
        control.write(streamer);
        return stream;
    };
    const std::pair<int, QByteArray> entries[] = {
        {ControlType_BUTTON, streamOf(button, edge)},
        {ControlType_LABEL, streamOf(label, QRect(QPoint(INT_MAX - 9, 0), QPoint(INT_MAX, 9)))},
        {9, streamOf(button, edge)}};
    const auto put = [&](int count, int cut = 0) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << qint32(count);
        for (int i = 0; i < count; ++i)
            out << qint32(entries[i % 3].first) << entries[i % 3].second;
        out << edge;
        auto* data = new QMimeData;
        data->setData(ControlClipboard::MimeType, bytes.chopped(cut));
        QGuiApplication::clipboard()->setMimeData(data);
    };
    QAction* paste = actions.action(ActionManager::ActionId_PASTE_CONTROLS);
    QObject::connect(paste, &QAction::triggered, &ops, &EditingOperations::pasteControls);
    put(3);
    ASSERT_EXIT(
        {
            answers.messageBox(QMessageBox::Ok);
            paste->trigger();
            ::_exit(document->getControls().size() == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");

    PagePreview view(*document);
    PagePreview::Actions offered;
    offered.pasteControls = paste;
    view.setActions(offered);
    view.setScene(document->previewScene());
    QObject::connect(&view, &PagePreview::rightClickPosition, &ops,
                     &EditingOperations::setPasteControlOffset);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(100, 60),
                            view.viewport()->mapToGlobal(QPoint(100, 60)));
    for (bool fromMenu : {false, true}) {
        (fromMenu ? answers.menu("Paste Controls") : answers).messageBox(QMessageBox::Ok);
        fromMenu ? void(QApplication::sendEvent(view.viewport(), &click)) : paste->trigger();
        EXPECT_EQ(answers.pending(), 0);
        EXPECT_EQ(answers.answered().last().text,
                  "2 of the controls on the clipboard could not be read and were left out.");
    }
    ASSERT_EQ(document->getControls().size(), 2u);
    for (const Control& control : document->getControls())
        EXPECT_TRUE(ControlGeometry::inRange(control.getGeometry()));
    EXPECT_EQ(document->getControl(0).getGeometry(), edge);
    EXPECT_EQ(document->getControl(1).getGeometry().topLeft(), view.mapToScene(100, 60).toPoint());

    // A page out of sight holds all but one of the controls a project can.
    const unsigned int other = document->addPage(remembered);
    while (document->getControls().size() < Configuration::MaximumControls - 1)
        addControl(other, ControlType_LABEL, QRect(0, 0, 5, 5));
    put(3 * 3000);
    answers.messageBox(QMessageBox::Ok);
    paste->trigger();
    EXPECT_EQ(document->getControls().size(), Configuration::MaximumControls);
    EXPECT_EQ(answers.answered().last().text, "A project holds at most 4096 controls, so 8999 of "
                                              "the controls on the clipboard were left out.");
    put(3, 1);
    answers.messageBox(QMessageBox::Ok);
    paste->trigger();
    EXPECT_EQ(answers.answered().last().text,
              "The clipboard holds no controls that can be pasted.");
    QGuiApplication::clipboard()->setText("text of another program");
    ops.onClipboardChanged();
    EXPECT_FALSE(paste->isEnabled());
}

// Project properties with a theme bundle that does not read change nothing, and the message
// gives the reader's reason.
TEST_F(EditingOperationsTest, UnreadableThemeChangesNoPropertyAndSaysWhy)
{
    ConfigurationEditRecord record;
    record.theme = folder.filePath("broken.qvt");
    record.unlockCode = "2468";
    ASSERT_TRUE(TestUtil::writeFile(record.theme, "not a bundle"));
    answers.messageBox(QMessageBox::Ok);
    ops.setProjectProperties(record);
    EXPECT_EQ(answers.answered().value(0).text,
              "The theme file \"" + record.theme +
                  "\" could not be read, so the project properties were not changed.\nThe theme "
                  "file is not a gzip-compressed tar archive.");
    EXPECT_EQ(document->undoStack().count(), 0);
}

// Copy in one process and paste in another through the X clipboard (under xvfb-run with the
// xcb platform; skipped elsewhere). The copying side is this program again, running the
// disabled test below, which serves the clipboard until its standard input closes.
TEST_F(EditingOperationsTest, X11CopyInOneProcessPasteInAnother)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs the xcb platform";
    QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::dataChanged);
    QProcess copier;
    copier.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_also_run_disabled_tests", "--gtest_filter=*DISABLED_X11CopyingSide"});
    // The wait serves this process's events, so that the two never wait on each other through
    // the X server (a request about the clipboard, say).
    QByteArray output;
    const bool ended = QTest::qWaitFor(
        [&] {
            output += copier.readAllStandardOutput();
            return output.contains("copied") || copier.state() == QProcess::NotRunning;
        },
        120000);
    ASSERT_TRUE(ended && output.contains("copied")) << output.constData();
    EXPECT_TRUE(changed.count() > 0 || changed.wait(10000));
    ops.onClipboardChanged();
    EXPECT_TRUE(actions.action(ActionManager::ActionId_PASTE_CONTROLS)->isEnabled());
    ops.setPasteControlOffset(QPoint(100, 50));
    ops.pasteControls();
    copier.closeWriteChannel();
    EXPECT_TRUE(copier.waitForFinished(30000) && copier.exitCode() == 0);
    // The copied group's top-left corner lands on the right click.
    const std::set<unsigned int>& pasted = document->getPage(home).getControlIds();
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(document->getControl(*pasted.begin()).getGeometry().topLeft(), QPoint(100, 50));
    EXPECT_EQ(document->getControl(*pasted.rbegin()).getCaption(), "Level");
}

TEST_F(EditingOperationsTest, DISABLED_X11CopyingSide)
{
    copyTwo(home);
    std::printf("copied\n");
    std::fflush(stdout);
    QEventLoop loop;
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
}

// A random run of user operations through the slots (dialogs answered) and the property
// dispatch: each operation is at most one undo step, whose undo gives back the project's
// bytes and whose redo the bytes it made; the whole run undone to the start and redone to the
// end gives the bytes at both ends.
TEST_F(EditingOperationsTest, RandomOperationsUndoAndRedoToTheSameBytes)
{
    const TestUtil::UndoFuzzRun run(5000, 20261207);
    SCOPED_TRACE(run.describe());
    const int count = run.edits;
    std::mt19937 random(run.seed);
    auto below = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto any = [&](auto&& container) -> decltype(auto) {
        return *std::next(std::begin(container), below(int(std::size(container))));
    };
    auto rect = [&] { return QRect(below(400), below(240), 10 + below(80), 10 + below(60)); };
    auto page = [&] { return any(document->getPages()).getId(); };
    auto current = [&] { return selection.currentPage(); };
    auto controls = [&] { return std::set<uint>(document->getPage(current()).getControlIds()); };
    auto one = [&] { return controls().empty() ? controls() : std::set{any(controls())}; };
    auto full = [](QWidget* w) { static_cast<DuplicatePageDialog*>(w)->acceptFull(); };
    const WysiwygLayoutCreator* layouts[] = {&horizontalLayoutCreator, &verticalLayoutCreator,
                                             &gridLayoutCreator};
    addSwitcherPage();
    PropertyDispatch dispatch(*document);
    ConfigurationEditRecord record;
    Theme theme(*document->getTheme());
    // The operations that add controls, then those that add pages, come last: they are left out
    // while the project is big.
    const std::function<void()> operations[] = {
        [&] { selection.selectPage(page(), true, true); },
        [&] { selection.selectControls(one(), below(2)); },
        [&] { ops.selectAllControls(); },
        [&] { selection.selectPageSwitcher(document->pageSwitcherOfPage(current()), true); },
        [&] { ops.moveControls(controls(), QPoint(below(9) - 4, below(9) - 4)); },
        [&] {
            ops.setControlGeometry(one().empty() ? Rects() : Rects{{*one().begin(), rect()}});
        },
        [&] { ops.alignSelectedControls(below(6)); },
        [&] {
            ops.layoutSelectedControls(std::unique_ptr<WysiwygLayout>(any(layouts)->make()).get());
        },
        [&] { ops.deleteSelection(); },
        [&] { answers.dialog(QDialog::Accepted), ops.editPageSwitcher(); },
        [&] { below(2) ? ops.raisePage() : ops.lowerPage(); },
        [&] { ops.removePageSwitcher(); },
        [&] { record.unlockCode = QString::number(below(9999)), ops.setProjectProperties(record); },
        [&] { theme.addIconData(TestUtil::pngBytes(8, 8, Qt::GlobalColor(7 + below(4)))); },
        [&] { ops.applyThemeEdits(&theme); },
        [&] { ops.copySelectedControls(); },
        [&] { ops.setPasteControlOffset(below(2) ? QPoint() : QPoint(below(300), below(200))); },
        [&] { ops.createControl(ControlType(1 + below(6)), rect(), current()); },
        [&] { ops.pasteControls(); },
        [&] { ops.duplicatePage(); },
        [&] { answers.then(full), ops.duplicatePageSpecial(); },
        [&] { answers.dialog(QDialog::Accepted), ops.createPage(); }};
    const int all = int(std::size(operations));
    QUndoStack& stack = document->undoStack();
    const QByteArray start = bytes();
    for (int i = 0; i < count; ++i) {
        // As the application does, a selection that lost its objects falls back to a page.
        if (!document->pageExists(selection.currentPage()) ||
            selection.isPageSwitcherSelected(UINT_MAX) ||
            (selection.kind() == SelectionManager::SelectionKind_CONTROLS &&
             !document->getControls().exists(*selection.begin())))
            selection.selectPage(document->getDefaultPageId(), true, true);
        const QByteArray before = bytes();
        const int index = stack.index();
        if (below(2)) { // property edits weigh as much as the rest together
            const PropertyRow& row = any(propertyRows());
            dispatch.setPropertyValue(row.id, TestUtil::propertyValue(row, below(99), page()),
                                      stack);
        } else {
            const int left = document->getControls().size() > 60 ? 5
                             : document->getPages().size() > 10  ? 3
                                                                 : 0;
            operations[below(all - left)]();
        }
        ASSERT_EQ(answers.pending(), 0) << "operation " << i;
        if (stack.index() == index) // nothing, or merged into the step before
            continue;
        ASSERT_EQ(stack.index(), index + 1) << "operation " << i;
        const QByteArray after = bytes();
        stack.undo();
        ASSERT_EQ(bytes(), before) << "operation " << i;
        stack.redo();
        ASSERT_EQ(bytes(), after) << "operation " << i;
    }
    const QByteArray end = bytes();
    EXPECT_GT(stack.count(), count / 5);
    while (stack.canUndo())
        stack.undo();
    EXPECT_EQ(bytes(), start);
    while (stack.canRedo())
        stack.redo();
    EXPECT_EQ(bytes(), end);
    EXPECT_EQ(fault(), "");
}

} // namespace
