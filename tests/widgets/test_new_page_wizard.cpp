#include "appengine/layout_library.h"
#include "appengine/theme_image_model.h"
#include "common/command_fixture.h"
#include "common/fill_layout.h"
#include "common/gradients.h"
#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "core/gradient_library.h"
#include "gui/centered_icon_grid_view.h"
#include "gui/colour_swatch.h"
#include "gui/gradient_picker.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/nav_buttons_editor.h"
#include "widgets/new_page_wizard.h"
#include "widgets/new_project_pages.h"
#include "widgets/page_background_page.h"
#include "widgets/page_identification_page.h"
#include "widgets/page_layout_page.h"
#include "widgets/page_navigation_page.h"
#include "widgets/page_switcher_editor.h"
#include "widgets/project_orientation_field.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace Velmora;

// Readable failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os)
{
    *os << '[' << texts.join(" | ").toStdString() << ']';
}
QT_END_NAMESPACE

namespace {

const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 255, 0);

// Every field of the record that the wizard writes, so that records compare as a whole.
QStringList describe(const NewPageData& d)
{
    QStringList s{d.name,
                  QString::number(d.iconId),
                  d.iconFile,
                  d.backgroundColour.isValid() ? d.backgroundColour.name() : "no colour",
                  d.backgroundGradient.isNull() ? "no gradient" : d.backgroundGradient.name(),
                  QString::number(d.backgroundImageId),
                  d.backgroundImageFile,
                  d.layoutName,
                  QString::number(d.navigationPosition),
                  QString::number(d.navigationAlignment),
                  QString::number(d.pageSwitcherId)};
    for (unsigned int id : d.pageSwitcherPages)
        s << QString("page %1").arg(id);
    for (const auto& [function, target] : d.navigationButtons)
        s << QString("button %1 %2").arg(int(function)).arg(target);
    return s;
}

template <typename Page> Page* current(QWizard* wizard)
{
    return qobject_cast<Page*>(wizard->currentPage());
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
    QApplication::processEvents();
}

void click(QWizard* wizard, QWizard::WizardButton button)
{
    ASSERT_TRUE(wizard->button(button)->isEnabled()) << button;
    click(wizard->button(button));
}

using TestUtil::choose;

QStringList sortedNames(const QAbstractItemModel* model)
{
    QStringList names = TestUtil::rowTexts(model);
    names.sort();
    return names;
}

