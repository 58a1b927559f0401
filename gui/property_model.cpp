#include "gui/property_model.h"

PropertyModel::PropertyModel() : QAbstractItemModel(nullptr), rootGroup(nullptr)
{
    rootGroup.setModel(this);
    rootGroup.setFlag(Property::ReadOnly, true);
}

PropertyModel::~PropertyModel() = default;

bool PropertyModel::validate(Property* property, const QVariant& value)
{
    return !validatorObject || validatorObject->validate(property, value);
}

Property* PropertyModel::property(const QModelIndex& index)
{
    return index.isValid() ? static_cast<Property*>(index.internalPointer()) : &rootGroup;
}

const Property* PropertyModel::property(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<const Property*>(index.internalPointer()) : &rootGroup;
}

QModelIndex PropertyModel::index(const Property* property, int column) const
{
    if (!property || property == &rootGroup || !property->parentProperty())
        return QModelIndex();
    const int row = property->parentProperty()->indexOfChild(property);
    return createIndex(row, column, const_cast<Property*>(property));
}

void PropertyModel::resetProperty(const QModelIndex& index)
{
    Property* p = property(index);
    if (p->reset())
        emit propertyChanged(p);
}

QModelIndex PropertyModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    const Property* p = property(parent);
    if (row >= p->childCount())
        return QModelIndex();
    return createIndex(row, column, p->child(row));
}

QModelIndex PropertyModel::parent(const QModelIndex& index) const
{
    if (!index.isValid())
        return QModelIndex();
    const Property* parentRow = property(index)->parentProperty();
    if (!parentRow || parentRow == &rootGroup)
        return QModelIndex();
    return this->index(parentRow, 0);
}

int PropertyModel::rowCount(const QModelIndex& parent) const
{
    // Children hang off the name column only, as parent() reports them.
    if (parent.column() > 0)
        return 0;
    return property(parent)->childCount();
}

int PropertyModel::columnCount(const QModelIndex&) const
{
    return 2;
}

QVariant PropertyModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const Property* p = property(index);
    // A name cut by a narrow column still shows whole as its tooltip.
    if (role == Qt::ToolTipRole && index.column() == 0)
        return p->name;
    if (role != Qt::DisplayRole)
        return QVariant();
    return index.column() == 0 ? QVariant(p->name) : QVariant(p->toText());
}

QVariant PropertyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal) {
        if (section == 0)
            return tr("Name");
        if (section == 1)
            return tr("Value");
    }
    return QAbstractItemModel::headerData(section, orientation, role);
}

Qt::ItemFlags PropertyModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags shown = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() != 1)
        return shown;
    const Property* p = property(index);
    return p->isEditable() && !p->hasFlag(Property::ReadOnly) ? shown | Qt::ItemIsEditable : shown;
}

bool PropertyModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole)
        return QAbstractItemModel::setData(index, value, role);
    Property* p = property(index);
    if (p->compare(value))
        return false;
    if (validatorObject && !validate(p, value))
        return false;
    p->setValue(value);
    emit propertyChanged(p);
    return true;
}
