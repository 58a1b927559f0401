#pragma once

#include "containers/smart_ptr.h"
#include "gui/property.h"
#include "gui/property_model.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/skin_property_key.h"
#include "velmora_objects/velmora_types.h"
#include "widgets/theme_editor/theme_editor_form.h"
#include "widgets/theme_editor/theme_preview_samples.h"
#include "widgets/theme_editor/theme_property_rows.h"

#include <QModelIndex>
#include <QMultiMap>
#include <QPersistentModelIndex>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>

class EditTheme;
class ProgressHandler;
class QUndoStack;
class ThemeImagePages;
class ThemeSkinImageModel;
class ThemeSkinModel;
class ThemeNameValidator;
class ThemeSplashGenerator;
class ThemedObjectPreviewScene;

namespace Velmora {
class Skin;
class SkinProperties;
class Theme;
class Themed;
} // namespace Velmora

// The theme-editing page of the theme editor dialog. One page is built once and reused for
// every theme the user edits; the theme itself is bound later. Construction prepares what does
// not depend on a theme: the undo stack and its buttons, the image lists' views and actions,
// the combo boxes of item types, image orientations and easing curves, both property sheets
// (one group of rows per item type, found by row key and back), the sample item of every item
// type that the live preview draws, and every connection from the form to the page's slots.
class ThemeEditor : public QWidget, private Ui::ThemeEditor
{
    Q_OBJECT

public:
    // Row keys to editor rows and back; both sides are unique.
    using PropertyMap = ThemePropertyMap;

    // Records a theme file that the editor created in the user's list of theme files, so that
    // it is offered again at the next start.
    using ThemeRegistrar = std::function<void(const QString& path)>;

    explicit ThemeEditor(QWidget* parent = nullptr);
    // Releases the theme-bound objects, the sample items, the sheets and the models in that
    // order, before the widgets go with the page.
    ~ThemeEditor() override;

    // The reporter used while saving; not owned.
    void setProgressHandler(ProgressHandler* handler) { progressHandler = handler; }
    void setThemeRegistrar(ThemeRegistrar registrar) { themeRegistrar = std::move(registrar); }

    // Binding a theme. Each drops a theme still bound (unsaved changes included), makes a
    // working copy and prepares the page for it; nothing is written until the theme is saved.
    // The project's theme (an empty theme for a project without one), to be handed back
    // through saveThemeExternally.
    void editProjectTheme(const Velmora::Configuration& configuration);
    // The theme file of a theme library row. False, with no theme bound, when there is not the
    // memory to read or show the theme file.
    bool editTheme(const QModelIndex& libraryRow);
    // A new theme file at the path: a copy of the template library row's theme, renamed. False
    // as editTheme.
    bool createNewTheme(const QString& name, const QString& path, const QModelIndex& templateRow);
    // Whether the page may let go of the theme: true with nothing to save, after a successful
    // save, or when the user discards the changes; false when the user cancels or saving fails.
    bool maybeSave();

    // 1 while the project theme is edited, 0 while a theme file is.
    int editMode() const { return mode; }
    // The working copy; null while no theme is bound.
    const EditTheme* editedTheme() const { return theme.get(); }

    // The default-item-property row of (item type, key); null when there is none.
    Property* defaultProperty(const Velmora::SkinPropertyKey& key) const;
    // The skin-property row of (item type, key), or with an empty key the item type's skin
    // group; null when there is none.
    Property* skinProperty(const Velmora::SkinPropertyKey& key) const;
    // The row keys of editor rows; false when the row is not in the sheet.
    bool defaultPropertyKey(const Property* row, Velmora::SkinPropertyKey* key) const;
    bool skinPropertyKey(const Property* row, Velmora::SkinPropertyKey* key) const;
    const PropertyMap& defaultProperties() const { return defaultPropertyMap; }
    const PropertyMap& skinProperties() const { return skinPropertyMap; }
    // The default sheet's group of the item type; null outside 1..7.
    PropertyGroup* defaultGroup(Velmora::ThemedItemType type);

    // The sample item the preview draws for the item type; null outside 1..7.
    Velmora::Themed* previewItem(Velmora::ThemedItemType type) const;
    // Holds the preview page and, while a preview is built, a copy of the edited theme.
    const Velmora::Configuration& previewProject() const { return preview.project(); }

