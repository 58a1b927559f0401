// The whole editor driven as a user drives it. The program starts exactly as the editor's main
// starts it, on the X server this test runs on (CTest runs it inside xvfb-run), and the
// scenarios work only through real input on the real windows: clicks, drags and keys where a
// person would make them. They read what a person would see (the windows, the screen, the
// files written) and nothing else.
//
// Each scenario starts with the editor closed and opens files of its own: made for it by a
// helper, or copied from the file that a scenario before it left where the story needs that
// (the copy names the scenario), so that a failure shows in the scenario where it happened.

#include "acceptance/editor_views.h"
#include "acceptance/project_files.h"
#include "acceptance/user_input.h"
#include "common/helpers.h"
#include "common/modal_answerer.h"
#include "gui/property_delegate.h"
#include "main/application/editor_program.h"
#include "main/application/velmora_application.h"
#include "widgets/main_window.h"
#include "widgets/page_list.h"
#include "widgets/page_preview.h"
#include "widgets/property_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QQuickItem>
#include <QScreen>
#include <QSpinBox>
#include <QSplashScreen>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace Editor;
using namespace UserInput;

// Failures print texts as text.
void PrintTo(const QString& text, std::ostream* stream)
{
    *stream << '"' << text.toStdString() << '"';
}

namespace {

class Scenario : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The scenarios open menus and lists themselves.
        answers.setAnswersPopups(false);
        answers.failAfter(60000);
        // What a scenario before left open goes, unsaved.
        if (window()->isVisible()) {
            if (window()->isWindowModified())
                answer([](QWidget* box) { pressButton(box, QMessageBox::Discard); });
            key(window(), Qt::Key_Q, Qt::ControlModifier);
            ASSERT_TRUE(waitFor([] { return !window()->isVisible(); }));
        }
    }

    // The editor started on the project, as from the command line.
    static void open(const QString& project)
    {
        program()->launch(project);
        ASSERT_TRUE(waitFor([] { return app()->state() == VelmoraApplication::ProjectOpen; }));
        ASSERT_TRUE(waitForWindow(window()));
    }

    // The editor started without a project, and a new one made from its launch dialog.
    void launchNewProject(const QString& name, const QString& theme, const QString& layout,
                          const QString& pageName, bool gallery = false, int icon = -1)
    {
        answer([gallery](QWidget* dialog) {
            ASSERT_TRUE(waitForWindow(dialog));
            waitFor([] { return !app()->splashScreen() || !app()->splashScreen()->isVisible(); });
            if (gallery)
                shoot("launch", dialog);
            click(button(dialog, "New..."));
        });
        answer([=](QWidget* dialog) {
            newProject(dialog, name, theme, layout, pageName, gallery, nullptr, icon);
        });
        program()->launch(QString());
        ASSERT_TRUE(waitFor([] { return app()->state() == VelmoraApplication::ProjectOpen; }));
        ASSERT_TRUE(waitForWindow(window()));
        EXPECT_EQ(answers.pending(), 0);
    }

    // Queues an answer for the next window that waits for one; an answer cut short by a
    // failed assertion closes its window.
    void answer(const std::function<void(QWidget*)>& answer)
    {
        answers.then([answer](QWidget* window) {
            answer(window);
            if (::testing::Test::HasFatalFailure() && window->isVisible())
                window->close();
        });
    }

    // The unlock code and function set in the project's properties (Security).
    void setLock(const QString& code, const QString& function)
    {
        answer([=](QWidget* dialog) {
            ASSERT_TRUE(waitForWindow(dialog));
            auto* tabs = dialog->findChild<QTabBar*>();
            ASSERT_NE(tabs, nullptr);
            click(tabs, tabs->tabRect(1).center());
            auto* security = dialog->findChild<QGroupBox*>("securityGroupBox");
            ASSERT_NE(security, nullptr);
            if (!security->isChecked())
                click(security, QPoint(security->fontMetrics().height(), 4));
            ASSERT_TRUE(security->isChecked());
            auto* edit = dialog->findChild<QLineEdit*>("unlockCodeEdit");
            click(edit);
            retype(edit, code);
            chooseInCombo(dialog->findChild<QComboBox*>("unlockFunctionEdit"), function);
            click(button(dialog, "OK"));
        });
        useTool("Project Properties");
        EXPECT_EQ(answers.pending(), 0);
    }

    TestUtil::ModalAnswerer answers;
};

TEST_F(Scenario, S1_FirstRunThroughTheWizard)
{
    // The page gets the last of the theme's eight icons.
    const QString hall = file("Hall.qvp");
    launchNewProject("Hall", "Midnight", "Welcome", "Lobby", true, 7);
    EXPECT_EQ(window()->windowTitle(), "Hall.qvp[*] - Orvane Dravelin");
    // Never saved: modified, although nothing was done yet.
    EXPECT_TRUE(window()->isWindowModified());
    EXPECT_EQ(pagesListed(), QStringList{"Lobby"});
    EXPECT_EQ(shown("Page", "Name"), "Lobby");
    // The icon's 18 x 18 thumbnail shows at the start of the page's Icon row, and Midnight's
    // light glyph stands out from what lies around it (its top-left corner is transparent):
    // a good part of the thumbnail is far from the colour there.
    const QRect iconRow = propertyEditor()->visualRect(valueCell({"Page", "Icon"}));
    const QImage icon = settledScreenImage(propertyEditor()->viewport(),
                                           QRect(iconRow.topLeft() + QPoint(1, 1), QSize(18, 18)));
    int standingOut = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            standingOut += TestUtil::channelDistance(icon.pixel(x, y), icon.pixel(0, 0)) > 64;
    EXPECT_GT(standingOut, 18 * 18 / 4);
    // The page of the Welcome template: a clock, a greeting and two buttons.
    EXPECT_EQ(textsShown(), QStringList({"Welcome", "Lights", "Good Night"}));

    // Saved where the wizard said, without a question.
    key(window(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(hall); }));
    EXPECT_EQ(window()->windowTitle(), "Hall.qvp[*] - Orvane Dravelin");
    EXPECT_FALSE(window()->isWindowModified());
}

