#pragma once

#include <QWizard>

class NewProjectPage;
class PageBackgroundPage;
class PageIdentificationPage;
class PageLayoutPage;
class PageNavigationPage;
class ProjectThemePage;
class VelmoraDocument;
struct NewPageData;
struct NewProjectData;

// The wizard that creates a new project ("New Project": project, theme, then the first page)
// or one new page of the open project ("New Page": the page questions only). The page
// questions are the same in both modes: name and icon, background, layout template and
// navigation.
//
// The wizard changes nothing itself: after an accepted run its answers are read into a
// NewPageData or NewProjectData record, from which the page or project is then built. The
// same records pre-fill the next run, so each run starts with the previous answers (the page
// name excepted, which is a fresh default, and the icon, which starts unchosen).
//
// In page mode the fields "project_name", "path" and "orientation" do not exist, and the pages
// keep the orientation of the document given to setDocument().
class NewPageWizard : public QWizard
{
    Q_OBJECT

public:
    // With newProject the project and theme pages come first.
    explicit NewPageWizard(bool newProject, QWidget* parent = nullptr);

    // The open project (page mode, before exec), not owned: the default page name and the
    // uniqueness of names, its icons, background images, orientation, pages and switchers.
    void setDocument(const VelmoraDocument* document);
    // Pre-fills the icon (none), background, layout and navigation questions.
    void setNewPageData(const NewPageData& data);
    // Pre-fills the theme, then the page questions.
    void setNewProjectData(const NewProjectData& data);

    // The answers of an accepted run.
    void newPageData(NewPageData& data) const;
    void newProjectData(NewProjectData& data) const;

    // Runs a "New Page" wizard on the document, pre-filled from the record. Only when the user
    // finishes is the record overwritten with the answers, and true returned; the caller then
    // adds the page it describes.
    static bool askNewPage(const VelmoraDocument* document, NewPageData& record,
                           QWidget* parent = nullptr);

    // The QWizard ids of the pages; the first two are -1 in page mode.
    int projectPageId() const { return projectId; }
    int themePageId() const { return themeId; }
    int identificationPageId() const { return identificationId; }
    int backgroundPageId() const { return backgroundId; }
    int layoutPageId() const { return layoutId; }
    int navigationPageId() const { return navigationId; }

protected:
    // In project mode the icon and background pages read the theme chosen before them.
    void initializePage(int id) override;

private:
    ProjectThemePage* themePage() const;
    PageIdentificationPage* identificationPage() const;
    PageBackgroundPage* backgroundPage() const;
    PageLayoutPage* layoutPage() const;
    PageNavigationPage* navigationPage() const;

    int projectId = -1;
    int themeId = -1;
    int identificationId = -1;
    int backgroundId = -1;
    int layoutId = -1;
    int navigationId = -1;
};
