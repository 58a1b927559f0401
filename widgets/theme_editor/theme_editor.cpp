#include "widgets/theme_editor/theme_editor.h"
#include "core/stored_settings.h"

#include "appengine/theme_skin_image_model.h"
#include "appengine/theme_skin_model.h"
#include "appengine/theme_splash_generator.h"
#include "appengine/themed_object_preview_scene.h"
#include "core/progress_handler.h"
#include "gui/colour_widget_resources.h"
#include "gui/property_column_fit.h"
#include "gui/property_delegate.h"
#include "gui/view_models.h"
#include "main/image_slot_page_properties.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/qml/qml_themed_object.h"
#include "velmora_objects/qml/theme_image_provider.h"
#include "velmora_objects/skin_properties.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/theme_editor_commands.h"
#include "widgets/theme_editor/theme_editor_events.h"
#include "widgets/theme_editor/theme_image_pages.h"
#include "widgets/theme_editor/theme_name_validator.h"
#include "widgets/theme_editor/theme_property_rows.h"
#include "widgets/theme_editor/written_theme_listing.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QEasingCurve>
#include <QGraphicsView>
#include <QGroupBox>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>
#include <iterator>
#include <new>

namespace {

using Velmora::ThemedItemType;

// The engine the previews run on; null while the QML module has no context.
QQmlEngine* previewEngine()
{
    QQmlContext* context = VelmoraQML::context();
    return context ? context->engine() : nullptr;
}

const QString LastThemeKey = QStringLiteral("File/LastTheme");

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
    nameValidator = new ThemeNameValidator(nameEdit);

    connect(doneButton, SIGNAL(clicked()), this, SLOT(doneClicked()));
    connect(cancelButton, SIGNAL(clicked()), this, SLOT(cancelClicked()));
    connect(nameEdit, SIGNAL(textChanged(const QString&)), this, SLOT(nameChanged(const QString&)));

    imagePages = new ThemeImagePages(*this, this, undoStack);
    setupItemTypes();
    createDefaultPropertyEditors();
    createSkinPropertySheet();
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
    // outlive it; the members then go in the reverse of their declaration.
    if (theme)
        reset();
}

void ThemeEditor::setupItemTypes()
{
    // Item data is the item type, never the row: the box lists them out of numeric order.
    for (ThemedItemType type : ThemeItemTypeOrder)
        itemTypeEdit->addItem(themeItemTypeName(type), int(type));
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
    new PropertyColumnFit(view);
}

void ThemeEditor::createDefaultPropertyEditors()
{
    // The groups are members of the page: a model's root may hold one as a child without
    // owning it.
    for (std::size_t index = 0; index < std::size(ThemeItemTypeOrder); ++index) {
        const ThemedItemType type = ThemeItemTypeOrder[index];
        PropertyGroup& group = defaultGroups[index];
        group.name = themeItemTypeName(type);
        group.setFlag(Property::ExternallyOwned, true);
        createDefaultPropertyRows(type, group, defaultPropertyMap);
        if (type == Velmora::ThemedItemType_KEYPAD)
            setupPropertyView(defaultPropertyEditor, &defaultPropertyModel);
    }
    connect(&defaultPropertyModel, SIGNAL(propertyChanged(Property*)), this,
            SLOT(onDefaultPropertyChanged(Property*)));
}

void ThemeEditor::createSkinPropertySheet()
{
    for (std::size_t index = 0; index < std::size(ThemeSkinnedTypeOrder); ++index) {
        const ThemedItemType type = ThemeSkinnedTypeOrder[index];
        PropertyGroup& group = skinGroups[index];
        group.name = themeItemTypeName(type);
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
        Property* editor = createSkinPropertyRow(*definition, type, group, skinImages);
        if (!editor)
            continue;
        editor->name = definition->getCaption();
        map.insert(PropertyMap::value_type(Velmora::SkinPropertyKey(type, key), editor));
    }
}

void ThemeEditor::fitPreviewToSamples()
{
    // Every sample shows whole, without scroll bars over it.
    const int frame = 2 * previewWidget->frameWidth();
    previewWidget->setMinimumSize(preview.largestSample() + QSize(frame, frame));
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
    return findPropertyRow(defaultPropertyMap, key);
}