void clickCell(CenteredIconGridView* view, const QModelIndex& index)
{
    ASSERT_TRUE(index.isValid());
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void clickTemplate(PageLayoutPage* page, const QString& name)
{
    auto* view = page->findChild<CenteredIconGridView*>();
    const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                                                       name, 1, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    clickCell(view, found.first());
}

// A landscape project of two pages whose theme has two icons and two page backgrounds (red
// landscape, blue portrait), the theme bundle also listed in the theme library, a layout
// library of one template per orientation and a gradient library of "Sky" and "Dusk".
class NewPageWizardTest : public TestUtil::CommandFixture
{
protected:
    static void SetUpTestSuite() { TestUtil::startScratchGradientLibrary(); }

    void SetUp() override
    {
        CommandFixture::SetUp();
        swatch.setActive();
        GradientLibrary* gradients = GradientLibrary::instance();
        gradients->removeRows(0, gradients->rowCount());
        sky = TestUtil::makeGradient("Sky", {{0.0, red}, {1.0, blue}});
        dusk = TestUtil::makeGradient("Dusk", {{0.0, blue}, {1.0, green}});
        gradients->addGradient(sky, GradientLibrary::BuiltInGradient, "", "");
        gradients->addGradient(dusk, GradientLibrary::BuiltInGradient, "", "");

        writeLayouts();

        std::unique_ptr<Theme> theme = TestUtil::emptyTheme("Hall");
        theme->addPageBackgroundImageData(TestUtil::pngBytes(48, 48, red), Orientation_LANDSCAPE);
        theme->addPageBackgroundImageData(TestUtil::pngBytes(48, 48, blue), Orientation_PORTRAIT);
        theme->addIconData(TestUtil::pngBytes(24, 24, red));
        theme->addIconData(TestUtil::pngBytes(24, 24, green));
        themeFile = folder.filePath("hall.qvt");
        ThemeFileWriter writer(theme.get(), nullptr);
        ASSERT_TRUE(writer.write(themeFile));
        ThemeLibrary::instance()->model()->clear();
        auto* row = new QStandardItem("Hall");
        row->setData(themeFile, ThemeLibrary::PathRole);
        ThemeLibrary::instance()->model()->appendRow(row);

        firstPage = create(themeFile);
        addPage();
    }

    void TearDown() override
    {
        ThemeLibrary::instance()->model()->clear();
        LayoutLibrary::destroyInstance();
    }

    void writeLayouts() { ASSERT_TRUE(TestUtil::startOrientedLayoutLibrary(folder.path())); }

    // Runs the wizard modally the way the application does, the user's part played by the
    // steps; a wizard the steps left open is cancelled.
    bool run(bool newProject, const std::function<void(NewPageWizard*)>& steps)
    {
        TestUtil::ModalAnswerer answers;
        answers.then([&](QWidget* window) {
            auto* wizard = qobject_cast<NewPageWizard*>(window);
            if (!wizard) {
                ADD_FAILURE() << "not the wizard";
                window->close();
                return;
            }
            steps(wizard);
            if (wizard->isVisible())
                wizard->reject();
        });
        bool accepted = false;
        printed = TestUtil::consoleDuring([&] {
            if (!newProject) {
                accepted = NewPageWizard::askNewPage(document.get(), record);
                return;
            }
            // The page part first loses its references into the open project.
            project.page.clearReferences();
            NewPageWizard wizard(true);
            wizard.setNewProjectData(project);
            accepted = wizard.exec() == QDialog::Accepted;
            if (accepted)
                wizard.newProjectData(project);
        });
        EXPECT_EQ(answers.pending(), 0);
        return accepted;
    }

    TestUtil::IsolatedSettings settings;
    std::string printed; // by the last run
    ColourSwatch swatch;
    Gradient sky, dusk;
    QString themeFile;
    unsigned int firstPage = UINT_MAX;
    NewPageData record;
    NewProjectData project;
};

} // namespace

TEST_F(NewPageWizardTest, NewPageAsksForThePageOnlyAndHandsOverTheAnswers)
{
    const bool accepted = run(false, [&](NewPageWizard* wizard) {
        EXPECT_EQ(wizard->windowTitle(), "New Page");
        EXPECT_EQ(wizard->pageIds(), QList<int>({0, 1, 2, 3}));
        EXPECT_EQ(wizard->projectPageId(), -1);
        EXPECT_EQ(wizard->themePageId(), -1);
        EXPECT_TRUE(projectOrientationField(wizard).isNull());

        auto* identification = current<PageIdentificationPage>(wizard);
        ASSERT_TRUE(identification);
        auto* name = identification->findChild<QLineEdit*>();
        EXPECT_EQ(name->text(), "Page 3");
        QTest::keyClicks(name, "Kitchen"); // replaces the selected default
        auto* icons = identification->findChild<QComboBox*>();
        EXPECT_EQ(icons->currentIndex(), -1);
        ASSERT_EQ(icons->count(), 2); // the project theme's icons
        choose(icons, 1);
        click(wizard, QWizard::NextButton);

        auto* background = current<PageBackgroundPage>(wizard);
        ASSERT_TRUE(background);
        click(background->kindButton(PageBackgroundPage::GradientKind));
        EXPECT_EQ(background->gradient(), sky);
        click(wizard, QWizard::NextButton);

        // The project's orientation governs the templates offered.
        auto* layout = current<PageLayoutPage>(wizard);
        ASSERT_TRUE(layout);
        auto* view = layout->findChild<CenteredIconGridView*>();
        EXPECT_EQ(sortedNames(view->model()), QStringList({"", "Any", "Land"}));
        clickTemplate(layout, "Land");
        click(wizard, QWizard::NextButton);

        auto* navigation = current<PageNavigationPage>(wizard);
        ASSERT_TRUE(navigation);
        EXPECT_TRUE(wizard->button(QWizard::FinishButton)->isEnabled());
        choose(navigation->typeBox(), "Buttons");
        EXPECT_FALSE(wizard->button(QWizard::FinishButton)->isEnabled());
        click(navigation->navButtonsEditor()->addButtonWidget());
        choose(navigation->alignmentBox(), "Center");
        click(wizard, QWizard::FinishButton);
    });
    ASSERT_TRUE(accepted);
    EXPECT_EQ(printed, "") << "a walk through the pages prints nothing";
    const QModelIndex icon = document->iconModel()->index(1, 0);
    EXPECT_EQ(
        describe(record),
        QStringList({"Kitchen", icon.data(ThemeImageModel::IdRole).toString(),
                     icon.data(ThemeImageModel::PathRole).toString(), "no colour", "Sky",
                     QString::number(UINT_MAX), "", "Land",
                     QString::number(NavigationPosition_BOTTOM), QString::number(Alignment_CENTER),
                     QString::number(UINT_MAX), QString("button 0 %1").arg(UINT_MAX)}));
}

