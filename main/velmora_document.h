#pragma once

#include "containers/smart_ptr.h"
#include "main/new_page_data.h"
#include "main/new_project_data.h"
#include "velmora_objects/configuration.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QUndoStack>
#include <climits>
#include <map>
#include <set>
#include <vector>

class PagePreviewScene;
class QItemSelectionModel;
class QQmlEngine;
class QSortFilterProxyModel;
class QStandardItem;
class QStandardItemModel;
class QTimer;
class SelectionManager;
class ThemeImageModel;

// The open project of the editor: the project itself plus what the editor keeps beside it —
// the file path, whether it was ever saved, the undo stack, the QML engine and the live
// preview scene on it, the page list with its thumbnails, three image lists of the project
// theme and the counters that give new pages and control keys their default names.
//
// The application makes one document and keeps it for the whole run: new, open and close
// empty and refill the same object. Empty after construction and clear(); open after
// createProject() or a successful load(), after which preparePreview() brings the preview up.
// The document sends no change events; the commands that call it do.
//
// Everything runs on the GUI thread.
class VelmoraDocument : public QObject, public Velmora::Configuration
{
    Q_OBJECT

public:
    // Per page that has a row in the page list: the row, and whether its thumbnail must be
    // rendered again.
    struct PageGUIData
    {
        QPersistentModelIndex row;
        bool stale = true;
    };

    // What a theme change replaced on a page and on a control; the command that changes the
    // theme keeps these maps and hands them to every run, so that running it again with the
    // old theme puts everything back.
    struct PageThemeData
    {
        unsigned int iconId = UINT_MAX;
        unsigned int backgroundImageId = UINT_MAX;
    };
    struct ControlThemeData
    {
        QString skinName;
        unsigned int imageId = UINT_MAX; // UINT_MAX also for a control that is no button
    };

    // The roles of a page row besides its name (Qt::DisplayRole), its thumbnail
    // (Qt::DecorationRole) and its size hint.
    enum PageRole
    {
        PageIdRole = Qt::UserRole + 1,   // unsigned int
        SortValueRole = Qt::UserRole + 2 // int, the key of page order
    };

    // How long after the first edit of a burst the stale thumbnails are rendered, in ms.
    static constexpr int ThumbnailDelay = 5000;

    // The selection is the application's; it must outlive the document. The commands take the
    // objects they remove out of it.
    explicit VelmoraDocument(SelectionManager& selection);
    ~VelmoraDocument() override;

    // Makes a new project in the emptied document: name, path and orientation from the data,
    // the theme read from the data's theme bundle (an empty theme when it names none), and a
    // first page, which becomes the default page. Returns the page's id.
    // Throws std::runtime_error when the theme bundle cannot be read; the document is then
    // empty again.
    unsigned int createProject(const NewProjectData& data);
    // Reads the project file into the emptied document, reporting its progress through
    // loadProgressSteps() and loadProgressChanged(). Renders no thumbnail. A file that cannot
    // be read, that holds no page, or that there is not the memory to read raises
    // std::runtime_error saying why after the document has been emptied again. The default
    // page of a loaded project is one of its pages.
    void load(const QString& path);
    // Writes the project to its path, which must be set. A minimal save keeps, of the theme's
    // page backgrounds, icons and control images, only those that pages and buttons use. The
    // file is replaced only when the whole project was written; a failure raises
    // std::runtime_error saying why (memory that ran out too) and leaves the old file and the
    // saved state as they were. A project refused for its size that a minimal save would fit
    // under the bound hears so in the refusal, with the number of pictures that save leaves out.
    void save(bool minimal);
    // Sets the path (kept when the save fails), then saves. A failed save to another file than
    // the path held leaves the project never saved, as that file does not hold it.
    void saveAs(const QString& path, bool minimal);
    // Empties the document: no path, project, rows, image lists, preview items or image
    // providers; the QML module is shut down and the undo stack emptied.
    void clear();
    // Brings the live preview up for the open project: the QML module on the engine's root
    // context, the theme image provider "theme<serial>", all stale thumbnails, and the
    // thumbnail timer.
    void preparePreview();
    // Makes the theme the project theme and returns the previous one, which the caller then
    // owns. Pages and controls keep their images (found in the new theme by content, or added
    // to it) and their skins where the new theme has a skin of that name; the maps record
    // what each run replaced and, when they hold an entry, give the values to use instead, so
    // that applying the old theme with the same maps restores the project exactly.
    Velmora::Theme* applyTheme(Velmora::Theme* theme,
                               std::map<unsigned int, PageThemeData>& pageData,
                               std::map<unsigned int, ControlThemeData>& controlData);