Property* ThemeEditor::skinProperty(const Velmora::SkinPropertyKey& key) const
{
    return findPropertyRow(skinPropertyMap, key);
}

bool ThemeEditor::defaultPropertyKey(const Property* row, Velmora::SkinPropertyKey* key) const
{
    return findPropertyKey(defaultPropertyMap, row, key);
}

bool ThemeEditor::skinPropertyKey(const Property* row, Velmora::SkinPropertyKey* key) const
{
    return findPropertyKey(skinPropertyMap, row, key);
}

PropertyGroup* ThemeEditor::defaultGroup(ThemedItemType type)
{
    for (std::size_t index = 0; index < std::size(ThemeItemTypeOrder); ++index) {
        if (ThemeItemTypeOrder[index] == type)
            return &defaultGroups[index];
    }
    return nullptr;
}

Velmora::Themed* ThemeEditor::previewItem(ThemedItemType type) const
{
    return preview.item(type);
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

bool ThemeEditor::editTheme(const QModelIndex& libraryRow)
{
    if (theme)
        reset();
    libraryIndex = libraryRow;
    themePath = ThemeLibrary::instance()->themePath(libraryRow);
    return bindThemeFile(themePath, nullptr);
}

bool ThemeEditor::createNewTheme(const QString& name, const QString& path,
                                 const QModelIndex& templateRow)
{
    if (theme)
        reset();
    libraryIndex = QPersistentModelIndex();
    themePath = path;
    return bindThemeFile(ThemeLibrary::instance()->themePath(templateRow), &name);
}

bool ThemeEditor::bindThemeFile(const QString& path, const QString* name)
{
    try {
        theme = new EditTheme(path);
        if (name)
            theme->setName(*name);
        mode = 0;
        initialise();
        return true;
    } catch (const std::bad_alloc&) {
        // Whatever was bound of the theme goes, and with it the memory it took.
        reset();
        return false;
    }
}

void ThemeEditor::initialise()
{
    undoStack->clear();

    if (QQmlEngine* engine = previewEngine())
        engine->addImageProvider(preview.imageProviderId(),
                                 new VelmoraQML::ThemeImageProvider(theme.get()));

    // A project theme keeps the project's name and its images; only theme files edit them.
    const bool themeFile = mode == 0;
    themeNameContainer->setVisible(themeFile);
    backgroundImageTab->setEnabled(themeFile);
    iconTab->setEnabled(themeFile);

    if (themeFile) {
        showThemeName();

        imagePages->bind(theme.get());
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
    connect(&writer, &ThemeFileWriter::error, this,
            [this, &writer](int code) { emit themeFileWriterError(code, writer.errorString()); });
    return writer.write(themePath);
}

void ThemeEditor::updateThemeLibrary()
{
    if (mode != 0)
        return;
    StoredSettings().setValue(LastThemeKey, themePath);

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
        engine->removeImageProvider(preview.imageProviderId());
    undoStack->clear();
    splashGenerator.reset();
    if (previewScene) {
        previewWidget->setScene(nullptr);
        previewScene->deleteLater();
        previewScene = nullptr;
    }
    // The views let go of the models before they go.
    imagePages->release();
    setViewModel(skinList, nullptr);
    skinImageModel->clear();
    skinListModel.reset();
    preview.dropTheme();
    skinsInUse.clear();
    theme.reset();
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
    if (Property* group =
            findPropertyRow(skinPropertyMap, Velmora::SkinPropertyKey(type, QString()))) {
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
        // A text that does not compile leaves the preview as it was.
        VelmoraQML::QMLThemedObject* themed =
            preview.build(type, *theme, previewScene ? previewEngine() : nullptr);
        if (themed) {
            themed->setVisible(true);
            previewScene->setThemedObject(themed, type);
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
    // As the theme holds it: a carriage return read from the file stays.
    const QSignalBlocker blocker(nameEdit);
    nameValidator->setStoredText(theme->getName());
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
                previewValue = change->value.isValid() && ok && id != UINT_MAX
                                   ? QStringLiteral("image://%1/skinImage%2")
                                         .arg(preview.imageProviderId())
                                         .arg(id)
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
