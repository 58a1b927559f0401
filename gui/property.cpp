#include "gui/property.h"

#include "gui/property_model.h"

Property::Property(Property* parent)
{
    if (parent)
        parent->attach(this, parent->childCount());
}

Property::~Property()
{
    if (parentRow) {
        const int row = parentRow->indexOfChild(this);
        PropertyModel* m = parentRow->owningModel;
        if (m && row >= 0)
            m->beginRemoveRows(parentRow->index(0), row, row);
        if (row >= 0)
            parentRow->childRows.removeAt(row);
        if (m && row >= 0)
            m->endRemoveRows();
    }
    const QList<Property*> rows = childRows;
    childRows.clear();
    for (Property* row : rows) {
        row->parentRow = nullptr;
        if (row->hasFlag(ExternallyOwned))
            // The survivor is out of the tree: it must not reach a model that may go before it.
            row->setModel(nullptr);
        else
            delete row;
    }
}

int Property::indexOfChild(const Property* child) const
{
    return childRows.indexOf(const_cast<Property*>(child));
}

void Property::attach(Property* child, int row)
{
    if (!child || child->parentRow || child == this)
        return;
    row = qBound(0, row, childCount());
    if (owningModel)
        owningModel->beginInsertRows(index(0), row, row);
    child->parentRow = this;
    childRows.insert(row, child);
    child->setModel(owningModel);
    if (owningModel)
        owningModel->endInsertRows();
}

void Property::appendChild(Property* child)
{
    attach(child, childCount());
}

void Property::insertChild(Property* child, int row)
{
    attach(child, row);
}

Property* Property::removeChild(int row)
{
    if (row < 0 || row >= childCount())
        return nullptr;
    if (owningModel)
        owningModel->beginRemoveRows(index(0), row, row);
    Property* child = childRows.takeAt(row);
    child->parentRow = nullptr;
    child->setModel(nullptr);
    if (owningModel)
        owningModel->endRemoveRows();
    return child;
}

Property* Property::removeChild(Property* child)
{
    const int row = indexOfChild(child);
    return row < 0 ? nullptr : removeChild(row);
}

void Property::setModel(PropertyModel* model)
{
    owningModel = model;
    for (Property* row : childRows)
        row->setModel(model);
}

void Property::setFlag(unsigned flag, bool on)
{
    flagBits = (flagBits & ~flag) | (on ? flag : 0u);
}

QModelIndex Property::index(int column) const
{
    return owningModel ? owningModel->index(this, column) : QModelIndex();
}

void Property::setValue(const QVariant& value)
{
    if (compare(value))
        return;
    storedValue = value;
    if (owningModel && parentRow) {
        const QModelIndex cell = index(1);
        emit owningModel->dataChanged(cell, cell);
    }
}

bool Property::compare(const QVariant& value) const
{
    return storedValue == value;
}

bool Property::reset()
{
    if (!value().isValid())
        return false;
    setValue(QVariant());
    return true;
}

bool Property::paint(QPainter*, const QStyleOption&) const
{
    return false;
}

QWidget* Property::createEditor(QWidget*, const QObject*, const char*) const
{
    return nullptr;
}

void Property::setEditorData(QWidget*) const {}

QVariant Property::valueFromEditor(QWidget*) const
{
    return QVariant();
}

void Property::showMoreEditor(QWidget*) {}
