#include "appengine/wysiwyg_layout.h"
#include "common/command_fixture.h"
#include "common/drawing_tools.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "core/stored_settings.h"
#include "gui/url_opener.h"
#include "main/action_manager.h"
#include "main/page_commands.h"
#include "main/velmora_preferences.h"
#include "main/vendor_variants.h"
#include "widgets/main_window.h"
#include "widgets/page_list.h"
#include "widgets/page_preview.h"
#include "widgets/property_editor.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>
#include <gtest/gtest.h>
#include <memory>

using namespace Velmora;

namespace {

class MainWindowTest : public TestUtil::CommandFixture
{
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        actions.setDocument(document.get());
        makeWindow();
    }
    void TearDown() override { window.reset(); }

    void makeWindow()
    {
        window = std::make_unique<MainWindow>(*document, actions, preferences, &undo, &redo);
    }

    // The entries of a menu bar or menu: the editor's actions by the names of their ids
    // (without "ActionId_"), menus by their titles with their entries in brackets, "-" for a
    // separator.
    QString entries(const QWidget* menu) const
    {
        const QMetaEnum ids = QMetaEnum::fromType<ActionManager::ActionId>();
        QStringList out;
        for (QAction* entry : menu->actions()) {
            QString name = entry->isSeparator() ? "-" : entry->text();
            for (int i = 0; i < ids.keyCount(); ++i)
                if (actions.action(ActionManager::ActionId(ids.value(i))) == entry)
                    name = QString(ids.key(i)).remove("ActionId_");
            if (entry->menu())
                name += "(" + entries(entry->menu()) + ")";
            out << name;
        }
        return out.join(' ');
    }

    // Opens a project of one page with a plain green background, shown in the window.
    unsigned int openProject()
    {
        const unsigned int page = create();
        document->getPage(page).setBackgroundColour(QColor(0, 200, 0));
        document->preparePreview();
        selection.selectPage(page, true, true);
        document->showPage(page);
        window->onDocumentOpened();
        return page;
    }

    void showWindow()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    TestUtil::IsolatedSettings settings;
    VelmoraPreferences preferences;
    ActionManager actions;
    QAction undo{"undo"};
    QAction redo{"redo"};
    std::unique_ptr<MainWindow> window;
};

