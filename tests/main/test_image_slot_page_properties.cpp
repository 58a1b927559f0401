#include "appengine/selection_manager.h"
#include "appengine/theme_image_model.h"
#include "appengine/theme_skin_image_model.h"
#include "common/isolated_app_data.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "common/theme_bundles.h"
#include "gui/property_model.h"
#include "main/image_slot_page_properties.h"
#include "main/project_access.h"
#include "main/velmora_document.h"
#include "velmora_objects/control.h"
#include "velmora_objects/theme.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleOption>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace Velmora;

namespace {

const SkinPropertyKey buttonBackground(ThemedItemType_BUTTON, "backgroundImage");

// The application as the properties see it: the test's document, and a file question answered
// from a queue (an empty answer is a cancel).
class ProjectPropertiesTest : public ::testing::Test, public ProjectAccess
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ProjectAccess::setInstance(this);
    }

    VelmoraDocument* document() const override { return doc.get(); }
    QStringList getImageFiles(const QString& title, bool singleFile, QWidget*) override
    {
        asked << title;
        EXPECT_TRUE(singleFile);
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        return answer.isEmpty() ? QStringList() : QStringList(answer);
    }

    QString file(const QString& name) const { return folder.filePath(name); }

    // A new project with an empty theme; returns its first page.
    unsigned int create(int orientation)
    {
        NewProjectData data;
        data.path = file("hall.qvp");
        data.orientation = orientation;
        return doc->createProject(data);
    }

    // A red PNG file of the size.
    QString redImage(const QString& name, const QSize& size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::red);
        EXPECT_TRUE(image.save(file(name), "PNG"));
        return file(name);
    }

    unsigned int buttonWithSlot(unsigned int pageId, unsigned char slot)
    {
        const unsigned int id = doc->addControl(ControlType_BUTTON);
        smart_ptr<Control> control = doc->removeControl(id);
        control->setPageId(pageId);
        control->setIRSlotId(Action_CLICK, slot);
        doc->insertControl(control, id);
        doc->getPage(pageId).getControlIds().insert(id);
        return id;
    }

    // The combo box's rows: their data in the role, as text.
    static QStringList rows(const QComboBox& combo, int role)
    {
        QStringList list;
        for (int row = 0; row < combo.count(); ++row)
            list << combo.itemData(row, role).toString();
        return list;
    }

    // An 80x30 white image with the property painted into the cell (10, 4) 60x22.
    static QImage painted(const Property& property)
    {
        QImage image(80, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QStyleOption option;
        option.rect = QRect(10, 4, 60, 22);
        QPainter painter(&image);
        EXPECT_TRUE(property.paint(&painter, option));
        return image;
    }

    static std::unique_ptr<QComboBox> editorOf(const Property& property)
    {
        std::unique_ptr<QComboBox> combo(
            qobject_cast<QComboBox*>(property.createEditor(nullptr, nullptr, nullptr)));
        EXPECT_NE(combo, nullptr);
        if (combo)
            property.setEditorData(combo.get());
        return combo;
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir folder;
    SelectionManager selection;
    std::unique_ptr<VelmoraDocument> doc = std::make_unique<VelmoraDocument>(selection);
    std::unique_ptr<Theme> theme = TestUtil::sampleTheme();
    QStringList asked;
    QStringList answers;
    PropertyModel model;
};

} // namespace

