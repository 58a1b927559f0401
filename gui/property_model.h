#pragma once

#include "gui/property.h"
#include "gui/property_validator.h"

#include <QAbstractItemModel>

// A two-column item model ("Name", "Value") over a tree of properties. The root group is never
// shown: its children are the top-level rows. Edits made through setData pass the validator
// and are announced with propertyChanged; values the owner loads with Property::setValue are not.
class PropertyModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    PropertyModel();
    ~PropertyModel() override;

    Property* root() { return &rootGroup; }
    const Property* root() const { return &rootGroup; }

    // The model does not own the validator.
    void setValidator(PropertyValidator* validator) { validatorObject = validator; }
    PropertyValidator* validator() const { return validatorObject; }
    // True when no validator is set, else the validator's answer.
    bool validate(Property* property, const QVariant& value);

    // The root for an invalid index.
    Property* property(const QModelIndex& index);
    const Property* property(const QModelIndex& index) const;
    // Invalid for the root.
    QModelIndex index(const Property* property, int column) const;

    // Resets the row's property; announces it when the reset changed the value. The validator
    // is not consulted.
    void resetProperty(const QModelIndex& index);

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void propertyChanged(Property* property);

private:
    friend class Property;

    PropertyGroup rootGroup;
    PropertyValidator* validatorObject = nullptr;
};