// The tool bars as a user works them, by clicks on their buttons: a drawing tool arms its kind
// in the page view, the zoom buttons zoom it, a layout button hands on its arrangement with the
// spacing typed beside it (what an align button sends is the action set's test), and a button
// stays disabled while the state gives it nothing to do. Save and Duplicate Page drop down their
// other form.
TEST_F(MainWindowTest, ToolBarButtonsDoWhatTheirActionsDoWhenTheStateAllows)
{
    using Id = ActionManager::ActionId;
    QToolBar* mainBar = window->mainToolBarWidget();
    QToolBar* controlsBar = window->controlsToolBarWidget();
    QToolBar* layoutBar = window->layoutToolBarWidget();
    // The bar's button of the action; null, failing, when the bar does not hold it.
    const auto button = [this](QToolBar* bar, Id id) {
        auto* found = qobject_cast<QToolButton*>(bar->widgetForAction(actions.action(id)));
        EXPECT_NE(found, nullptr) << QMetaEnum::fromType<Id>().valueToKey(id);
        return found;
    };
    const auto click = [&](QToolBar* bar, Id id) {
        QToolButton* target = button(bar, id);
        if (!target || !target->isEnabled())
            return false;
        QTest::mouseClick(target, Qt::LeftButton);
        return true;
    };
    // "x" for a button that can be clicked, "." for one that cannot, in the order given.
    const auto enabled = [&](QToolBar* bar, std::initializer_list<Id> ids) {
        std::string flags;
        for (Id id : ids) {
            const QToolButton* target = button(bar, id);
            flags += target && target->isEnabled() ? 'x' : '.';
        }
        return flags;
    };
    const std::initializer_list<Id> fileAndPages = {
        ActionManager::ActionId_NEW,          ActionManager::ActionId_OPEN_RECENT,
        ActionManager::ActionId_SAVE,         ActionManager::ActionId_CREATE_PAGE,
        ActionManager::ActionId_THEME_EDITOR, ActionManager::ActionId_HELP};
    actions.onDocumentClosed();
    EXPECT_EQ(enabled(mainBar, fileAndPages), "xx...x");

    const unsigned int page = openProject();
    actions.onDocumentOpened();
    actions.onUndoStateChanged(false);
    const unsigned int first = addControl(page, ControlType_LABEL);
    const unsigned int second = addControl(page, ControlType_LABEL);
    showWindow();
    EXPECT_EQ(enabled(mainBar, fileAndPages), "xxxxxx");

    PagePreview* view = window->pagePreviewWidget();
    for (const auto& [id, type] : TestUtil::DrawingTools) {
        EXPECT_TRUE(click(controlsBar, id));
        EXPECT_EQ(view->armedControlType(), type) << id;
    }
    EXPECT_TRUE(click(controlsBar, ActionManager::ActionId_EDIT_CONTROLS));
    EXPECT_TRUE(view->isEditControlModeEnabled());
    EXPECT_TRUE(click(mainBar, ActionManager::ActionId_ZOOM_IN));
    EXPECT_EQ(view->transform().m11(), 1.5);
    EXPECT_TRUE(click(mainBar, ActionManager::ActionId_ZOOM_OUT));
    EXPECT_EQ(view->transform().m11(), 1.0);

    // Nothing to copy, arrange or align until controls are selected.
    const std::initializer_list<Id> arrange = {ActionManager::ActionId_LAYOUT_HORIZONTAL,
                                               ActionManager::ActionId_LAYOUT_VERTICAL,
                                               ActionManager::ActionId_LAYOUT_GRID};
    const std::initializer_list<Id> align = {
        ActionManager::ActionId_ALIGN_LEFT,     ActionManager::ActionId_ALIGN_RIGHT,
        ActionManager::ActionId_ALIGN_TOP,      ActionManager::ActionId_ALIGN_BOTTOM,
        ActionManager::ActionId_ALIGN_V_MIDDLE, ActionManager::ActionId_ALIGN_H_MIDDLE};
    EXPECT_EQ(enabled(layoutBar, arrange) + enabled(layoutBar, align), ".........");
    EXPECT_EQ(enabled(controlsBar, {ActionManager::ActionId_COPY_CONTROLS}), ".");
    selection.selectControls({first, second}, true);
    actions.onSelectionChanged();
    EXPECT_EQ(enabled(controlsBar, {ActionManager::ActionId_COPY_CONTROLS}), "x");

    QStringList requested;
    QObject::connect(window.get(), &MainWindow::layoutSelectedControlsRequested,
                     [&requested](WysiwygLayout* layout) {
                         const char* kind =
                             dynamic_cast<HorizontalWysiwygLayout*>(layout) ? "horizontal"
                             : dynamic_cast<VerticalWysiwygLayout*>(layout) ? "vertical"
                             : dynamic_cast<GridWysiwygLayout*>(layout)     ? "grid"
                                                                            : "other";
                         requested << QString("%1 %2").arg(kind).arg(layout->spacing);
                     });
    window->spacingSpinBoxWidget()->setValue(24);
    for (Id id : arrange)
        EXPECT_TRUE(click(layoutBar, id));
    for (Id id : align)
        EXPECT_TRUE(click(layoutBar, id));
    EXPECT_EQ(requested, QStringList({"horizontal 24", "vertical 24", "grid 24"}));

    const std::pair<Id, Id> dropDowns[] = {
        {ActionManager::ActionId_SAVE_AS, ActionManager::ActionId_SAVE_AS_MINIMAL},
        {ActionManager::ActionId_DUPLICATE_PAGE, ActionManager::ActionId_DUPLICATE_PAGE_ADVANCED}};
    for (const auto& [id, other] : dropDowns) {
        const QToolButton* target = button(mainBar, id);
        ASSERT_TRUE(target && target->menu()) << id;
        EXPECT_EQ(target->menu()->actions(), QList<QAction*>{actions.action(other)});
    }
}

TEST_F(MainWindowTest, MenusAndDocksHoldTheirParts)
{
    EXPECT_EQ(entries(window->menuBar()),
              "File(NEW OPEN OPEN_RECENT - SAVE SAVE_AS PREFERENCES ABOUT) Help(HELP)");

    // Both tool bars after the first share the second row.
    EXPECT_EQ(window->toolBarArea(window->layoutToolBarWidget()), Qt::TopToolBarArea);
    EXPECT_TRUE(window->toolBarBreak(window->controlsToolBarWidget()));
    EXPECT_FALSE(window->toolBarBreak(window->layoutToolBarWidget()));
    EXPECT_FALSE(window->layoutToolBarWidget()->isAreaAllowed(Qt::LeftToolBarArea));

    const std::vector<std::tuple<QDockWidget*, QWidget*, Qt::DockWidgetArea, QString>> docks = {
        {window->pageListDockWidget(), window->pageListWidget(), Qt::LeftDockWidgetArea, "Pages"},
        {window->propertyEditorDockWidget(), window->propertyEditorWidget(),
         Qt::RightDockWidgetArea, "Property Editor"},
    };
    for (const auto& [dock, widget, area, title] : docks) {
        EXPECT_EQ(dock->widget(), widget);
        EXPECT_EQ(window->dockWidgetArea(dock), area);
        EXPECT_EQ(dock->allowedAreas(), area);
        EXPECT_EQ(dock->features(), QDockWidget::NoDockWidgetFeatures);
        EXPECT_EQ(dock->windowTitle(), title);
        EXPECT_FALSE(widget->isEnabled()) << "no project is open";
    }
    EXPECT_EQ(static_cast<QMainWindow*>(window.get())->createPopupMenu(), nullptr);
    EXPECT_EQ(MainWindow::instance(), window.get());
}

