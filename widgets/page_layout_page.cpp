#include "widgets/page_layout_page.h"

#include "appengine/layout_library.h"
#include "appengine/layout_library_delegates.h"
#include "gui/centered_icon_grid_view.h"
#include "main/new_page_data.h"
#include "velmora_objects/velmora_types.h"
#include "widgets/project_orientation_field.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

// The reload icon and the busy animation live in this static library's resources, which must
// be pulled in by name, from outside any namespace, before the first load.
static void loadLayoutPageResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(page_layout_page);
        return true;
    }();
    (void)loaded;
}

LayoutProxyModel::LayoutProxyModel(QObject* parent) : QSortFilterProxyModel(parent) {}

void LayoutProxyModel::setOrientation(unsigned int orientation)
{
    wantedOrientation = orientation;
    invalidateFilter();
}

bool LayoutProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (wantedOrientation == 0)
        return true;
    const QVariant value =
        sourceModel()->index(sourceRow, 0, sourceParent).data(LayoutLibrary::OrientationRole);
    unsigned int orientation = 0;
    if (value.metaType() == QMetaType::fromType<Velmora::Orientation>() ||
        value.metaType() == QMetaType::fromType<int>())
        orientation = value.toUInt();
    return orientation == 0 || orientation == wantedOrientation;
}

PageLayoutPage::PageLayoutPage(QWidget* parent)
    : QWizardPage(parent), proxy(std::make_unique<LayoutProxyModel>()),
      delegate(new LayoutViewDelegate(this)), view(new CenteredIconGridView(this)),
      refreshButton(new QToolButton(this)), loadingLabel(new QLabel(tr("Loading..."), this)),
      movieLabel(new QLabel(this)), movie(nullptr), stack(new QStackedWidget(this))
{
    loadLayoutPageResources();
    setTitle(tr("Layout"));
    LayoutLibrary* library = LayoutLibrary::instance();
    proxy->setSourceModel(library);
    delegate->setOrientation(Velmora::Orientation_LANDSCAPE);
    movie = new QMovie(":/loader_medium.gif", QByteArray(), this);

    refreshButton->setIcon(QIcon(":/icons/22x22/refresh.png"));
    refreshButton->setIconSize(QSize(22, 22));
    refreshButton->setToolTip(tr("Reload layouts"));
    refreshButton->setAutoRaise(true);
    movieLabel->setAlignment(Qt::AlignCenter);
    movieLabel->setMovie(movie);
    stack->addWidget(refreshButton);
    stack->addWidget(movieLabel);
    stack->setCurrentWidget(refreshButton);
    loadingLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    loadingLabel->hide();

    auto* topRow = new QHBoxLayout;
    topRow->addStretch(1);
    topRow->addWidget(loadingLabel);
    topRow->addWidget(stack);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topRow);
    layout->addWidget(view, 1);

    view->setModel(proxy.get());
    view->setItemDelegate(delegate);
    view->setGridSize(delegate->cellSize());
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PageLayoutPage::onLayoutSelectionChanged);
    connect(refreshButton, &QToolButton::clicked, this, &PageLayoutPage::onRefreshClicked);
    connect(library, &LayoutLibrary::refreshStarted, this, &PageLayoutPage::onRefreshStarted);
    connect(library, &LayoutLibrary::refreshFinished, this, &PageLayoutPage::onRefreshFinished);
    if (library->isRefreshing())
        onRefreshStarted();
}

// The view goes first (it is a child), so that it lets go of the proxy before the proxy goes.
PageLayoutPage::~PageLayoutPage()
{
    delete view;
}

void PageLayoutPage::setOrientation(int orientation)
{
    delegate->setOrientation(orientation);
    view->setGridSize(delegate->cellSize());
    proxy->setOrientation(orientation);
}

void PageLayoutPage::setNewPageData(const NewPageData& data)
{
    m_layoutName.clear();
    const QModelIndex row =
        proxy->mapFromSource(LayoutLibrary::instance()->indexOf(data.layoutName));
    if (!row.isValid())
        return;
    view->selectionModel()->select(row, QItemSelectionModel::Select);
    view->selectionModel()->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
    view->scrollTo(row);
    m_layoutName = data.layoutName;
}

void PageLayoutPage::initializePage()
{
    const QVariant orientation = projectOrientationField(wizard());
    if (!orientation.isNull())
        setOrientation(orientation.toInt() + 1);
}

bool PageLayoutPage::isComplete() const
{
    return !view->selectionModel()->selectedIndexes().isEmpty();
}

void PageLayoutPage::onLayoutSelectionChanged(const QItemSelection& selected,
                                              const QItemSelection& deselected)
{
    // The selection itself, not the change: re-sorting or filtering the list reports a change
    // with nothing in it while the template stays selected.
    const QModelIndexList rows = view->selectionModel()->selectedIndexes();
    m_layoutName = rows.isEmpty() ? QString() : rows.first().data().toString();
    // Moving the one selection from template to template leaves completeness as it was.
    if (selected.size() != deselected.size())
        emit completeChanged();
}

void PageLayoutPage::onRefreshClicked()
{
    LayoutLibrary::instance()->refresh();
}

void PageLayoutPage::onRefreshStarted()
{
    movie->start();
    stack->setCurrentWidget(movieLabel);
    loadingLabel->show();
    view->clearSelection();
    view->setEnabled(false);
}

void PageLayoutPage::onRefreshFinished()
{
    loadingLabel->hide();
    stack->setCurrentWidget(refreshButton);
    movie->stop();
    view->setEnabled(true);
}
