#include "widgets/theme_editor/theme_editor.h"

#include "appengine/theme_image_model.h"
#include "appengine/theme_skin_image_model.h"
#include "appengine/theme_skin_model.h"
#include "appengine/theme_splash_generator.h"
#include "appengine/themed_object_preview_scene.h"
#include "core/progress_handler.h"
#include "gui/basic_properties.h"
#include "gui/centered_icon_grid_view.h"
#include "gui/colour_property.h"
#include "gui/colour_widget_resources.h"
#include "gui/enum_property.h"
#include "gui/gradient_property.h"
#include "gui/property_delegate.h"
#include "gui/view_models.h"
#include "main/image_slot_page_properties.h"
#include "main/project_access.h"
#include "velmora_objects/button.h"
#include "velmora_objects/clock.h"
#include "velmora_objects/colour_picker.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/keypad.h"
#include "velmora_objects/label.h"
#include "velmora_objects/page.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/qml/qml_engine.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/qml/qml_themed_object.h"
#include "velmora_objects/qml/theme_image_provider.h"
#include "velmora_objects/qml_renderer.h"
#include "velmora_objects/qml_streamer.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/slider.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/theme_delegates.h"
#include "widgets/theme_editor/theme_editor_commands.h"
#include "widgets/theme_editor/theme_editor_events.h"
#include "widgets/theme_editor/theme_image_commands.h"
#include "widgets/theme_editor/written_theme_listing.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEasingCurve>
#include <QGraphicsView>
#include <QGroupBox>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QRadioButton>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>
#include <iterator>

namespace {

using Velmora::ThemedItemType;

// The item types in the order the item type box and the default sheet list them.
const ThemedItemType ItemTypeOrder[] = {
    Velmora::ThemedItemType_BUTTON,        Velmora::ThemedItemType_SLIDER,
    Velmora::ThemedItemType_COLOUR_PICKER, Velmora::ThemedItemType_PAGE_SWITCHER,
    Velmora::ThemedItemType_KEYPAD,        Velmora::ThemedItemType_LABEL,
    Velmora::ThemedItemType_CLOCK};

// The item types that have skins, in the order of the skin sheet's groups.
const ThemedItemType SkinnedTypeOrder[] = {
    Velmora::ThemedItemType_BUTTON,        Velmora::ThemedItemType_SLIDER,
    Velmora::ThemedItemType_COLOUR_PICKER, Velmora::ThemedItemType_KEYPAD,
    Velmora::ThemedItemType_LABEL,         Velmora::ThemedItemType_CLOCK};

const char* itemTypeCaption(ThemedItemType type)
{
    switch (type) {
    case Velmora::ThemedItemType_BUTTON:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Button");
    case Velmora::ThemedItemType_SLIDER:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Slider");
    case Velmora::ThemedItemType_COLOUR_PICKER:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Colour Picker");
    case Velmora::ThemedItemType_KEYPAD:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Keypad");
    case Velmora::ThemedItemType_PAGE_SWITCHER:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Page Switcher");
    case Velmora::ThemedItemType_LABEL:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Label");
    case Velmora::ThemedItemType_CLOCK:
        return QT_TRANSLATE_NOOP("ThemeEditor", "Clock");
    }
    return "";
}

QString translated(const char* text)
{
    return QCoreApplication::translate("ThemeEditor", text);
}

// The engine the previews run on; null while the QML module has no context.
QQmlEngine* previewEngine()
{
    QQmlContext* context = VelmoraQML::context();
    return context ? context->engine() : nullptr;
}

const QString LastThemeKey = QStringLiteral("File/LastTheme");

enum class RowKind
{
    Int,
    Bool,
    Double,
    Gradient,
    Colour,
    TextStyle
};

// One row of the default-item-property sheet. Int rows use minimum, maximum and the "px"
// suffix; Double rows minimum, maximum and step.
struct DefaultRow
{
    ThemedItemType type;
    const char* key;
    const char* caption;
    RowKind kind;
    double minimum;
    double maximum;
    double step;
};

const DefaultRow DefaultRows[] = {
    {Velmora::ThemedItemType_BUTTON, "fontSize", QT_TRANSLATE_NOOP("ThemeEditor", "Font Size"),
     RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_BUTTON, "wordWrap", QT_TRANSLATE_NOOP("ThemeEditor", "Word Wrap"),
     RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_SLIDER, "captionFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Caption Font Size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_SLIDER, "valueFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Value Font Size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_SLIDER, "wordWrap", QT_TRANSLATE_NOOP("ThemeEditor", "Word Wrap"),
     RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_SLIDER, "handleSize", QT_TRANSLATE_NOOP("ThemeEditor", "Handle Size"),
     RowKind::Double, 0.01, 1.0, 0.1},
    {Velmora::ThemedItemType_SLIDER, "spacing", QT_TRANSLATE_NOOP("ThemeEditor", "Spacing"),
     RowKind::Int, 0, 255, 0},
    {Velmora::ThemedItemType_COLOUR_PICKER, "captionFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Caption Font Size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_COLOUR_PICKER, "wordWrap",
     QT_TRANSLATE_NOOP("ThemeEditor", "Word Wrap"), RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_COLOUR_PICKER, "spacing", QT_TRANSLATE_NOOP("ThemeEditor", "Spacing"),
     RowKind::Int, 0, 255, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "backgroundGradient",
     QT_TRANSLATE_NOOP("ThemeEditor", "Background gradient"), RowKind::Gradient, 0, 0, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "backgroundOpacity",
     QT_TRANSLATE_NOOP("ThemeEditor", "Background opacity"), RowKind::Double, 0.0, 1.0, 0.1},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "buttonFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Font size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "buttonTextColour",
     QT_TRANSLATE_NOOP("ThemeEditor", "Text colour"), RowKind::Colour, 0, 0, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "buttonHighlight",
     QT_TRANSLATE_NOOP("ThemeEditor", "Highlight colour"), RowKind::Colour, 0, 0, 0},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "buttonHighlightOpacity",
     QT_TRANSLATE_NOOP("ThemeEditor", "Highlight opacity"), RowKind::Double, 0.0, 1.0, 0.1},
    {Velmora::ThemedItemType_PAGE_SWITCHER, "showPageNames",
     QT_TRANSLATE_NOOP("ThemeEditor", "Show Page Names"), RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_KEYPAD, "displayTextStyle",
     QT_TRANSLATE_NOOP("ThemeEditor", "Display text style"), RowKind::TextStyle, 0, 0, 0},
    {Velmora::ThemedItemType_KEYPAD, "buttonTextStyle",
     QT_TRANSLATE_NOOP("ThemeEditor", "Button text style"), RowKind::TextStyle, 0, 0, 0},
    {Velmora::ThemedItemType_LABEL, "fontSize", QT_TRANSLATE_NOOP("ThemeEditor", "Font Size"),
     RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_LABEL, "wordWrap", QT_TRANSLATE_NOOP("ThemeEditor", "Word Wrap"),
     RowKind::Bool, 0, 0, 0},
    {Velmora::ThemedItemType_CLOCK, "captionFontSize",
     QT_TRANSLATE_NOOP("ThemeEditor", "Caption Font Size"), RowKind::Int, 1, 255, 0},
    {Velmora::ThemedItemType_CLOCK, "spacing", QT_TRANSLATE_NOOP("ThemeEditor", "Spacing"),
     RowKind::Int, 0, 255, 0},
};

