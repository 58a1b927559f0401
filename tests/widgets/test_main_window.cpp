#include "appengine/wysiwyg_layout.h"
#include "common/command_fixture.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
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

    // The entries of a bar or menu: the editor's actions by the names of their ids (without
    // "ActionId_"), other actions (undo, redo, menus) by their texts, each with its menu or
    // drop-down after it in brackets; "-" for a separator, a plain widget by its class.
    QString entries(const QWidget* bar) const
    {
        const QMetaEnum ids = QMetaEnum::fromType<ActionManager::ActionId>();
        const auto* toolBar = qobject_cast<const QToolBar*>(bar);
        QStringList out;
        for (QAction* entry : bar->actions()) {
            auto* plain = qobject_cast<QWidgetAction*>(entry);
            QString name = plain ? plain->defaultWidget()->metaObject()->className()
                           : entry->isSeparator() ? "-"
                                                  : entry->text();
            for (int i = 0; i < ids.keyCount(); ++i)
                if (actions.action(ActionManager::ActionId(ids.value(i))) == entry)
                    name = QString(ids.key(i)).remove("ActionId_");
            const auto* button =
                toolBar ? qobject_cast<QToolButton*>(toolBar->widgetForAction(entry)) : nullptr;
            if (const QMenu* menu = button ? button->menu() : entry->menu())
                name += "(" + entries(menu) + ")";
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

TEST_F(MainWindowTest, BarsMenusAndDocksHoldTheirParts)
{
    const std::vector<std::pair<QWidget*, QString>> bars = {
        {window->mainToolBarWidget(),
         "NEW OPEN_RECENT SAVE SAVE_AS(SAVE_AS_MINIMAL) - undo redo - CREATE_PAGE "
         "DUPLICATE_PAGE(DUPLICATE_PAGE_ADVANCED) RAISE_PAGE LOWER_PAGE - DELETE - ZOOM_IN "
         "ZOOM_OUT - THEME_EDITOR PROJECT_PROPERTIES PREFERENCES HELP ABOUT QWidget "
         "SOFTWARE_UPDATE"},
        {window->controlsToolBarWidget(),
         "ADD_BUTTON ADD_SLIDER ADD_COLOUR_PICKER ADD_LABEL ADD_KEYPAD ADD_CLOCK - COPY_CONTROLS "
         "PASTE_CONTROLS EDIT_CONTROLS - PAGE_SWITCHER"},
        {window->layoutToolBarWidget(),
         "LAYOUT_HORIZONTAL LAYOUT_VERTICAL LAYOUT_GRID QLabel QSpinBox - ALIGN_LEFT ALIGN_RIGHT "
         "ALIGN_TOP ALIGN_BOTTOM ALIGN_V_MIDDLE ALIGN_H_MIDDLE"},
        {window->menuBar(),
         "File(NEW OPEN OPEN_RECENT - SAVE SAVE_AS PREFERENCES ABOUT) Help(HELP)"},
    };
    for (const auto& [bar, want] : bars) {
        ASSERT_NE(bar, nullptr) << want.toStdString();
        EXPECT_EQ(entries(bar), want);
    }

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
    const QSettings store;
    EXPECT_EQ(store.value("Geometry/Size").toSize(), QSize(500, 350));
    EXPECT_FALSE(store.value("Geometry/Docks").toByteArray().isEmpty());
}

} // namespace