TEST_F(NewPageWizardTest, CancellingOnAnyPageKeepsTheRecordAndTheNextRunStartsFromIt)
{
    record.name = "Old";
    record.backgroundGradient = dusk;
    record.backgroundColour = QColor();
    record.layoutName = "Any";
    record.navigationPosition = NavigationPosition_TOP;
    record.navigationAlignment = Alignment_END;
    record.navigationButtons = {{ButtonFunction_GO_TO_PAGE, firstPage}};
    const QStringList before = describe(record);

    // Each run changes every page it passes, then cancels on the last one.
    const std::function<void(QWizard*)> changes[] = {
        [](QWizard* w) { QTest::keyClicks(w->currentPage()->findChild<QLineEdit*>(), "New"); },
        [](QWizard* w) {
            click(current<PageBackgroundPage>(w)->kindButton(PageBackgroundPage::ColourKind));
        },
        [](QWizard* w) { clickTemplate(current<PageLayoutPage>(w), "Land"); },
        [](QWizard* w) { choose(current<PageNavigationPage>(w)->typeBox(), "None"); },
    };
    for (int last = 0; last < 4; ++last) {
        SCOPED_TRACE(last);
        const bool accepted = run(false, [&](NewPageWizard* wizard) {
            for (int page = 0; page <= last; ++page) {
                ASSERT_EQ(wizard->currentId(), page);
                changes[page](wizard);
                if (page < last)
                    click(wizard, QWizard::NextButton);
            }
            click(wizard, QWizard::CancelButton);
        });
        EXPECT_FALSE(accepted);
        EXPECT_EQ(describe(record), before);
        EXPECT_EQ(document->getPages().size(), 2u);
    }

    // The next run shows the record's answers (but a fresh name and no icon); giving up the
    // navigation leaves none of it in the result.
    const bool accepted = run(false, [&](NewPageWizard* wizard) {
        auto* identification = current<PageIdentificationPage>(wizard);
        EXPECT_EQ(identification->findChild<QLineEdit*>()->text(), "Page 3");
        EXPECT_EQ(identification->iconId(), UINT_MAX);
        click(wizard, QWizard::NextButton);
        auto* background = current<PageBackgroundPage>(wizard);
        EXPECT_EQ(background->kind(), PageBackgroundPage::GradientKind);
        EXPECT_EQ(background->gradientPicker()->gradient(), dusk);
        click(wizard, QWizard::NextButton);
        EXPECT_EQ(current<PageLayoutPage>(wizard)->layoutName(), "Any");
        click(wizard, QWizard::NextButton);
        auto* navigation = current<PageNavigationPage>(wizard);
        EXPECT_EQ(navigation->typeBox()->currentText(), "Buttons");
        EXPECT_EQ(navigation->navButtonsEditor()->buttonCount(), 1);
        choose(navigation->typeBox(), "None");
        click(wizard, QWizard::FinishButton);
    });
    ASSERT_TRUE(accepted);
    EXPECT_EQ(describe(record), QStringList({"Page 3", QString::number(UINT_MAX), "", "no colour",
                                             "Dusk", QString::number(UINT_MAX), "", "Any", "0", "0",
                                             QString::number(UINT_MAX)}));
}

