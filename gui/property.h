#pragma once

#include <QList>
#include <QModelIndex>
#include <QString>
#include <QVariant>

class PropertyModel;
class QObject;
class QPainter;
class QStyleOption;
class QWidget;

// One row of a property tree: a named value held as a QVariant (invalid while unset, which shows
// as an empty cell) that knows its text, how to paint and edit itself, whether it can be reset
// and whether it offers a further editor (a dialog). Each parent owns its children; every
// change of the tree is announced to the model the property belongs to, so attached views
// follow.
class Property
{
public:
    enum Flag : unsigned
    {
        // The value cell is never editable in place and is drawn disabled.
        ReadOnly = 1,
        // The parent does not delete this child: it is a member of its owner.
        ExternallyOwned = 2
    };

    // A null parent makes a free-standing property with no model; otherwise it is appended as
    // the parent's last child and takes the parent's model.
    explicit Property(Property* parent);
    virtual ~Property();
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    // Text of the name column; set by the owner.
    QString name;

    PropertyModel* model() const { return owningModel; }
    Property* parentProperty() const { return parentRow; }
    int childCount() const { return int(childRows.size()); }
    Property* child(int row) const { return childRows.at(row); }
    // The row of `child`, -1 when it is not a child of this property.
    int indexOfChild(const Property* child) const;

    // Both ignore a property that already has a parent (remove it first).
    void appendChild(Property* child);
    void insertChild(Property* child, int row);
    // Detaches the child (null for a row out of range); it keeps living with no parent and no
    // model, owned by the caller.
    Property* removeChild(int row);
    Property* removeChild(Property* child);

    // Sets the model of this property and of every descendant.
    void setModel(PropertyModel* model);

    unsigned flags() const { return flagBits; }
    bool hasFlag(Flag flag) const { return (flagBits & flag) != 0; }
    void setFlag(unsigned flag, bool on);

    // The model index of this row in `column`; invalid without a model.
    QModelIndex index(int column) const;

    virtual QVariant value() const { return storedValue; }
    // Stores the value when it differs (see compare) and repaints the value cell; emits no
    // change notification of the model, so values loaded by the owner never echo back.
    virtual void setValue(const QVariant& value);
    // True when the stored value equals `value`.
    virtual bool compare(const QVariant& value) const;
    virtual bool isResettable() const { return false; }
    // Unsets a set value and returns true; false when it was unset already.
    virtual bool reset();
    virtual QString toText() const = 0;
    // True when the property painted the value cell itself; false lets the delegate draw the
    // text.
    virtual bool paint(QPainter* painter, const QStyleOption& option) const;
    virtual bool isEditable() const { return false; }
    // The in-place editor; `receiver` and `member` (a SLOT() string) are what an editor that
    // commits on a choice calls. Null when the property has no in-place editor.
    virtual QWidget* createEditor(QWidget* parent, const QObject* receiver,
                                  const char* member) const;
    virtual void setEditorData(QWidget* editor) const;
    virtual QVariant valueFromEditor(QWidget* editor) const;
    virtual bool hasMore() const { return false; }
    // Opens the further editor (a modal dialog) with `parent`.
    virtual void showMoreEditor(QWidget* parent);

private:
    void attach(Property* child, int row);

    QVariant storedValue;
    PropertyModel* owningModel = nullptr;
    Property* parentRow = nullptr;
    QList<Property*> childRows;
    unsigned flagBits = 0;
};

// A row that only titles a group of rows; also the invisible root of every property model.
class PropertyGroup : public Property
{
public:
    explicit PropertyGroup(Property* parent) : Property(parent) {}
    QString toText() const override { return QString(); }
};
