#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/theme_bundles.h"
#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/theme_library.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QStandardItemModel>
#include <gtest/gtest.h>
#include <map>

using TestUtil::pngBytes;
using TestUtil::themeDocument;

namespace {

class ThemeLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library = ThemeLibrary::instance();
        library->setFileExtension("qvt");
    }
    void TearDown() override { library->reset(); }

    // A bundle with both splash pictures; extra children go into the document.
    QString makeTheme(const QString& path, const QString& name, const QString& extra = QString())
    {
        const QByteArray document = themeDocument(
            QStringLiteral(
                "<Name>%1</Name>"
                "<SplashImage Orientation=\"Landscape\">landscape_splash_image</SplashImage>"
                "<SplashImage Orientation=\"Portrait\">portrait_splash_image</SplashImage>")
                .arg(name) +
            extra);
        EXPECT_TRUE(
            TestUtil::makeBundle(path, {{"landscape_splash_image", pngBytes(48, 27, Qt::red), {}},
                                        {"portrait_splash_image", pngBytes(27, 48, Qt::blue), {}},
                                        {name + ".xml", document, {}}}));
        return path;
    }

    // The names of the rows, sorted (a folder scan lists files in no fixed order).
    QStringList sortedNames() const
    {
        QStringList names;
        for (int row = 0; row < library->model()->rowCount(); ++row)
            names << library->model()->item(row)->text();
        names.sort();
        return names;
    }

    QModelIndex rowOf(const QString& name) const
    {
        const QList<QStandardItem*> items = library->model()->findItems(name);
        return items.size() == 1 ? items.front()->index() : QModelIndex();
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir work;
    ThemeLibrary* library = nullptr;
};

// A bundle whose name and splash pictures read but whose skin set does not.
const QString BrokenSkinSet = QStringLiteral("<SkinSet ItemType=\"Knob\"/>");

} // namespace

TEST_F(ThemeLibraryTest, FileExtensionBecomesTheOnlyPattern)
{
    EXPECT_EQ(ThemeLibrary::instance(), library);
    for (const char* extension : {"qvt", ".qvt", "*.qvt"}) {
        library->setFileExtension(extension);
        EXPECT_EQ(library->nameFilters(), QStringList({"*.qvt"})) << extension;
    }
    library->setFileExtension("theme");
    EXPECT_EQ(library->nameFilters(), QStringList({"*.theme"}));
}

TEST_F(ThemeLibraryTest, AddThemeAppendsARowForABundleThatLoads)
{
    const QString path = makeTheme(work.path() + "/sea.qvt", "Sea");
    ASSERT_TRUE(library->addTheme(path, true));
    ASSERT_EQ(library->model()->rowCount(), 1);
    const QStandardItem* item = library->model()->item(0);
    EXPECT_EQ(item->text(), "Sea");
    EXPECT_EQ(item->data(Qt::UserRole + 1).toString(), path);
    EXPECT_EQ(item->data(Qt::UserRole + 2), QVariant(true));
    const QIcon icon = item->icon();
    EXPECT_EQ(icon.availableSizes(QIcon::Normal, QIcon::Off), QList<QSize>({QSize(48, 27)}));
    EXPECT_EQ(icon.availableSizes(QIcon::Disabled, QIcon::Off), QList<QSize>({QSize(27, 48)}));

    // Refused with the reason, also a bundle that only a project made from it would have
    // found broken.
    TestUtil::writeFile(work.path() + "/junk.qvt", "not a bundle");
    const std::pair<QString, QString> refused[] = {
        {makeTheme(work.path() + "/broken.qvt", "Broken", BrokenSkinSet),
         "ItemType attribute 'Knob' not valid in SkinSet element"},
        {work.path() + "/junk.qvt", "The theme file is not a gzip-compressed tar archive."},
        {work.path() + "/missing.qvt", "The theme file does not exist."},
        {work.path(), "Not a regular file: a folder"}};
    for (const auto& [refusedPath, reason] : refused) {
        QString error;
        EXPECT_FALSE(library->addTheme(refusedPath, false, &error));
        EXPECT_EQ(error, reason);
    }
    EXPECT_EQ(library->model()->rowCount(), 1);
}

TEST_F(ThemeLibraryTest, RowsAreFoundByExactPathAndRemoved)
{
    const QString path = makeTheme(work.path() + "/sea.qvt", "Sea");
    const QString other = makeTheme(work.path() + "/sky.qvt", "Sky");
    ASSERT_TRUE(library->addTheme(other, false));
    ASSERT_TRUE(library->addTheme(path, false));
    ASSERT_TRUE(library->addTheme(path, true)); // no duplicate check
    ASSERT_EQ(library->model()->rowCount(), 3);

    const QModelIndex found = library->findTheme(path);
    ASSERT_TRUE(found.isValid());
    EXPECT_EQ(found.row(), 1);
    EXPECT_EQ(library->themePath(found), path);
    EXPECT_EQ(library->themePathAt(2), path);
    EXPECT_FALSE(library->findTheme(path.toUpper()).isValid());
    EXPECT_EQ(library->themePath(QModelIndex()), QString());
    EXPECT_EQ(library->themePathAt(3), QString());

    library->removeTheme(found);
    EXPECT_EQ(library->model()->rowCount(), 2);
    EXPECT_EQ(library->findTheme(path).row(), 1);
    EXPECT_TRUE(QFile::exists(path));

    // A path relative to the working folder is listed, and found, by its absolute path, which
    // names the file wherever the program runs later.
    const QString startedIn = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    const bool added = library->addTheme("./sky.qvt", false);
    const bool foundRelative = library->findTheme("sky.qvt").isValid();
    QDir::setCurrent(startedIn);
    ASSERT_TRUE(added);
    EXPECT_TRUE(foundRelative);
    const QFileInfo listed(library->themePathAt(2));
    EXPECT_TRUE(listed.isAbsolute());
    EXPECT_EQ(listed.canonicalFilePath(), QFileInfo(other).canonicalFilePath());
}

