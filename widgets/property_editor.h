#pragma once

#include "gui/property_delegate.h"
#include "gui/property_model.h"
#include "gui/property_validator.h"

#include <QTreeView>
#include <QVariant>
#include <boost/bimap.hpp>
#include <memory>
#include <vector>

class VelmoraDocument;

// The two-column tree (name, value) of the properties of what is selected in the open project:
// one or more pages, one or more controls, or one page switcher. Each row carries its
// PropertyId. Values are merged over the selection: a row shows the value the selected items
// share, or stays blank where they differ.
//
// The editor never changes the project. An accepted edit leaves it as propertyValueChanged()
// for the application to turn into one undoable command for the current selection; once the
// project has changed, the application's propertyValuesChanged() (onPropertyValuesChanged)
// makes the editor read every shown value again, so the tree always shows the project's state.
// The main window calls refresh() whenever the selection changes.
//
// The document and its selection are read through ProjectAccess; with none installed the tree
// stays empty.
class PropertyEditor : public QTreeView, public PropertyValidator
{
    Q_OBJECT

public:
    explicit PropertyEditor(QWidget* parent = nullptr);
    ~PropertyEditor() override;

    // The id of a row; -1 for a row that is not the editor's.
    int propertyId(const Property* property) const;
    // The row of an id, attached or not; null for an id without a row.
    Property* property(int id) const;

    // Refuses blank, duplicate and over-long (UTF-8) page names and over-long control keys,
    // each with a warning box; everything else passes.
    bool validate(Property* property, const QVariant& value) override;

    // Loads one item's value into the row of the id: the first item's value is stored, a later
    // item's value that differs blanks the row. An id without a row is ignored.
    void loadValue(int id, const QVariant& value, bool first);
    // Attaches a group row at the end of the tree, expanded and spanning both columns (a shown
    // group keeps its place), or detaches it. Ids that are no group are ignored.
    void showGroup(int groupId, bool show);

signals:
    // One accepted edit of the row with the id; the value is the row's new value.
    void propertyValueChanged(int id, const QVariant& value);

public slots:
    void onPropertyValuesChanged();
    // As onPropertyValuesChanged, with the startup-state choices rebuilt from the new theme.
    void onThemeChanged();
    void onPropertyChanged(Property* property);
    // Chooses the groups for the selection's kind (and the controls' common type) and loads
    // their values.
    void refresh();

private:
    void refreshPageValues();
    void refreshControlValues();
    void refreshPageSwitcherValues();
    void refreshStartupStates();
    // Loads every row of the group, sub-rows included, from each selected item.
    void loadGroup(const VelmoraDocument& document, int groupId);
    // Attaches the sub-row under its parent row (at `row`, or at the end for -1) or detaches it.
    void placeSubRow(int id, bool attach, int row = -1);
    void setReadOnly(int id, bool readOnly);
    void expandRow(int id);

    PropertyModel propertyModel;
    PropertyDelegate delegate;
    boost::bimap<int, Property*> ids;
    // Kept apart from the group that shows them, so that they outlive being detached. Sub-rows
    // go before the groups.
    std::vector<std::unique_ptr<Property>> groups;
    std::vector<std::unique_ptr<Property>> subRows;
    // Counts the updates of the rows in progress (they nest when an update's signals lead to
    // another one).
    struct RowUpdate
    {
        explicit RowUpdate(int& count) : count(count) { ++count; }
        ~RowUpdate() { --count; }
        int& count;
    };
    int rowUpdates = 0;
    // SelectionManager::SelectionKind of the groups shown.
    int shownSelectionKind = 0;
    // The common Velmora::ControlType of the selected controls (0 when they differ); read
    // only while controls are shown.
    int shownControlType = 0;
};