// A file chosen through the show-more button lands in the property's store and is picked as an
// edit of the row; the same image chosen again, under its path or another, is not stored
// twice, one that a theme bundle could not carry is refused naming the bound, and a FIFO
// (that nothing writes to) is refused unread, saying what it is. The thumbnail
// is drawn at the row's size from one pixel inside the cell.
TEST_F(ProjectPropertiesTest, ImagesFromFilesArePickedOnceAndPaintedUnstretched)
{
    create(Orientation_LANDSCAPE);
    ThemeSkinImageModel skins(theme.get(), nullptr);
    BackgroundImageProperty background(model.root());
    IconProperty icon(model.root());
    ControlImageProperty controlImage(model.root());
    SkinImageProperty skin(&skins, model.root());
    skin.key = buttonBackground;
    const struct
    {
        ImageProperty* property;
        const QAbstractItemModel* store;
        QModelIndex parent;
        QString title;
        QSize thumbnail;
    } cases[] = {
        {&background, doc->backgroundImageModel(), {}, "Background Image", {30, 18}},
        {&icon, doc->iconModel(), {}, "Icon", {18, 18}},
        {&controlImage, doc->controlImageModel(), {}, "Control Image", {30, 18}},
        {&skin, &skins, skins.findSkinIndex(buttonBackground), "Image", {30, 18}},
    };
    const TestUtil::ReaderLimits limits({4096, 1 << 20, 1 << 24, 100, 4096});
    const QString original = redImage("red.png", QSize(100, 60));
    const QString wide = redImage("wide.png", QSize(101, 60));
    ASSERT_TRUE(QFile::copy(original, file("copy.png")));
    const TestUtil::NonFile fifo = TestUtil::nonFiles(folder.path(), ".png").value(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        const int rows = c.store->rowCount(c.parent);
        QSignalSpy changed(&model, &PropertyModel::propertyChanged);
        asked.clear();
        answers = QStringList{wide, fifo.path, original, file("copy.png"), QString()};
        TestUtil::ModalAnswerer refusal;
        refusal.messageBox(QMessageBox::Ok).messageBox(QMessageBox::Ok);
        for (int pick = 0; pick < 5; ++pick)
            c.property->showMoreEditor(nullptr);
        EXPECT_EQ(refusal.answered().value(0).text,
                  wide + " is too large for a theme: 101 by 60 pixels, larger than the 100 by 100 "
                         "pixels a theme image may have.");
        EXPECT_EQ(refusal.answered().value(1).text,
                  fifo.path + " cannot be read as an image: " + fifo.message + ".");
        EXPECT_EQ(asked, QStringList(5, c.title));
        EXPECT_EQ(changed.count(), 1); // the copy picks the same id again; the cancel nothing
        EXPECT_EQ(c.store->rowCount(c.parent), rows + 1);
        const QModelIndex added = c.store->index(rows, 0, c.parent);
        EXPECT_EQ(c.property->value(), added.data(Qt::UserRole));

        const QImage image = painted(*c.property);
        const int right = 11 + c.thumbnail.width(), bottom = 5 + c.thumbnail.height();
        EXPECT_EQ(image.pixelColor(11, 5), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(right - 1, bottom - 1), QColor(Qt::red));
        for (const QPoint& outside : {QPoint(10, 4), QPoint(right, 5), QPoint(11, bottom)})
            EXPECT_EQ(image.pixelColor(outside), QColor(Qt::white)) << outside.x() << outside.y();

        // An id the store does not hold paints nothing and selects nothing.
        c.property->setValue(QVariant(12345u));
        EXPECT_EQ(painted(*c.property).pixelColor(11, 5), QColor(Qt::white));
        EXPECT_EQ(editorOf(*c.property)->currentIndex(), -1);
    }
}

