#include "appengine/theme_image_model.h"
#include "common/command_fixture.h"
#include "common/gradients.h"
#include "common/helpers.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "gui/centered_icon_grid_view.h"
#include "gui/colour_button.h"
#include "gui/colour_picker.h"
#include "gui/colour_picker_dialog.h"
#include "gui/colour_swatch.h"
#include "gui/gradient_dialog.h"
#include "gui/gradient_picker.h"
#include "main/project_access.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "widgets/page_background_page.h"
#include "widgets/theme_editor/theme_delegates.h"

#include <QComboBox>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QWizard>
#include <gtest/gtest.h>

using namespace Velmora;

namespace {

const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 255, 0);

// A wizard page that registers fields of the pages before ours.
class FieldPage : public QWizardPage
{
public:
    using QWizardPage::registerField;
};

// How many pixels of the widget's rendering are close to the colour.
int pixelsOf(QWidget* widget, const QColor& colour)
{
    const QImage image = widget->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += qAbs(c.red() - colour.red()) < 30 && qAbs(c.green() - colour.green()) < 30 &&
                     qAbs(c.blue() - colour.blue()) < 30;
        }
    return count;
}

// A project whose theme has two page backgrounds — 0 red landscape, 1 blue portrait — and a
// file question answered from a queue (empty: cancel).
class PageBackgroundPageTest : public TestUtil::CommandFixture, public ProjectAccess
{
protected:
    static void SetUpTestSuite() { TestUtil::startScratchGradientLibrary(); }

    void SetUp() override
    {
        CommandFixture::SetUp();
        ProjectAccess::setInstance(this);
        swatch.setActive();
        GradientLibrary* library = GradientLibrary::instance();
        library->removeRows(0, library->rowCount());
        sky = TestUtil::makeGradient("Sky", {{0.0, red}, {1.0, blue}});
        dusk = TestUtil::makeGradient("Dusk", {{0.0, blue}, {1.0, green}});
        library->addGradient(sky, GradientLibrary::BuiltInGradient, "", "");
        library->addGradient(dusk, GradientLibrary::BuiltInGradient, "", "");
        themeFile = writeTheme("hall.qvt", {red, blue});
    }

    VelmoraDocument* document() const override { return CommandFixture::document.get(); }
    QStringList getImageFiles(const QString& title, bool singleFile, QWidget*) override
    {
        EXPECT_EQ(title, "Background Image");
        EXPECT_TRUE(singleFile);
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        return answer.isEmpty() ? QStringList() : QStringList(answer);
    }

    // A theme bundle whose page backgrounds have the colours, landscape and portrait in turn
    // (a theme file keeps no image for any orientation; only files added later are).
    QString writeTheme(const QString& name, const std::vector<QColor>& colours)
    {
        std::unique_ptr<Theme> theme = TestUtil::emptyTheme(name);
        for (int i = 0; i < int(colours.size()); ++i)
            theme->addPageBackgroundImageData(TestUtil::pngBytes(48, 48, colours[i]), 1 + i % 2);
        ThemeFileWriter writer(theme.get(), nullptr);
        EXPECT_TRUE(writer.write(folder.filePath(name)));
        return folder.filePath(name);
    }

    // Shows the page with the document's images.
    void showInPageMode(PageBackgroundPage& page, int orientation = Orientation_LANDSCAPE)
    {
        create(themeFile);
        CommandFixture::document->setOrientation(orientation);
        page.setDocument(CommandFixture::document.get());
        page.resize(600, 500);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    void clickImage(PageBackgroundPage& page, int row)
    {
        CenteredIconGridView* view = page.imageView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
    }

    static unsigned int selectedId(const PageBackgroundPage& page)
    {
        const QModelIndexList rows = page.imageView()->selectionModel()->selectedIndexes();
        return rows.size() == 1 ? rows.first().data(ThemeImageModel::IdRole).toUInt() : UINT_MAX;
    }

    ColourSwatch swatch;
    Gradient sky, dusk;
    QString themeFile;
    QStringList answers;
};

} // namespace

TEST_F(PageBackgroundPageTest, ShowsTheImagesOfTheProjectOrientation)
{
    const struct
    {
        int orientation;
        QColor shown, hidden;
    } cases[] = {{Orientation_LANDSCAPE, red, blue}, {Orientation_PORTRAIT, blue, red}};
    for (const auto& c : cases) {
        PageBackgroundPage page;
        showInPageMode(page, c.orientation);
        page.kindButton(PageBackgroundPage::ImageKind)->click();
        EXPECT_EQ(page.imageView()->model()->rowCount(), 1);
        EXPECT_EQ(page.imageDelegate()->orientation, c.orientation);
        EXPECT_EQ(page.imageView()->gridSize(), page.imageDelegate()->cellSize());
        EXPECT_GT(pixelsOf(page.imageView(), c.shown), 100) << c.orientation;
        EXPECT_EQ(pixelsOf(page.imageView(), c.hidden), 0) << c.orientation;
    }
}