Property* createDefaultRow(const DefaultRow& row, Property* group)
{
    switch (row.kind) {
    case RowKind::Int: {
        auto* editor = new IntProperty(group);
        editor->minimum = int(row.minimum);
        editor->maximum = int(row.maximum);
        editor->suffix = QStringLiteral("px");
        return editor;
    }
    case RowKind::Bool:
        return new BoolProperty(group);
    case RowKind::Double: {
        auto* editor = new DoubleProperty(group);
        editor->minimum = row.minimum;
        editor->maximum = row.maximum;
        editor->singleStep = row.step;
        editor->decimals = 2;
        return editor;
    }
    case RowKind::Gradient:
        return new GradientProperty(group);
    case RowKind::Colour:
        return new ColourProperty(group);
    case RowKind::TextStyle: {
        auto* editor = new EnumProperty<Velmora::TextStyle>(group);
        editor->setString(Velmora::TextStyle_NORMAL, QStringLiteral("Normal"));
        editor->setString(Velmora::TextStyle_OUTLINE, QStringLiteral("Outline"));
        editor->setString(Velmora::TextStyle_RAISED, QStringLiteral("Raised"));
        editor->setString(Velmora::TextStyle_SUNKEN, QStringLiteral("Sunken"));
        return editor;
    }
    }
    return nullptr;
}

// The editor row of one skin-property definition; null for a type no editor handles.
Property* createSkinRow(const Velmora::SkinProperty& definition, ThemedItemType type,
                        PropertyGroup* group, ThemeSkinImageModel* skinImages)
{
    switch (definition.getType()) {
    case Velmora::SkinPropertyType_INT: {
        auto* editor = new IntProperty(group);
        if (const auto* limits = dynamic_cast<const Velmora::IntSkinProperty*>(&definition)) {
            editor->minimum = limits->getMinimum();
            editor->maximum = limits->getMaximum();
            editor->suffix = limits->getUnit();
            editor->specialValueText = limits->getSpecialValueText();
        }
        return editor;
    }
    case Velmora::SkinPropertyType_DOUBLE: {
        auto* editor = new DoubleProperty(group);
        if (const auto* limits = dynamic_cast<const Velmora::DoubleSkinProperty*>(&definition)) {
            editor->minimum = limits->getMinimum();
            editor->maximum = limits->getMaximum();
            editor->singleStep = limits->getStep();
            editor->suffix = limits->getUnit();
        }
        editor->decimals = 2;
        return editor;
    }
    case Velmora::SkinPropertyType_BOOL:
        return new BoolProperty(group);
    case Velmora::SkinPropertyType_STRING:
        return new StringProperty(group);
    case Velmora::SkinPropertyType_COLOUR:
        return new ColourProperty(group);
    case Velmora::SkinPropertyType_IMAGE: {
        auto* editor = new SkinImageProperty(skinImages, group);
        editor->key = Velmora::SkinPropertyKey(type, definition.getKey());
        return editor;
    }
    }
    return nullptr;
}

Property* findRow(const ThemeEditor::PropertyMap& map, const Velmora::SkinPropertyKey& key)
{
    const auto found = map.left.find(key);
    return found == map.left.end() ? nullptr : found->second;
}

bool findKey(const ThemeEditor::PropertyMap& map, const Property* row,
             Velmora::SkinPropertyKey* key)
{
    const auto found = map.right.find(const_cast<Property*>(row));
    if (found == map.right.end())
        return false;
    if (key)
        *key = found->second;
    return true;
}

} // namespace

ThemeEditor::ThemeEditor(QWidget* parent) : QWidget(parent, Qt::WindowFlags())
{
    setupUi(this);
    loadColourWidgetResources();

    undoStack = new QUndoStack(this);
    skinImageModel = new ThemeSkinImageModel(nullptr, this);

    QAction* undoAction = undoStack->createUndoAction(undoButton, QString());
    undoAction->setIcon(QIcon(QStringLiteral(":/icons/22x22/undo.png")));
    undoButton->setDefaultAction(undoAction);
    QAction* redoAction = undoStack->createRedoAction(redoButton, QString());
    redoAction->setIcon(QIcon(QStringLiteral(":/icons/22x22/redo.png")));
    redoButton->setDefaultAction(redoAction);
    // The change events keep the other fields in step; the name is shown by nothing else.
    connect(undoStack, SIGNAL(indexChanged(int)), this, SLOT(showThemeName()));

    connect(doneButton, SIGNAL(clicked()), this, SLOT(doneClicked()));
    connect(cancelButton, SIGNAL(clicked()), this, SLOT(cancelClicked()));
    connect(nameEdit, SIGNAL(textChanged(const QString&)), this, SLOT(nameChanged(const QString&)));

    setupImageLists();
    setupItemTypes();
    createDefaultPropertyEditors();
    createSkinPropertySheet();
    createPreviewItems();
    fitPreviewToSamples();
    setupEasingCurves();

    connect(skinTransitionDurationEdit, SIGNAL(valueChanged(double)), this,
            SLOT(onSkinTransitionDurationChanged(double)));
    connect(skinTransitionEasingEdit, SIGNAL(currentIndexChanged(int)), this,
            SLOT(onSkinTransitionEasingChanged(int)));
}

ThemeEditor::~ThemeEditor()
{
    // A theme still bound is let go of first, so that the engine's image provider does not
    // outlive it. The background images go before anything else; the other members then go in
    // the reverse of their declaration.
    if (theme)
        reset();
    backgroundImageModel.reset();
}

