#include "widgets/new_page_wizard.h"

#include "main/new_page_data.h"
#include "main/new_project_data.h"
#include "main/velmora_document.h"
#include "velmora_objects/velmora_types.h"
#include "widgets/new_project_pages.h"
#include "widgets/page_background_page.h"
#include "widgets/page_identification_page.h"
#include "widgets/page_layout_page.h"
#include "widgets/page_navigation_page.h"

namespace {

// The templates that suit a screen: landscape when wider than high, portrait when higher than
// wide, any for a square one.
int screenOrientation(int width, int height)
{
    if (width > height)
        return Velmora::Orientation_LANDSCAPE;
    if (height > width)
        return Velmora::Orientation_PORTRAIT;
    return Velmora::Orientation_ANY;
}

} // namespace

NewPageWizard::NewPageWizard(bool newProject, QWidget* parent) : QWizard(parent)
{
    if (newProject) {
        projectId = addPage(new NewProjectPage);
        themeId = addPage(new ProjectThemePage);
    }
    identificationId = addPage(new PageIdentificationPage);
    backgroundId = addPage(new PageBackgroundPage);
    layoutId = addPage(new PageLayoutPage);
    navigationId = addPage(new PageNavigationPage);
    setWindowTitle(newProject ? tr("New Project") : tr("New Page"));
}

ProjectThemePage* NewPageWizard::themePage() const
{
    return themeId < 0 ? nullptr : static_cast<ProjectThemePage*>(page(themeId));
}

PageIdentificationPage* NewPageWizard::identificationPage() const
{
    return static_cast<PageIdentificationPage*>(page(identificationId));
}

PageBackgroundPage* NewPageWizard::backgroundPage() const
{
    return static_cast<PageBackgroundPage*>(page(backgroundId));
}

PageLayoutPage* NewPageWizard::layoutPage() const
{
    return static_cast<PageLayoutPage*>(page(layoutId));
}

PageNavigationPage* NewPageWizard::navigationPage() const
{
    return static_cast<PageNavigationPage*>(page(navigationId));
}

void NewPageWizard::setDocument(const VelmoraDocument* document)
{
    identificationPage()->setDocument(document);
    backgroundPage()->setDocument(document);
    if (document)
        layoutPage()->setOrientation(
            screenOrientation(document->getWidth(), document->getHeight()));
    navigationPage()->setDocument(document);
}

void NewPageWizard::setNewPageData(const NewPageData& data)
{
    identificationPage()->clearIcon();
    backgroundPage()->setNewPageData(data);
    layoutPage()->setNewPageData(data);
    navigationPage()->setNewPageData(data);
}

void NewPageWizard::setNewProjectData(const NewProjectData& data)
{
    if (ProjectThemePage* theme = themePage())
        theme->setThemePath(data.themeFile);
    setNewPageData(data.page);
}

void NewPageWizard::newPageData(NewPageData& data) const
{
    data.name = field(QStringLiteral("page_name")).toString();

    const PageIdentificationPage* identification = identificationPage();
    data.iconId = identification->iconId();
    data.iconFile = identification->iconFile();

    const PageBackgroundPage* background = backgroundPage();
    data.backgroundColour = background->colour();
    data.backgroundGradient = background->gradient();
    data.backgroundImageId = background->imageId();
    data.backgroundImageFile = background->imageFile();

    data.layoutName = layoutPage()->layoutName();

    const PageNavigationPage* navigation = navigationPage();
    data.navigationPosition = navigation->position();
    data.navigationAlignment = navigation->alignment();
    // The page's getters already give none for navigation of another type.
    data.pageSwitcherId = navigation->pageSwitcherId();
    data.pageSwitcherPages = navigation->pageIds();
    data.navigationButtons.clear();
    for (const NavButtonData& button : navigation->navButtons())
        data.navigationButtons.emplace_back(button.function, button.pageId);
}

void NewPageWizard::newProjectData(NewProjectData& data) const
{
    data.name = field(QStringLiteral("project_name")).toString();
    data.path = field(QStringLiteral("path")).toString();
    data.orientation = field(QStringLiteral("orientation")).toInt() + 1;
    if (const ProjectThemePage* theme = themePage())
        data.themeFile = theme->themePath();
    newPageData(data.page);
}

void NewPageWizard::initializePage(int id)
{
    if (const ProjectThemePage* theme = themePage()) {
        if (id == identificationId)
            identificationPage()->setThemePath(theme->themePath());
        else if (id == backgroundId)
            backgroundPage()->setThemePath(theme->themePath());
    }
    QWizard::initializePage(id);
}

bool NewPageWizard::askNewPage(const VelmoraDocument* document, NewPageData& record,
                               QWidget* parent)
{
    NewPageWizard wizard(false, parent);
    wizard.setDocument(document);
    wizard.setNewPageData(record);
    if (wizard.exec() != QDialog::Accepted)
        return false;
    wizard.newPageData(record);
    return true;
}