TEST_F(PageBackgroundPageTest, EachKindKeepsOnlyItsOwnValue)
{
    PageBackgroundPage page;
    showInPageMode(page);
    EXPECT_EQ(page.kind(), PageBackgroundPage::ColourKind);
    EXPECT_EQ(page.colour(), page.colourButton()->colour()); // the button's own default
    EXPECT_TRUE(page.isComplete());
    QSignalSpy complete(&page, &QWizardPage::completeChanged);

    // Image with nothing selected cannot go on; clicking an image can.
    page.kindButton(PageBackgroundPage::ImageKind)->click();
    EXPECT_FALSE(page.colour().isValid());
    EXPECT_FALSE(page.isComplete());
    EXPECT_FALSE(page.colourButton()->isEnabled());
    EXPECT_TRUE(page.browseButton()->isEnabled());
    EXPECT_TRUE(page.imageView()->isEnabled());
    clickImage(page, 0);
    EXPECT_EQ(page.imageId(), 0u);
    EXPECT_TRUE(page.isComplete());
    EXPECT_EQ(complete.count(), 2);

    // Gradient takes the picker's entry and drops the image.
    page.kindButton(PageBackgroundPage::GradientKind)->click();
    EXPECT_EQ(page.gradient(), page.gradientPicker()->gradient());
    EXPECT_FALSE(page.gradient().isNull());
    EXPECT_EQ(page.imageId(), UINT_MAX);
    EXPECT_TRUE(page.imageFile().isEmpty());
    EXPECT_TRUE(page.gradientPicker()->isEnabled());
    EXPECT_TRUE(page.editButton()->isEnabled());
    EXPECT_FALSE(page.imageView()->isEnabled());

    // Back to Image: the cell still selected is taken again.
    page.kindButton(PageBackgroundPage::ImageKind)->click();
    EXPECT_TRUE(page.gradient().isNull());
    EXPECT_EQ(page.imageId(), 0u);

    page.kindButton(PageBackgroundPage::ColourKind)->click();
    EXPECT_EQ(page.colour(), page.colourButton()->colour());
    EXPECT_EQ(page.imageId(), UINT_MAX);
}

TEST_F(PageBackgroundPageTest, TheRecordPreselectsItsKind)
{
    const struct
    {
        QColor colour;
        Gradient gradient;
        unsigned int imageId;
        int kind;
        QColor buttonColour;
    } cases[] = {
        {QColor(10, 20, 30), Gradient(), UINT_MAX, PageBackgroundPage::ColourKind,
         QColor(10, 20, 30)},
        // A colour beside the gradient or the image is not kept.
        {Qt::white, dusk, UINT_MAX, PageBackgroundPage::GradientKind, Qt::white},
        {red, Gradient(), 1, PageBackgroundPage::ImageKind, Qt::white},
    };
    for (const auto& c : cases) {
        PageBackgroundPage page;
        showInPageMode(page, Orientation_PORTRAIT);
        NewPageData data;
        data.backgroundColour = c.colour;
        data.backgroundGradient = c.gradient;
        data.backgroundImageId = c.imageId;
        page.setNewPageData(data);
        EXPECT_EQ(page.kind(), c.kind);
        EXPECT_TRUE(page.kindButton(c.kind)->isChecked());
        EXPECT_EQ(page.colourButton()->colour(), c.buttonColour);
        EXPECT_EQ(page.colour().isValid(), c.kind == PageBackgroundPage::ColourKind);
        EXPECT_EQ(page.gradient(), c.gradient);
        EXPECT_EQ(page.gradientPicker()->isEnabled(), c.kind == PageBackgroundPage::GradientKind);
        if (c.kind == PageBackgroundPage::GradientKind) {
            EXPECT_EQ(page.gradientPicker()->currentText(), "Dusk");
        }
        EXPECT_EQ(selectedId(page), c.imageId);
        EXPECT_EQ(page.imageView()->isEnabled(), c.kind == PageBackgroundPage::ImageKind);
        EXPECT_TRUE(page.isComplete());
    }
}

