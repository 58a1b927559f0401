#include "widgets/theme_editor/theme_editor.h"
#include "widgets/theme_editor/theme_image_pages.h"

#include "appengine/theme_skin_image_model.h"
#include "gui/basic_properties.h"
#include "gui/enum_property.h"
#include "main/image_slot_page_properties.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/slider.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

namespace {

using Key = Velmora::SkinPropertyKey;

QObject* childNamed(ThemeEditor& page, const char* name)
{
    return page.findChild<QObject*>(QString::fromLatin1(name));
}

QAction* actionTexted(ThemeEditor& page, const QString& text)
{
    for (QAction* action : page.findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

using Items = std::vector<std::pair<std::string, int>>;

Items comboItems(ThemeEditor& page, const char* name)
{
    auto* combo = page.findChild<QComboBox*>(QString::fromLatin1(name));
    Items items;
    for (int row = 0; combo && row < combo->count(); ++row)
        items.emplace_back(combo->itemText(row).toStdString(), combo->itemData(row).toInt());
    return items;
}

// The connections of the image and icon controls, which no test of the slots goes through
// (the slots tests click the others and see what they do).
TEST(ThemeEditor, ImageAndIconControlsReachTheirSlots)
{
    ThemeEditor page;
    // The image tabs' slots belong to their own object.
    QObject* images = page.findChild<ThemeImagePages*>();
    ASSERT_TRUE(images);
    const struct
    {
        QObject* sender;
        const char* signal;
        const char* slot;
    } rows[] = {
        {childNamed(page, "imageList"), SIGNAL(customContextMenuRequested(QPoint)),
         SLOT(onBackgroundImageContextMenuRequested(QPoint))},
        {childNamed(page, "applyBackgroundImageFilterButton"), SIGNAL(clicked()),
         SLOT(applyImageFilter())},
        {childNamed(page, "addBackgroundImageButton"), SIGNAL(clicked()),
         SLOT(addBackgroundImage())},
        {childNamed(page, "removeBackgroundImageButton"), SIGNAL(clicked()),
         SLOT(removeBackgroundImage())},
        {childNamed(page, "backgroundLandscapeRadioButton"), SIGNAL(clicked()),
         SLOT(onImageOrientationChanged())},
        {childNamed(page, "backgroundAnyRadioButton"), SIGNAL(clicked()),
         SLOT(onImageOrientationChanged())},
        {actionTexted(page, "Add Image"), SIGNAL(triggered()), SLOT(addBackgroundImage())},
        {actionTexted(page, "Remove Image"), SIGNAL(triggered()), SLOT(removeBackgroundImage())},
        {page.findChild<QActionGroup*>(), SIGNAL(triggered(QAction*)),
         SLOT(onOrientationActionTriggered(QAction*))},
        {childNamed(page, "iconList"), SIGNAL(customContextMenuRequested(QPoint)),
         SLOT(onIconContextMenuRequested(QPoint))},
        {childNamed(page, "removeIconButton"), SIGNAL(clicked()), SLOT(removeIcon())},
        {actionTexted(page, "Add Icon"), SIGNAL(triggered()), SLOT(addIcon())},
        {actionTexted(page, "Remove Icon"), SIGNAL(triggered()), SLOT(removeIcon())},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(row.sender) << row.slot;
        // Disconnecting succeeds only for a connection that exists, exactly once.
        EXPECT_TRUE(QObject::disconnect(row.sender, row.signal, images, row.slot)) << row.slot;
        EXPECT_FALSE(QObject::disconnect(row.sender, row.signal, images, row.slot)) << row.slot;
    }
}

TEST(ThemeEditor, CombosListEnumValuesAndShowTheirFirstItem)
{
    ThemeEditor page;
    EXPECT_EQ(comboItems(page, "itemTypeEdit"), (Items{{"Button", 1},
                                                       {"Slider", 2},
                                                       {"Colour Picker", 3},
                                                       {"Page Switcher", 5},
                                                       {"Keypad", 4},
                                                       {"Label", 6},
                                                       {"Clock", 7}}));
    EXPECT_EQ(comboItems(page, "backgroundImageFilterEdit"),
              (Items{{"All", 0}, {"Portrait", 2}, {"Landscape", 1}}));
    EXPECT_EQ(comboItems(page, "skinTransitionEasingEdit"), (Items{{"Linear", 0},
                                                                   {"In Quad", 1},
                                                                   {"Out Quad", 2},
                                                                   {"In/Out Quad", 3},
                                                                   {"Out/In Quad", 4},
                                                                   {"In Bounce", 37},
                                                                   {"Out Bounce", 38},
                                                                   {"In/Out Bounce", 39},
                                                                   {"Out/In Bounce", 40}}));
    for (const char* name :
         {"itemTypeEdit", "backgroundImageFilterEdit", "skinTransitionEasingEdit"})
        EXPECT_EQ(page.findChild<QComboBox*>(name)->currentIndex(), 0) << name;
}

TEST(ThemeEditor, UndoButtonsActionsAndEmptySheets)
{
    ThemeEditor page;
    auto* undoStack = page.findChild<QUndoStack*>();
    ASSERT_TRUE(undoStack);
    EXPECT_EQ(undoStack->count(), 0);
    for (const char* name : {"undoButton", "redoButton"}) {
        QAction* action = page.findChild<QToolButton*>(name)->defaultAction();
        ASSERT_TRUE(action) << name;
        EXPECT_FALSE(action->icon().isNull()) << name;
        EXPECT_FALSE(action->isEnabled()) << name;
    }

    // The orientation actions are checkable and their group is not exclusive.
    auto* group = page.findChild<QActionGroup*>();
    ASSERT_TRUE(group);
    const QList<QAction*> orientations = group->actions();
    ASSERT_EQ(orientations.size(), 3);
    EXPECT_EQ(orientations[0]->text(), "Portrait");
    EXPECT_EQ(orientations[1]->text(), "Landscape");
    EXPECT_EQ(orientations[2]->text(), "Any");
    orientations[0]->trigger();
    orientations[1]->trigger();
    EXPECT_TRUE(orientations[0]->isChecked());
    EXPECT_TRUE(orientations[1]->isChecked());
    EXPECT_FALSE(orientations[2]->isChecked());

    for (const char* name : {"defaultPropertyEditor", "skinPropertyEditor"}) {
        auto* view = page.findChild<QTreeView*>(name);
        EXPECT_FALSE(view->rootIsDecorated()) << name;
        EXPECT_TRUE(view->alternatingRowColors()) << name;
        EXPECT_EQ(view->model()->rowCount(), 0) << name;
    }
}

TEST(ThemeEditor, DefaultSheetRowsAreKeyedBothWays)
{
    // Every row of a type's group maps to a key of that type and back, starts without a value,
    // and the text-style rows offer the four styles.
    ThemeEditor page;
    const char* names[] = {"Button",        "Slider", "Colour Picker", "Keypad",
                           "Page Switcher", "Label",  "Clock"};
    std::size_t rows = 0;
    int styleRows = 0;
    for (int type = 1; type <= 7; ++type) {
        PropertyGroup* group = page.defaultGroup(Velmora::ThemedItemType(type));
        ASSERT_TRUE(group);
        EXPECT_EQ(group->name, names[type - 1]);
        EXPECT_TRUE(group->hasFlag(Property::ExternallyOwned));
        EXPECT_FALSE(group->parentProperty());
        EXPECT_GT(group->childCount(), 0);
        rows += std::size_t(group->childCount());
        for (int row = 0; row < group->childCount(); ++row) {
            Property* editor = group->child(row);
            Key key;
            ASSERT_TRUE(page.defaultPropertyKey(editor, &key)) << editor->name.toStdString();
            EXPECT_EQ(key.itemType, type);
            EXPECT_EQ(page.defaultProperty(key), editor);
            EXPECT_FALSE(editor->value().isValid());
            if (auto* style = dynamic_cast<EnumProperty<Velmora::TextStyle>*>(editor)) {
                ++styleRows;
                const QStandardItemModel& choices = style->choiceModel();
                ASSERT_EQ(choices.rowCount(), 4);
                for (int choice = 0; choice < 4; ++choice)
                    EXPECT_EQ(choices.item(choice)->data(Qt::UserRole).value<Velmora::TextStyle>(),
                              Velmora::TextStyle(choice));
            }
        }
    }
    EXPECT_EQ(page.defaultProperties().size(), rows);
    EXPECT_GT(styleRows, 0);
    EXPECT_FALSE(page.defaultProperty(Key(1, "spacing"))); // a key of other types' rows
    IntProperty stray(nullptr);
    EXPECT_FALSE(page.defaultPropertyKey(&stray, nullptr));
}

TEST(ThemeEditor, SkinSheetHasOneRowPerTableEntry)
{
    ThemeEditor page;
    std::size_t entries = 0;
    for (int type : {1, 2, 3, 4, 6, 7}) {
        SCOPED_TRACE(type);
        const auto* table =
            Velmora::SkinProperties::getSkinProperties(Velmora::ThemedItemType(type));
        ASSERT_TRUE(table);
        Property* group = page.skinProperty(Key(type, QString()));
        ASSERT_TRUE(group && typeid(*group) == typeid(PropertyGroup));
        EXPECT_TRUE(group->hasFlag(Property::ExternallyOwned));
        EXPECT_EQ(group->name, page.defaultGroup(Velmora::ThemedItemType(type))->name);
        ASSERT_EQ(std::size_t(group->childCount()), table->size());
        entries += table->size() + 1;
        int row = 0;
        for (const auto& [name, definition] : *table) {
            Property* editor = group->child(row++);
            EXPECT_EQ(page.skinProperty(Key(type, name)), editor) << name.toStdString();
            Key back;
            ASSERT_TRUE(page.skinPropertyKey(editor, &back));
            EXPECT_EQ(back, Key(type, name));
            EXPECT_EQ(editor->name, definition->getCaption());
            const auto* intDefinition =
                dynamic_cast<const Velmora::IntSkinProperty*>(definition.get());
            const auto* doubleDefinition =
                dynamic_cast<const Velmora::DoubleSkinProperty*>(definition.get());
            if (intDefinition) {
                auto* number = dynamic_cast<IntProperty*>(editor);
                ASSERT_TRUE(number);
                EXPECT_EQ(number->minimum, intDefinition->getMinimum());
                EXPECT_EQ(number->maximum, intDefinition->getMaximum());
                EXPECT_EQ(number->suffix, intDefinition->getUnit());
                EXPECT_EQ(number->specialValueText, intDefinition->getSpecialValueText());
            } else if (doubleDefinition) {
                auto* number = dynamic_cast<DoubleProperty*>(editor);
                ASSERT_TRUE(number);
                EXPECT_DOUBLE_EQ(number->minimum, doubleDefinition->getMinimum());
                EXPECT_DOUBLE_EQ(number->maximum, doubleDefinition->getMaximum());
                EXPECT_DOUBLE_EQ(number->singleStep, doubleDefinition->getStep());
                EXPECT_EQ(number->suffix, doubleDefinition->getUnit());
            } else if (definition->getType() == Velmora::SkinPropertyType_IMAGE) {
                auto* image = dynamic_cast<SkinImageProperty*>(editor);
                ASSERT_TRUE(image);
                EXPECT_EQ(image->key, Key(type, name));
                EXPECT_TRUE(image->skinImageModel);
            }
        }
    }
    EXPECT_EQ(page.skinProperties().size(), entries);
    // The Page Switcher has no skins, hence no skin group.
    EXPECT_FALSE(page.skinProperty(Key(5, QString())));
}

TEST(ThemeEditor, SkinRowsSkipUnknownPropertyTypes)
{
    struct UnknownSkinProperty : Velmora::SkinProperty
    {
        using SkinProperty::SkinProperty;
        Velmora::SkinPropertyType getType() const override { return Velmora::SkinPropertyType(9); }
    };
    Velmora::SkinProperties table{Velmora::ThemedItemType(99)};
    table.add(smart_ptr<Velmora::SkinProperty>(
        new Velmora::IntSkinProperty("b", "Width", 1, "px", 0, 9, "none")));
    table.add(smart_ptr<Velmora::SkinProperty>(new UnknownSkinProperty("a", "Odd", QVariant())));
    table.add(
        smart_ptr<Velmora::SkinProperty>(new Velmora::ImageSkinProperty("c", "Face", QVariant())));

    ThemeSkinImageModel images(nullptr, nullptr);
    PropertyGroup group(nullptr);
    ThemeEditor::PropertyMap map;
    ThemeEditor::createSkinPropertyEditors(table, &group, map, &images);
    ASSERT_EQ(group.childCount(), 2);
    EXPECT_EQ(map.size(), 2u);
    EXPECT_EQ(map.left.count(Key(99, "a")), 0u);
    EXPECT_EQ(map.left.at(Key(99, "b")), group.child(0));
    auto* image = dynamic_cast<SkinImageProperty*>(group.child(1));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->name, "Face");
    EXPECT_EQ(image->key, Key(99, "c"));
    EXPECT_EQ(image->skinImageModel, &images);
}

TEST(ThemeEditor, SampleItemsExistBeforeAnyTheme)
{
    ThemeEditor page;
    const Velmora::Configuration& project = page.previewProject();
    EXPECT_EQ(project.getOrientation(), Velmora::Orientation_PORTRAIT);
    EXPECT_EQ(QSize(project.getWidth(), project.getHeight()), QSize(272, 480));
    EXPECT_FALSE(project.getTheme());
    ASSERT_EQ(project.getPages().size(), 1u);

    const struct
    {
        int type;
        QRect geometry;
        const char* caption;
    } controls[] = {
        {1, QRect(0, 0, 100, 44), "Button"},         {2, QRect(0, 0, 44, 200), "Slider"},
        {3, QRect(0, 0, 272, 272), "Colour Picker"}, {4, QRect(0, 0, 240, 272), ""},
        {6, QRect(0, 0, 100, 44), "Label"},          {7, QRect(0, 0, 100, 100), "Clock"},
    };
    for (const auto& expected : controls) {
        auto* control = dynamic_cast<Velmora::Control*>(
            page.previewItem(Velmora::ThemedItemType(expected.type)));
        ASSERT_TRUE(control) << expected.type;
        EXPECT_EQ(control->getGeometry(), expected.geometry) << expected.type;
        EXPECT_EQ(control->getCaption(), expected.caption) << expected.type;
    }
    auto* slider = dynamic_cast<Velmora::Slider*>(page.previewItem(Velmora::ThemedItemType_SLIDER));
    ASSERT_TRUE(slider);
    EXPECT_TRUE(slider->getShowValue());
    EXPECT_EQ(slider->getUnit(), Velmora::Slider::Unit_PERCENT);
    EXPECT_EQ(slider->getMaximum(), 100);

    auto* switcher = dynamic_cast<Velmora::PageSwitcher*>(
        page.previewItem(Velmora::ThemedItemType_PAGE_SWITCHER));
    ASSERT_TRUE(switcher);
    EXPECT_EQ(switcher->getPosition(), Velmora::NavigationPosition_TOP);
    ASSERT_EQ(switcher->getPageIds().size(), 1u);
    EXPECT_EQ(project.getPage(switcher->getPageIds().front()).getName(), "Page");
}

TEST(ThemeEditor, TearsDownWithGroupsShownInBothSheets)
{
    auto page = std::make_unique<ThemeEditor>();
    auto* defaults =
        static_cast<PropertyModel*>(page->findChild<QTreeView*>("defaultPropertyEditor")->model());
    auto* skins =
        static_cast<PropertyModel*>(page->findChild<QTreeView*>("skinPropertyEditor")->model());
    defaults->root()->appendChild(page->defaultGroup(Velmora::ThemedItemType_SLIDER));
    skins->root()->appendChild(page->skinProperty(Key(2, QString())));
    EXPECT_EQ(defaults->rowCount(), 1);
    EXPECT_EQ(skins->rowCount(QModelIndex()), 1);
    page.reset();
}

} // namespace
