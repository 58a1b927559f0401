#pragma once

#include <QListView>
#include <QPointer>

class QAction;
class SelectionManager;
class VelmoraDocument;

// The list of the open project's pages in the main window's left dock. It shows the document's
// sorted page model and shares the document's page selection model, so that it always shows the
// pages the rest of the editor shows selected. Rows selected here (click, Shift-click ranges,
// Ctrl-click toggles) become exactly the editor's page selection; a single selected page
// becomes the current page. A click on a row selects its page even when the row was selected
// already (the current page's row while a control is selected), and takes the page view's
// lock page away, so that what follows (the property editor, Delete) acts on the page
// clicked. Its context menu offers the page actions of the editor.
class PageList : public QListView
{
    Q_OBJECT

public:
    // The editor's page actions offered by the context menu. Any of them may be null, and an
    // action deleted later is left out.
    struct Actions
    {
        QAction* createPage = nullptr;
        QAction* duplicatePage = nullptr;
        QAction* raisePage = nullptr;
        QAction* lowerPage = nullptr;
        QAction* deletePages = nullptr;
    };

    explicit PageList(QWidget* parent = nullptr);

    // Shows the document's page model with its selection model, selecting through the
    // document's selection, with icons shaped for the project's orientation: 68 x 120 for a
    // portrait project, else 120 x 68. Called each time a project has been opened; the models
    // belong to the document, which must outlive the list or be set again.
    void setDocumentModels(VelmoraDocument& document);
    void setActions(const Actions& actions);

public slots:
    // Scrolls the current page's row into view, however the page became current (the list,
    // a button of the page view, a page switcher, a new page).
    void showCurrentPage();

protected:
    // While pages are selected the menu offers Duplicate Page, Raise Page, Lower Page and
    // Delete; Create Page is always there.
    void contextMenuEvent(QContextMenuEvent* event) override;

protected slots:
    // Makes every selected row's page, and no other, the editor's page selection.
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    // A new thumbnail alone is drawn in its row: the rows keep their size, so the list is not
    // laid out and drawn again whole, as it is for any other change.
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    // The pages of the selected rows become the editor's page selection.
    void selectRowPages();
    void onRowClicked(const QModelIndex& index);

    QPointer<VelmoraDocument> document;
    QPointer<SelectionManager> selection;
    QPointer<QAction> createPage;
    QPointer<QAction> duplicatePage;
    QPointer<QAction> raisePage;
    QPointer<QAction> lowerPage;
    QPointer<QAction> deletePages;
};