TEST_F(NewPageWizardTest, NewProjectAsksForProjectAndThemeAndReadsTheChosenTheme)
{
    // The record of a page of the open project: its references must not reach the new one.
    project.themeFile = themeFile;
    project.page = NewPageData(*document, firstPage);
    project.page.backgroundImageId = 0;
    project.page.navigationPosition = NavigationPosition_BOTTOM;
    project.page.pageSwitcherId = 0;
    project.page.pageSwitcherPages = {firstPage, UINT_MAX};
    const QString path = folder.filePath("second.qvp");
    unsigned int portraitImage = UINT_MAX - 1;

    const bool accepted = run(true, [&](NewPageWizard* wizard) {
        EXPECT_EQ(wizard->windowTitle(), "New Project");
        EXPECT_EQ(wizard->pageIds(), QList<int>({0, 1, 2, 3, 4, 5}));
        EXPECT_EQ(wizard->navigationPageId(), 5);

        auto* projectPage = current<NewProjectPage>(wizard);
        ASSERT_TRUE(projectPage);
        const QList<QLineEdit*> edits = projectPage->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        QTest::keyClicks(edits[0], "Second");
        edits[1]->selectAll();
        QTest::keyClicks(edits[1], path);
        choose(projectPage->findChild<QComboBox*>(), "Portrait");
        click(wizard, QWizard::NextButton);

        // The theme of the record is chosen already.
        ASSERT_TRUE(current<ProjectThemePage>(wizard));
        EXPECT_EQ(current<ProjectThemePage>(wizard)->themePath(), themeFile);
        click(wizard, QWizard::NextButton);

        auto* identification = current<PageIdentificationPage>(wizard);
        ASSERT_TRUE(identification);
        EXPECT_EQ(identification->findChild<QLineEdit*>()->text(), "Page 1");
        EXPECT_EQ(identification->findChild<QComboBox*>()->count(), 2);
        click(wizard, QWizard::NextButton);

        // The image background was a reference: the page starts white. The chosen theme's
        // images are offered, portrait ones only.
        auto* background = current<PageBackgroundPage>(wizard);
        ASSERT_TRUE(background);
        EXPECT_EQ(background->kind(), PageBackgroundPage::ColourKind);
        EXPECT_EQ(background->colour(), QColor(Qt::white));
        click(background->kindButton(PageBackgroundPage::ImageKind));
        CenteredIconGridView* images = background->imageView();
        ASSERT_EQ(images->model()->rowCount(), 1);
        portraitImage = images->model()->index(0, 0).data(ThemeImageModel::IdRole).toUInt();
        clickCell(images, images->model()->index(0, 0));
        click(wizard, QWizard::NextButton);

        auto* layout = current<PageLayoutPage>(wizard);
        ASSERT_TRUE(layout);
        EXPECT_EQ(sortedNames(layout->findChild<CenteredIconGridView*>()->model()),
                  QStringList({"", "Any", "Port"}));
        clickTemplate(layout, "Port");
        click(wizard, QWizard::NextButton);

        // The switcher is composed afresh, of the new page, within the portrait limit.
        auto* navigation = current<PageNavigationPage>(wizard);
        ASSERT_TRUE(navigation);
        EXPECT_EQ(navigation->typeBox()->currentText(), "Page Switcher");
        EXPECT_EQ(navigation->pageSwitcherEditor()->pageLimit(), 6);
        click(wizard, QWizard::FinishButton);
    });
    ASSERT_TRUE(accepted);
    EXPECT_EQ(project.name, "Second");
    EXPECT_EQ(project.path, path);
    EXPECT_EQ(project.orientation, Orientation_PORTRAIT);
    EXPECT_EQ(project.themeFile, themeFile);
    EXPECT_EQ(project.page.name, "Page 1");
    EXPECT_EQ(project.page.iconId, UINT_MAX);
    EXPECT_FALSE(project.page.backgroundColour.isValid());
    EXPECT_EQ(project.page.backgroundImageId, portraitImage);
    EXPECT_EQ(project.page.layoutName, "Port");
    EXPECT_EQ(project.page.navigationPosition, NavigationPosition_BOTTOM);
    EXPECT_EQ(project.page.pageSwitcherId, UINT_MAX);
    EXPECT_EQ(project.page.pageSwitcherPages, std::vector<unsigned int>{UINT_MAX});
    // The open project was left alone.
    EXPECT_EQ(document->getPages().size(), 2u);
}