    // Fills a skin group with one editor row per entry of the table, in key order, each
    // registered under (the table's item type, key) in the map. Entries of an unknown
    // property type get no row.
    static void createSkinPropertyEditors(const Velmora::SkinProperties& table,
                                          PropertyGroup* group, PropertyMap& map,
                                          ThemeSkinImageModel* skinImages);

signals:
    void done();
    void saveThemeExternally(const Velmora::Theme* theme);
    // The theme file writer's code and, for a theme beyond a bundle's limits, its reason.
    void themeFileWriterError(int code, const QString& reason);

private slots:
    // Done saves the theme (when there is something to save) and lets go of it; Cancel lets
    // go of it once maybeSave allows. Both then emit done(). The editing slots below are
    // connected by the constructor or when a theme is bound; those left empty do nothing yet.
    void doneClicked();
    void cancelClicked();
    void nameChanged(const QString& name);
    void onItemTypeChanged(int index);
    void addSkin();
    void removeSkin();
    void duplicateSkin();
    void setDefaultSkin();
    void onDefaultPropertyChanged(Property* property);
    void onSkinPropertyChanged(Property* property);
    void onSkinTransitionDurationChanged(double seconds);
    void onSkinTransitionEasingChanged(int index);
    void onSkinSelectionChanged();
    void changeSkinName(const QString& oldName, const QString& newName);
    void triedToChangeNameOfSkinInUse();
    // Shows the theme's name in the name field, as the undo stack leaves it.
    void showThemeName();

protected:
    // Brings the skin list, the sheets, the transition fields and the preview up to date with
    // the change events the commands post after each run.
    bool event(QEvent* event) override;

private:
    // Builds the preview object of the item type from a fresh copy of the theme, unless one
    // exists and no rebuild is asked for; after a rebuild of the shown type the skin sheet is
    // filled again.
    void updatePreview(Velmora::ThemedItemType type, bool rebuild);
    // After skins of the item type were added, removed, renamed or made default: rebuilds the
    // preview of the shown type and, when one was built, that of the changed type.
    void rebuildPreviews(Velmora::ThemedItemType changedType);
    void setSkinAreaEnabled(bool enabled);
    // The item type the item type box shows.
    Velmora::ThemedItemType currentItemType() const;
    // The name of the only selected skin row; false unless exactly one row is selected.
    bool selectedSkin(QString* name) const;
    // Whether the first selected skin row is the named skin of the shown item type.
    bool selectedSkinMatches(const QString& skinName, Velmora::ThemedItemType type) const;
    bool skinInUse(Velmora::ThemedItemType type, const QString& skinName) const;
    // Whether the preview's QML skin of that name declares the property, so that a new value
    // can be written into it in place.
    bool previewSkinDeclares(Velmora::ThemedItemType type, const QString& skinName,
                             const QString& propertyName) const;

    // Prepares the page for the newly bound theme.
    void initialise();
    // Renders the splash images into the theme, then hands the project theme back or writes
    // the theme file; false when writing failed.
    bool save();
    // After a theme file was saved (or left unchanged): remembers its folder and brings the
    // theme library up to date.
    void updateThemeLibrary();
    // Lets go of the theme and of everything made for it.
    void reset();
    // Reads the theme file as the working copy (named so when a name is given) and prepares
    // the page for it in mode 0; false, with nothing bound, when there is not the memory.
    bool bindThemeFile(const QString& path, const QString* name);

    void setupItemTypes();
    void createDefaultPropertyEditors();
    void createSkinPropertySheet();
    // The preview pane's least size: the largest sample item with the pane's frame.
    void fitPreviewToSamples();
    void setupEasingCurves();
    void setupPropertyView(QTreeView* view, PropertyModel* model);

    // The members are destroyed in the reverse of this order, which is the order the theme
    // editor lets go of them: the splash generator, the sample items and their project, the
    // sheets' groups, the row maps, the property models, the skin list models and last the
    // theme. The image tabs let go of their models when the theme is let go of.
    int mode = 0; // 1: the project theme, 0: a theme file
    smart_ptr<EditTheme> theme;
    // Persistent, as the library row may move while the theme is edited.
    QPersistentModelIndex libraryIndex;
    QString themePath;
    // Guards the name field; a child of it.
    ThemeNameValidator* nameValidator = nullptr;
    // The skins the project's controls name, by item type.
    QMultiMap<Velmora::ThemedItemType, const Velmora::Skin*> skinsInUse;
    smart_ptr<ThemeSkinImageModel> skinImageModel;
    smart_ptr<ThemeSkinModel> skinListModel;
    PropertyModel defaultPropertyModel;
    PropertyModel skinPropertyModel;
    PropertyMap defaultPropertyMap;
    PropertyMap skinPropertyMap;
    // Button, Slider, Colour Picker, Page Switcher, Keypad, Label, Clock.
    PropertyGroup defaultGroups[7] = {PropertyGroup(nullptr), PropertyGroup(nullptr),
                                      PropertyGroup(nullptr), PropertyGroup(nullptr),
                                      PropertyGroup(nullptr), PropertyGroup(nullptr),
                                      PropertyGroup(nullptr)};
    // Button, Slider, Colour Picker, Keypad, Label, Clock: the Page Switcher has no skins.
    PropertyGroup skinGroups[6] = {PropertyGroup(nullptr), PropertyGroup(nullptr),
                                   PropertyGroup(nullptr), PropertyGroup(nullptr),
                                   PropertyGroup(nullptr), PropertyGroup(nullptr)};
    ThemePreviewSamples preview;
    // A child of the page while a theme is bound.
    ThemedObjectPreviewScene* previewScene = nullptr;
    // The background image and icon tabs; a child of the page.
    ThemeImagePages* imagePages = nullptr;
    smart_ptr<ThemeSplashGenerator> splashGenerator;
    ProgressHandler* progressHandler = nullptr;
    ThemeRegistrar themeRegistrar;
    QUndoStack* undoStack = nullptr;
};
