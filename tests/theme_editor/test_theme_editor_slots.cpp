#include "appengine/theme_skin_model.h"
#include "appengine/themed_object_preview_scene.h"
#include "common/helpers.h"
#include "common/modal_answerer.h"
#include "common/qml_fixture.h"
#include "common/sample_themes.h"
#include "gui/property.h"
#include "gui/property_model.h"
#include "main/project_access.h"
#include "velmora_objects/button.h"
#include "velmora_objects/configuration.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/qml/qml_theme.h"
#include "velmora_objects/qml/qml_themed_object.h"
#include "velmora_objects/skin.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/theme_editor/theme_editor.h"
#include "widgets/theme_editor/theme_editor_commands.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGraphicsView>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUndoStack>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Key = Velmora::SkinPropertyKey;

// Hands out preset image files instead of asking.
class ChosenFiles : public ProjectAccess
{
public:
    VelmoraDocument* document() const override { return nullptr; }
    QStringList getImageFiles(const QString&, bool, QWidget*) override { return files; }
    QStringList files;
};

// An editor page bound to a copy of the sample theme "Blue" (the project theme, or the theme
// file of a library row), with a QML engine for the preview.
class ThemeEditorSlots : public TestUtil::QmlFixture
{
protected:
    void SetUp() override
    {
        QmlFixture::SetUp();
        project.setTheme(TestUtil::sampleTheme().release());
        page = std::make_unique<ThemeEditor>();
        undo = page->findChild<QUndoStack*>();
    }

    void TearDown() override
    {
        page.reset();
        if (!bluePath.isEmpty())
            ThemeLibrary::instance()->removeTheme(ThemeLibrary::instance()->findTheme(bluePath));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QmlFixture::TearDown();
    }

    void editThemeFile()
    {
        ASSERT_TRUE(folder.isValid());
        bluePath = folder.filePath("blue.qvt");
        // The library lists only themes with both splash images.
        QImage portrait(27, 48, QImage::Format_RGB32);
        portrait.fill(Qt::blue);
        project.getTheme()->setSplashImage(Velmora::Orientation_PORTRAIT, portrait);
        ASSERT_TRUE(ThemeFileWriter(project.getTheme(), nullptr).write(bluePath));
        ASSERT_TRUE(ThemeLibrary::instance()->addTheme(bluePath, false));
        page->editTheme(ThemeLibrary::instance()->findTheme(bluePath));
    }

    template <class T> T* child(const char* name) const { return page->findChild<T*>(name); }
    // Delivers the change events the commands posted.
    void flush() { QCoreApplication::sendPostedEvents(page.get(), 0); }
    void run(const std::function<void()>& step)
    {
        step();
        flush();
    }

    void showType(int type)
    {
        auto* box = child<QComboBox>("itemTypeEdit");
        box->setCurrentIndex(box->findData(type));
    }

    QAbstractItemModel* skins() const { return child<QListView>("skinList")->model(); }
    // The rows as shown, the default one marked.
    QStringList skinRows() const { return TestUtil::rowTexts(skins()); }
    void selectSkin(const QString& name)
    {
        auto* model = static_cast<ThemeSkinModel*>(skins());
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->skinName(model->index(row, 0)) == name)
                child<QListView>("skinList")
                    ->selectionModel()
                    ->select(model->index(row, 0), QItemSelectionModel::ClearAndSelect);
        }
    }

    ThemedObjectPreviewScene* scene() const
    {
        return static_cast<ThemedObjectPreviewScene*>(
            child<QGraphicsView>("previewWidget")->scene());
    }
    // The preview's QML skins of the type, by name.
    QStringList previewSkins(Velmora::ThemedItemType type) const
    {
        QStringList names;
        if (VelmoraQML::QMLSkinSet* set = scene()->skinSet(type)) {
            for (VelmoraQML::QMLSkin* skin : set->skins())
                names << skin->name();
        }
        return names;
    }
    QVariant previewSkinValue(const QString& skinName, const char* property) const
    {
        if (VelmoraQML::QMLSkinSet* set = scene()->skinSet(Velmora::ThemedItemType_BUTTON)) {
            for (VelmoraQML::QMLSkin* skin : set->skins()) {
                if (skin->name() == skinName)
                    return skin->property(property);
            }
        }
        return QVariant();
    }

    PropertyModel* sheet(const char* view) const
    {
        return static_cast<PropertyModel*>(child<QTreeView>(view)->model());
    }
    // Edits a row as a view would.
    static void edit(PropertyModel* model, Property* row, const QVariant& value)
    {
        model->setData(row->index(1), value, Qt::EditRole);
    }

    const Velmora::Skin* skin(const QString& name) const
    {
        return page->editedTheme()->findSkin(Velmora::ThemedItemType_BUTTON, name);
    }

    Velmora::Configuration project;
    std::unique_ptr<ThemeEditor> page;
    QUndoStack* undo = nullptr;
    QTemporaryDir folder;
    QString bluePath;
};

