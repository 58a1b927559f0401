#include "appengine/theme_skin_model.h"

ThemeSkinModel::ThemeSkinModel(QObject* parent) : QStandardItemModel(0, 1, parent) {}

ThemeSkinModel::~ThemeSkinModel() = default;

void ThemeSkinModel::addSkin(const QString& name, bool inUse)
{
    auto item = new QStandardItem(name);
    item->setData(false, IsDefaultRole);
    item->setData(inUse, InUseRole);
    appendRow(item);
}

void ThemeSkinModel::setDefaultSkin(const QString& name)
{
    for (int row = 0; row < rowCount(); ++row) {
        const QModelIndex rowIndex = index(row, 0);
        if (skinName(rowIndex) == name)
            setData(rowIndex, true, IsDefaultRole);
        else if (rowIndex.data(IsDefaultRole).toBool())
            setData(rowIndex, false, IsDefaultRole);
    }
}

QString ThemeSkinModel::skinName(const QModelIndex& index) const
{
    return QStandardItemModel::data(index, Qt::EditRole).toString();
}

int ThemeSkinModel::findRow(const QString& name) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (skinName(index(row, 0)) == name)
            return row;
    }
    return -1;
}

void ThemeSkinModel::renameSkin(const QString& oldName, const QString& newName)
{
    const int row = findRow(oldName);
    if (row >= 0)
        setData(index(row, 0), newName, Qt::DisplayRole);
}

void ThemeSkinModel::removeSkin(const QString& name)
{
    const int row = findRow(name);
    if (row >= 0 && !index(row, 0).data(InUseRole).toBool())
        removeRow(row);
}

QVariant ThemeSkinModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::DisplayRole && index.isValid() &&
        QStandardItemModel::data(index, IsDefaultRole).toBool())
        return skinName(index) + tr(" (Default)");
    return QStandardItemModel::data(index, role);
}

bool ThemeSkinModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole)
        return QStandardItemModel::setData(index, value, role);
    const QString oldName = skinName(index.siblingAtColumn(0));
    const QString newName = value.toString();
    if (index.siblingAtColumn(0).data(InUseRole).toBool()) {
        emit cannotChangeNameOfSkinInUse();
        return false;
    }
    if (newName.isEmpty() || findRow(newName) >= 0)
        return false;
    emit changeSkinName(oldName, newName);
    return true;
}