    bool pageExists(unsigned int pageId) const;
    // The IR slots 0 to 15 that no control uses, ascending.
    std::set<unsigned char> freeIRSlots() const;
    // The type all the controls share; 0 for none or for mixed types.
    Velmora::ControlType commonControlType(const std::set<unsigned int>& controlIds) const;

    // Page creation. The operations send no events; the commands that call them do.
    //
    // Makes a page from the data: its image files added to the theme, its name (the default
    // name when the data gives none), icon and background, the template's controls laid out
    // in the area the navigation leaves free, and its navigation. Writes the page's switcher
    // id back into the data and returns the page's id; UINT_MAX when the project holds the
    // most pages it can. A layout name that the layout library does not list raises
    // std::runtime_error "Layout not found" before anything is made or added.
    unsigned int addPage(NewPageData& data);
    // Fills a new page from the data: the template (left out when the library no longer lists
    // it), the navigation buttons or page switcher, and the navigation settings.
    void buildPageContents(unsigned int pageId, const NewPageData& data);
    static void applyNavigationSettings(const NewPageData& data, Velmora::Page& page);
    // Copies a page after the last one, named "Copy of <name>", showing the same switcher.
    // DuplicateRenamingControls gives copied controls that had a key new default keys;
    // DuplicateKeepingKeys keeps the keys; any other mode copies no controls. Returns the new
    // page's id, UINT_MAX when the project is full.
    enum DuplicationMode
    {
        DuplicateRenamingControls = 1,
        DuplicateKeepingKeys = 3
    };
    unsigned int duplicatePage(unsigned int sourcePageId, int mode);
    // A control of the type (1 to 6) with its default key and the theme's defaults, on no page
    // and with no geometry yet; returns its id (UINT_MAX for another type or a full project).
    unsigned int addControl(Velmora::ControlType type);
    QString defaultPageName() const;
    // Keeps the next default page number above the number of a name "Page <n>".
    void notePageName(const QString& name);
    // The next default control key of the type: "button001", "slider002" ...
    QString nextControlName(Velmora::ControlType type);
    // False when a page already has this name; an empty name is always free.
    bool isPageNameFree(const QString& name) const;

    // Page switchers.
    // A new switcher, with the theme's defaults, shown on no page yet (the usage count is the
    // callers'); returns its id, UINT_MAX when the project is full.
    unsigned int addPageSwitcher(int position, int alignment,
                                 const std::vector<unsigned int>& pages);
    // Puts a switcher handed out by removePageSwitcher back under its id.
    unsigned int restorePageSwitcher(smart_ptr<Velmora::PageSwitcher>& pageSwitcher,
                                     unsigned int id);
    // Takes a switcher that no page shows out of the project and the preview, and hands it
    // over. A switcher still shown is a fatal assertion.
    smart_ptr<Velmora::PageSwitcher> removePageSwitcher(unsigned int pageSwitcherId);
    // Returns the page's former index in the switcher's list, or -1.
    int removePageFromPageSwitcher(unsigned int pageSwitcherId, unsigned int pageId);
    // The page's switcher; UINT_MAX when it shows none, and for the page id UINT_MAX.
    unsigned int pageSwitcherOfPage(unsigned int pageId) const;
    // The names of the pages that show the switcher, in page order, for the switcher editor:
    // at most three, followed by "..." when further pages remain to be looked at.
    QString pageNamesUsingPageSwitcher(unsigned int pageSwitcherId) const;

    // The page list: one row per page, sorted in page order by the proxy.
    void addPageRow(Velmora::Page& page, bool renderNow);
    void removePageRow(const Velmora::Page& page);
    // Return the previous value.
    QString setPageName(unsigned int pageId, const QString& name);
    unsigned int setPageIcon(unsigned int pageId, unsigned int iconId);
    // Puts a page handed out by removePage back under its id, with its row.
    void restorePage(smart_ptr<Velmora::Page>& page, unsigned int pageId);
    // Takes the page out of the project, the page list and the preview, and hands it over.
    smart_ptr<Velmora::Page> removePage(unsigned int pageId);

    // Page order. beforeId UINT_MAX places the page after the last one.
    void movePage(unsigned int pageId, unsigned int beforeId);
    void raisePage(unsigned int pageId);
    void lowerPage(unsigned int pageId);
    // Gives the pages these sort values (by page id; pages not named keep theirs), so that a
    // page order recorded before a move comes back exactly.
    void setPageSortValues(const std::map<unsigned int, int>& sortValues);
    bool hasPreviousPage(unsigned int pageId) const;
    bool hasNextPage(unsigned int pageId) const;

    // Marks the thumbnail of one page (every page for UINT_MAX) to be rendered again, and
    // starts the thumbnail timer unless it runs already: a burst of edits is rendered once,
    // ThumbnailDelay after its first mark.
    void invalidatePageThumbnail(unsigned int pageId);
    void invalidateAllThumbnails() { invalidatePageThumbnail(UINT_MAX); }
    void invalidateControlThumbnail(unsigned int controlId);
    void renderPageThumbnail(unsigned int pageId, PageGUIData& data);
    // For tests: the delay of the thumbnail timer in ms.
    void setThumbnailDelay(int milliseconds);