void ThemeEditor::setupImageLists()
{
    auto* imageDelegate = new BackgroundImageDelegate(this);
    imageList->setItemDelegate(imageDelegate);
    imageList->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    imageList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    imageList->setGridSize(imageDelegate->cellSize());
    imageList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(imageList, SIGNAL(customContextMenuRequested(const QPoint&)), this,
            SLOT(onBackgroundImageContextMenuRequested(const QPoint&)));

    // The filter texts are not translated; the data is the orientation shown.
    backgroundImageFilterEdit->addItem(QStringLiteral("All"), Velmora::Orientation_ANY);
    backgroundImageFilterEdit->addItem(QStringLiteral("Portrait"), Velmora::Orientation_PORTRAIT);
    backgroundImageFilterEdit->addItem(QStringLiteral("Landscape"), Velmora::Orientation_LANDSCAPE);
    connect(applyBackgroundImageFilterButton, SIGNAL(clicked()), this, SLOT(applyImageFilter()));
    connect(addBackgroundImageButton, SIGNAL(clicked()), this, SLOT(addBackgroundImage()));
    connect(removeBackgroundImageButton, SIGNAL(clicked()), this, SLOT(removeBackgroundImage()));
    connect(backgroundPortraitRadioButton, SIGNAL(clicked()), this,
            SLOT(onImageOrientationChanged()));
    connect(backgroundLandscapeRadioButton, SIGNAL(clicked()), this,
            SLOT(onImageOrientationChanged()));
    connect(backgroundAnyRadioButton, SIGNAL(clicked()), this, SLOT(onImageOrientationChanged()));

    addImageAction = new QAction(tr("Add Image"), this);
    removeImageAction = new QAction(tr("Remove Image"), this);
    connect(addImageAction, SIGNAL(triggered()), this, SLOT(addBackgroundImage()));
    connect(removeImageAction, SIGNAL(triggered()), this, SLOT(removeBackgroundImage()));

    // Not exclusive: the actions mirror the radio buttons, which the page checks itself.
    orientationActionGroup = new QActionGroup(this);
    orientationActionGroup->setExclusive(false);
    portraitAction = new QAction(tr("Portrait"), this);
    landscapeAction = new QAction(tr("Landscape"), this);
    anyOrientationAction = new QAction(tr("Any"), this);
    for (QAction* action : {portraitAction, landscapeAction, anyOrientationAction}) {
        action->setCheckable(true);
        orientationActionGroup->addAction(action);
    }
    connect(orientationActionGroup, SIGNAL(triggered(QAction*)), this,
            SLOT(onOrientationActionTriggered(QAction*)));

    iconList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    iconList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(iconList, SIGNAL(customContextMenuRequested(const QPoint&)), this,
            SLOT(onIconContextMenuRequested(const QPoint&)));
    connect(addIconButton, SIGNAL(clicked()), this, SLOT(addIcon()));
    connect(removeIconButton, SIGNAL(clicked()), this, SLOT(removeIcon()));
    addIconAction = new QAction(tr("Add Icon"), this);
    removeIconAction = new QAction(tr("Remove Icon"), this);
    connect(addIconAction, SIGNAL(triggered()), this, SLOT(addIcon()));
    connect(removeIconAction, SIGNAL(triggered()), this, SLOT(removeIcon()));
}

void ThemeEditor::setupItemTypes()
{
    // Item data is the item type, never the row: the box lists them out of numeric order.
    for (ThemedItemType type : ItemTypeOrder)
        itemTypeEdit->addItem(translated(itemTypeCaption(type)), int(type));
    connect(itemTypeEdit, SIGNAL(currentIndexChanged(int)), this, SLOT(onItemTypeChanged(int)));

    connect(addSkinButton, SIGNAL(clicked()), this, SLOT(addSkin()));
    connect(removeSkinButton, SIGNAL(clicked()), this, SLOT(removeSkin()));
    connect(duplicateSkinButton, SIGNAL(clicked()), this, SLOT(duplicateSkin()));
    connect(setDefaultSkinButton, SIGNAL(clicked()), this, SLOT(setDefaultSkin()));
}

void ThemeEditor::setupPropertyView(QTreeView* view, PropertyModel* model)
{
    view->setRootIsDecorated(false);
    view->setAlternatingRowColors(true);
    view->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked |
                          QAbstractItemView::SelectedClicked);
    view->setItemDelegate(new PropertyDelegate(this));
    view->setModel(model);
}

void ThemeEditor::createDefaultPropertyEditors()
{
    // The groups are members of the page: a model's root may hold one as a child without
    // owning it.
    for (std::size_t index = 0; index < std::size(ItemTypeOrder); ++index) {
        const ThemedItemType type = ItemTypeOrder[index];
        PropertyGroup& group = defaultGroups[index];
        group.name = translated(itemTypeCaption(type));
        group.setFlag(Property::ExternallyOwned, true);
        for (const DefaultRow& row : DefaultRows) {
            if (row.type != type)
                continue;
            Property* editor = createDefaultRow(row, &group);
            editor->name = translated(row.caption);
            defaultPropertyMap.insert(PropertyMap::value_type(
                Velmora::SkinPropertyKey(type, QString::fromLatin1(row.key)), editor));
        }
        if (type == Velmora::ThemedItemType_KEYPAD)
            setupPropertyView(defaultPropertyEditor, &defaultPropertyModel);
    }
    connect(&defaultPropertyModel, SIGNAL(propertyChanged(Property*)), this,
            SLOT(onDefaultPropertyChanged(Property*)));
}

void ThemeEditor::createSkinPropertySheet()
{
    for (std::size_t index = 0; index < std::size(SkinnedTypeOrder); ++index) {
        const ThemedItemType type = SkinnedTypeOrder[index];
        PropertyGroup& group = skinGroups[index];
        group.name = translated(itemTypeCaption(type));
        group.setFlag(Property::ExternallyOwned, true);
        skinPropertyMap.insert(
            PropertyMap::value_type(Velmora::SkinPropertyKey(type, QString()), &group));
        if (const Velmora::SkinProperties* table = Velmora::SkinProperties::getSkinProperties(type))
            createSkinPropertyEditors(*table, &group, skinPropertyMap, skinImageModel.get());
    }
    setupPropertyView(skinPropertyEditor, &skinPropertyModel);
    connect(&skinPropertyModel, SIGNAL(propertyChanged(Property*)), this,
            SLOT(onSkinPropertyChanged(Property*)));
}

void ThemeEditor::createSkinPropertyEditors(const Velmora::SkinProperties& table,
                                            PropertyGroup* group, PropertyMap& map,
                                            ThemeSkinImageModel* skinImages)
{
    const ThemedItemType type = table.getItemType();
    for (const auto& [key, definition] : table) {
        if (!definition)
            continue;
        Property* editor = createSkinRow(*definition, type, group, skinImages);
        if (!editor)
            continue;
        editor->name = definition->getCaption();
        map.insert(PropertyMap::value_type(Velmora::SkinPropertyKey(type, key), editor));
    }
}

