#include "appengine/selection_manager.h"
#include "appengine/theme_image_model.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/sample_themes.h"
#include "main/project_access.h"
#include "main/velmora_document.h"
#include "velmora_objects/page.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "widgets/page_identification_page.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QWizard>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The page between two others in a wizard, as in the new-page wizard, with the application's
// image-file question answered from a queue.
class PageIdentificationPageTest : public ::testing::Test, public ProjectAccess
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ProjectAccess::setInstance(this);
        wizard.addPage(new QWizardPage);
        wizard.addPage(page);
        wizard.addPage(new QWizardPage);
        nameEdit = page->findChild<QLineEdit*>();
        combo = page->findChild<QComboBox*>();
        browse = page->findChild<QPushButton*>();
        ASSERT_TRUE(nameEdit && combo && browse);
    }

    VelmoraDocument* document() const override { return doc.get(); }
    QStringList getImageFiles(const QString& title, bool singleFile, QWidget*) override
    {
        EXPECT_EQ(title, "Icon");
        EXPECT_TRUE(singleFile);
        return QStringList(imageFile);
    }

    void openProject()
    {
        doc->clear();
        NewProjectData data;
        data.path = folder.filePath("hall.qvp");
        doc->createProject(data);
        page->setDocument(doc.get());
    }
    // A theme bundle holding the sample theme's one icon.
    QString themeBundle(const QString& name)
    {
        const std::unique_ptr<Velmora::Theme> theme = TestUtil::sampleTheme();
        ThemeFileWriter writer(theme.get(), nullptr);
        EXPECT_TRUE(writer.write(folder.filePath(name)));
        return folder.filePath(name);
    }
    QString pngFile(const QString& name)
    {
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(Qt::green);
        EXPECT_TRUE(image.save(folder.filePath(name)));
        return folder.filePath(name);
    }
    // Shows the wizard on the page, entering it with Next.
    void enterPage()
    {
        wizard.show();
        wizard.restart();
        wizard.next();
        ASSERT_EQ(wizard.currentPage(), page);
    }
    void clickNext() { QTest::mouseClick(wizard.button(QWizard::NextButton), Qt::LeftButton); }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir folder;
    SelectionManager selection;
    std::unique_ptr<VelmoraDocument> doc = std::make_unique<VelmoraDocument>(selection);
    QWizard wizard;
    PageIdentificationPage* page = new PageIdentificationPage;
    QLineEdit* nameEdit = nullptr;
    QComboBox* combo = nullptr;
    QPushButton* browse = nullptr;
    QString imageFile;
};

} // namespace

TEST_F(PageIdentificationPageTest, NameStartsAsTheDefaultAndIsNeverLeftEmpty)
{
    const struct
    {
        bool withDocument;
        QString defaultName;
    } cases[] = {{false, "Page 1"}, {true, "Page 2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.withDocument);
        if (c.withDocument)
            openProject();
        enterPage();
        EXPECT_EQ(nameEdit->text(), c.defaultName);
        EXPECT_EQ(nameEdit->selectedText(), c.defaultName);

        nameEdit->setFocus();
        QTest::keyClick(nameEdit, Qt::Key_End);
        for (int i = 0; i < c.defaultName.size(); ++i)
            QTest::keyClick(nameEdit, Qt::Key_Backspace);
        EXPECT_EQ(nameEdit->text(), c.defaultName);
        EXPECT_EQ(nameEdit->selectedText(), c.defaultName);

        // Typed text stays; entering the page again with Next proposes the default again.
        QTest::keyClicks(nameEdit, "Kitchen");
        EXPECT_EQ(wizard.field("page_name").toString(), "Kitchen");
        wizard.back();
        wizard.next();
        EXPECT_EQ(nameEdit->text(), c.defaultName);
    }
}

TEST_F(PageIdentificationPageTest, NamesMustBeUniqueInAnOpenProject)
{
    const struct
    {
        bool withDocument;
        QString name;
        bool passes;
    } cases[] = {{false, "Page 1", true}, {true, "page 1", true}, {true, "Page 1", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE((c.name + (c.withDocument ? " in a project" : "")).toStdString());
        page->setDocument(nullptr);
        if (c.withDocument)
            openProject();
        enterPage();
        nameEdit->selectAll();
        QTest::keyClicks(nameEdit, c.name);
        clickNext();
        EXPECT_EQ(wizard.currentPage() != page, c.passes);
        EXPECT_EQ(QToolTip::isVisible(), !c.passes);
        if (!c.passes) {
            EXPECT_EQ(QToolTip::text(), "Page names must be unique");
        }
    }
}

TEST_F(PageIdentificationPageTest, ProjectModeListsTheChosenThemesIconsAndPickedFiles)
{
    page->setThemePath(themeBundle("blue.qvt"));
    enterPage();
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(page->iconId(), UINT_MAX);
    const unsigned int themeIcon = combo->itemData(0, ThemeImageModel::IdRole).toUInt();
    ASSERT_NE(themeIcon, UINT_MAX);

    // A picked file is listed once, however often it is picked, and chosen; it has no image
    // id until the project stores it.
    imageFile = pngFile("a.png");
    for (int pick = 0; pick < 2; ++pick) {
        QTest::mouseClick(browse, Qt::LeftButton);
        EXPECT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->currentIndex(), 1);
        EXPECT_EQ(page->iconId(), UINT_MAX);
        EXPECT_EQ(page->iconFile(), imageFile);
    }
    imageFile = pngFile("b.png");
    QTest::mouseClick(browse, Qt::LeftButton);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(page->iconFile(), imageFile);
    // The combo grows to show the whole green icon.
    QCoreApplication::processEvents();
    EXPECT_GE(TestUtil::pixelsOfColour(combo->grab().toImage(), Qt::green), 20 * 20);
    // Going back to an earlier pick gives that pick's file; a theme icon gives its id.
    combo->setCurrentIndex(1);
    EXPECT_EQ(page->iconFile(), folder.filePath("a.png"));
    combo->setCurrentIndex(0);
    EXPECT_EQ(page->iconId(), themeIcon);
    EXPECT_EQ(page->iconFile(), "");

    // Re-entering keeps the choice; the same theme again too; another theme empties it.
    wizard.back();
    page->setThemePath(folder.filePath("blue.qvt"));
    wizard.next();
    EXPECT_EQ(page->iconId(), themeIcon);
    wizard.back();
    page->setThemePath(themeBundle("other.qvt"));
    wizard.next();
    EXPECT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(page->iconFile(), "");
}

TEST_F(PageIdentificationPageTest, PageModeAddsPickedIconsToTheProjectTheme)
{
    openProject();
    enterPage();
    EXPECT_EQ(combo->count(), 0);
    imageFile = pngFile("a.png");
    QTest::mouseClick(browse, Qt::LeftButton);
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_NE(page->iconId(), UINT_MAX);
    EXPECT_EQ(page->iconId(), doc->iconModel()->index(0, 0).data(ThemeImageModel::IdRole).toUInt());
    page->clearIcon();
    EXPECT_EQ(page->iconId(), UINT_MAX);
    EXPECT_EQ(page->iconFile(), "");
}
