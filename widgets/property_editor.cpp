#include "widgets/property_editor.h"

#include "appengine/selection_manager.h"
#include "core/gradient.h"
#include "gui/enum_property.h"
#include "gui/property_column_fit.h"
#include "main/project_access.h"
#include "main/velmora_document.h"
#include "velmora_objects/button.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme.h"
#include "widgets/property_id_table.h"

#include <QMessageBox>
#include <algorithm>
#include <array>
#include <climits>

using namespace Velmora;

namespace {

const std::array<int, 9> groupIds = {
    PropertyId_PAGE,   PropertyId_CONTROL,       PropertyId_BUTTON,
    PropertyId_SLIDER, PropertyId_COLOUR_PICKER, PropertyId_KEYPAD,
    PropertyId_LABEL,  PropertyId_CLOCK,         PropertyId_PAGE_SWITCHER};

// The group of each control type's own rows, by Velmora::ControlType (1 to 6).
const std::array<int, 6> typeGroups = {PropertyId_BUTTON,        PropertyId_SLIDER,
                                       PropertyId_COLOUR_PICKER, PropertyId_KEYPAD,
                                       PropertyId_LABEL,         PropertyId_CLOCK};

const int maxNameBytes = 32;

VelmoraDocument* openDocument()
{
    return ProjectAccess::currentDocument();
}

} // namespace

PropertyEditor::PropertyEditor(QWidget* parent) : QTreeView(parent)
{
    for (const PropertyRow& row : propertyRows()) {
        if (row.type == PropertyClass::Group) {
            groups.emplace_back(createPropertyRow(row, nullptr));
            groups.back()->setFlag(Property::ExternallyOwned, true);
            ids.insert({row.id, groups.back().get()});
        } else if (row.parent >= 0) {
            subRows.emplace_back(createPropertyRow(row, nullptr));
            subRows.back()->setFlag(Property::ExternallyOwned, true);
            ids.insert({row.id, subRows.back().get()});
        } else {
            ids.insert({row.id, createPropertyRow(row, property(row.group))});
        }
    }

    propertyModel.setValidator(this);
    setRootIsDecorated(false);
    setAlternatingRowColors(true);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::SelectedClicked);
    setItemDelegate(&delegate);
    setModel(&propertyModel);
    // The names follow the rows shown, so that rows such as the three backgrounds can be told
    // apart in a narrow dock; the values take the rest of the width.
    new PropertyColumnFit(this);
    connect(&propertyModel, &PropertyModel::propertyChanged, this,
            &PropertyEditor::onPropertyChanged);
}

PropertyEditor::~PropertyEditor()
{
    // The rows leave the model while the members go; the view must not follow them then.
    setModel(nullptr);
    subRows.clear();
    groups.clear();
}

int PropertyEditor::propertyId(const Property* property) const
{
    const auto it = ids.right.find(const_cast<Property*>(property));
    return it == ids.right.end() ? -1 : it->second;
}

Property* PropertyEditor::property(int id) const
{
    const auto it = ids.left.find(id);
    return it == ids.left.end() ? nullptr : it->second;
}

bool PropertyEditor::validate(Property* property, const QVariant& value)
{
    QString problem;
    const int id = propertyId(property);
    if (id == PropertyId_PAGE_NAME) {
        const QString name = value.toString();
        const VelmoraDocument* document = openDocument();
        if (name.isEmpty())
            problem = tr("Page names cannot be blank");
        else if (document && !document->isPageNameFree(name))
            problem = tr("Page names must be unique");
        else if (name.toUtf8().size() > maxNameBytes)
            problem = tr("Page names cannot be more than 32 bytes when encoded as UTF8.");
    } else if (id == PropertyId_CONTROL_KEY) {
        if (value.toString().toUtf8().size() > maxNameBytes)
            problem = tr("Control keys cannot be more than 32 bytes when encoded as UTF8.");
    }
    if (problem.isEmpty())
        return true;
    QMessageBox::warning(this, tr("Error"), problem, QMessageBox::Ok);
    return false;
}

void PropertyEditor::loadValue(int id, const QVariant& value, bool first)
{
    Property* row = property(id);
    if (!row)
        return;
    if (first)
        row->setValue(value);
    else if (!row->compare(value))
        row->setValue(QVariant());
}

void PropertyEditor::showGroup(int groupId, bool show)
{
    if (std::find(groupIds.begin(), groupIds.end(), groupId) == groupIds.end())
        return;
    Property* group = property(groupId);
    Property* root = propertyModel.root();
    if (!show) {
        root->removeChild(group);
        return;
    }
    root->appendChild(group);
    const QModelIndex index = propertyModel.index(group, 0);
    expand(index);
    setFirstColumnSpanned(index.row(), QModelIndex(), true);
}