void ThemeEditor::createPreviewItems()
{
    previewConfiguration.setOrientation(Velmora::Orientation_PORTRAIT);

    auto* button = new Velmora::Button;
    button->setGeometry(QRect(0, 0, 100, 44));
    button->setCaption(tr("Button"));
    previewItems[Velmora::ThemedItemType_BUTTON] = button;

    auto* slider = new Velmora::Slider;
    slider->setGeometry(QRect(0, 0, 44, 200));
    slider->setUnit(Velmora::Slider::Unit_PERCENT);
    slider->setShowValue(true);
    slider->setCaption(tr("Slider"));
    previewItems[Velmora::ThemedItemType_SLIDER] = slider;

    auto* colourPicker = new Velmora::ColourPicker;
    colourPicker->setGeometry(QRect(0, 0, 272, 272));
    colourPicker->setCaption(tr("Colour Picker"));
    previewItems[Velmora::ThemedItemType_COLOUR_PICKER] = colourPicker;

    // The page switcher only refers to the preview page, which the preview project owns.
    const unsigned int pageId = previewConfiguration.addPage();
    previewConfiguration.getPage(pageId).setName(tr("Page"));
    auto* pageSwitcher = new Velmora::PageSwitcher;
    pageSwitcher->insertPage(pageId, 0);
    pageSwitcher->setPosition(Velmora::NavigationPosition_TOP);
    previewItems[Velmora::ThemedItemType_PAGE_SWITCHER] = pageSwitcher;

    auto* keypad = new Velmora::Keypad;
    keypad->setGeometry(QRect(0, 0, 240, 272));
    previewItems[Velmora::ThemedItemType_KEYPAD] = keypad;

    auto* label = new Velmora::Label;
    label->setGeometry(QRect(0, 0, 100, 44));
    label->setCaption(tr("Label"));
    previewItems[Velmora::ThemedItemType_LABEL] = label;

    auto* clock = new Velmora::Clock;
    clock->setGeometry(QRect(0, 0, 100, 100));
    clock->setCaption(tr("Clock"));
    previewItems[Velmora::ThemedItemType_CLOCK] = clock;
}

void ThemeEditor::fitPreviewToSamples()
{
    // The page switcher spans the preview page's width; the controls have their own sizes.
    QSize largest(previewConfiguration.getWidth(), 0);
    for (const auto& entry : previewItems) {
        if (const auto* control = dynamic_cast<const Velmora::Control*>(entry.second.get()))
            largest = largest.expandedTo(control->getGeometry().size());
    }
    // Every sample shows whole, without scroll bars over it.
    const int frame = 2 * previewWidget->frameWidth();
    previewWidget->setMinimumSize(largest + QSize(frame, frame));
}

void ThemeEditor::setupEasingCurves()
{
    const struct
    {
        const char* text;
        QEasingCurve::Type type;
    } curves[] = {
        {QT_TR_NOOP("Linear"), QEasingCurve::Linear},
        {QT_TR_NOOP("In Quad"), QEasingCurve::InQuad},
        {QT_TR_NOOP("Out Quad"), QEasingCurve::OutQuad},
        {QT_TR_NOOP("In/Out Quad"), QEasingCurve::InOutQuad},
        {QT_TR_NOOP("Out/In Quad"), QEasingCurve::OutInQuad},
        {QT_TR_NOOP("In Bounce"), QEasingCurve::InBounce},
        {QT_TR_NOOP("Out Bounce"), QEasingCurve::OutBounce},
        {QT_TR_NOOP("In/Out Bounce"), QEasingCurve::InOutBounce},
        {QT_TR_NOOP("Out/In Bounce"), QEasingCurve::OutInBounce},
    };
    for (const auto& curve : curves)
        skinTransitionEasingEdit->addItem(tr(curve.text), int(curve.type));
}

Property* ThemeEditor::defaultProperty(const Velmora::SkinPropertyKey& key) const
{
    return findRow(defaultPropertyMap, key);
}

Property* ThemeEditor::skinProperty(const Velmora::SkinPropertyKey& key) const
{
    return findRow(skinPropertyMap, key);
}

bool ThemeEditor::defaultPropertyKey(const Property* row, Velmora::SkinPropertyKey* key) const
{
    return findKey(defaultPropertyMap, row, key);
}

bool ThemeEditor::skinPropertyKey(const Property* row, Velmora::SkinPropertyKey* key) const
{
    return findKey(skinPropertyMap, row, key);
}

PropertyGroup* ThemeEditor::defaultGroup(ThemedItemType type)
{
    for (std::size_t index = 0; index < std::size(ItemTypeOrder); ++index) {
        if (ItemTypeOrder[index] == type)
            return &defaultGroups[index];
    }
    return nullptr;
}

Velmora::Themed* ThemeEditor::previewItem(ThemedItemType type) const
{
    const auto found = previewItems.find(type);
    return found == previewItems.end() ? nullptr : found->second.get();
}

void ThemeEditor::editProjectTheme(const Velmora::Configuration& configuration)
{
    if (theme)
        reset();
    const Velmora::Theme* projectTheme = configuration.getTheme();
    theme = projectTheme ? new EditTheme(*projectTheme) : new EditTheme(QString());
    skinsInUse = configuration.getUsedSkins();
    mode = 1;
    initialise();
}

void ThemeEditor::editTheme(const QModelIndex& libraryRow)
{
    if (theme)
        reset();
    libraryIndex = libraryRow;
    themePath = ThemeLibrary::instance()->themePath(libraryRow);
    theme = new EditTheme(themePath);
    mode = 0;
    initialise();
}

void ThemeEditor::createNewTheme(const QString& name, const QString& path,
                                 const QModelIndex& templateRow)
{
    if (theme)
        reset();
    libraryIndex = QPersistentModelIndex();
    theme = new EditTheme(ThemeLibrary::instance()->themePath(templateRow));
    theme->setName(name);
    themePath = path;
    mode = 0;
    initialise();
}

QString ThemeEditor::imageProviderId() const
{
    return QStringLiteral("theme%1").arg(previewConfiguration.getSerial());
}

void ThemeEditor::initialise()
{
    undoStack->clear();

    if (QQmlEngine* engine = previewEngine())
        engine->addImageProvider(imageProviderId(),
                                 new VelmoraQML::ThemeImageProvider(theme.get()));

    // A project theme keeps the project's name and its images; only theme files edit them.
    const bool themeFile = mode == 0;
    themeNameContainer->setVisible(themeFile);
    backgroundImageTab->setEnabled(themeFile);
    iconTab->setEnabled(themeFile);

    if (themeFile) {
        showThemeName();

        backgroundImageModel = new EditThemeImageModel(0, theme.get(), this);
        backgroundImageProxyModel = new ThemeImageProxyModel(this);
        backgroundImageProxyModel->setSourceModel(backgroundImageModel.get());
        setViewModel(imageList, backgroundImageProxyModel.get());
        connect(imageList->selectionModel(),
                SIGNAL(selectionChanged(const QItemSelection&, const QItemSelection&)), this,
                SLOT(onImageSelectionChanged()));
        connect(backgroundImageModel.get(),
                SIGNAL(dataChanged(const QModelIndex&, const QModelIndex&, const QList<int>&)),
                this, SLOT(onImageModelDataChanged()));
        onImageSelectionChanged();

        {
            const QSignalBlocker blocker(backgroundImageFilterEdit);
            backgroundImageFilterEdit->setCurrentIndex(0);
        }
        applyImageFilter();

        iconModel = new EditThemeImageModel(1, theme.get(), this);
        setViewModel(iconList, iconModel.get());
        connect(iconList->selectionModel(),
                SIGNAL(selectionChanged(const QItemSelection&, const QItemSelection&)), this,
                SLOT(onIconSelectionChanged()));
        onIconSelectionChanged();
    }

    skinImageModel->setTheme(theme.get());

    skinListModel = new ThemeSkinModel(this);
    setViewModel(skinList, skinListModel.get());
    connect(skinList->selectionModel(),
            SIGNAL(selectionChanged(const QItemSelection&, const QItemSelection&)), this,
            SLOT(onSkinSelectionChanged()));
    connect(skinListModel.get(), SIGNAL(changeSkinName(QString, QString)), this,
            SLOT(changeSkinName(const QString&, const QString&)));
    connect(skinListModel.get(), SIGNAL(cannotChangeNameOfSkinInUse()), this,
            SLOT(triedToChangeNameOfSkinInUse()));

    for (const auto& entry : defaultPropertyMap.left) {
        entry.second->setValue(theme->getDefaultItemProperty(
            Velmora::ThemedItemType(entry.first.itemType), entry.first.name));
    }

    previewScene = new ThemedObjectPreviewScene(this);
    previewWidget->setScene(previewScene);
    splashGenerator = new ThemeSplashGenerator(nullptr, this);

    {
        const QSignalBlocker blocker(itemTypeEdit);
        itemTypeEdit->setCurrentIndex(0);
    }
    onItemTypeChanged(0);

    tabWidget->setCurrentIndex(0);
}