TEST_F(ThemeLibraryTest, ScanListsTheBundlesThatLoad)
{
    const QString folder = work.path() + "/themes";
    QDir().mkpath(folder + "/more/deeper");
    makeTheme(folder + "/sea.qvt", "Sea");
    makeTheme(folder + "/broken.qvt", "Broken", BrokenSkinSet);
    makeTheme(folder + "/other.zip", "Other");
    TestUtil::writeFile(folder + "/junk.qvt", "not a bundle");
    makeTheme(folder + "/more/sky.qvt", "Sky");
    makeTheme(folder + "/more/deeper/sand.qvt", "Sand");

    const qsizetype refusedBefore = library->refusedThemes().size();
    ASSERT_TRUE(library->scanFolder(folder, false, false));
    EXPECT_EQ(sortedNames(), QStringList({"Sea"}));
    // The bundles left out are listed with the reader's reason.
    std::map<QString, QString> refused;
    for (const ThemeLibrary::Refusal& refusal : library->refusedThemes().mid(refusedBefore))
        refused[QFileInfo(refusal.path).fileName()] = refusal.reason;
    EXPECT_EQ(refused, (std::map<QString, QString>{
                           {"broken.qvt", "ItemType attribute 'Knob' not valid in SkinSet element"},
                           {"junk.qvt", "The theme file is not a gzip-compressed tar archive."}}));
    EXPECT_EQ(library->themePath(rowOf("Sea")), QDir(folder).absoluteFilePath("sea.qvt"));
    EXPECT_EQ(rowOf("Sea").data(Qt::UserRole + 2), QVariant(false));

    library->model()->removeRows(0, library->model()->rowCount());
    ASSERT_TRUE(library->scanFolder(folder, true, false));
    EXPECT_EQ(sortedNames(), QStringList({"Sand", "Sea", "Sky"}));
    // Sub-folders always give built-in rows.
    EXPECT_EQ(rowOf("Sky").data(Qt::UserRole + 2), QVariant(true));
    EXPECT_EQ(rowOf("Sand").data(Qt::UserRole + 2), QVariant(true));
    // The readers' folders are gone.
    EXPECT_TRUE(QDir(TemporaryDirectory::processFolder()).isEmpty());

    // A scan left for later is made at the library's next question, before the rows after it.
    library->model()->removeRows(0, library->model()->rowCount());
    library->scanFolderLater(folder, false, false);
    ASSERT_TRUE(library->addTheme(folder + "/more/sky.qvt", false));
    EXPECT_EQ(library->themePathAt(0), QDir(folder).absoluteFilePath("sea.qvt"));
    EXPECT_EQ(library->model()->item(1)->text(), "Sky");
}

TEST_F(ThemeLibraryTest, ScanOfAMissingFolderOrAFileFails)
{
    const QString file = makeTheme(work.path() + "/sea.qvt", "Sea");
    EXPECT_FALSE(library->scanFolder(file, true, true));
    EXPECT_FALSE(library->scanFolder(work.path() + "/missing", true, true));
    EXPECT_EQ(library->model()->rowCount(), 0);
}

// A link back to a folder above ends the scan there instead of scanning for ever.
TEST_F(ThemeLibraryTest, ScanFollowsNoLinkInACircle)
{
    const QString folder = work.path() + "/themes";
    QDir().mkpath(folder + "/sub");
    makeTheme(folder + "/sea.qvt", "Sea");
    makeTheme(folder + "/sub/sky.qvt", "Sky");
    ASSERT_TRUE(QFile::link(folder, folder + "/sub/up"));
    ASSERT_TRUE(library->scanFolder(folder, true, true));
    EXPECT_EQ(sortedNames(), QStringList({"Sea", "Sky"}));
}

// Every file that a scan finds by its name is listed or left out with its reason, whatever it is.
TEST_F(ThemeLibraryTest, ScanListsOrLeavesOutEveryFileOfItsName)
{
    const QString folder = work.path() + "/themes";
    QDir().mkpath(folder);
    makeTheme(folder + "/sea.qvt", "Sea");
    TestUtil::nonFiles(folder, ".qvt");
    ASSERT_TRUE(QFile::link(folder + "/nowhere", folder + "/dangling.qvt"));
    ASSERT_TRUE(library->scanFolder(folder, false, false));
    EXPECT_EQ(sortedNames(), QStringList({"Sea"}));
    QStringList refused;
    for (const ThemeLibrary::Refusal& refusal : library->refusedThemes())
        refused << QFileInfo(refusal.path).fileName() + ": " + refusal.reason;
    refused.sort();
    EXPECT_EQ(refused.join('\n').toStdString(),
              "dangling.qvt: The theme file is a symbolic link to '" + folder.toStdString() +
                  "/nowhere', which does not exist.\n"
                  "fifo.qvt: Not a regular file: a FIFO (named pipe)\n"
                  "loop.qvt: Not a regular file: a loop of symbolic links\n"
                  "socket.qvt: Not a regular file: a socket");
}