TEST_F(MainWindowTest, TitleFollowsTheProject)
{
    const QString fullName = VendorVariants::instance().fullName;
    EXPECT_EQ(window->windowTitle(), fullName);

    // A new project has its file before its first save.
    openProject();
    EXPECT_EQ(window->windowTitle(), "hall.qvp[*] - " + fullName);
    EXPECT_TRUE(window->pagePreviewWidget()->isEnabled());

    document->saveAs(folder.filePath("lobby.qvp"), false);
    window->refreshWindowTitle();
    EXPECT_EQ(window->windowTitle(), "lobby.qvp[*] - " + fullName);
    window->onUndoStateChanged(false);
    EXPECT_TRUE(window->isWindowModified());
    window->onUndoStateChanged(true);
    EXPECT_FALSE(window->isWindowModified());

    window->onDocumentClosing();
    EXPECT_EQ(window->pagePreviewWidget()->scene(), nullptr);
    window->onDocumentClosed();
    EXPECT_EQ(window->windowTitle(), fullName);
    EXPECT_FALSE(window->pageListWidget()->isEnabled());
}

// Help that no program can show, or whose page is missing, is reported naming the file.
TEST_F(MainWindowTest, HelpThatCannotBeShownIsReportedNamingTheFile)
{
    const QString page = QDir::cleanPath(resourcesPath() + "/help/Default.htm");
    const std::pair<QString, QString> cases[] = {
        {QString(), "No program is registered to open the help page " + page + "."},
        {folder.path(),
         "The help page " + folder.filePath("help/Default.htm") + " cannot be found."}};
    UrlOpener::replace([](const QUrl&) { return false; });
    for (const auto& [resources, problem] : cases) {
        setResourcesPathOverride(resources);
        TestUtil::ModalAnswerer answers;
        answers.messageBox(QMessageBox::Ok);
        actions.action(ActionManager::ActionId_HELP)->trigger();
        EXPECT_EQ(answers.answered().value(0).text, problem);
    }
    setResourcesPathOverride(QString());
    UrlOpener::replace({});
}

TEST_F(MainWindowTest, WindowShortcuts)
{
    const unsigned int page = openProject();
    const unsigned int label = addControl(page, ControlType_LABEL);
    showWindow();
    // The focus sits in a tool bar's spin box, away from the page view.
    window->spacingSpinBoxWidget()->setFocus();

    QAction* addButton = actions.action(ActionManager::ActionId_ADD_BUTTON);
    addButton->setChecked(true);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(addButton->isChecked());

    selection.selectControl(label, true, true);
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(selection.isEmpty());

    QSignalSpy selectAll(window.get(), &MainWindow::selectAllControlsRequested);
    QTest::keySequence(window.get(), QKeySequence::SelectAll);
    EXPECT_EQ(selectAll.count(), 1);
}

// The page view draws the page, and a page added while the window shows the project is what
// the page view shows next.
TEST_F(MainWindowTest, PageViewShowsAnAddedPage)
{
    openProject();
    window->resize(1000, 700);
    showWindow();
    PagePreview* view = window->pagePreviewWidget();
    const auto pixelAt = [&](const QPointF& point) {
        return QColor(window->grab().toImage().pixel(
            view->viewport()->mapTo(window.get(), view->mapFromScene(point))));
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return pixelAt({240, 136}) == QColor(0, 200, 0); }));

    NewPageData data;
    data.backgroundColour = QColor(200, 0, 0);
    auto* add = new AddPageCommand(data, *document);
    push(add);
    const unsigned int added = *add->newPageId();
    selection.selectPage(added, true, true);
    document->showPage(added);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pixelAt({240, 136}) == QColor(200, 0, 0); }));
}

TEST_F(MainWindowTest, GeometryComesBackOnScreen)
{
    window.reset();
    {
        QSettings store;
        store.setValue("Geometry/Position", QPoint(-9000, -9000));
        store.setValue("Geometry/Size", QSize(400, 300));
    }
    makeWindow();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(QRect(window->pos(), window->size()).center(), screen.center());
    EXPECT_EQ(window->size(), QSize(400, 300));

    window->resize(500, 350);
    window.reset();
    EXPECT_EQ(MainWindow::instance(), nullptr);
    const StoredSettings store;
    EXPECT_EQ(store.value("Geometry/Size").toSize(), QSize(500, 350));
    EXPECT_FALSE(store.value("Geometry/Docks").toByteArray().isEmpty());
}

} // namespace