// Leaves Building.qvp for the scenarios of the live page and of opening a project again.
TEST_F(Scenario, S2_BuildingAPage)
{
    const QString building =
        ProjectFiles::project(file("Building.qvp"), "Midnight", "Welcome", "Lobby");
    const QByteArray opened = TestUtil::readFile(building);
    open(building);
    // A blank page of its own for the controls.
    answer([](QWidget* dialog) { newPage(dialog, "Controls", ""); });
    useTool("Create Page");
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_EQ(pagesListed(), QStringList({"Lobby", "Controls"}));
    EXPECT_EQ(shown("Page", "Name"), "Controls");

    // One control of each kind, each drawn with its tool; the new control is the selection.
    const struct
    {
        const char* tool;
        const char* group;
        QRect rect;
    } controls[] = {
        {"Add Button", "Button", QRect(16, 16, 96, 48)},
        {"Add Label", "Label", QRect(16, 80, 96, 32)},
        {"Add Clock", "Clock", QRect(16, 128, 96, 96)},
        {"Add Slider", "Slider", QRect(128, 16, 200, 48)},
        {"Add Colour Picker", "Colour Picker", QRect(128, 80, 120, 120)},
        {"Add Keypad", "Keypad", QRect(344, 16, 128, 240)},
    };
    for (const auto& control : controls) {
        drawControl(control.tool, control.rect);
        EXPECT_EQ(groupsShown(), QStringList({"Control", control.group})) << control.tool;
        EXPECT_EQ(shownGeometry(), control.rect) << control.tool;
    }
    key(window(), Qt::Key_Escape);

    // In edit mode the button is dragged by its middle, then made larger by the grip drawn at
    // its frame's bottom right corner, where the pointer shows a diagonal resize.
    useTool("Edit Controls");
    QWidget* view = pageView()->viewport();
    drag(view, onPage(QPoint(64, 40)), onPage(QPoint(68, 50)));
    EXPECT_EQ(groupsShown(), QStringList({"Control", "Button"}));
    EXPECT_EQ(shownGeometry(), QRect(20, 26, 96, 48));
    const QPoint grip = gripOnScreen(QPoint(118, 76));
    moveTo(view, grip);
    EXPECT_EQ(view->cursor().shape(), Qt::SizeFDiagCursor);
    drag(view, grip, grip + QPoint(4, 6));
    EXPECT_EQ(shownGeometry(), QRect(20, 26, 100, 54));

    // A band from the page's corner over the button and the label selects the two; aligned to
    // the left, then laid out one below the other with a spacing of 12.
    drag(view, onPage(QPoint(4, 4)), onPage(QPoint(124, 118)));
    EXPECT_EQ(groupsShown(), QStringList({"Control"}));
    EXPECT_EQ(currentPageListed(), "Controls"); // the page list marks their page
    EXPECT_EQ(shown("Control", "X"), "");
    useTool("Zoom In");
    useTool("Zoom In");
    pageView()->ensureVisible(QRectF(0, 0, 240, 136));
    shoot("page_view_zoom2", view);
    useTool("Zoom Out");
    useTool("Zoom Out");
    useTool("Align Left");
    EXPECT_EQ(shown("Control", "X"), "16");
    QSpinBox* spacing = window()->findChild<QSpinBox*>();
    click(spacing);
    retype(spacing, "12");
    useTool("Layout Vertically");
    click(view, onPage(QPoint(30, 30)));
    const QRect buttonRect = shownGeometry();
    click(view, onPage(QPoint(30, buttonRect.bottom() + 12 + 4)));
    EXPECT_EQ(groupsShown(), QStringList({"Control", "Label"}));
    EXPECT_EQ(shownGeometry().top(), buttonRect.bottom() + 1 + 12);

    // The label's text, typed into the property editor.
    editText({"Control", "Caption"}, "Scenes");
    EXPECT_EQ(shown("Control", "Caption"), "Scenes");
    shootRows("property_editor_label", propertyEditor());

    // The button's infrared slot, chosen from the slots still free.
    click(view, onPage(QPoint(30, 30)));
    clickCell(propertyEditor(), valueCell({"Button", "Click IR Slot"}));
    chooseInCombo(propertyEditor()->findChild<QComboBox*>(), "Slot 3");
    EXPECT_EQ(shown("Button", "Click IR Slot"), "Slot 3");
    shootRows("property_editor_button", propertyEditor());

    // The page's colour, set in the colour dialog, shows on the page.
    click(view, onPage(QPoint(300, 250)));
    EXPECT_EQ(groupsShown(), QStringList({"Page"}));
    answer([](QWidget* dialog) { answerColour(dialog, pageColour, "colour_dialog"); });
    clickMore({"Page", "Background Colour"});
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_TRUE(waitFor([] { return pixelsOnPage(pageColour) > 480 * 272 / 3; }));

    // Then a gradient from the library over it, in the gradient dialog.
    answer([](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        auto* list = dialog->findChild<QListView*>();
        clickCell(list, rowByText(list, {"Sunset"}), 40);
        shoot("gradient_dialog", dialog);
        click(button(dialog, "Close"));
    });
    clickMore({"Page", "Background Gradient"});
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_EQ(shown("Page", "Background Gradient"), "Sunset");
    EXPECT_TRUE(waitFor([] { return pixelsOnPage(pageColour) == 0; }));
    shootRows("property_editor_page", propertyEditor());

    // A copy of the page, then a page switcher on it over all three pages, composed by
    // dragging the pages into the switcher's list.
    useTool("Duplicate Page");
    answer([](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        QList<QListView*> lists;
        for (QListView* list : dialog->findChildren<QListView*>())
            if (list->isVisible() && list->window() == dialog)
                lists << list;
        ASSERT_EQ(lists.size(), 2);
        QListView* available = lists[0];
        QListView* switcher = lists[1];
        for (const QString page : {"Lobby", "Controls", "Copy of Controls"}) {
            const QModelIndex row = rowByText(available, {page});
            ASSERT_TRUE(row.isValid()) << page.toStdString();
            const QRect from = available->visualRect(row);
            ASSERT_TRUE(dragWithPointer(available->viewport(), from.center(), switcher->viewport(),
                                        QPoint(20, switcher->viewport()->height() - 10)));
        }
        shoot("page_switcher_dialog", dialog);
        click(button(dialog, "OK"));
    });
    useTool("Add Page Switcher");
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_TRUE(textsShown().contains("Controls")) << textsShown().join(", ").toStdString();

    // The copy renamed, raised above its original; a second copy made and deleted.
    editText({"Page", "Name"}, "Studio");
    EXPECT_EQ(pagesListed(), QStringList({"Lobby", "Controls", "Studio"}));
    useTool("Raise Page");
    EXPECT_EQ(pagesListed(), QStringList({"Lobby", "Studio", "Controls"}));
    useTool("Duplicate Page");
    EXPECT_EQ(pagesListed(), QStringList({"Lobby", "Studio", "Controls", "Copy of Studio"}));
    EXPECT_EQ(shown("Page", "Name"), "Copy of Studio");
    useTool("Delete");
    EXPECT_EQ(pagesListed(), QStringList({"Lobby", "Studio", "Controls"}));

    // The page list moves between the pages.
    for (const QString page : {"Lobby", "Controls", "Studio"}) {
        showPage(page);
        EXPECT_EQ(shown("Page", "Name"), page);
        EXPECT_EQ(currentPageListed(), page);
    }
    EXPECT_NE(shownItem("keyEnter"), nullptr);

    // Saved; every step undone, the file is as it was opened; every step redone, as built.
    key(window(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([] { return !window()->isWindowModified(); }));
    const QByteArray built = TestUtil::readFile(building);
    const int steps = pressUntilDisabled(Qt::Key_Z, Qt::ControlModifier, app()->undoAction());
    EXPECT_GT(steps, 20);
    EXPECT_EQ(pagesListed(), QStringList{"Lobby"});
    key(window(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(TestUtil::readFile(building), opened);
    EXPECT_EQ(
        pressUntilDisabled(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, app()->redoAction()),
        steps);
    EXPECT_EQ(pagesListed(), QStringList({"Lobby", "Studio", "Controls"}));
    key(window(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(TestUtil::readFile(building), built);
}

TEST_F(Scenario, S3_TheLivePreviewBehavesAsThePanel)
{
    open(ProjectFiles::copyOf(file("Building.qvp"), file("Live.qvp"), "S2_BuildingAPage"));
    showPage("Studio");
    setTool("Edit Controls", false);
    QWidget* view = pageView()->viewport();

    // The slider shows its value; dragged by its handle, it shows the new one.
    QQuickItem* handle = shownItem("handle");
    ASSERT_NE(handle, nullptr);
    click(view, onPage(centreOf(handle)));
    editChoice({"Slider", "Show Value"}, "Yes");
    handle = shownItem("handle");
    ASSERT_NE(handle, nullptr);
    const QStringList before = textsIn(handle->parentItem());
    const QPoint grip = centreOf(handle);
    drag(view, onPage(grip), onPage(grip + QPoint(100, 0)), 10);
    const QStringList after = textsIn(handle->parentItem());
    EXPECT_NE(before, after);

    // The keypad takes digits; it hides them behind dots.
    for (const char* key : {"key1", "key2", "key3"})
        click(view, onPage(centreOf(shownItem(key))));
    EXPECT_EQ(shownItem("display")->property("text").toString().size(), 3);

    // A button that goes to the Lobby: pressed in the page view, the editor follows.
    click(view, onPage(QPoint(30, 40)));
    EXPECT_EQ(groupsShown(), QStringList({"Control", "Button"}));
    editChoice({"Button", "Local Function"}, "Go To Page");
    editChoice({"Button", "Local Function", "Page"}, "Lobby");
    click(view, onPage(QPoint(30, 40)));
    EXPECT_EQ(currentPageListed(), "Lobby");
    EXPECT_EQ(groupsShown(), QStringList({"Page"}));
    EXPECT_EQ(shown("Page", "Name"), "Lobby");
    EXPECT_TRUE(textsShown().contains("Good Night"));
    EXPECT_FALSE(textsShown().contains("Enter"));
    EXPECT_EQ(pageGapsOnScreen(), 0);

    // The Lobby's "Lights" button goes to the next page: the Studio.
    click(view, onPage(centreOf(shownText("Lights"))));
    editChoice({"Button", "Local Function"}, "Next Page");
    click(view, onPage(centreOf(shownText("Lights"))));
    EXPECT_EQ(currentPageListed(), "Studio");
    EXPECT_EQ(shown("Page", "Name"), "Studio");
    EXPECT_NE(shownItem("keyEnter"), nullptr);
    EXPECT_EQ(pageGapsOnScreen(), 0);
    shoot("main_midnight", window());

    // Moved by dragging in edit mode, the Studio's button that goes to the Lobby does not
    // click: the editor stays.
    setTool("Edit Controls", true);
    drag(view, onPage(QPoint(30, 40)), onPage(QPoint(30, 44)));
    EXPECT_EQ(shownGeometry().top(), 30);
    EXPECT_EQ(currentPageListed(), "Studio");

    // Out of it again, a page button of the switcher goes to its page, and the editor follows.
    setTool("Edit Controls", false);
    click(view, onPage(centreOf(shownText("Controls"))));
    EXPECT_EQ(currentPageListed(), "Controls");
}

// In Edit Controls a click or a double click on a control or the page switcher picks it, at
// any zoom, and nothing of what the live page does outside it happens.
TEST_F(Scenario, S4_EditControlsPicksWithoutOperating)
{
    open(ProjectFiles::copyOf(file("Building.qvp"), file("Picking.qvp"), "S2_BuildingAPage"));
    showPage("Studio");
    setTool("Edit Controls", true);
    QWidget* view = pageView()->viewport();
    click(view, onPage(QPoint(30, 40)));
    editChoice({"Button", "Local Function"}, "Go To Page");
    editChoice({"Button", "Local Function", "Page"}, "Lobby");
    // The page shown, the keypad's display, the colour picker's mark, the slider's texts.
    const auto live = [] {
        const QPoint mark = centreOf(shownItem("indicator"));
        return QStringList{currentPageListed(), shownItem("display")->property("text").toString(),
                           QString("%1,%2").arg(mark.x()).arg(mark.y())} +
               textsIn(shownItem("handle")->parentItem());
    };
    const QStringList before = live();
    const struct
    {
        const char* what;
        QPoint at;
        QStringList groups;
    } picks[] = {
        {"Go To Page button", QPoint(30, 40), {"Control", "Button"}},
        {"label", centreOf(shownText("Scenes")), {"Control", "Label"}},
        {"clock", QPoint(64, 176), {"Control", "Clock"}},
        {"slider's handle", centreOf(shownItem("handle")), {"Control", "Slider"}},
        {"colour wheel", QPoint(150, 110), {"Control", "Colour Picker"}},
        {"keypad's 1", centreOf(shownItem("key1")), {"Control", "Keypad"}},
        {"switcher's Lobby", centreOf(shownText("Lobby")), {"Page Switcher"}},
    };
    for (const int zoom : {100, 200}) {
        if (zoom == 200) {
            useTool("Zoom In");
            useTool("Zoom In");
        }
        for (const auto& pick : picks) {
            pageView()->ensureVisible(QRectF(pick.at - QPoint(30, 30), QSizeF(60, 60)));
            click(view, onPage(pick.at));
            EXPECT_EQ(groupsShown(), pick.groups) << pick.what << " at " << zoom << " %";
            doubleClick(view, onPage(pick.at));
            EXPECT_EQ(groupsShown(), pick.groups) << pick.what << " at " << zoom << " %";
            EXPECT_EQ(live(), before) << pick.what << " at " << zoom << " %";
        }
    }

    // At 200 % the slider is made wider by the grip drawn on its frame's right side; dragged by
    // its handle, it moves and keeps its value.
    pageView()->ensureVisible(QRectF(120, 0, 240, 100));
    click(view, onPage(QPoint(228, 30)));
    const QPoint grip = gripOnScreen(QPoint(330, 40));
    moveTo(view, grip);
    EXPECT_EQ(view->cursor().shape(), Qt::SizeHorCursor);
    drag(view, grip, grip + QPoint(20, 0));
    EXPECT_EQ(shownGeometry(), QRect(128, 16, 210, 48));
    const QPoint handle = centreOf(shownItem("handle"));
    drag(view, onPage(handle), onPage(handle + QPoint(0, 20)));
    EXPECT_EQ(shownGeometry(), QRect(128, 36, 210, 48));
    EXPECT_EQ(live(), before);
    useTool("Zoom Out");
    useTool("Zoom Out");
}

TEST_F(Scenario, S5_SavedAndOpenedAgain)
{
    const QString project =
        ProjectFiles::copyOf(file("Building.qvp"), file("Reopened.qvp"), "S2_BuildingAPage");
    const QByteArray saved = TestUtil::readFile(project);
    open(project);
    EXPECT_EQ(pagesListed(), QStringList({"Lobby", "Studio", "Controls"}));
    const QList<QImage> before = pagesOnScreen();

    // Closed with the Quit key, then started again on the file: the same bytes, the same pages.
    key(window(), Qt::Key_Q, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([] { return app()->state() == VelmoraApplication::NoProject; }));
    EXPECT_FALSE(window()->isVisible());
    open(project);
    EXPECT_EQ(TestUtil::readFile(project), saved);
    EXPECT_EQ(pagesListed(), QStringList({"Lobby", "Studio", "Controls"}));
    const QList<QImage> after = pagesOnScreen();
    ASSERT_EQ(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i)
        EXPECT_EQ(difference(after[i], before[i]), "none") << "page " << i;
    // The Studio's page switcher marks the Studio's button, not the Lobby's.
    showPage("Studio");
    EXPECT_NE(switcherButtonTop("Studio"), switcherButtonTop("Lobby"));
}

TEST_F(Scenario, S6_TheThemeEditor)
{
    launchNewProject("Harbour", "Midnight", "Welcome", "Lobby");
    key(window(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([] { return !window()->isWindowModified(); }));
    const QStringList states = projectThemeStates();
    ASSERT_FALSE(states.isEmpty());
    EXPECT_EQ(pixelsOnPage(themeColour), 0);

    // A state added to the buttons; their normal state's border and its transition changed.
    answer([this](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        click(button(dialog, "Edit Project Theme"));
        auto* skins = dialog->findChild<QListView*>("skinList");
        ASSERT_NE(skins, nullptr);
        click(dialog->findChild<QWidget*>("addSkinButton"));
        clickCell(skins, rowByText(skins, {"Normal (Default)"}));
        auto* sheet = dialog->findChild<QTreeView*>("skinPropertyEditor");
        answer([](QWidget* colours) { answerColour(colours, themeColour); });
        clickCell(sheet, rowByText(sheet, {"Button", "Border colour"}).siblingAtColumn(1),
                  -PropertyDelegate::buttonWidth - 10);
        auto* duration = dialog->findChild<QDoubleSpinBox*>("skinTransitionDurationEdit");
        click(duration);
        retype(duration, "0.5");
        key(duration, Qt::Key_Tab);
        chooseInCombo(dialog->findChild<QComboBox*>("skinTransitionEasingEdit"), "Linear");
        shoot("theme_editor", dialog);
        click(button(dialog, "Done"));
    });
    useTool("Theme Editor");
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_TRUE(waitFor([] { return pixelsOnPage(themeColour) > 50; }));
    const QStringList edited = projectThemeStates();
    EXPECT_EQ(edited.size(), states.size() + 1);

    // One undo step takes all of it away; redone, it is back.
    key(window(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(waitFor([] { return pixelsOnPage(themeColour) == 0; }));
    EXPECT_EQ(projectThemeStates(), states);
    key(window(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(waitFor([] { return pixelsOnPage(themeColour) > 50; }));
    EXPECT_EQ(projectThemeStates(), edited);

    // Exported to a theme file under a name of its own, the theme makes a second project.
    answer([](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        click(button(dialog, "Export Project Theme"));
        QLineEdit* name = nullptr;
        QLineEdit* path = nullptr;
        for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
            if (edit->isVisible())
                (edit->objectName() == "nameEdit" ? name : path) = edit;
        ASSERT_TRUE(name && path);
        EXPECT_EQ(name->text(), "Midnight");
        click(name);
        retype(name, "Harbour Blue");
        click(path);
        retype(path, file("Harbour Blue.qvt"));
        click(button(dialog, "Save"));
    });
    useTool("Theme Editor");
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_TRUE(QFileInfo::exists(file("Harbour Blue.qvt")));

    // The wizard lists it by that name, beside the theme it came from.
    QStringList themes;
    answer([](QWidget* box) { pressButton(box, QMessageBox::Save); });
    answer([&themes](QWidget* dialog) {
        newProject(dialog, "Annex", "Harbour Blue", "Welcome", QString(), false, &themes, 0);
    });
    chooseFromMenuBar(window(), "File", "New");
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_EQ(themes.count("Midnight"), 1) << themes.join(", ").toStdString();
    // The modified project was saved first, on the user's word.
    const auto& seen = answers.answered();
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const auto& window) {
        return window.text == "Harbour.qvp has been modified. Do you want to save the changes?";
    }));
    ASSERT_EQ(app()->documentPath(), file("Annex.qvp"));
    EXPECT_TRUE(waitFor([] { return pixelsOnPage(themeColour) > 50; }));
}

// A project of one page of the theme, with a slider and a colour picker where S2 draws them.
QString slidersProject(const QString& name, const QString& theme)
{
    return ProjectFiles::project(file(name), theme, "", "Controls",
                                 {{Velmora::ControlType_SLIDER, QRect(128, 16, 200, 48)},
                                  {Velmora::ControlType_COLOUR_PICKER, QRect(128, 80, 120, 120)}});
}

TEST_F(Scenario, S7_CopyInOneProjectPasteInAnother)
{
    // Controls copied from a project's page.
    open(slidersProject("Source.qvp", "Midnight"));
    QWidget* view = pageView()->viewport();
    drag(view, onPage(QPoint(122, 8)), onPage(QPoint(335, 205)));
    EXPECT_EQ(groupsShown(), QStringList({"Control"}));
    key(view, Qt::Key_C, Qt::ControlModifier);

    // Pasted into a new project on the other built-in theme, where they were.
    answer([](QWidget* dialog) { newProject(dialog, "Cellar", "Daylight", ""); });
    chooseFromMenuBar(window(), "File", "New");
    ASSERT_EQ(app()->documentPath(), file("Cellar.qvp"));
    key(pageView()->viewport(), Qt::Key_V, Qt::ControlModifier);
    click(view, onPage(QPoint(228, 40)));
    EXPECT_EQ(groupsShown(), QStringList({"Control", "Slider"}));
    EXPECT_EQ(shownGeometry(), QRect(128, 16, 200, 48));
    click(view, onPage(QPoint(188, 140)));
    EXPECT_EQ(groupsShown(), QStringList({"Control", "Colour Picker"}));
    shoot("main_daylight", window());
    key(window(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window()->isWindowModified());
}

TEST_F(Scenario, S8_BadFilesFromTheFileMenu)
{
    const QString pantry = slidersProject("Pantry.qvp", "Daylight");
    open(pantry);
    const QByteArray good = TestUtil::readFile(pantry);
    ASSERT_TRUE(TestUtil::writeFile(file("Broken.qvp"), good.left(good.size() / 2)));
    ASSERT_TRUE(TestUtil::writeFile(file("Photo.qvp"), TestUtil::pngBytes(32, 32, Qt::red)));
    for (const QString& bad : {file("Broken.qvp"), file("Photo.qvp")}) {
        answer([bad](QWidget* dialog) { typeFileName(dialog, bad); });
        answer([](QWidget* box) { pressButton(box, QMessageBox::Ok); });
        chooseFromMenuBar(window(), "File", "Open...");
        EXPECT_EQ(answers.pending(), 0);
        EXPECT_EQ(answers.answered().last().title, "Load failed");
        EXPECT_TRUE(answers.answered().last().text.startsWith(
            "Orvane Dravelin encountered an error while loading\n" + bad + "\n'"))
            << answers.answered().last().text.toStdString();
        // The window stays, with nothing open, and its menu works.
        EXPECT_TRUE(window()->isVisible());
        EXPECT_EQ(app()->state(), VelmoraApplication::NoProject);
    }
    // A new project on a theme file that went bad since it was listed is reported too.
    ASSERT_TRUE(TestUtil::writeFile(
        ProjectFiles::theme(file("Attic Theme.qvt"), "Midnight", "Attic Theme"), "not a theme"));
    answer([](QWidget* dialog) { newProject(dialog, "Attic", "Attic Theme", ""); });
    answer([](QWidget* box) { pressButton(box, QMessageBox::Ok); });
    chooseFromMenuBar(window(), "File", "New");
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_EQ(answers.answered().last().title, "Load failed");
    EXPECT_EQ(app()->state(), VelmoraApplication::NoProject);

    // The editor goes on: the project open before comes back as it was.
    answer([pantry](QWidget* dialog) { typeFileName(dialog, pantry); });
    chooseFromMenuBar(window(), "File", "Open...");
    ASSERT_EQ(app()->documentPath(), pantry);
    click(pageView()->viewport(), onPage(QPoint(228, 40)));
    EXPECT_EQ(groupsShown(), QStringList({"Control", "Slider"}));
}

TEST_F(Scenario, S9_ClosingWithUnsavedChanges)
{
    const QString larder = slidersProject("Larder.qvp", "Daylight");
    const QByteArray saved = TestUtil::readFile(larder);
    open(larder);
    // The slider, selected, moves right by a step.
    click(pageView()->viewport(), onPage(QPoint(228, 40)));
    key(window(), Qt::Key_Right);
    EXPECT_EQ(shown("Control", "X"), "129");
    ASSERT_TRUE(window()->isWindowModified());

    // Cancel keeps everything.
    answer([](QWidget* box) { pressButton(box, QMessageBox::Cancel); });
    key(window(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(answers.answered().last().text,
              "Larder.qvp has been modified. Do you want to save the changes?");
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(shown("Control", "X"), "129");
    EXPECT_TRUE(window()->isWindowModified());

    // Discard closes and leaves the file as it was.
    answer([](QWidget* box) { pressButton(box, QMessageBox::Discard); });
    key(window(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(app()->state(), VelmoraApplication::NoProject);
    EXPECT_FALSE(window()->isVisible());
    EXPECT_EQ(TestUtil::readFile(larder), saved);

    // Started again on the file, moved again, and Save writes it.
    open(larder);
    click(pageView()->viewport(), onPage(QPoint(228, 40)));
    key(window(), Qt::Key_Right);
    answer([](QWidget* box) { pressButton(box, QMessageBox::Save); });
    key(window(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_EQ(app()->state(), VelmoraApplication::NoProject);
    EXPECT_NE(TestUtil::readFile(larder), saved);

    // Started again without a file: a bad file picked through the launch dialog's Open is
    // reported and the dialog comes back; the project picked from its recent files opens.
    answer([](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        click(button(dialog, "Open..."));
    });
    ASSERT_TRUE(TestUtil::writeFile(file("Torn.qvp"), saved.left(saved.size() / 2)));
    answer([](QWidget* dialog) { typeFileName(dialog, file("Torn.qvp")); });
    answer([](QWidget* box) { pressButton(box, QMessageBox::Ok); });
    answer([](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        auto* recent = dialog->findChild<QAbstractItemView*>();
        clickCell(recent, rowByText(recent, {"Larder.qvp"}));
    });
    program()->launch(QString());
    ASSERT_TRUE(waitFor([] { return app()->state() == VelmoraApplication::ProjectOpen; }));
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_EQ(answers.answered().value(answers.answered().size() - 2).title, "Load failed");
    click(pageView()->viewport(), onPage(QPoint(228, 40)));
    EXPECT_EQ(shown("Control", "X"), "129");

    // Saved under another name, which gets the suffix; an existing file is not replaced unasked.
    answer([](QWidget* dialog) { typeFileName(dialog, file("Vault.QVP")); });
    chooseFromMenuBar(window(), "File", "Save As...");
    EXPECT_EQ(window()->windowTitle(), "Vault.QVP.qvp[*] - Orvane Dravelin");
    EXPECT_TRUE(QFileInfo::exists(file("Vault.QVP.qvp")));
    answer([](QWidget* dialog) { typeFileName(dialog, file("Larder")); });
    answer([](QWidget* box) { pressButton(box, QMessageBox::No); });
    chooseFromMenuBar(window(), "File", "Save As...");
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_EQ(app()->documentPath(), file("Vault.QVP.qvp"));
}

// The panel's lock tried in the page view: a code set in the project's properties, a button
// that locks, a wrong code that changes nothing, the right one that goes to the home page, or
// with the unlock function Back to the page locked from.
TEST_F(Scenario, S10_LockedAndUnlockedInThePageView)
{
    open(ProjectFiles::project(file("Gate.qvp"), "Midnight", "", "Hall", {}, {"Study"}));
    // The Study's button locks.
    showPage("Study");
    drawControl("Add Button", QRect(16, 16, 96, 48));
    key(window(), Qt::Key_Escape);
    editChoice({"Button", "Local Function"}, "Lock");
    setTool("Edit Controls", false);
    QWidget* view = pageView()->viewport();
    const auto enter = [view](const QString& digits) {
        for (const QChar digit : digits)
            click(view, onPage(centreOf(shownItem(QString("key") + digit))));
        click(view, onPage(centreOf(shownItem("keyEnter"))));
    };
    const int black = 480 * 272 / 3;

    // Home goes to the Hall, which the editor selects; Back returns to the Study, where the
    // button clicked stays selected.
    const struct
    {
        const char* function;
        const char* unlocked;
        QStringList groups;
    } unlocks[] = {{"Home", "Hall", {"Page"}}, {"Back", "Study", {"Control", "Button"}}};
    for (const auto& [function, unlocked, groups] : unlocks) {
        setLock("2468", function);

        // Locked from the Study, outside Edit Controls: the black page of the keypad.
        showPage("Study");
        EXPECT_LT(pixelsOnPage(Qt::black), black);
        click(view, onPage(QPoint(64, 40)));
        ASSERT_NE(shownItem("keyEnter"), nullptr) << function;
        EXPECT_GT(pixelsOnPage(Qt::black), black) << function;
        EXPECT_EQ(currentPageListed(), "Study");
        EXPECT_EQ(pagesListed(), QStringList({"Hall", "Study"}));

        // A wrong code changes nothing.
        click(view, onPage(centreOf(shownItem("key1"))));
        click(view, onPage(centreOf(shownItem("key3"))));
        if (function == std::string("Home"))
            shoot("lock_page", view, QRect(onPage(QPoint(0, 0)), onPage(QPoint(479, 271))));
        enter("5");
        EXPECT_NE(shownItem("keyEnter"), nullptr) << function;
        EXPECT_GT(pixelsOnPage(Qt::black), black) << function;

        // The right one leaves the lock page for its page, which the editor shows in place.
        enter("2468");
        EXPECT_EQ(shownItem("keyEnter"), nullptr) << function;
        EXPECT_EQ(currentPageListed(), unlocked);
        EXPECT_EQ(groupsShown(), groups) << function;
        EXPECT_LT(pixelsOnPage(Qt::black), black) << function;
        EXPECT_EQ(pageGapsOnScreen(), 0) << function;
    }
}

// The lock page at its edges, on a page without a name (a file may hold one), after the Hall:
// locked right after a theme change, the thumbnail made meanwhile shows the page; an arrow key
// or a click on the current page's row takes the lock page away first, with what was typed.
TEST_F(Scenario, S13_TheLockPageAtItsEdges)
{
    open(ProjectFiles::project(file("Keep.qvp"), "Midnight", "", "Hall", {}, {""}));
    setLock("2468", "Back");
    showPage("");
    drawControl("Add Button", QRect(16, 16, 200, 100));
    key(window(), Qt::Key_Escape);
    editChoice({"Button", "Local Function"}, "Lock");
    setTool("Edit Controls", false);
    QWidget* view = pageView()->viewport();
    PageList* list = window()->pageListWidget();
    const auto thumbnail = [list] {
        const QRect row = list->visualRect(rowByText(list, {""})).adjusted(8, 8, 0, 0);
        return settledScreenImage(list->viewport(), QRect(row.topLeft(), list->iconSize() / 2));
    };
    const QImage before = thumbnail();
    answer([](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        auto* themes = dialog->findChild<QListView*>("themeList");
        clickCell(themes, rowByText(themes, {"Daylight"}));
        click(button(dialog, "OK"));
    });
    useTool("Project Properties");
    const QPoint lock = onPage(QPoint(64, 40));
    click(view, lock);
    ASSERT_NE(shownItem("keyEnter"), nullptr);
    ASSERT_TRUE(waitFor([&] { return difference(thumbnail(), before) != "none"; }));
    const QImage after = thumbnail(); // the page's button on it, not one colour
    EXPECT_LT(TestUtil::pixelsOfColour(after, after.pixelColor(after.width() - 5, 30)),
              after.width() * after.height() - 100);

    click(view, onPage(centreOf(shownItem("key9"))));
    key(window(), Qt::Key_Right);
    EXPECT_EQ(shownItem("keyEnter"), nullptr);
    EXPECT_EQ(shown("Control", "X"), "17");
    click(view, lock);
    for (const char* key : {"key2", "key4", "key6", "key8", "keyEnter"})
        click(view, onPage(centreOf(shownItem(key))));
    EXPECT_EQ(shownItem("keyEnter"), nullptr);
    // Locked again, the button selected: the page's row selects the page, which Delete deletes.
    click(view, lock);
    showPage("");
    EXPECT_EQ(shownItem("keyEnter"), nullptr);
    EXPECT_EQ(groupsShown(), QStringList({"Page"}));
    key(window(), Qt::Key_Delete);
    EXPECT_EQ(pagesListed(), QStringList{"Hall"});
}

// A project whose two pages share one page switcher, as a navigation bar listed on every page
// is: the page shown has the bar on it once the thumbnails are made, after twenty moves undone
// and redone, and after a page deleted, the deletion undone and the page shown renamed.
TEST_F(Scenario, S14_TheSharedSwitcherStaysOnThePageShown)
{
    open(ProjectFiles::project(file("Bar.qvp"), "Midnight", "", "Hall",
                               {{Velmora::ControlType_BUTTON, QRect(16, 16, 96, 48)}}, {"Study"},
                               true));
    PageList* list = window()->pageListWidget();
    // The thumbnail the page list shows in the row, under whatever name; a null key while none.
    const auto thumbnail = [list](int row) {
        return list->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey();
    };
    // The pages are white; the theme's bar is not.
    const auto barShown = [] {
        const QImage bar =
            pageViewOnScreen(QRect(onPage(QPoint(0, 240)), onPage(QPoint(479, 271))));
        return TestUtil::pixelsOfColour(bar, Qt::white) < bar.width() * bar.height() / 2;
    };
    const qint64 none = QIcon().cacheKey();
    ASSERT_TRUE(waitFor([&] { return thumbnail(0) != none && thumbnail(1) != none; }));
    EXPECT_EQ(currentPageListed(), "Hall");
    EXPECT_TRUE(barShown()) << "opened";

    qint64 before = thumbnail(0);
    setTool("Edit Controls", true);
    click(pageView()->viewport(), onPage(QPoint(64, 40)));
    for (int move = 0; move < 20; ++move)
        key(window(), Qt::Key_Right);
    EXPECT_EQ(pressUntilDisabled(Qt::Key_Z, Qt::ControlModifier, app()->undoAction()), 20);
    EXPECT_EQ(
        pressUntilDisabled(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, app()->redoAction()),
        20);
    ASSERT_TRUE(waitFor([&] { return thumbnail(0) != before; }));
    EXPECT_TRUE(barShown()) << "undone and redone";

    // Every thumbnail is made again after the deletion.
    before = thumbnail(0);
    showPage("Study");
    key(window(), Qt::Key_Delete);
    EXPECT_EQ(pagesListed(), QStringList{"Hall"});
    key(window(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pagesListed(), QStringList({"Hall", "Study"}));
    editText({"Page", "Name"}, "Atrium");
    ASSERT_TRUE(waitFor([&] { return thumbnail(0) != before; }));
    EXPECT_TRUE(barShown()) << "deleted, undone and renamed";
}

// Outside Edit Controls a colour picker clicked is selected, with the overlay over it; Ctrl+D
// selects nothing and the overlay goes with the selection.
TEST_F(Scenario, S11_TheOverlayFollowsTheSelection)
{
    open(slidersProject("Overlay.qvp", "Daylight"));
    setTool("Edit Controls", false);
    QWidget* view = pageView()->viewport();
    const QRect picker(onPage(QPoint(128, 80)), onPage(QPoint(247, 199)));
    click(view, onPage(QPoint(188, 140)));
    EXPECT_EQ(groupsShown(), QStringList({"Control", "Colour Picker"}));
    // The picker's new mark drawn; from here on the live page has nothing more to draw.
    pageViewOnScreen(picker);
    key(window(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(groupsShown().isEmpty());
    const QImage deselected = settledScreenImage(view, picker);
    // The whole view painted afresh shows the picker as it is.
    setTool("Edit Controls", true);
    const QImage plain = pageViewOnScreen(picker);
    setTool("Edit Controls", false);
    EXPECT_EQ(difference(deselected, plain), "none");

    // The same click again: the overlay comes, and goes again with Ctrl+D.
    click(view, onPage(QPoint(188, 140)));
    EXPECT_TRUE(waitFor([&] { return difference(pageViewOnScreen(picker), plain) != "none"; }));
    key(window(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(difference(settledScreenImage(view, picker), plain), "none");
}

// A page reached through the page view has its row of the page list scrolled into sight.
TEST_F(Scenario, S12_ThePageListFollowsThePageView)
{
    QStringList rooms;
    for (int room = 2; room <= 16; ++room)
        rooms << QString("Room %1").arg(room);
    open(ProjectFiles::project(file("Tower.qvp"), "Daylight", "", "Hall",
                               {{Velmora::ControlType_BUTTON, QRect(16, 16, 96, 48)}}, rooms));
    PageList* list = window()->pageListWidget();
    const auto inSight = [list](const QString& page) {
        settle();
        return list->viewport()->rect().contains(list->visualRect(rowByText(list, {page})));
    };
    ASSERT_FALSE(inSight("Room 16"));
    setTool("Edit Controls", false);
    QWidget* view = pageView()->viewport();
    click(view, onPage(QPoint(64, 40)));
    editChoice({"Button", "Local Function"}, "Go To Page");
    editChoice({"Button", "Local Function", "Page"}, "Room 16");
    click(view, onPage(QPoint(64, 40)));
    EXPECT_EQ(currentPageListed(), "Room 16");
    EXPECT_TRUE(inSight("Room 16"));
}

} // namespace

int main(int argc, char** argv)
{
    // A home of the run's own: the settings, documents and data the editor writes go there and
    // leave with it.
    const QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const QString home = folder.path();
    qputenv("HOME", QFile::encodeName(home));
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, QFile::encodeName(home + '/' + variable));
    QDir(home).mkpath("Documents");
    ::testing::InitGoogleTest(&argc, argv);
    EditorProgram editor(argc, argv);
    // The X server's pointer waits in a corner, away from the windows: the scenarios' input
    // goes to the widgets straight, and a pointer over a window that appears would send moves
    // of its own.
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
    Editor::start(&editor, home);
    return RUN_ALL_TESTS();
}
