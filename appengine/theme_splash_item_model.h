#pragma once

#include "velmora_objects/velmora_types.h"

#include <QList>
#include <QStandardItemModel>
#include <QString>
#include <map>

class QStandardItem;

// Which samples the splash generator lays out and paints: one checkable top-level row per
// themed item type (Qt::UserRole the type as an int) and under it one checkable row per skin
// (display text the skin name, Qt::UserRole the parent's type). Rows are appended in the order
// they are added; a type has at most one row and a skin name at most one row under its type.
class ThemeSplashItemModel : public QStandardItemModel
{
    Q_OBJECT

public:
    explicit ThemeSplashItemModel(QObject* parent = nullptr);
    ~ThemeSplashItemModel() override;

    // The type's row, made with the text when the type has none (an existing row keeps its
    // text); either way checked or unchecked as asked.
    QStandardItem* addItemType(Velmora::ThemedItemType type, const QString& text, bool checked);
    // The skin's row under the type's row, made when there is none of that exact name; either
    // way checked or unchecked as asked. Null, adding nothing, when the type has no row.
    QStandardItem* addSkinItem(Velmora::ThemedItemType type, const QString& skinName, bool checked);

    // The types whose rows are checked, in row order.
    QList<Velmora::ThemedItemType> checkedItemTypes() const;
    // The names of the checked skin rows of the type, in row order, whatever the type row's own
    // state; empty when the type has no row.
    QStringList checkedSkins(Velmora::ThemedItemType type) const;

    // Removes every row.
    void clear();

private:
    std::map<Velmora::ThemedItemType, QStandardItem*> typeItems;
};