void ThemeEditor::doneClicked()
{
    if (!theme)
        return;
    // An unchanged library theme needs no writing; anything else is saved, an unchanged new
    // theme file (which does not exist yet) and an unchanged project theme included.
    const bool unchangedLibraryTheme = undoStack->count() == 0 && libraryIndex.isValid();
    if (!unchangedLibraryTheme && !save())
        return;
    updateThemeLibrary();
    reset();
    emit done();
}

void ThemeEditor::cancelClicked()
{
    if (!theme || !maybeSave())
        return;
    reset();
    emit done();
}

bool ThemeEditor::maybeSave()
{
    if (!theme || undoStack->count() == 0)
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Theme Editor"),
        tr("You have made changes to this theme.  Do you want to save the changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::NoButton);
    switch (answer) {
    case QMessageBox::Save:
        if (!save())
            return false;
        updateThemeLibrary();
        return true;
    case QMessageBox::Cancel:
        return false;
    default:
        return true;
    }
}

bool ThemeEditor::save()
{
    if (progressHandler)
        progressHandler->setTitle(tr("Theme Editor"));

    splashGenerator->setTheme(theme.get(), progressHandler);
    theme->setSplashImage(Velmora::Orientation_LANDSCAPE,
                          splashGenerator->renderSplash(Velmora::Orientation_LANDSCAPE));
    theme->setSplashImage(Velmora::Orientation_PORTRAIT,
                          splashGenerator->renderSplash(Velmora::Orientation_PORTRAIT));

    if (mode == 1) {
        // The receiver copies the theme into one undoable step of the project.
        emit saveThemeExternally(theme.get());
        return true;
    }

    ThemeFileWriter writer(theme.get(), progressHandler, this);
    connect(&writer, SIGNAL(error(int)), this, SIGNAL(themeFileWriterError(int)));
    return writer.write(themePath);
}

void ThemeEditor::updateThemeLibrary()
{
    if (mode != 0)
        return;
    QSettings().setValue(LastThemeKey, themePath);

    if (libraryIndex.isValid()) {
        // The edited library row follows the saved theme without reading the file again.
        if (undoStack->count() > 0)
            showThemeInLibraryRow(libraryIndex, *theme);
        return;
    }
    // A new theme file joins the library and the user's list of theme files, unless it
    // replaced a file the library lists already.
    listWrittenTheme(themePath, *theme, themeRegistrar);
}

void ThemeEditor::reset()
{
    if (QQmlEngine* engine = previewEngine())
        engine->removeImageProvider(imageProviderId());
    undoStack->clear();
    splashGenerator.reset();
    if (previewScene) {
        previewWidget->setScene(nullptr);
        previewScene->deleteLater();
        previewScene = nullptr;
    }
    // The views let go of the models before they go.
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(imageList), static_cast<QAbstractItemView*>(iconList),
          static_cast<QAbstractItemView*>(skinList)})
        setViewModel(view, nullptr);
    backgroundImageProxyModel.reset();
    backgroundImageModel.reset();
    iconModel.reset();
    skinImageModel->clear();
    skinListModel.reset();
    previewConfiguration.setTheme(nullptr);
    skinsInUse.clear();
    theme.reset();
}

void ThemeEditor::applyImageFilter()
{
    if (backgroundImageProxyModel)
        backgroundImageProxyModel->setOrientationFilter(
            backgroundImageFilterEdit->currentData().toInt());
}

void ThemeEditor::nameChanged(const QString& name)
{
    if (theme)
        undoStack->push(new EditThemeNameCommand(name, theme.get(), this));
}

ThemedItemType ThemeEditor::currentItemType() const
{
    return ThemedItemType(itemTypeEdit->currentData().toInt());
}

bool ThemeEditor::selectedSkin(QString* name) const
{
    if (!skinListModel || !skinList->selectionModel())
        return false;
    const QModelIndexList rows = skinList->selectionModel()->selectedRows();
    if (rows.size() != 1)
        return false;
    *name = skinListModel->skinName(rows.first());
    return true;
}

bool ThemeEditor::selectedSkinMatches(const QString& skinName, ThemedItemType type) const
{
    if (!skinListModel || !skinList->selectionModel() || type != currentItemType())
        return false;
    const QModelIndexList rows = skinList->selectionModel()->selectedRows();
    return !rows.isEmpty() && skinListModel->skinName(rows.first()) == skinName;
}

bool ThemeEditor::skinInUse(ThemedItemType type, const QString& skinName) const
{
    for (auto it = skinsInUse.constFind(type); it != skinsInUse.constEnd() && it.key() == type;
         ++it) {
        if (it.value() && it.value()->getName() == skinName)
            return true;
    }
    return false;
}

void ThemeEditor::setSkinAreaEnabled(bool enabled)
{
    skinSplitter->setEnabled(enabled);
}