TEST_F(PageBackgroundPageTest, BrowseAddsTheFileToTheProjectImages)
{
    PageBackgroundPage page;
    showInPageMode(page);
    page.kindButton(PageBackgroundPage::ImageKind)->click();
    const QString file = folder.filePath("wall.png");
    ASSERT_TRUE(TestUtil::writeFile(file, TestUtil::pngBytes(64, 36, QColor(250, 200, 0))));

    answers << QString(); // cancelled: nothing changes
    QTest::mouseClick(page.browseButton(), Qt::LeftButton);
    EXPECT_FALSE(page.isComplete());

    answers << file;
    QTest::mouseClick(page.browseButton(), Qt::LeftButton);
    ThemeImageModel* images = CommandFixture::document->backgroundImageModel();
    EXPECT_EQ(images->rowCount(), 3);
    EXPECT_EQ(page.imageView()->model()->rowCount(), 2); // a file fits any orientation
    EXPECT_EQ(page.imageFile(), file);
    EXPECT_EQ(page.imageId(), 2u);
    EXPECT_EQ(selectedId(page), 2u);
    EXPECT_TRUE(page.isComplete());
    EXPECT_TRUE(CommandFixture::document->getTheme()->getPageBackgroundImages().exists(2));
    EXPECT_GT(pixelsOf(page.imageView(), QColor(250, 200, 0)), 100);
}

TEST_F(PageBackgroundPageTest, ANewProjectShowsTheChosenThemeFile)
{
    QWizard wizard;
    auto* projectPage = new FieldPage;
    auto* orientation = new QComboBox(projectPage);
    orientation->addItems({"Landscape", "Portrait"});
    orientation->setCurrentIndex(1);
    projectPage->registerField("orientation", orientation, "currentIndex");
    wizard.addPage(projectPage);
    auto* page = new PageBackgroundPage;
    wizard.addPage(page);

    // The remembered file is added to the theme's images and selected.
    const QString file = folder.filePath("wall.png");
    ASSERT_TRUE(TestUtil::writeFile(file, TestUtil::pngBytes(30, 50, red)));
    NewPageData data;
    data.backgroundImageFile = file;
    page->setNewPageData(data);
    EXPECT_EQ(page->kind(), PageBackgroundPage::ImageKind);
    page->setThemePath(themeFile);
    page->initializePage();
    ASSERT_NE(page->imageProxy(), nullptr);
    EXPECT_EQ(page->imageProxy()->orientationFilter(), Orientation_PORTRAIT);
    EXPECT_EQ(page->imageDelegate()->orientation, Orientation_PORTRAIT);
    // Blue (portrait) and the file, which fits any orientation; red (landscape) is hidden.
    EXPECT_EQ(page->imageView()->model()->rowCount(), 2);
    const QModelIndexList selected = page->imageView()->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().data(ThemeImageModel::PathRole).toString(), file);
    EXPECT_TRUE(page->isComplete());

    // Another theme replaces the images at the next visit; the same path keeps them.
    page->setThemePath(themeFile);
    EXPECT_NE(page->imageProxy(), nullptr);
    page->setThemePath(writeTheme("other.qvt", {blue, red, blue, green, red}));
    EXPECT_EQ(page->imageProxy(), nullptr);
    EXPECT_EQ(page->imageView()->model(), nullptr);
    page->initializePage();
    EXPECT_EQ(page->imageView()->model()->rowCount(), 3);
}

TEST_F(PageBackgroundPageTest, TheColourDialogSetsTheColourOnlyWhenAccepted)
{
    PageBackgroundPage page;
    showInPageMode(page);
    for (bool accept : {false, true}) {
        TestUtil::ModalAnswerer dialogs;
        dialogs.then([&](QWidget* window) {
            auto* dialog = qobject_cast<ColourPickerDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            emit dialog->picker()->colourChanged(green);
            dialog->done(accept ? QDialog::Accepted : QDialog::Rejected);
        });
        QTest::mouseClick(page.colourButton(), Qt::LeftButton);
        EXPECT_EQ(dialogs.pending(), 0);
        EXPECT_EQ(page.colour() == green, accept);
        EXPECT_EQ(pixelsOf(page.colourButton(), green) > 50, accept);
    }
}

TEST_F(PageBackgroundPageTest, TheGradientDialogSelectsTheGradientAndReportsChoices)
{
    PageBackgroundPage page;
    showInPageMode(page);
    NewPageData data;
    data.backgroundGradient = dusk;
    page.setNewPageData(data);
    TestUtil::ModalAnswerer dialogs;
    dialogs.then([&](QWidget* window) {
        ASSERT_NE(qobject_cast<GradientDialog*>(window), nullptr);
        auto* list = window->findChild<QListView*>();
        const QModelIndexList selected = list->selectionModel()->selectedIndexes();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.first().data().toString(), "Dusk");
        list->selectionModel()->select(list->model()->index(0, 0),
                                       QItemSelectionModel::ClearAndSelect);
        // No selection reports an invalid index, which keeps the choice.
        list->selectionModel()->clearSelection();
        qobject_cast<QDialog*>(window)->reject();
    });
    QTest::mouseClick(page.editButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(page.gradient(), sky);
    EXPECT_EQ(page.gradientPicker()->currentText(), "Sky");
    EXPECT_TRUE(page.isComplete());
}
