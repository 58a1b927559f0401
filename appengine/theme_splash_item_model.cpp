#include "appengine/theme_splash_item_model.h"

#include <QStandardItem>

namespace {

QStandardItem* makeItem(const QString& text, Velmora::ThemedItemType type)
{
    auto* item = new QStandardItem(text);
    item->setData(int(type), Qt::UserRole);
    item->setCheckable(true);
    return item;
}

void setChecked(QStandardItem* item, bool checked)
{
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

} // namespace

ThemeSplashItemModel::ThemeSplashItemModel(QObject* parent) : QStandardItemModel(parent) {}

ThemeSplashItemModel::~ThemeSplashItemModel() = default;

QStandardItem* ThemeSplashItemModel::addItemType(Velmora::ThemedItemType type, const QString& text,
                                                 bool checked)
{
    QStandardItem*& item = typeItems[type];
    if (!item) {
        item = makeItem(text, type);
        appendRow(item);
    }
    setChecked(item, checked);
    return item;
}

QStandardItem* ThemeSplashItemModel::addSkinItem(Velmora::ThemedItemType type,
                                                 const QString& skinName, bool checked)
{
    const auto found = typeItems.find(type);
    if (found == typeItems.end())
        return nullptr;
    QStandardItem* parent = found->second;
    QStandardItem* child = nullptr;
    for (int row = 0; row < parent->rowCount() && !child; ++row)
        if (parent->child(row)->text() == skinName)
            child = parent->child(row);
    if (!child) {
        child = makeItem(skinName, type);
        parent->appendRow(child);
    }
    setChecked(child, checked);
    return child;
}

QList<Velmora::ThemedItemType> ThemeSplashItemModel::checkedItemTypes() const
{
    QList<Velmora::ThemedItemType> types;
    for (int row = 0; row < rowCount(); ++row) {
        const QStandardItem* item = this->item(row);
        if (item->checkState() == Qt::Checked)
            types << Velmora::ThemedItemType(item->data(Qt::UserRole).toInt());
    }
    return types;
}

QStringList ThemeSplashItemModel::checkedSkins(Velmora::ThemedItemType type) const
{
    QStringList names;
    const auto found = typeItems.find(type);
    if (found == typeItems.end())
        return names;
    const QStandardItem* parent = found->second;
    for (int row = 0; row < parent->rowCount(); ++row)
        if (parent->child(row)->checkState() == Qt::Checked)
            names << parent->child(row)->text();
    return names;
}

void ThemeSplashItemModel::clear()
{
    typeItems.clear();
    QStandardItemModel::clear();
}