    // Shows the page in the preview scene.
    void showPage(unsigned int pageId);
    // Updates the preview's selection overlay and selects in the page list the selected pages,
    // or the current page when the selection holds no pages.
    void syncPageSelection();
    QModelIndex proxyIndexOfPage(unsigned int pageId) const;

    const QString& path() const { return m_path; }
    // The project as the user meets it in the window title and the save question: the file
    // name of its path (a new project has one before its first save), "Untitled" without one.
    QString displayName() const;
    bool neverSaved() const { return m_neverSaved; }
    QUndoStack& undoStack() { return m_undoStack; }
    SelectionManager& selection() const { return m_selection; }
    QQmlEngine* engine() const { return m_engine; }
    PagePreviewScene* previewScene() const { return m_previewScene; }
    // Null while no project is open.
    ThemeImageModel* backgroundImageModel() const { return m_backgroundImageModel; }
    ThemeImageModel* iconModel() const { return m_iconModel; }
    ThemeImageModel* controlImageModel() const { return m_controlImageModel; }
    QSortFilterProxyModel* pageModel() const { return m_pageProxyModel; }
    QItemSelectionModel* pageSelectionModel() const { return m_pageSelectionModel; }
    const std::map<unsigned int, PageGUIData>& pageGUIData() const { return m_pageGUIData; }

signals:
    void loadProgressSteps(int steps);
    void loadProgressChanged(int step);

public slots:
    // Renders every stale thumbnail, in ascending page id, without blocking: the preview
    // scene builds a page that is not built a slice per turn of the event loop, draws it and
    // releases it again unless it keeps it (PagePreviewScene::requestThumbnail), so that the
    // editor stays responsive and its memory bounded while the pages of a large project are
    // drawn. The progress signals report each page passed. A call while a run is under way
    // starts it again from the first page; pages already rendered are no longer stale and
    // are passed over.
    void refreshThumbnails();

public:
    // True while a run of refreshThumbnails() has pages left.
    bool isRefreshingThumbnails() const;

private:
    // What a refusal for size adds when a minimal save would fit: "; Save As (Minimal) leaves
    // out the N pictures that no page uses"; empty otherwise.
    QString minimalSaveWayOut() const;
    void renderNextThumbnail();
    void onThumbnailReady(unsigned int pageId, const QPixmap& thumbnail);
    void replaceImageModels();
    void deleteImageModels();
    // True while the QML module is up on this document's engine.
    bool previewPrepared() const;
    // The addresses, in the theme image provider, of the images the page shows.
    QStringList imagesOfPage(unsigned int pageId) const;
    QString providerName() const;
    void sortPageList();
    // A page's row of the page list, not yet in the list.
    QStandardItem* newPageRow(const Velmora::Page& page) const;
    // The rows of every page of a project just read, added at once.
    void addLoadedPageRows();
    // Brings the sort values of the page rows in step with the pages, then sorts the list.
    void updatePageRowOrder();
    void addTemplateControls(Velmora::Page& page, const NewPageData& data);
    void addNavigationButtons(Velmora::Page& page, const NewPageData& data);
    // Stores the control under the lowest free id on the page; false when the project is full.
    bool insertOnPage(smart_ptr<Velmora::Control>& control, Velmora::Page& page);

    QStandardItemModel* m_pageItemModel = nullptr;
    QSortFilterProxyModel* m_pageProxyModel = nullptr;
    QItemSelectionModel* m_pageSelectionModel = nullptr;
    ThemeImageModel* m_backgroundImageModel = nullptr;
    ThemeImageModel* m_iconModel = nullptr;
    ThemeImageModel* m_controlImageModel = nullptr;
    PagePreviewScene* m_previewScene = nullptr;
    std::map<unsigned int, PageGUIData> m_pageGUIData;
    unsigned int m_nextPageNumber = 1;
    std::map<Velmora::ControlType, unsigned int> m_controlNumbers;
    QQmlEngine* m_engine = nullptr;
    QTimer* m_thumbnailTimer = nullptr;
    // Drives a run of refreshThumbnails(): the next page id to look at, the page whose
    // thumbnail the scene is making, and the step reached.
    QTimer* m_thumbnailRun = nullptr;
    bool m_runActive = false;
    unsigned int m_runNextPageId = 0;
    unsigned int m_runPageId = UINT_MAX;
    int m_runStep = 0;
    QUndoStack m_undoStack;
    SelectionManager& m_selection;
    bool m_neverSaved = false;
    QString m_path;
};