void PropertyEditor::refresh()
{
    const RowUpdate update(rowUpdates);
    const VelmoraDocument* document = openDocument();
    const int kind = document ? int(document->selection().kind()) : 0;
    if (kind == SelectionManager::SelectionKind_PAGE_SWITCHERS) {
        if (shownSelectionKind != kind) {
            for (int group : groupIds)
                showGroup(group, group == PropertyId_PAGE_SWITCHER);
            shownSelectionKind = kind;
        }
        refreshPageSwitcherValues();
    } else if (kind == SelectionManager::SelectionKind_CONTROLS) {
        const int type = int(document->commonControlType(document->selection().selectedIds()));
        if (shownSelectionKind == kind && type == shownControlType) {
            refreshControlValues();
            return;
        }
        shownControlType = type;
        showGroup(PropertyId_PAGE, false);
        showGroup(PropertyId_PAGE_SWITCHER, false);
        showGroup(PropertyId_CONTROL, true);
        for (int t = 1; t <= int(typeGroups.size()); ++t)
            showGroup(typeGroups[t - 1], t == type);
        shownSelectionKind = kind;
        refreshStartupStates();
        refreshControlValues();
    } else if (kind == SelectionManager::SelectionKind_PAGES) {
        if (shownSelectionKind != kind) {
            for (int group : groupIds)
                showGroup(group, group == PropertyId_PAGE);
            shownSelectionKind = kind;
        }
        refreshPageValues();
    } else {
        for (int group : groupIds)
            showGroup(group, false);
        shownSelectionKind = 0;
    }
}

void PropertyEditor::onPropertyValuesChanged()
{
    const RowUpdate update(rowUpdates);
    if (shownSelectionKind == SelectionManager::SelectionKind_PAGES)
        refreshPageValues();
    else if (shownSelectionKind == SelectionManager::SelectionKind_CONTROLS)
        refreshControlValues();
    else if (shownSelectionKind == SelectionManager::SelectionKind_PAGE_SWITCHERS)
        refreshPageSwitcherValues();
}

void PropertyEditor::onThemeChanged()
{
    if (shownSelectionKind == SelectionManager::SelectionKind_CONTROLS)
        refreshStartupStates();
    onPropertyValuesChanged();
}

void PropertyEditor::onPropertyChanged(Property* property)
{
    // An editor still open on a row that an update detaches is closed on the way, and commits
    // its value then: for items that may no longer be the selection, and into rows that are
    // being taken out. That value goes nowhere.
    if (rowUpdates > 0)
        return;
    const int id = propertyId(property);
    if (id >= 0)
        emit propertyValueChanged(id, property->value());
}

void PropertyEditor::loadGroup(const VelmoraDocument& document, int groupId)
{
    bool first = true;
    for (unsigned int itemId : document.selection()) {
        for (const PropertyRow& row : propertyRows())
            if (row.group == groupId && row.load)
                loadValue(row.id, row.load(document, itemId), first);
        first = false;
    }
}

void PropertyEditor::placeSubRow(int id, bool attach, int row)
{
    Property* subRow = property(id);
    Property* parent = subRow->parentProperty();
    if (!attach) {
        if (parent)
            parent->removeChild(subRow);
        return;
    }
    if (!parent)
        property(propertyRow(id)->parent)->insertChild(subRow, row < 0 ? INT_MAX : row);
}

void PropertyEditor::setReadOnly(int id, bool readOnly)
{
    Property* row = property(id);
    if (row->hasFlag(Property::ReadOnly) == readOnly)
        return;
    row->setFlag(Property::ReadOnly, readOnly);
    // The flag changes how the value cell is drawn and whether it edits.
    const QModelIndex cell = row->index(1);
    if (cell.isValid())
        emit propertyModel.dataChanged(cell, cell);
}

void PropertyEditor::expandRow(int id)
{
    expand(property(id)->index(0));
}

void PropertyEditor::refreshPageValues()
{
    const VelmoraDocument* document = openDocument();
    if (!document)
        return;
    loadGroup(*document, PropertyId_PAGE);
    const bool several = document->selection().size() > 1;
    setReadOnly(PropertyId_PAGE_DEFAULT,
                several || property(PropertyId_PAGE_DEFAULT)->value().toBool());
    const QVariant gradient = property(PropertyId_PAGE_BACKGROUND_GRADIENT)->value();
    placeSubRow(PropertyId_PAGE_GRADIENT_ROTATION,
                gradient.canConvert<Gradient>() && !qvariant_cast<Gradient>(gradient).isNull());
    const QVariant image = property(PropertyId_PAGE_BACKGROUND_IMAGE)->value();
    placeSubRow(PropertyId_PAGE_IMAGE_SCALING, image.isValid() && image.toUInt() != 0xFFFFFFFF);
    setReadOnly(PropertyId_PAGE_NAME, several);
}

