#include "widgets/page_list.h"

#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "main/velmora_document.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <set>

PageList::PageList(QWidget* parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Every row has the size the document gives all of them: a new thumbnail is then drawn in
    // its row without the list being laid out again.
    setUniformItemSizes(true);
    // A click that changes no row's selection (the current page's row, marked while a control
    // is selected) selects its page all the same.
    connect(this, &QAbstractItemView::clicked, this, &PageList::onRowClicked);
}

void PageList::setDocumentModels(VelmoraDocument& document)
{
    QItemSelectionModel* const previous = selectionModel();
    setModel(document.pageModel());
    // A new model gives the view a selection model of its own; the view shares the document's
    // instead, and the one it made is not needed.
    QItemSelectionModel* const made = selectionModel();
    setSelectionModel(document.pageSelectionModel());
    if (made && made != previous && made != document.pageSelectionModel() && made->parent() == this)
        delete made;
    this->document = &document;
    selection = &document.selection();
    // Queued: the page's row may be made or moved by the same change.
    connect(selection, &SelectionManager::currentPageChanged, this, &PageList::showCurrentPage,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
    setIconSize(document.getOrientation() == 2 ? QSize(68, 120) : QSize(120, 68));
}

void PageList::setActions(const Actions& actions)
{
    createPage = actions.createPage;
    duplicatePage = actions.duplicatePage;
    raisePage = actions.raisePage;
    lowerPage = actions.lowerPage;
    deletePages = actions.deletePages;
}

void PageList::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    if (selection && selection->kind() == SelectionManager::SelectionKind_PAGES) {
        for (QAction* action :
             {duplicatePage.data(), raisePage.data(), lowerPage.data(), deletePages.data()})
            if (action)
                menu.addAction(action);
        menu.addSeparator();
    }
    if (createPage)
        menu.addAction(createPage);
    menu.exec(event->globalPos());
}

void PageList::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                           const QList<int>& roles)
{
    if (roles == QList<int>{Qt::DecorationRole})
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    else
        QListView::dataChanged(topLeft, bottomRight, roles);
}

void PageList::showCurrentPage()
{
    if (!selection || !model())
        return;
    const unsigned int pageId = selection->currentPage();
    for (int row = 0; row < model()->rowCount(); ++row) {
        const QModelIndex index = model()->index(row, 0);
        if (index.data(VelmoraDocument::PageIdRole).toUInt() == pageId) {
            scrollTo(index);
            return;
        }
    }
}

void PageList::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QListView::selectionChanged(selected, deselected);
    selectRowPages();
}

void PageList::onRowClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    // The page clicked is what the user means to see and change, not the lock page over it.
    if (document && document->previewScene())
        document->previewScene()->leaveLockPage();
    selectRowPages();
}

void PageList::selectRowPages()
{
    if (!selection || !selectionModel())
        return;
    std::set<unsigned int> pageIds;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        pageIds.insert(index.data(VelmoraDocument::PageIdRole).toUInt());
    selection->selectPages(pageIds, true);
}
