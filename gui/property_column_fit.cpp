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
    return 2 * PropertyDelegate::buttonWidth + 6 * view->fontMetrics().averageCharWidth();
}

int PropertyColumnFit::nameWidth(const QTreeView* view)
{
    // The tree's own measures of the columns (indentation included, group rows that span both
    // columns left out, a value with its buttons), reached through the base where they are
    // public.
    const auto* items = static_cast<const QAbstractItemView*>(view);
    const int names = std::max(items->sizeHintForColumn(0), view->header()->sectionSizeHint(0));
    const int values = std::max(items->sizeHintForColumn(1), minimumValueWidth(view));
    const int width = view->viewport()->width();
    // Both whole where they fit. Otherwise the values whole as far as the names keep half the
    // view; what is cut shows whole as its tooltip.
    const int fitted =
        names + values <= width ? names : std::max(std::min(names, width / 2), width - values);
    return std::max(view->header()->minimumSectionSize(), fitted);
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