void PropertyEditor::refreshControlValues()
{
    const VelmoraDocument* document = openDocument();
    if (!document)
        return;
    loadGroup(*document, PropertyId_CONTROL);
    if (shownControlType >= 1 && shownControlType <= int(typeGroups.size()))
        loadGroup(*document, typeGroups[shownControlType - 1]);

    if (shownControlType == ControlType_BUTTON) {
        Property* actuation = property(PropertyId_BUTTON_ACTUATION);
        const int actuationChildren = actuation->childCount();
        const QVariant mode = actuation->value();
        const bool momentary = mode.isValid() && int(qvariant_cast<Button::Actuation>(mode)) ==
                                                     Button::Actuation_MOMENTARY;
        placeSubRow(PropertyId_BUTTON_HELD_TIMEOUT, momentary);
        placeSubRow(PropertyId_BUTTON_REPEAT_INTERVAL, momentary);
        if (actuationChildren == 0 && actuation->childCount() > 0)
            expandRow(PropertyId_BUTTON_ACTUATION);

        Property* function = property(PropertyId_BUTTON_FUNCTION);
        const int functionChildren = function->childCount();
        const QVariant value = function->value();
        const int f = value.isValid() ? int(qvariant_cast<ButtonFunction>(value)) : 0;
        const bool changesPage = f == ButtonFunction_NEXT_PAGE ||
                                 f == ButtonFunction_PREVIOUS_PAGE ||
                                 f == ButtonFunction_GO_TO_PAGE || f == ButtonFunction_BACK;
        placeSubRow(PropertyId_BUTTON_FUNCTION_PAGE, f == ButtonFunction_GO_TO_PAGE, 0);
        placeSubRow(PropertyId_BUTTON_FUNCTION_TRANSITION, changesPage);
        placeSubRow(PropertyId_BUTTON_FUNCTION_TRANSITION_DURATION, changesPage);
        placeSubRow(PropertyId_BUTTON_FUNCTION_LEVEL, f == ButtonFunction_SET_BRIGHTNESS);
        if (functionChildren == 0 && function->childCount() > 0)
            expandRow(PropertyId_BUTTON_FUNCTION);
    }

    const bool several = document->selection().size() > 1;
    for (int id : {PropertyId_BUTTON_CLICK_IR_SLOT, PropertyId_SLIDER_INCREMENT_IR_SLOT,
                   PropertyId_SLIDER_DECREMENT_IR_SLOT})
        setReadOnly(id, several);
    setReadOnly(PropertyId_CONTROL_STARTUP_STATE, shownControlType == 0);
}

void PropertyEditor::refreshPageSwitcherValues()
{
    const VelmoraDocument* document = openDocument();
    if (!document || document->selection().isEmpty())
        return;
    const unsigned int switcherId = *document->selection().begin();
    for (const PropertyRow& row : propertyRows())
        if (row.group == PropertyId_PAGE_SWITCHER && row.load)
            loadValue(row.id, row.load(*document, switcherId), true);

    const std::pair<int, int> switches[] = {
        {PropertyId_PAGE_SWITCHER_SHOW_TIME, PropertyId_PAGE_SWITCHER_TIME_FORMAT},
        {PropertyId_PAGE_SWITCHER_SHOW_DATE, PropertyId_PAGE_SWITCHER_DATE_FORMAT}};
    for (const auto& [switchId, formatId] : switches) {
        Property* row = property(switchId);
        const int children = row->childCount();
        const QVariant on = row->value();
        placeSubRow(formatId, on.isValid() && on.toBool());
        if (children == 0 && row->childCount() > 0)
            expandRow(switchId);
    }
}

void PropertyEditor::refreshStartupStates()
{
    auto* states = dynamic_cast<EnumProperty<QString>*>(property(PropertyId_CONTROL_STARTUP_STATE));
    if (!states)
        return;
    states->clear();
    const VelmoraDocument* document = openDocument();
    if (shownControlType == 0 || !document || !document->getTheme())
        return;
    const ThemedItemType itemType = themedItemTypeOf(ControlType(shownControlType));
    const SkinSet* skins = document->getTheme()->getSkinSet(itemType);
    if (!skins)
        return;
    // The set keeps its skins in name order.
    for (const auto& skin : *skins)
        states->setString(skin.first, skin.first);
    states->setString(QString(), tr("[None]"));
}