void ThemeEditor::onItemTypeChanged(int index)
{
    const int value = itemTypeEdit->itemData(index).toInt();
    if (!theme || value < Velmora::ThemedItemType_BUTTON || value > Velmora::ThemedItemType_CLOCK)
        return;
    const auto type = ThemedItemType(value);

    updatePreview(type, false);
    if (previewScene)
        previewScene->showItemType(type);

    Property* root = defaultPropertyModel.root();
    if (root->childCount() > 0)
        root->removeChild(0);
    if (PropertyGroup* group = defaultGroup(type)) {
        root->appendChild(group);
        const QModelIndex groupIndex = group->index(0);
        defaultPropertyEditor->expand(groupIndex);
        defaultPropertyEditor->setFirstColumnSpanned(groupIndex.row(), QModelIndex(), true);
    }

    skinListModel->clear();
    if (!Velmora::SkinProperties::getSkinProperties(type)) {
        // The page switcher has no skins.
        setSkinAreaEnabled(false);
        onSkinSelectionChanged();
        return;
    }

    if (const Velmora::SkinSet* set = theme->skinSet(type, true)) {
        for (const auto& entry : *set)
            skinListModel->addSkin(entry.first, skinInUse(type, entry.first));
    }
    if (const Velmora::Skin* defaultSkin = theme->getDefaultSkin(type))
        skinListModel->setDefaultSkin(defaultSkin->getName());
    setSkinAreaEnabled(true);

    // Selecting the first row fills the skin sheet; clearing the list sent no selection change,
    // so an empty list empties the sheet here rather than leave the previous type's group.
    if (skinListModel->rowCount() > 0)
        skinList->selectionModel()->select(skinListModel->index(0, 0),
                                           QItemSelectionModel::ClearAndSelect);
    else
        onSkinSelectionChanged();
}

void ThemeEditor::onSkinSelectionChanged()
{
    Property* root = skinPropertyModel.root();
    if (root->childCount() > 0)
        root->removeChild(0);

    const ThemedItemType type = currentItemType();
    QString skinName;
    const Velmora::Skin* skin = nullptr;
    if (theme && selectedSkin(&skinName))
        skin = theme->findSkin(type, skinName);
    if (!skin) {
        if (previewScene)
            previewScene->setSkin(QString());
        removeSkinButton->setEnabled(false);
        skinTransitionGroupBox->setEnabled(false);
        return;
    }

    const Velmora::Skin* defaultSkin = theme->getDefaultSkin(type);
    removeSkinButton->setEnabled(!defaultSkin || defaultSkin->getName() != skinName);

    for (const auto& entry : skinPropertyMap.left) {
        if (entry.first.itemType == type && !entry.first.name.isEmpty())
            entry.second->setValue(skin->getPropertyValue(entry.first.name));
    }
    if (Property* group = findRow(skinPropertyMap, Velmora::SkinPropertyKey(type, QString()))) {
        root->appendChild(group);
        const QModelIndex groupIndex = group->index(0);
        skinPropertyEditor->expand(groupIndex);
        skinPropertyEditor->setFirstColumnSpanned(groupIndex.row(), QModelIndex(), true);
    }

    skinTransitionGroupBox->setEnabled(true);
    {
        const QSignalBlocker durationBlocker(skinTransitionDurationEdit);
        const QSignalBlocker easingBlocker(skinTransitionEasingEdit);
        skinTransitionDurationEdit->setValue(skin->getTransition().duration / 1000.0f);
        skinTransitionEasingEdit->setCurrentIndex(
            skinTransitionEasingEdit->findData(skin->getTransition().easing));
    }

    if (previewScene)
        previewScene->setSkin(skinName);
}

void ThemeEditor::updatePreview(ThemedItemType type, bool rebuild)
{
    if (!theme)
        return;
    if (rebuild || !previewScene || !previewScene->hasThemedObject(type)) {
        previewConfiguration.setTheme(new Velmora::Theme(*theme));
        Velmora::Themed* item = previewItem(type);
        QQmlEngine* engine = previewEngine();
        if (item && engine && previewScene) {
            item->initialiseFromTheme(theme.get(), nullptr);
            VelmoraQML::QMLStreamer streamer(&previewConfiguration);
            VelmoraQML::QMLRenderer renderer(&streamer);
            renderer.standalone = true;
            item->render(&renderer);
            // A text that does not compile leaves the preview as it was.
            QObject* object = VelmoraQML::createObject(*engine, streamer.text());
            auto* themed = qobject_cast<VelmoraQML::QMLThemedObject*>(object);
            if (themed) {
                themed->setVisible(true);
                previewScene->setThemedObject(themed, type);
            } else {
                delete object;
            }
        }
    }
    if (rebuild && type == currentItemType())
        onSkinSelectionChanged();
}

void ThemeEditor::rebuildPreviews(ThemedItemType changedType)
{
    // A preview built earlier for another item type stays in the scene until that type is
    // shown again: an undo or redo there must not leave it with the old skins.
    if (changedType != currentItemType() && previewScene &&
        previewScene->hasThemedObject(changedType))
        updatePreview(changedType, true);
    updatePreview(currentItemType(), true);
}

void ThemeEditor::showThemeName()
{
    if (!theme || nameEdit->text() == theme->getName())
        return;
    const QSignalBlocker blocker(nameEdit);
    nameEdit->setText(theme->getName());
}

void ThemeEditor::addSkin()
{
    if (theme)
        undoStack->push(new AddSkinCommand(currentItemType(), theme.get(), this));
}

void ThemeEditor::removeSkin()
{
    QString skinName;
    if (!theme || !selectedSkin(&skinName))
        return;
    const QModelIndex row = skinList->selectionModel()->selectedRows().first();
    if (row.data(ThemeSkinModel::InUseRole).toBool()) {
        QMessageBox::critical(
            this, tr("Theme Editor"),
            tr("The selected state is in use in the current project and cannot be removed."),
            QMessageBox::Ok);
        return;
    }
    undoStack->push(new RemoveSkinCommand(skinName, currentItemType(), theme.get(), this));
}

void ThemeEditor::duplicateSkin()
{
    QString skinName;
    if (theme && selectedSkin(&skinName))
        undoStack->push(new DuplicateSkinCommand(skinName, currentItemType(), theme.get(), this));
}

void ThemeEditor::setDefaultSkin()
{
    QString skinName;
    if (theme && selectedSkin(&skinName))
        undoStack->push(new SetDefaultSkinCommand(skinName, currentItemType(), theme.get(), this));
}

void ThemeEditor::changeSkinName(const QString& oldName, const QString& newName)
{
    if (theme)
        undoStack->push(
            new EditSkinNameCommand(oldName, newName, currentItemType(), theme.get(), this));
}

void ThemeEditor::triedToChangeNameOfSkinInUse()
{
    QMessageBox::critical(
        this, tr("Theme Editor"),
        tr("The selected state is in use in the current project and cannot be renamed."),
        QMessageBox::Ok);
}

void ThemeEditor::onDefaultPropertyChanged(Property* property)
{
    Velmora::SkinPropertyKey key;
    if (theme && defaultPropertyKey(property, &key))
        undoStack->push(new EditDefaultItemPropertyCommand(key.name, ThemedItemType(key.itemType),
                                                           property->value(), theme.get(), this));
}

void ThemeEditor::onSkinPropertyChanged(Property* property)
{
    Velmora::SkinPropertyKey key;
    QString skinName;
    if (theme && skinPropertyKey(property, &key) && selectedSkin(&skinName))
        undoStack->push(new EditSkinPropertyCommand(key.name, skinName,
                                                    ThemedItemType(key.itemType), property->value(),
                                                    theme.get(), this));
}

