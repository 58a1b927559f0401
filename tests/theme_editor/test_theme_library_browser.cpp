#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "gui/list_message_box.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/theme_library_browser.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ThemeLibraryBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid() && folder.isValid());
        shipped = addTheme("Shipped", Qt::red, true);
        mine = addTheme("Mine", Qt::green, false);
        other = addTheme("Other", Qt::blue, false);
        browser.setThemeRegistrar([this](const QString& path) { registered << path; });
        browser.setThemeUnregistrar([this](const QString& path) { unregistered << path; });
    }

    void TearDown() override { library()->reset(); }

    static ThemeLibrary* library() { return ThemeLibrary::instance(); }

    // Writes a theme file whose splash pictures are filled with the colour; lists it unless
    // told not to.
    QString writeTheme(const QString& name, QColor colour)
    {
        const auto theme = TestUtil::emptyTheme(name);
        QImage landscape(480, 272, QImage::Format_RGB32);
        landscape.fill(colour);
        theme->setSplashImage(Velmora::Orientation_LANDSCAPE, landscape);
        theme->setSplashImage(Velmora::Orientation_PORTRAIT,
                              landscape.transformed(QTransform().rotate(90)));
        const QString path = folder.filePath(name + ".qvt");
        EXPECT_TRUE(ThemeFileWriter(theme.get(), nullptr).write(path));
        return path;
    }

    QString addTheme(const QString& name, QColor colour, bool builtIn)
    {
        const QString path = writeTheme(name, colour);
        EXPECT_TRUE(library()->addTheme(path, builtIn));
        return path;
    }

    QModelIndex row(const QString& path) const { return library()->findTheme(path); }

    void select(const QStringList& paths)
    {
        QItemSelectionModel* selection = browser.listView->selectionModel();
        selection->clearSelection();
        for (const QString& path : paths)
            selection->select(row(path), QItemSelectionModel::Select);
    }

    void browse(const QStringList& chosen)
    {
        browser.setThemeFilesChooser([&](QWidget* parent) {
            EXPECT_EQ(parent, &browser);
            return chosen;
        });
        browser.browseThemesButton->click();
    }

    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder;
    QString shipped, mine, other;
    ThemeLibraryBrowser browser;
    QStringList registered, unregistered;
};

} // namespace