TEST_F(ThemeEditorSlots, ItemTypeFillsSkinListSheetsAndPreview)
{
    page->editProjectTheme(project);
    const struct
    {
        int type;
        QStringList rows;
        bool skinArea;
        bool skinSheet;
    } cases[] = {
        {Velmora::ThemedItemType_SLIDER, {"Track (Default)"}, true, true},
        // No skin set yet: an empty one is made.
        {Velmora::ThemedItemType_KEYPAD, {}, true, false},
        {Velmora::ThemedItemType_PAGE_SWITCHER, {}, false, false},
        {Velmora::ThemedItemType_BUTTON, {"Normal (Default)", "Pressed"}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        showType(c.type);
        const auto type = Velmora::ThemedItemType(c.type);
        EXPECT_EQ(skinRows(), c.rows);
        EXPECT_EQ(child<QSplitter>("skinSplitter")->isEnabled(), c.skinArea);
        EXPECT_EQ(sheet("defaultPropertyEditor")->root()->childCount(), 1);
        EXPECT_EQ(sheet("defaultPropertyEditor")->root()->child(0), page->defaultGroup(type));
        const Property* root = sheet("skinPropertyEditor")->root();
        const Property* shownSkinGroup = root->childCount() > 0 ? root->child(0) : nullptr;
        EXPECT_EQ(shownSkinGroup,
                  c.skinSheet ? page->skinProperty(Key(c.type, QString())) : nullptr);
        ASSERT_TRUE(scene()->shownObject());
        EXPECT_EQ(scene()->shownObject(), scene()->themedObject(type));
        if (c.type == Velmora::ThemedItemType_KEYPAD) {
            EXPECT_TRUE(page->editedTheme()->getSkinSet(type));
        }
    }

    // The default skin cannot be removed; another one can.
    EXPECT_FALSE(child<QAbstractButton>("removeSkinButton")->isEnabled());
    EXPECT_EQ(page->skinProperty(Key(1, "borderWidth"))->value(), QVariant(3));
    selectSkin("Pressed");
    EXPECT_TRUE(child<QAbstractButton>("removeSkinButton")->isEnabled());
    EXPECT_FALSE(page->skinProperty(Key(1, "borderWidth"))->value().isValid());
    EXPECT_EQ(child<QComboBox>("skinTransitionEasingEdit")->currentIndex(), -1);
    EXPECT_TRUE(undo->count() == 0);
}

TEST_F(ThemeEditorSlots, SkinListAndPreviewFollowDoUndoRedo)
{
    page->editProjectTheme(project);
    const QStringList before{"Normal (Default)", "Pressed"};
    const struct
    {
        const char* what;
        std::function<void()> action;
        QStringList rows;
    } cases[] = {
        {"add",
         [&] { child<QAbstractButton>("addSkinButton")->click(); },
         {"Normal (Default)", "Pressed", "New State"}},
        {"duplicate",
         [&] { child<QAbstractButton>("duplicateSkinButton")->click(); },
         {"Normal (Default)", "Pressed", "Copy of Pressed"}},
        {"remove",
         [&] { child<QAbstractButton>("removeSkinButton")->click(); },
         {"Normal (Default)"}},
        {"default",
         [&] { child<QAbstractButton>("setDefaultSkinButton")->click(); },
         {"Normal", "Pressed (Default)"}},
        {"rename",
         [&] { skins()->setData(skins()->index(1, 0), QStringLiteral("Down"), Qt::EditRole); },
         {"Normal (Default)", "Down"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        selectSkin("Pressed");
        // The preview's theme lists the skins in name order.
        auto names = [](QStringList rows) {
            rows.replaceInStrings(" (Default)", QString());
            rows.sort();
            return rows;
        };
        run(c.action);
        ASSERT_EQ(undo->count(), 1);
        EXPECT_EQ(skinRows(), c.rows);
        EXPECT_EQ(previewSkins(Velmora::ThemedItemType_BUTTON), names(c.rows));
        // A rebuilt preview may take the old one's address: the old one carries a mark.
        scene()->shownObject()->setProperty("markedAsOld", true);
        run([&] { undo->undo(); });
        EXPECT_EQ(skinRows(), before);
        EXPECT_EQ(previewSkins(Velmora::ThemedItemType_BUTTON), names(before));
        ASSERT_NE(scene()->shownObject(), nullptr);
        EXPECT_FALSE(scene()->shownObject()->property("markedAsOld").toBool())
            << "the preview is rebuilt";
        run([&] { undo->redo(); });
        EXPECT_EQ(skinRows(), c.rows);
        run([&] { undo->undo(); });
        undo->clear();
    }
}

TEST_F(ThemeEditorSlots, PreviewOfATypeNotShownFollowsUndoRedo)
{
    page->editProjectTheme(project);
    const auto slider = Velmora::ThemedItemType_SLIDER;
    showType(slider);
    run([&] { child<QAbstractButton>("addSkinButton")->click(); });
    showType(Velmora::ThemedItemType_BUTTON);
    run([&] { undo->undo(); });
    EXPECT_EQ(previewSkins(slider), QStringList{"Track"});
    run([&] { undo->redo(); });
    EXPECT_EQ(previewSkins(slider), QStringList({"New State", "Track"}));
}

TEST_F(ThemeEditorSlots, SkinsTheProjectUsesCannotBeRemovedOrRenamed)
{
    // A button of the project starts in "Pressed"; the slider's skin of that name is free.
    smart_ptr<Velmora::Control> button(new Velmora::Button);
    button->setStartupSkin("Pressed");
    project.insertControl(button, UINT_MAX);
    project.getTheme()->getSkinSet(Velmora::ThemedItemType_SLIDER)->getSkin("Pressed", true);
    page->editProjectTheme(project);
    auto remove = [&] { child<QAbstractButton>("removeSkinButton")->click(); };
    auto rename = [&] {
        const auto rows = child<QListView>("skinList")->selectionModel()->selectedRows();
        skins()->setData(rows.value(0), QStringLiteral("Down"), Qt::EditRole);
    };
    const struct
    {
        int type;
        std::function<void()> action;
        QString refusal; // empty: the step is taken
    } cases[] = {
        {Velmora::ThemedItemType_BUTTON, remove,
         "The selected state is in use in the current project and cannot be removed."},
        {Velmora::ThemedItemType_BUTTON, rename,
         "The selected state is in use in the current project and cannot be renamed."},
        {Velmora::ThemedItemType_SLIDER, remove, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal.toStdString());
        showType(c.type);
        selectSkin("Pressed");
        TestUtil::ModalAnswerer answers;
        if (!c.refusal.isEmpty())
            answers.messageBox(QMessageBox::Ok);
        run(c.action);
        EXPECT_EQ(answers.answered().value(0).text, c.refusal);
        EXPECT_EQ(undo->count(), c.refusal.isEmpty() ? 1 : 0);
    }
}

TEST_F(ThemeEditorSlots, PropertyAndTransitionEditsRoundTripThroughSheetsAndPreview)
{
    page->editProjectTheme(project);
    Property* border = page->skinProperty(Key(1, "borderWidth"));
    Property* fontSize = page->defaultProperty(Key(1, "fontSize"));
    auto* duration = child<QDoubleSpinBox>("skinTransitionDurationEdit");
    auto* easing = child<QComboBox>("skinTransitionEasingEdit");
    EXPECT_DOUBLE_EQ(duration->value(), 0.25);

    const struct
    {
        const char* what;
        std::function<void()> edit;
        std::function<QVariant()> stored;
        std::function<QVariant()> shown;
        std::function<QVariant()> preview;
        QVariant before, after;
    } cases[] = {
        {"skin property", [&] { edit(sheet("skinPropertyEditor"), border, 7); },
         [&] { return skin("Normal")->getPropertyValue("borderWidth"); },
         [&] { return border->value(); }, [&] { return previewSkinValue("Normal", "borderWidth"); },
         3, 7},
        {"duration", [&] { duration->setValue(1.5); },
         [&] { return skin("Normal")->getTransition().duration; },
         [&] { return int(duration->value() * 1000 + 0.5); },
         [&] { return previewSkinValue("Normal", "transitionDuration"); }, 250, 1500},
        {"easing", [&] { easing->setCurrentIndex(easing->findData(QEasingCurve::InQuad)); },
         [&] { return skin("Normal")->getTransition().easing; },
         [&] { return easing->currentData(); },
         [&] { return previewSkinValue("Normal", "easingType"); }, int(QEasingCurve::OutBounce),
         int(QEasingCurve::InQuad)},
        {"default property", [&] { edit(sheet("defaultPropertyEditor"), fontSize, 20); },
         [&] {
             return page->editedTheme()->getDefaultItemProperty(Velmora::ThemedItemType_BUTTON,
                                                                "fontSize");
         },
         [&] { return fontSize->value(); },
         [&] { return scene()->shownObject()->property("fontSize"); }, 12, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        run(c.edit);
        ASSERT_EQ(undo->count(), 1);
        EXPECT_EQ(c.stored().toInt(), c.after.toInt());
        EXPECT_EQ(c.shown().toInt(), c.after.toInt());
        EXPECT_EQ(c.preview().toInt(), c.after.toInt());
        run([&] { undo->undo(); });
        EXPECT_EQ(c.stored().toInt(), c.before.toInt());
        // The undo shows the old value without pushing another command.
        EXPECT_EQ(c.shown().toInt(), c.before.toInt());
        EXPECT_EQ(c.preview().toInt(), c.before.toInt());
        EXPECT_EQ(undo->count(), 1);
        run([&] { undo->redo(); });
        EXPECT_EQ(c.shown().toInt(), c.after.toInt());
        run([&] { undo->undo(); });
        undo->clear();
    }

    // 2.01 s lies just below 2010 ms in binary floating point: rounded, not cut.
    run([&] { duration->setValue(2.01); });
    EXPECT_EQ(skin("Normal")->getTransition().duration, 2010);
    run([&] { undo->undo(); });
    undo->clear();

    // A skin that is not selected changes in the preview but not in the sheet.
    run([&] {
        undo->push(
            new EditSkinPropertyCommand("borderWidth", "Pressed", Velmora::ThemedItemType_BUTTON, 9,
                                        const_cast<EditTheme*>(page->editedTheme()), page.get()));
    });
    EXPECT_EQ(border->value(), QVariant(3));
    EXPECT_EQ(previewSkinValue("Pressed", "borderWidth").toInt(), 9);
}

TEST_F(ThemeEditorSlots, ThemeNameTypedLetterByLetterUndoesLetterByLetter)
{
    editThemeFile();
    auto* name = child<QLineEdit>("nameEdit");
    name->clear();
    for (const char* text : {"R", "Re", "Red"})
        name->setText(text);
    // A character that a theme file cannot hold is refused as it is pasted, saying why.
    TestUtil::ModalAnswerer answers;
    answers.messageBox(QMessageBox::Ok);
    name->insert(QString(QChar(0xffff)));
    EXPECT_TRUE(answers.waitUntilAnswered());
    EXPECT_EQ(undo->count(), 4);
    EXPECT_EQ(page->editedTheme()->getName(), "Red");
    // The field shows what each undo and redo leaves, and Done would write.
    for (int i = 0; i < 4; ++i) {
        undo->undo();
        EXPECT_EQ(name->text(), page->editedTheme()->getName());
    }
    EXPECT_EQ(name->text(), "Blue");
    undo->redo();
    EXPECT_EQ(name->text(), "");
    EXPECT_EQ(undo->count(), 4);
}

TEST_F(ThemeEditorSlots, BackgroundImageOrientationFollowsSelectionAndUndo)
{
    editThemeFile();
    auto* list = child<QAbstractItemView>("imageList");
    auto* portrait = child<QRadioButton>("backgroundPortraitRadioButton");
    auto* landscape = child<QRadioButton>("backgroundLandscapeRadioButton");
    auto* any = child<QRadioButton>("backgroundAnyRadioButton");
    auto checked = [&] {
        return QList<bool>{portrait->isChecked(), landscape->isChecked(), any->isChecked()};
    };
    auto orientationOf = [&](unsigned int id) {
        return page->editedTheme()->getPageBackgroundImages()[id].getOrientation();
    };
    EXPECT_FALSE(child<QAbstractButton>("removeBackgroundImageButton")->isEnabled());

    // Rows 1 (landscape) and 2 (portrait) differ: nothing is checked.
    QItemSelectionModel* selection = list->selectionModel();
    selection->select(list->model()->index(1, 0), QItemSelectionModel::Select);
    EXPECT_EQ(checked(), (QList<bool>{false, true, false}));
    selection->select(list->model()->index(2, 0), QItemSelectionModel::Select);
    EXPECT_EQ(checked(), (QList<bool>{false, false, false}));
    EXPECT_TRUE(child<QAbstractButton>("removeBackgroundImageButton")->isEnabled());

    portrait->click();
    EXPECT_EQ(undo->count(), 1);
    EXPECT_EQ(checked(), (QList<bool>{true, false, false}));
    EXPECT_EQ(orientationOf(1), Velmora::Orientation_PORTRAIT);
    EXPECT_EQ(orientationOf(2), Velmora::Orientation_PORTRAIT);
    undo->undo();
    EXPECT_EQ(orientationOf(1), Velmora::Orientation_LANDSCAPE);
    EXPECT_EQ(orientationOf(2), Velmora::Orientation_PORTRAIT);
    EXPECT_EQ(checked(), (QList<bool>{false, false, false}));
}

TEST_F(ThemeEditorSlots, AddingImagesLeavesOutThoseAlreadyInTheTheme)
{
    editThemeFile();
    ChosenFiles chooser;
    ProjectAccess::setInstance(&chooser);
    auto writeImage = [&](const char* name, QColor colour) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = folder.filePath(name);
        image.save(path, "PNG");
        return path;
    };
    const QString red = writeImage("red.png", Qt::red);
    const QString green = writeImage("green.png", Qt::green);
    const QString blue = writeImage("blue.png", Qt::blue);
    const QString yellow = writeImage("yellow.png", Qt::yellow);
    QFile junk(folder.filePath("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("not a picture") > 0);
    junk.close();
    // Too large to decode: said to be too large, with the bound.
    const QString huge = folder.filePath("huge.png");
    ASSERT_TRUE(TestUtil::writeFile(huge, TestUtil::hugePngHeader()));
    const int icons = int(page->editedTheme()->getIcons().size());

    const struct
    {
        QStringList files;
        QString title;
        int added;
    } cases[] = {
        {{red}, QString(), 1},
        {{red, green, blue}, "Add Icons", 2},
        {{green}, "Add Icon", 0},
        {{green, blue}, "Add Icons", 0},
        // A file that is no image is named and left out; with nothing left, no step is pushed.
        {{junk.fileName()}, "Add Icon", 0},
        {{junk.fileName(), yellow}, "Add Icons", 1},
        {{huge}, "Add Icon", 0},
    };
    int expected = icons;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.join(' ').toStdString());
        chooser.files = c.files;
        TestUtil::ModalAnswerer answers;
        if (!c.title.isEmpty())
            answers.messageBox(QMessageBox::Ok);
        const int commands = undo->count();
        child<QAbstractButton>("addIconButton")->click();
        EXPECT_EQ(answers.pending(), 0);
        EXPECT_EQ(answers.answered().value(0).title, c.title);
        if (c.files.contains(junk.fileName())) {
            EXPECT_TRUE(answers.answered().value(0).text.contains(junk.fileName()));
        }
        if (c.files.contains(huge)) {
            EXPECT_EQ(answers.answered().value(0).text,
                      "These images are too large for a theme and were left out:\n" + huge +
                          ": 10000 by 10000 pixels, larger than the 4096 by 4096 pixels a theme "
                          "image may have");
        }
        EXPECT_EQ(undo->count(), commands + (c.added > 0 ? 1 : 0));
        expected += c.added;
        EXPECT_EQ(int(page->editedTheme()->getIcons().size()), expected);
    }
    while (undo->canUndo())
        undo->undo();
    EXPECT_EQ(int(page->editedTheme()->getIcons().size()), icons);
    ProjectAccess::setInstance(nullptr);
}

} // namespace
