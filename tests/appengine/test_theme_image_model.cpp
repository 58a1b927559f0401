#include "appengine/theme_image_model.h"
#include "appengine/theme_skin_image_model.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/sample_themes.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/theme_file_writer.h"

#include <QIcon>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Velmora;

namespace {

class ImageModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        theme = TestUtil::emptyTheme("Images");
        theme->addPageBackgroundImageData(wide, Orientation_ANY);
        theme->addPageBackgroundImageData(TestUtil::pngBytes(272, 480, Qt::blue),
                                          Orientation_PORTRAIT);
        theme->addPageBackgroundImageData(TestUtil::pngBytes(10, 10, Qt::green),
                                          Orientation_LANDSCAPE);
        theme->addIconData(wide);
        theme->addControlImageData(wide);
    }

    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(TestUtil::writeFile(path, bytes));
        return path;
    }

    static QList<unsigned int> idsOf(const QAbstractItemModel& model,
                                     const QModelIndex& parent = QModelIndex())
    {
        QList<unsigned int> ids;
        for (int row = 0; row < model.rowCount(parent); ++row)
            ids << model.index(row, 0, parent).data(Qt::UserRole).toUInt();
        return ids;
    }

    const QByteArray wide = TestUtil::pngBytes(480, 272, Qt::red);
    QTemporaryDir folder;
    std::unique_ptr<Theme> theme;
};

} // namespace

