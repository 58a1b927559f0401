#pragma once

class QAbstractItemModel;
class QAbstractItemView;

// Gives the view a new model (none for null) and deletes the selection model of the old one,
// which the view would otherwise keep until it is destroyed. A view should let go of a model
// this way before the model is deleted: a view left on a deleted model later resets a
// selection model that has no model, and Qt warns about it.
void setViewModel(QAbstractItemView* view, QAbstractItemModel* model);
