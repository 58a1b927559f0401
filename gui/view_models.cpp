#include "gui/view_models.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

void setViewModel(QAbstractItemView* view, QAbstractItemModel* model)
{
    QItemSelectionModel* old = view->selectionModel();
    view->setModel(model);
    if (old != view->selectionModel())
        delete old;
}