TEST_F(ImageModelTest, RowsShowTheStoreAtTheSizesOfTheKind)
{
    const std::tuple<int, QList<QSize>> cases[] = {
        {0, {QSize(30, 17), QSize(240, 136)}},
        {1, {QSize(18, 18), QSize(24, 24)}},
        {2, {QSize(30, 17), QSize(77, 44)}},
        {5, {}},
    };
    for (const auto& [kind, sizes] : cases) {
        ThemeImageModel model(kind, theme.get(), nullptr);
        ASSERT_EQ(model.rowCount(), kind == 0 ? 3 : 1) << kind;
        const QModelIndex first = model.index(0, 0);
        EXPECT_EQ(first.data(Qt::DecorationRole).value<QIcon>().availableSizes(), sizes) << kind;
    }
    ThemeImageModel backgrounds(0, theme.get(), nullptr);
    EXPECT_EQ(idsOf(backgrounds), QList<unsigned int>({0, 1, 2}));
    // Pictures are decoded when first asked for, by data or with the row's other data, and a
    // decoration set on a row replaces its picture.
    const QModelIndex blue = backgrounds.index(1, 0);
    const QIcon icon = backgrounds.itemData(blue).value(Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(icon.pixmap(QSize(240, 136)).toImage().pixelColor(20, 20), QColor(Qt::blue));
    backgrounds.setData(blue, QIcon(), Qt::DecorationRole);
    EXPECT_TRUE(blue.data(Qt::DecorationRole).value<QIcon>().isNull());
    theme->addIconData("not a picture");
    ThemeImageModel icons(1, theme.get(), nullptr);
    EXPECT_TRUE(icons.index(1, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(backgrounds.index(1, 0).data(ThemeImageModel::OrientationRole), QVariant(2));

    auto empty = TestUtil::emptyTheme("Empty");
    backgrounds.setTheme(empty.get());
    EXPECT_EQ(backgrounds.rowCount(), 0);
}

TEST_F(ImageModelTest, FilesAreAddedOncePerPathAndPerContent)
{
    ThemeImageModel model(0, theme.get(), nullptr);
    const QString bird = file("bird.png", TestUtil::pngBytes(8, 8, Qt::yellow));
    QStandardItem* item = model.addImageFile(bird);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->row(), 3);
    EXPECT_EQ(item->data(ThemeImageModel::IdRole), QVariant(3u));
    EXPECT_EQ(item->data(ThemeImageModel::PathRole), QVariant(bird));
    EXPECT_EQ(theme->getPageBackgroundImages()[3].getOrientation(), 0);

    EXPECT_EQ(model.addImageFile(bird), item);
    EXPECT_EQ(model.addImageFile(file("same bird.png", TestUtil::pngBytes(8, 8, Qt::yellow))),
              item);
    EXPECT_EQ(model.addImageFile(file("red.png", wide)), model.item(0));
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(theme->getPageBackgroundImages().size(), 4u);

    // Without a theme the rows carry their paths only.
    ThemeImageModel detached(1, nullptr, nullptr);
    QStandardItem* loose = detached.addImageFile(bird);
    EXPECT_EQ(loose->data(ThemeImageModel::IdRole), QVariant(ThemeImageModel::NoImage));
    EXPECT_EQ(detached.findFilePath(bird), loose->index());
    EXPECT_FALSE(loose->data(Qt::DecorationRole).value<QIcon>().isNull());
    // What is no file gives a row without a picture, never waiting for one: a FIFO that nothing
    // writes to would hang the test.
    for (const auto& nonFile : TestUtil::nonFiles(folder.path())) {
        QStandardItem* row = detached.addImageFile(nonFile.path);
        EXPECT_TRUE(row && row->data(Qt::DecorationRole).value<QIcon>().isNull());
    }
}

TEST_F(ImageModelTest, TheProxyShowsTheRowsThatFitTheOrientation)
{
    ThemeImageModel model(0, theme.get(), nullptr);
    ThemeImageProxyModel proxy;
    proxy.setSourceModel(&model);
    const std::pair<int, QList<unsigned int>> cases[] = {{0, {0, 1, 2}}, {1, {0, 2}}, {2, {0, 1}}};
    for (const auto& [filter, ids] : cases) {
        proxy.setOrientationFilter(filter);
        EXPECT_EQ(idsOf(proxy), ids) << filter;
    }
}

TEST_F(ImageModelTest, AThemeFileFillsTheRowsButIsNotAttached)
{
    TestUtil::IsolatedAppData appData;
    const QString bundle = folder.filePath("images.qvt");
    ASSERT_TRUE(ThemeFileWriter(theme.get(), nullptr).write(bundle));

    ThemeImageModel model(0, nullptr, nullptr);
    model.setThemeFile(bundle);
    EXPECT_EQ(idsOf(model), QList<unsigned int>({0, 1, 2}));
    EXPECT_EQ(model.theme(), nullptr);
    EXPECT_EQ(model.addImageFile(file("a.png", wide))->data(ThemeImageModel::IdRole),
              QVariant(ThemeImageModel::NoImage));
    model.setThemeFile(folder.filePath("missing.qvt"));
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ImageModelTest, SkinImagesAreGroupedByKey)
{
    auto sample = TestUtil::sampleTheme();
    ThemeSkinImageModel model(sample.get(), nullptr);
    const SkinPropertyKey background(ThemedItemType_BUTTON, "backgroundImage");
    const SkinPropertyKey minuteHand(ThemedItemType_CLOCK, "minuteHandImage");
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(idsOf(model, model.findSkinIndex(background)), QList<unsigned int>({0}));
    EXPECT_EQ(idsOf(model, model.findSkinIndex(minuteHand)), QList<unsigned int>({2}));

    // Key rows are made on demand; names differing in case are different keys.
    const SkinPropertyKey lower(ThemedItemType_BUTTON, "backgroundimage");
    EXPECT_FALSE(model.findSkinIndex(lower).isValid());
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.skinIndex(lower).row(), 2);
    EXPECT_EQ(model.skinIndex(lower).row(), 2);
}

TEST_F(ImageModelTest, SkinImageFilesRecordTheirKey)
{
    auto sample = TestUtil::sampleTheme();
    ThemeSkinImageModel model(sample.get(), nullptr);
    const SkinPropertyKey a(ThemedItemType_SLIDER, "handleImage");
    const SkinPropertyKey b(ThemedItemType_KEYPAD, "keyImage");
    const QString face = file("face.png", wide);

    QStandardItem* item = model.addImageFile(face, a);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->data(ThemeSkinImageModel::IdRole), QVariant(3u));
    EXPECT_EQ(item->parent()->index(), model.findSkinIndex(a));
    EXPECT_EQ(item->data(Qt::DecorationRole).value<QIcon>().availableSizes(),
              QList<QSize>({QSize(30, 17), QSize(240, 136)}));
    EXPECT_EQ(model.addImageFile(face, a), item);

    QStandardItem* shared = model.addImageFile(file("copy.png", wide), b);
    EXPECT_NE(shared, item);
    EXPECT_EQ(shared->data(ThemeSkinImageModel::IdRole), QVariant(3u));
    EXPECT_EQ(sample->getSkinImages().size(), 4u);
    EXPECT_EQ(sample->getSkinImageReferences().at(a), std::set<unsigned int>({3}));
    EXPECT_EQ(sample->getSkinImageReferences().at(b), std::set<unsigned int>({3}));

    // The image stays while another key uses it.
    model.removeImage(shared->index());
    EXPECT_TRUE(sample->getSkinImages().exists(3));
    EXPECT_EQ(sample->getSkinImageReferences().count(b), 0u);
    model.removeImage(model.imageIndex(a, 3));
    EXPECT_FALSE(sample->getSkinImages().exists(3));
    // A FIFO that nothing writes to is never waited for.
    EXPECT_TRUE(model.addImageFile(TestUtil::nonFiles(folder.path()).value(0).path, a));
}