// Page backgrounds are offered for the project's orientation (and those fitting both); icons
// and control images are not filtered. The editor selects the stored id, also when the value
// was loaded as an int.
TEST_F(ProjectPropertiesTest, PortraitProjectOffersPortraitAndNeutralBackgrounds)
{
    create(Orientation_PORTRAIT);
    const QByteArray bytes = TestUtil::imageBytes(64, 1);
    for (int orientation : {Orientation_ANY, Orientation_LANDSCAPE, Orientation_PORTRAIT}) {
        doc->backgroundImageModel()->addImageData(bytes, orientation, -1); // ids 0, 1, 2
        doc->iconModel()->addImageData(bytes, orientation, -1);
    }
    BackgroundImageProperty background(nullptr);
    background.setValue(2);
    std::unique_ptr<QComboBox> combo = editorOf(background);
    EXPECT_EQ(rows(*combo, Qt::UserRole), (QStringList{"0", "2"}));
    EXPECT_EQ(combo->iconSize(), QSize(30, 18));
    EXPECT_EQ(combo->currentIndex(), 1);
    background.setValue(1u); // landscape only: not offered
    background.setEditorData(combo.get());
    EXPECT_EQ(combo->currentIndex(), -1);

    IconProperty icon(nullptr);
    icon.setValue(1u);
    combo = editorOf(icon);
    EXPECT_EQ(rows(*combo, Qt::UserRole), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(combo->iconSize(), QSize(24, 24));
    EXPECT_EQ(combo->currentIndex(), 1);
    doc->controlImageModel()->addImageData(bytes, Orientation_LANDSCAPE, -1);
    ControlImageProperty controlImage(nullptr);
    EXPECT_EQ(rows(*editorOf(controlImage), Qt::UserRole), QStringList{"0"});
}

TEST_F(ProjectPropertiesTest, SkinImageListShowsTheKeysImagesOnly)
{
    ThemeSkinImageModel skins(theme.get(), nullptr);
    SkinImageProperty skin(&skins, nullptr);
    skin.key = buttonBackground;
    skin.setValue(0u);
    std::unique_ptr<QComboBox> combo = editorOf(skin);
    EXPECT_EQ(rows(*combo, Qt::UserRole), QStringList{"0"});
    EXPECT_EQ(combo->currentIndex(), 0);
    skin.key = SkinPropertyKey(ThemedItemType_SLIDER, "handleImage"); // no images yet
    EXPECT_EQ(editorOf(skin)->count(), 0);
    EXPECT_TRUE(skins.findSkinIndex(skin.key).isValid());
}

// With no project open the document's image lists are null, and a skin image may have no
// model: cells stay empty, lists are empty and no file is asked for.
TEST_F(ProjectPropertiesTest, ImageRowsWithoutAStoreStayEmpty)
{
    IconProperty icon(model.root());
    SkinImageProperty skin(nullptr, model.root());
    answers << redImage("red.png", QSize(4, 4));
    for (ImageProperty* property :
         {static_cast<ImageProperty*>(&icon), static_cast<ImageProperty*>(&skin)}) {
        property->setValue(0u);
        EXPECT_EQ(painted(*property).pixelColor(11, 5), QColor(Qt::white));
        EXPECT_EQ(editorOf(*property)->count(), 0);
        property->showMoreEditor(nullptr);
        EXPECT_TRUE(asked.isEmpty());
        EXPECT_EQ(property->value(), QVariant(0u));
    }
    // Nor does anything break with no application installed at all.
    ProjectAccess::setInstance(nullptr);
    BackgroundImageProperty background(nullptr);
    EXPECT_EQ(editorOf(background)->count(), 0);
    PageProperty page(nullptr);
    page.setValue(0u);
    EXPECT_EQ(page.toText(), "");
}

// Resetting images stores "no image" and reports it unless it was stored already; an IR slot
// is reported even when it was unassigned already; a page is unset.
TEST_F(ProjectPropertiesTest, ResetsStoreTheirNoneValues)
{
    BackgroundImageProperty image(model.root());
    IRSlotProperty slot(model.root());
    PageProperty page(model.root());
    const struct
    {
        Property* property;
        QVariant start, end;
        int changes;
    } cases[] = {
        {&image, QVariant(), QVariant(UINT_MAX), 1},
        {&image, QVariant(3u), QVariant(UINT_MAX), 1},
        {&image, QVariant(UINT_MAX), QVariant(UINT_MAX), 0},
        {&slot, QVariant(4), QVariant(255), 1},
        {&slot, QVariant(255), QVariant(255), 1},
        {&page, QVariant(2u), QVariant(), 1},
        {&page, QVariant(), QVariant(), 0},
    };
    QSignalSpy changed(&model, &PropertyModel::propertyChanged);
    for (const auto& c : cases) {
        c.property->setValue(c.start);
        changed.clear();
        model.resetProperty(c.property->index(1));
        EXPECT_EQ(c.property->value(), c.end) << c.start.toString().toStdString();
        EXPECT_EQ(changed.count(), c.changes) << c.start.toString().toStdString();
    }
}

// The list holds the free slots and the control's own, ascending; nothing is offered to
// unassign, and an unassigned control starts with nothing selected.
TEST_F(ProjectPropertiesTest, IRSlotListOffersFreeSlotsAndTheControlsOwn)
{
    const unsigned int pageId = create(Orientation_LANDSCAPE);
    buttonWithSlot(pageId, 0);
    buttonWithSlot(pageId, 3);
    buttonWithSlot(pageId, 5); // the edited control
    IRSlotProperty slot(nullptr);
    const struct
    {
        QVariant value;
        QString text;
    } cases[] = {{QVariant(), ""},
                 {QVariant(255), "Unassigned"},
                 {QVariant(0u), "Slot 1"},
                 {QVariant(15), "Slot 16"}};
    for (const auto& c : cases) {
        slot.setValue(c.value);
        EXPECT_EQ(slot.toText(), c.text);
    }

    slot.setValue(5);
    std::unique_ptr<QComboBox> combo = editorOf(slot);
    QStringList expected;
    for (int s : {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})
        expected << QString("Slot %1").arg(s + 1);
    EXPECT_EQ(rows(*combo, Qt::DisplayRole), expected);
    EXPECT_EQ(combo->currentText(), "Slot 6");
    combo->setCurrentIndex(0);
    EXPECT_EQ(slot.valueFromEditor(combo.get()), QVariant(1));

    // Loaded again, the list is rebuilt, without the slot the control gave up.
    slot.setValue(255);
    slot.setEditorData(combo.get());
    EXPECT_EQ(combo->count(), 13);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_FALSE(slot.valueFromEditor(combo.get()).isValid());
}

TEST_F(ProjectPropertiesTest, PageReadsAsItsNameAndIsPickedFromThePageList)
{
    const unsigned int hall = create(Orientation_LANDSCAPE);
    NewPageData data;
    data.name = "Lights";
    const unsigned int lights = doc->addPage(data);
    data.name = "Gone";
    const unsigned int gone = doc->addPage(data);
    doc->movePage(lights, hall);
    doc->removePage(gone);

    PageProperty page(nullptr);
    const struct
    {
        QVariant value;
        QString text;
    } cases[] = {{QVariant(), ""},
                 {QVariant(UINT_MAX), ""},
                 {QVariant(gone), ""},
                 {QVariant(lights), "Lights"}};
    for (const auto& c : cases) {
        page.setValue(c.value);
        EXPECT_EQ(page.toText(), c.text) << c.value.toUInt();
    }

    std::unique_ptr<QComboBox> combo = editorOf(page);
    EXPECT_EQ(rows(*combo, Qt::DisplayRole), (QStringList{"Lights", "Page 1"}));
    EXPECT_EQ(combo->currentIndex(), 0);
    combo->setCurrentIndex(1);
    EXPECT_EQ(page.valueFromEditor(combo.get()), QVariant(hall));
    page.setValue(gone);
    page.setEditorData(combo.get());
    EXPECT_EQ(combo->currentIndex(), -1);
}
