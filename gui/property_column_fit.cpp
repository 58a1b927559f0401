#include "gui/property_column_fit.h"

#include "gui/property_delegate.h"

#include <QEvent>
#include <QHeaderView>
#include <QTreeView>
#include <algorithm>

PropertyColumnFit::PropertyColumnFit(QTreeView* view) : QObject(view), view(view)
{
    view->setTextElideMode(Qt::ElideMiddle);
    // Both widths are set here: a stretched last section keeps a minimum of its own.
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(QHeaderView::Interactive);
    view->viewport()->installEventFilter(this);
    const auto refit = [this] { fit(); };
    connect(view, &QTreeView::expanded, this, refit);
    connect(view, &QTreeView::collapsed, this, refit);
    if (QAbstractItemModel* model = view->model()) {
        connect(model, &QAbstractItemModel::rowsInserted, this, refit);
        connect(model, &QAbstractItemModel::rowsRemoved, this, refit);
        connect(model, &QAbstractItemModel::modelReset, this, refit);
        connect(model, &QAbstractItemModel::layoutChanged, this, refit);
        connect(model, &QAbstractItemModel::dataChanged, this, refit);
    }
    fit();
}

int PropertyColumnFit::minimumValueWidth(const QTreeView* view)
{
    const int buttonsAndText =
        2 * PropertyDelegate::buttonWidth + 6 * view->fontMetrics().averageCharWidth();
    return std::max(view->viewport()->width() * 3 / 10, buttonsAndText);
}

int PropertyColumnFit::nameWidth(const QTreeView* view)
{
    // The tree's own measure of the column (indentation included, group rows that span both
    // columns left out), reached through the base where it is public.
    const auto* items = static_cast<const QAbstractItemView*>(view);
    const int names = std::max(items->sizeHintForColumn(0), view->header()->sectionSizeHint(0));
    const int room = view->viewport()->width() - minimumValueWidth(view);
    return std::max(view->header()->minimumSectionSize(), std::min(names, room));
}

void PropertyColumnFit::fit()
{
    QHeaderView* header = view->header();
    if (header->count() < 2)
        return;
    const int names = nameWidth(view);
    const int values = std::max(view->viewport()->width() - names, header->minimumSectionSize());
    if (header->sectionSize(0) != names)
        header->resizeSection(0, names);
    if (header->sectionSize(1) != values)
        header->resizeSection(1, values);
}

bool PropertyColumnFit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize)
        fit();
    return QObject::eventFilter(watched, event);
}