void ThemeEditor::onSkinTransitionDurationChanged(double seconds)
{
    QString skinName;
    if (theme && selectedSkin(&skinName))
        undoStack->push(new EditSkinTransitionDurationCommand(
            skinName, currentItemType(), qRound(seconds * 1000.0), theme.get(), this));
}

void ThemeEditor::onSkinTransitionEasingChanged(int index)
{
    QString skinName;
    if (theme && selectedSkin(&skinName))
        undoStack->push(new EditSkinTransitionEasingCommand(
            skinName, currentItemType(), skinTransitionEasingEdit->itemData(index).toInt(),
            theme.get(), this));
}

bool ThemeEditor::previewSkinDeclares(ThemedItemType type, const QString& skinName,
                                      const QString& propertyName) const
{
    VelmoraQML::QMLSkinSet* set = previewScene ? previewScene->skinSet(type) : nullptr;
    if (!set)
        return false;
    for (VelmoraQML::QMLSkin* skin : set->skins()) {
        if (skin && skin->name() == skinName)
            return QQmlProperty(skin, propertyName).isValid();
    }
    return false;
}

bool ThemeEditor::event(QEvent* event)
{
    // Each class is checked as well as the number: the numbers are only the editor's own.
    switch (int(event->type())) {
    case DefaultSkinPropertyChangedEvent::EventType: {
        auto* change = dynamic_cast<DefaultSkinPropertyChangedEvent*>(event);
        if (!change)
            break;
        if (Property* editor =
                defaultProperty(Velmora::SkinPropertyKey(change->itemType, change->propertyName)))
            editor->setValue(change->value);
        if (previewScene)
            previewScene->setDefaultProperty(change->itemType, change->propertyName, change->value);
        break;
    }
    case SkinPropertyChangedEvent::EventType: {
        auto* change = dynamic_cast<SkinPropertyChangedEvent*>(event);
        if (!change)
            break;
        const bool selected = selectedSkinMatches(change->skinName, change->itemType);
        if (selected) {
            if (Property* editor =
                    skinProperty(Velmora::SkinPropertyKey(change->itemType, change->propertyName)))
                editor->setValue(change->value);
        }
        if (previewScene &&
            (!change->value.isValid() ||
             !previewSkinDeclares(change->itemType, change->skinName, change->propertyName))) {
            // A QML skin declares only the properties its skin held when it was built: a
            // property added or removed since is taken up by building the object again.
            updatePreview(change->itemType, true);
            if (selected)
                previewScene->setSkin(change->skinName);
        } else if (previewScene) {
            QVariant previewValue = change->value;
            if (change->propertyType == Velmora::SkinPropertyType_IMAGE) {
                bool ok = false;
                const unsigned int id = change->value.toUInt(&ok);
                previewValue =
                    change->value.isValid() && ok && id != UINT_MAX
                        ? QStringLiteral("image://%1/skinImage%2").arg(imageProviderId()).arg(id)
                        : QString();
            }
            previewScene->setSkinProperty(change->itemType, change->skinName, change->propertyName,
                                          previewValue);
            // Shows the changed value on the selected skin at once.
            if (selected)
                previewScene->setSkin(change->skinName);
        }
        break;
    }
    case SkinAddedEvent::EventType:
    case SkinRemovedEvent::EventType:
    case DefaultSkinChangedEvent::EventType: {
        auto* change = dynamic_cast<SkinEvent*>(event);
        if (!change)
            break;
        if (skinListModel && change->itemType == currentItemType()) {
            if (event->type() == SkinAddedEvent::EventType) {
                skinListModel->addSkin(change->skinName, false);
            } else if (event->type() == SkinRemovedEvent::EventType) {
                skinListModel->removeSkin(change->skinName);
                if (skinListModel->rowCount() == 0)
                    skinList->selectionModel()->clearSelection();
            } else {
                skinListModel->setDefaultSkin(change->skinName);
            }
        }
        rebuildPreviews(change->itemType);
        break;
    }
    case SkinNameChangedEvent::EventType:
    case DefaultSkinNameChangedEvent::EventType: {
        auto* change = dynamic_cast<SkinRenameEvent*>(event);
        if (!change)
            break;
        if (skinListModel && change->itemType == currentItemType()) {
            skinListModel->renameSkin(change->oldName, change->newName);
            if (event->type() == DefaultSkinNameChangedEvent::EventType)
                skinListModel->setDefaultSkin(change->newName);
        }
        rebuildPreviews(change->itemType);
        break;
    }
    case SkinTransitionDurationChangedEvent::EventType: {
        auto* change = dynamic_cast<SkinTransitionDurationChangedEvent*>(event);
        if (!change)
            break;
        if (selectedSkinMatches(change->skinName, change->itemType)) {
            const QSignalBlocker blocker(skinTransitionDurationEdit);
            skinTransitionDurationEdit->setValue(change->duration / 1000.0f);
        }
        if (previewScene)
            previewScene->setSkinTransitionDuration(change->itemType, change->skinName,
                                                    change->duration);
        break;
    }
    case SkinTransitionEasingChangedEvent::EventType: {
        auto* change = dynamic_cast<SkinTransitionEasingChangedEvent*>(event);
        if (!change)
            break;
        if (selectedSkinMatches(change->skinName, change->itemType)) {
            const QSignalBlocker blocker(skinTransitionEasingEdit);
            skinTransitionEasingEdit->setCurrentIndex(
                skinTransitionEasingEdit->findData(change->easing));
        }
        if (previewScene)
            previewScene->setSkinTransitionEasing(change->itemType, change->skinName,
                                                  change->easing);
        break;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

QList<QModelIndex> ThemeEditor::selectedBackgroundImages() const
{
    QList<QModelIndex> indexes;
    if (!backgroundImageProxyModel || !imageList->selectionModel())
        return indexes;
    for (const QModelIndex& index : imageList->selectionModel()->selectedIndexes())
        indexes.append(backgroundImageProxyModel->mapToSource(index));
    return indexes;
}

void ThemeEditor::checkOrientation(int orientation)
{
    backgroundPortraitRadioButton->setChecked(orientation == Velmora::Orientation_PORTRAIT);
    backgroundLandscapeRadioButton->setChecked(orientation == Velmora::Orientation_LANDSCAPE);
    backgroundAnyRadioButton->setChecked(orientation == 0);
    portraitAction->setChecked(orientation == Velmora::Orientation_PORTRAIT);
    landscapeAction->setChecked(orientation == Velmora::Orientation_LANDSCAPE);
    anyOrientationAction->setChecked(orientation == 0);
}

void ThemeEditor::onImageSelectionChanged()
{
    const QList<QModelIndex> selected = selectedBackgroundImages();
    const bool any = !selected.isEmpty();
    removeBackgroundImageButton->setEnabled(any);
    removeImageAction->setEnabled(any);
    backgroundImageOrientations->setEnabled(any);
    orientationActionGroup->setEnabled(any);

    // -1 checks nothing: no selection, or images of different orientations.
    int orientation = -1;
    if (theme) {
        const Velmora::Theme::ImageStore& store = theme->getPageBackgroundImages();
        for (int i = 0; i < selected.size(); ++i) {
            const unsigned int id = selected[i].data(Qt::UserRole).toUInt();
            const int imageOrientation = store.exists(id) ? store[id].getOrientation() : 0;
            if (i == 0) {
                orientation = imageOrientation;
            } else if (imageOrientation != orientation) {
                orientation = -1;
                break;
            }
        }
    }
    checkOrientation(orientation);
}

void ThemeEditor::onImageModelDataChanged()
{
    if (!changingImageOrientation)
        onImageSelectionChanged();
}

void ThemeEditor::onImageOrientationChanged()
{
    const QObject* button = sender();
    if (button == backgroundPortraitRadioButton)
        setSelectedImagesOrientation(Velmora::Orientation_PORTRAIT);
    else if (button == backgroundLandscapeRadioButton)
        setSelectedImagesOrientation(Velmora::Orientation_LANDSCAPE);
    else if (button == backgroundAnyRadioButton)
        setSelectedImagesOrientation(0);
}

void ThemeEditor::onOrientationActionTriggered(QAction* action)
{
    if (action == portraitAction)
        setSelectedImagesOrientation(Velmora::Orientation_PORTRAIT);
    else if (action == landscapeAction)
        setSelectedImagesOrientation(Velmora::Orientation_LANDSCAPE);
    else if (action == anyOrientationAction)
        setSelectedImagesOrientation(0);
}

void ThemeEditor::setSelectedImagesOrientation(int orientation)
{
    // Without a theme file bound there are no images to give an orientation.
    if (!backgroundImageModel)
        return;
    checkOrientation(orientation);
    const QList<QModelIndex> indexes = selectedBackgroundImages();
    // The model reports each row as it changes; the buttons already show the outcome.
    changingImageOrientation = true;
    undoStack->push(new SetThemeImageOrientationCommand(indexes, Velmora::Orientation(orientation),
                                                        backgroundImageModel.get(), this));
    changingImageOrientation = false;
}

void ThemeEditor::onBackgroundImageContextMenuRequested(const QPoint& position)
{
    QMenu menu(this);
    menu.addAction(addImageAction);
    menu.addAction(removeImageAction);
    menu.addSeparator();
    QMenu* orientationMenu = menu.addMenu(tr("Orientation"));
    orientationMenu->addAction(portraitAction);
    orientationMenu->addAction(landscapeAction);
    orientationMenu->addAction(anyOrientationAction);
    menu.exec(imageList->viewport()->mapToGlobal(position));
}

void ThemeEditor::onIconContextMenuRequested(const QPoint& position)
{
    QMenu menu(this);
    menu.addAction(addIconAction);
    menu.addAction(removeIconAction);
    menu.exec(iconList->viewport()->mapToGlobal(position));
}

void ThemeEditor::onIconSelectionChanged()
{
    const bool any =
        iconList->selectionModel() && !iconList->selectionModel()->selectedIndexes().isEmpty();
    removeIconButton->setEnabled(any);
    removeIconAction->setEnabled(any);
}

void ThemeEditor::addBackgroundImage()
{
    addImages(0);
}

void ThemeEditor::addIcon()
{
    addImages(1);
}

void ThemeEditor::addImages(int kind)
{
    const bool icons = kind == 1;
    EditThemeImageModel* model = icons ? iconModel.get() : backgroundImageModel.get();
    if (!theme || !model)
        return;
    const QStringList chosen =
        ProjectAccess::askImageFiles(icons ? tr("Icon") : tr("Background Image"), false, this);
    // The question may have run an event loop: check the theme is still bound.
    if (chosen.isEmpty() || !theme ||
        model != (icons ? iconModel.get() : backgroundImageModel.get()))
        return;

    const Velmora::Theme::ImageStore& store =
        icons ? theme->getIcons() : theme->getPageBackgroundImages();
    const EditTheme::ImageFiles sorted = EditTheme::sortImageFiles(chosen, store);
    const QString pluralTitle = icons ? tr("Add Icons") : tr("Add Background Images");

    // Files that are not images would be stored as empty images: they are named and left out.
    if (!sorted.unreadableFiles.isEmpty()) {
        QStringList names;
        for (const QString& file : sorted.unreadableFiles)
            names << QDir::toNativeSeparators(file);
        QMessageBox::warning(this,
                             chosen.size() == 1
                                 ? (icons ? tr("Add Icon") : tr("Add Background Image"))
                                 : pluralTitle,
                             tr("These files cannot be read as images and were left out:\n%1")
                                 .arg(names.join(QLatin1Char('\n'))),
                             QMessageBox::Ok);
    }

    // The duplicate messages count the readable files only.
    const qsizetype readable = sorted.newFiles.size() + sorted.storedFiles.size();
    if (!sorted.storedFiles.isEmpty()) {
        if (sorted.newFiles.isEmpty() && readable == 1)
            QMessageBox::information(this, icons ? tr("Add Icon") : tr("Add Background Image"),
                                     icons ? tr("The selected icon already exists in the theme.")
                                           : tr("The selected image already exists in the theme."),
                                     QMessageBox::Ok);
        else if (sorted.newFiles.isEmpty())
            QMessageBox::information(
                this, pluralTitle,
                icons ? tr("All the selected icons already exist in the theme.")
                      : tr("All the selected images already exist in the theme."),
                QMessageBox::Ok);
        else
            QMessageBox::information(this, pluralTitle,
                                     icons ? tr("Some of the selected icons already exist in the "
                                                "theme.  The other icons will still be added.")
                                           : tr("Some of the selected images already exist in "
                                                "the theme.  The other images will still be "
                                                "added."),
                                     QMessageBox::Ok);
    }
    // Nothing to add is no step: Cancel would otherwise ask to save a change that did nothing.
    // The messages ran event loops too: the theme must still be bound.
    if (!sorted.newFiles.isEmpty() && theme &&
        model == (icons ? iconModel.get() : backgroundImageModel.get()))
        undoStack->push(new AddThemeImageCommand(sorted.newFiles, model, this));
}

void ThemeEditor::removeBackgroundImage()
{
    if (backgroundImageModel)
        undoStack->push(new RemoveThemeImageCommand(selectedBackgroundImages(),
                                                    backgroundImageModel.get(), this));
}

void ThemeEditor::removeIcon()
{
    if (iconModel && iconList->selectionModel())
        undoStack->push(new RemoveThemeImageCommand(iconList->selectionModel()->selectedIndexes(),
                                                    iconModel.get(), this));
}
