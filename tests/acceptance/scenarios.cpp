// The whole editor driven as a user drives it. The program starts exactly as the editor's main
// starts it, on the X server this test runs on (CTest runs it inside xvfb-run), and the
// scenarios work only through real input on the real windows: clicks, drags and keys where a
// person would make them. They read what a person would see (the windows, the screen, the
// files written) and nothing else.
//
// The scenarios tell one story and run in order: each starts where the one before ended.

#include "acceptance/user_input.h"
#include "appengine/page_preview_scene.h"
#include "common/helpers.h"
#include "common/modal_answerer.h"
#include "gui/property_delegate.h"
#include "main/application/editor_program.h"
#include "main/application/velmora_application.h"
#include "widgets/main_window.h"
#include "widgets/page_list.h"
#include "widgets/page_preview.h"
#include "widgets/property_editor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSplashScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWizard>
#include <gtest/gtest.h>

using namespace UserInput;

// Failures print texts as text.
void PrintTo(const QString& text, std::ostream* stream)
{
    *stream << '"' << text.toStdString() << '"';
}

namespace {

EditorProgram* program = nullptr;
QString home;

VelmoraApplication* app()
{
    return program->application();
}

MainWindow* window()
{
    return program->mainWindow();
}

void shoot(const QString& name, QWidget* widget)
{
    const QString folder = qEnvironmentVariable("VELMORA_GALLERY");
    if (folder.isEmpty())
        return;
    QTest::qWait(200);
    screenImage(widget).save(folder + '/' + name + ".png");
}

QString file(const QString& name)
{
    return home + "/Documents/" + name;
}

// Picks the cell of the grid whose item reads `text`.
void clickGridItem(QAbstractItemView* view, const QString& text)
{
    const QModelIndex index = rowByText(view, {text});
    ASSERT_TRUE(index.isValid()) << text.toStdString();
    view->scrollTo(index);
    click(view->viewport(), view->visualRect(index).center());
}

class Scenario : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A window left waiting for an answer fails the scenario instead of hanging the run.
        guard.callOnTimeout([] {
            ADD_FAILURE() << "a window was left waiting for an answer";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        guard.start(60000);
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

    TestUtil::ModalAnswerer answers;
    QTimer guard;
};

// The story so far, told from one scenario to the next.
struct Story
{
    QString hall;
    QByteArray newHall;
} story;

QToolBar* toolBarWith(const QString& text, QAction** found)
{
    for (QToolBar* bar : window()->findChildren<QToolBar*>())
        for (QAction* action : bar->actions())
            if (action->text() == text && bar->widgetForAction(action)) {
                *found = action;
                return bar;
            }
    return nullptr;
}

// The tool of the main window whose tip reads `text`, clicked.
void useTool(const QString& text)
{
    QAction* action = nullptr;
    QToolBar* bar = toolBarWith(text, &action);
    ASSERT_NE(bar, nullptr) << text.toStdString();
    ASSERT_TRUE(action->isEnabled()) << text.toStdString();
    clickTool(bar, action);
}

PagePreview* pageView()
{
    return window()->pagePreviewWidget();
}

// The view position of a point of the page.
QPoint onPage(QPoint point)
{
    return pageView()->mapFromScene(QPointF(point));
}

// A control drawn with its drawing tool over the rectangle of the page.
void drawControl(const QString& tool, const QRect& rect)
{
    useTool(tool);
    drag(pageView()->viewport(), onPage(rect.topLeft()), onPage(rect.bottomRight()));
}

PropertyEditor* propertyEditor()
{
    return window()->propertyEditorWidget();
}

// The value the property editor shows in the row of the group, as text.
QString shown(const QString& group, const QString& row)
{
    // What the last input set off has reached the screen.
    QTest::qWait(20);
    const QModelIndex index = rowByText(propertyEditor(), {group, row});
    return index.isValid() ? index.siblingAtColumn(1).data().toString() : QString("<no row>");
}

QRect shownGeometry()
{
    return QRect(shown("Control", "X").toInt(), shown("Control", "Y").toInt(),
                 shown("Control", "Width").toInt(), shown("Control", "Height").toInt());
}

QStringList groupsShown()
{
    QStringList groups;
    const QAbstractItemModel* model = propertyEditor()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        groups << model->index(row, 0).data().toString();
    return groups;
}

QStringList pagesListed()
{
    QTest::qWait(20);
    QStringList pages;
    const QAbstractItemModel* model = window()->pageListWidget()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        pages << model->index(row, 0).data().toString();
    return pages;
}

QModelIndex valueCell(const QStringList& row)
{
    return rowByText(propertyEditor(), row).siblingAtColumn(1);
}

// Clicks the value of the row and types the text, as a person edits a property.
void editText(const QStringList& row, const QString& text)
{
    clickCell(propertyEditor(), valueCell(row));
    QLineEdit* edit = nullptr;
    ASSERT_TRUE(waitFor([&] { return (edit = propertyEditor()->findChild<QLineEdit*>()); }));
    retype(edit, text);
    key(edit, Qt::Key_Return);
}

// The "..." button at the right end of the row's value, which opens the row's dialog.
void clickMore(const QStringList& row)
{
    clickCell(propertyEditor(), valueCell(row), -PropertyDelegate::buttonWidth - 10);
}

// Opens the combo box's list and clicks the entry.
void chooseInCombo(QComboBox* combo, const QString& entry)
{
    ASSERT_NE(combo, nullptr);
    click(combo);
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(waitForWindow(list->window()));
    const int row = combo->findText(entry);
    ASSERT_GE(row, 0) << entry.toStdString();
    clickCell(list, combo->model()->index(row, combo->modelColumn(), combo->rootModelIndex()));
}

const QColor pageColour(30, 160, 90);

// The pixels of the page view on screen in the colour.
int pixelsOnPage(const QColor& colour)
{
    QTest::qWait(100);
    const QImage image = screenImage(pageView()->viewport());
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

QString currentPageListed()
{
    PageList* list = window()->pageListWidget();
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().data().toString() : QString();
}

// Chooses the entry in the row's value, a list of choices.
void editChoice(const QStringList& row, const QString& entry)
{
    clickCell(propertyEditor(), valueCell(row));
    QComboBox* combo = nullptr;
    ASSERT_TRUE(waitFor([&] { return (combo = propertyEditor()->findChild<QComboBox*>()); }));
    chooseInCombo(combo, entry);
    QTest::qWait(20);
}

// The live items of the page view, as drawn: every visible item of the preview's surface.
QList<QQuickItem*> itemsShown()
{
    QList<QQuickItem*> items;
    QList<QQuickItem*> pending{app()->previewScene()->surface()->quickWindow()->contentItem()};
    while (!pending.isEmpty()) {
        QQuickItem* item = pending.takeFirst();
        if (!item->isVisible())
            continue;
        items << item;
        pending << item->childItems();
    }
    return items;
}

QQuickItem* shownItem(const QString& objectName)
{
    for (QQuickItem* item : itemsShown())
        if (item->objectName() == objectName)
            return item;
    return nullptr;
}

bool isText(const QQuickItem* item)
{
    return QByteArray(item->metaObject()->className()).startsWith("QQuickText");
}

// The texts the page view shows, below the item or everywhere.
QStringList textsIn(QQuickItem* root)
{
    QStringList texts;
    for (QQuickItem* item : itemsShown())
        if (isText(item) && (!root || root->isAncestorOf(item)))
            texts << item->property("text").toString();
    return texts;
}

QStringList textsShown()
{
    QTest::qWait(50);
    return textsIn(nullptr);
}

QQuickItem* shownText(const QString& text)
{
    for (QQuickItem* item : itemsShown())
        if (isText(item) && item->property("text").toString() == text)
            return item;
    return nullptr;
}

// The middle of a live item, in page coordinates.
QPoint centreOf(const QQuickItem* item)
{
    return item ? item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint()
                : QPoint(-1000, -1000);
}

// The pixels of the page's rectangle on screen that show the grey around the page instead of
// the page: none while the page stands in its place.
int pageGapsOnScreen()
{
    QTest::qWait(100);
    const QImage image = screenImage(pageView()->viewport());
    const QColor around = image.pixelColor(2, 2);
    const QRect page(onPage(QPoint(0, 0)), onPage(QPoint(479, 271)));
    int count = 0;
    for (int y = page.top(); y <= page.bottom(); ++y)
        for (int x = page.left(); x <= page.right(); ++x)
            count += image.pixelColor(x, y) == around;
    return count;
}

TEST_F(Scenario, S1_FirstRunThroughTheWizard)
{
    answer([](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        waitFor([] { return !app()->splashScreen() || !app()->splashScreen()->isVisible(); });
        shoot("launch", dialog);
        click(button(dialog, "New..."));
    });
    answer([](QWidget* dialog) {
        auto* wizard = qobject_cast<QWizard*>(dialog);
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(waitForWindow(wizard));
        const QList<QLineEdit*> edits = wizard->currentPage()->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        click(edits[0]);
        type(edits[0], "Hall");
        story.hall = edits[1]->text();
        click(wizard->button(QWizard::NextButton));
        clickGridItem(wizard->currentPage()->findChild<QAbstractItemView*>(), "Midnight");
        shoot("wizard_theme", wizard);
        click(wizard->button(QWizard::NextButton));
        QLineEdit* pageName = wizard->currentPage()->findChild<QLineEdit*>();
        click(pageName);
        retype(pageName, "Lobby");
        click(wizard->button(QWizard::NextButton));
        click(wizard->button(QWizard::NextButton));
        clickGridItem(wizard->currentPage()->findChild<QAbstractItemView*>(), "Welcome");
        shoot("wizard_layout", wizard);
        click(wizard->button(QWizard::NextButton));
        click(wizard->button(QWizard::FinishButton));
    });
    program->launch(QString());
    ASSERT_TRUE(waitFor([] { return app()->state() == VelmoraApplication::ProjectOpen; }, 60000));
    ASSERT_TRUE(waitForWindow(window()));
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_EQ(story.hall, file("Hall.qvp"));
    EXPECT_EQ(window()->windowTitle(), "Untitled[*] - Orvane Dravelin");
    EXPECT_EQ(pagesListed(), QStringList{"Lobby"});
    EXPECT_EQ(shown("Page", "Name"), "Lobby");
    shoot("main", window());

    // Saved where the wizard said, without a question.
    key(window(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([] { return QFileInfo::exists(story.hall); }));
    EXPECT_EQ(window()->windowTitle(), "Hall.qvp[*] - Orvane Dravelin");
    EXPECT_FALSE(window()->isWindowModified());
    story.newHall = TestUtil::readFile(story.hall);
}

TEST_F(Scenario, S2_BuildingAPage)
{
    ASSERT_FALSE(story.newHall.isEmpty()) << "needs the first scenario";
    // A blank page of its own for the controls.
    answer([](QWidget* dialog) {
        auto* wizard = qobject_cast<QWizard*>(dialog);
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(waitForWindow(wizard));
        QLineEdit* pageName = wizard->currentPage()->findChild<QLineEdit*>();
        click(pageName);
        retype(pageName, "Controls");
        click(wizard->button(QWizard::NextButton));
        click(wizard->button(QWizard::NextButton));
        // The blank template, the first cell, reads "Blank" under an empty frame.
        clickGridItem(wizard->currentPage()->findChild<QAbstractItemView*>(), "");
        click(wizard->button(QWizard::NextButton));
        shoot("wizard_navigation", wizard);
        click(wizard->button(QWizard::FinishButton));
    });
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
    shoot("six", window());

    // In edit mode the button is dragged by its middle, then made larger by its frame's
    // bottom right grip.
    useTool("Edit Controls");
    QWidget* view = pageView()->viewport();
    drag(view, onPage(QPoint(64, 40)), onPage(QPoint(68, 50)));
    EXPECT_EQ(groupsShown(), QStringList({"Control", "Button"}));
    EXPECT_EQ(shownGeometry(), QRect(20, 26, 96, 48));
    moveTo(view, onPage(QPoint(113, 71)));
    drag(view, onPage(QPoint(113, 71)), onPage(QPoint(117, 77)));
    EXPECT_EQ(shownGeometry(), QRect(20, 26, 100, 54));

    // A band from the page's corner over the button and the label selects the two; aligned to
    // the left, then laid out one below the other with a spacing of 12.
    drag(view, onPage(QPoint(4, 4)), onPage(QPoint(124, 118)));
    EXPECT_EQ(groupsShown(), QStringList({"Control"}));
    EXPECT_EQ(shown("Control", "X"), "");
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
    shoot("property_editor_label", propertyEditor());

    // The button's infrared slot, chosen from the slots still free.
    click(view, onPage(QPoint(30, 30)));
    clickCell(propertyEditor(), valueCell({"Button", "Click IR Slot"}));
    chooseInCombo(propertyEditor()->findChild<QComboBox*>(), "Slot 3");
    EXPECT_EQ(shown("Button", "Click IR Slot"), "Slot 3");
    shoot("property_editor_button", propertyEditor());

    // The page's colour, set in the colour dialog, shows on the page.
    click(view, onPage(QPoint(300, 250)));
    EXPECT_EQ(groupsShown(), QStringList({"Page"}));
    answer([](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        const QList<QSpinBox*> fields = dialog->findChildren<QSpinBox*>();
        ASSERT_GE(fields.size(), 3);
        for (int i = 0; i < 3; ++i) {
            click(fields[i]);
            retype(fields[i], QString::number(i == 0 ? 30 : i == 1 ? 160 : 90));
        }
        shoot("colour_dialog", dialog);
        click(button(dialog, "OK"));
    });
    clickMore({"Page", "Background Colour"});
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_GT(pixelsOnPage(pageColour), 480 * 272 / 3);

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
    EXPECT_EQ(pixelsOnPage(pageColour), 0);
    shoot("property_editor_page", propertyEditor());

    // A copy of the page, then a page switcher on it over all three pages, composed by
    // dragging the pages into the switcher's list.
    useTool("Duplicate Page");
    shoot("dup", window());
    answer([](QWidget* dialog) {
        ASSERT_TRUE(waitForWindow(dialog));
        QList<QListView*> lists;
        for (QListView* list : dialog->findChildren<QListView*>())
            if (list->isVisible() && list->window() == dialog)
                lists << list;
        ASSERT_EQ(lists.size(), 2);
        QListView* available = lists[0];
        QListView* switcher = lists[1];
        for (const QString& page : {"Lobby", "Controls", "Copy of Controls"}) {
            const QModelIndex row = rowByText(available, {page});
            ASSERT_TRUE(row.isValid()) << page.toStdString();
            const QRect from = available->visualRect(row);
            ASSERT_TRUE(dragWithPointer(available->viewport(), from.center(), switcher->viewport(),
                                        QPoint(20, switcher->viewport()->height() - 10)));
        }
        shoot("switcher_dialog", dialog);
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
    for (const QString& page : {"Lobby", "Controls", "Studio"}) {
        clickCell(window()->pageListWidget(), rowByText(window()->pageListWidget(), {page}), 150);
        EXPECT_EQ(shown("Page", "Name"), page);
        EXPECT_EQ(currentPageListed(), page);
    }
    EXPECT_TRUE(textsShown().contains("Enter"));
    shoot("switcher", window());
}

TEST_F(Scenario, S3_TheLivePreviewBehavesAsThePanel)
{
    ASSERT_EQ(currentPageListed(), "Studio") << "needs the scenarios before";
    useTool("Edit Controls");
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
    shoot("slider", window());

    // The keypad takes digits; it hides them behind dots.
    for (const char* key : {"key1", "key2", "key3"})
        click(view, onPage(centreOf(shownItem(key))));
    EXPECT_EQ(shownItem("display")->property("text").toString().size(), 3);

    // A press on the page switcher selects it and leaves the page as it was.
    click(view, onPage(centreOf(shownText("Lobby"))));
    EXPECT_EQ(groupsShown(), QStringList({"Page Switcher"}));
    EXPECT_EQ(currentPageListed(), "Studio");
    EXPECT_TRUE(textsShown().contains("Enter"));

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
    EXPECT_TRUE(textsShown().contains("Enter"));
    EXPECT_EQ(pageGapsOnScreen(), 0);
    shoot("followed", window());
}

} // namespace

int main(int argc, char** argv)
{
    // A home of the run's own: the settings, documents and data the editor writes go there and
    // leave with it.
    const QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    home = folder.path();
    qputenv("HOME", QFile::encodeName(home));
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, QFile::encodeName(home + '/' + variable));
    QDir(home).mkpath("Documents");
    ::testing::InitGoogleTest(&argc, argv);
    EditorProgram editor(argc, argv);
    program = &editor;
    return RUN_ALL_TESTS();
}