TEST_F(ThemeLibraryBrowserTest, FormHasTheFourToolButtons)
{
    EXPECT_EQ(browser.windowTitle(), "Theme Library Browser");
    EXPECT_EQ(browser.captionLabel->text(), "Theme Library");
    for (QToolButton* button : {browser.addNewThemeButton, browser.removeThemeButton,
                                browser.browseThemesButton, browser.editThemeButton}) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_TRUE(button->autoRaise());
        EXPECT_FALSE(button->icon().pixmap(16, 16).isNull());
    }
    EXPECT_EQ(browser.addNewThemeButton->toolTip(), "Add new theme");
    EXPECT_EQ(browser.backButton->text(), "Back");
    EXPECT_EQ(browser.closeButton->text(), "Close");
    EXPECT_EQ(browser.listView->model(), library()->model());
    EXPECT_EQ(browser.listView->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(ThemeLibraryBrowserTest, GridShowsLandscapeSplashesInLibraryOrder)
{
    browser.resize(800, 500);
    browser.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
    select({mine});
    const QImage image = browser.listView->viewport()->grab().toImage();
    const QColor highlight = browser.listView->palette().color(QPalette::Highlight);

    const struct
    {
        QString path;
        QColor colour;
    } cells[] = {{shipped, Qt::red}, {mine, Qt::green}, {other, Qt::blue}};
    int previousLeft = -1;
    for (const auto& cell : cells) {
        SCOPED_TRACE(QFileInfo(cell.path).baseName().toStdString());
        const QRect rect = browser.listView->visualRect(row(cell.path));
        ASSERT_TRUE(image.rect().contains(rect));
        // The three cells fit one grid row, left to right in the library's order.
        EXPECT_GT(rect.left(), previousLeft);
        previousLeft = rect.left();
        // The landscape splash is 240 x 136, centred across the cell below a 4 pixel margin.
        const QPoint splashTopLeft(rect.center().x() - 120, rect.top() + 4);
        EXPECT_EQ(image.pixelColor(splashTopLeft + QPoint(120, 68)), cell.colour);
        EXPECT_EQ(image.pixelColor(splashTopLeft + QPoint(239, 135)), cell.colour);
        // Only the selected cell is on the highlight.
        EXPECT_EQ(image.pixelColor(rect.left() + 2, rect.bottom() - 2) == highlight,
                  cell.path == mine);
    }
}

TEST_F(ThemeLibraryBrowserTest, ButtonsFollowTheSelection)
{
    const struct
    {
        QStringList selected;
        bool remove, edit;
        bool hasTemplate;
    } cases[] = {
        {{}, false, false, false},
        {{mine}, true, true, true},
        {{mine, other}, true, false, false},
        {{shipped}, false, false, true}, // a shipped theme still serves as a template
        {{shipped, mine}, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected.join(',').toStdString());
        select(c.selected);
        EXPECT_EQ(browser.removeThemeButton->isEnabled(), c.remove);
        EXPECT_EQ(browser.editThemeButton->isEnabled(), c.edit);
        EXPECT_TRUE(browser.addNewThemeButton->isEnabled());
        EXPECT_TRUE(browser.browseThemesButton->isEnabled());
        EXPECT_EQ(browser.templateTheme().isValid(), c.hasTemplate);
        if (c.hasTemplate) {
            EXPECT_EQ(browser.templateTheme(), row(c.selected.first()));
        }
    }
}

TEST_F(ThemeLibraryBrowserTest, RemoveTakesSelectedThemesOutButLeavesTheFiles)
{
    // The same file listed twice is one theme to the user's list; no row of it stays.
    ASSERT_TRUE(library()->addTheme(mine, false));
    select({other, mine});
    ASSERT_EQ(browser.selectedThemes().size(), 2);

    browser.removeThemeButton->click();
    EXPECT_EQ(unregistered, QStringList({mine, other})); // each once, in path order
    EXPECT_FALSE(row(other).isValid() || row(mine).isValid());
    EXPECT_TRUE(row(shipped).isValid());
    EXPECT_TRUE(QFile::exists(mine) && QFile::exists(other));
    EXPECT_FALSE(browser.removeThemeButton->isEnabled());

    // Shipped themes never leave, even when asked without the button.
    select({shipped});
    browser.removeSelectedThemes();
    EXPECT_TRUE(row(shipped).isValid());
    EXPECT_EQ(unregistered.size(), 2);
}

// Every file picked that can be added is; one message names each file refused, with why.
TEST_F(ThemeLibraryBrowserTest, BrowseAddsNewFilesAndReportsTheRefusedOnesInOneMessage)
{
    const QString broken = folder.filePath("broken.qvt");
    TestUtil::writeFile(broken, "not a theme");
    const QString missing = folder.filePath("missing.qvt");
    const QString fresh = writeTheme("Fresh", Qt::yellow);
    const QString later = writeTheme("Later", Qt::cyan);
    const int rows = library()->model()->rowCount();

    TestUtil::ModalAnswerer answers;
    QStringList told;
    answers
        .then([&](QWidget* window) {
            if (const auto* box = qobject_cast<ListMessageBox*>(window))
                told << box->text() << box->lines();
            window->close();
        })
        .messageBox(QMessageBox::Ok);
    browse({broken, mine, fresh, missing, later});
    browse({broken});
    EXPECT_EQ(answers.pending(), 0);
    ASSERT_EQ(answers.answered().size(), 2);
    EXPECT_EQ(answers.answered()[0].title, "Load Theme");
    const QString notArchive = "The theme file is not a gzip-compressed tar archive.";
    EXPECT_EQ(told, QStringList({"Failed to load 2 theme files:", "broken.qvt: " + notArchive,
                                 "missing.qvt: The theme file does not exist."}));
    EXPECT_EQ(answers.answered()[1].text, "Failed to load theme file broken.qvt.\n" + notArchive);
    EXPECT_EQ(library()->model()->rowCount(), rows + 2);
    EXPECT_FALSE(row(fresh).data(ThemeLibrary::BuiltInRole).toBool());
    EXPECT_EQ(registered, QStringList({fresh, later}));

    // Cancelled: nothing happens.
    browse({});
    EXPECT_EQ(library()->model()->rowCount(), rows + 2);
}

// The theme files that a folder scan left out are listed below the grid with the reason.
TEST_F(ThemeLibraryBrowserTest, ThemeFilesLeftOutByAScanAreListedWithTheReason)
{
    EXPECT_TRUE(browser.refusedArea->isHidden());
    TestUtil::writeFile(folder.filePath("broken.qvt"), "not a theme");
    ASSERT_TRUE(library()->scanFolder(folder.path(), false, true));
    ThemeLibraryBrowser later;
    EXPECT_FALSE(later.refusedArea->isHidden());
    EXPECT_TRUE(later.refusedLabel->text().endsWith(
        "broken.qvt: The theme file is not a gzip-compressed tar archive."));
}

TEST_F(ThemeLibraryBrowserTest, BrowseScrollsToTheFirstListedFileKeepingTheSelection)
{
    // One column of cells, a little more than one cell high: only the first row shows.
    const QSize cell = browser.listView->gridSize();
    browser.listView->setFixedSize(cell + QSize(30, 30));
    browser.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
    select({mine});
    const QScrollBar* bar = browser.listView->verticalScrollBar();
    ASSERT_EQ(bar->value(), 0);

    TestUtil::ModalAnswerer answers;
    browse({other, shipped});
    EXPECT_EQ(answers.answered().size(), 0);
    EXPECT_TRUE(
        browser.listView->viewport()->rect().contains(browser.listView->visualRect(row(other))));
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(browser.selectedThemes(), QModelIndexList{row(mine)});
    EXPECT_TRUE(registered.isEmpty());
}
