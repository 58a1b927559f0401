#include "core/gradient_library.h"

#include "common/gradients.h"
#include "common/helpers.h"
#include "gui/checkered_brush.h"

#include <QApplication>
#include <QDir>
#include <QItemSelection>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using TestUtil::gradientAt;
using TestUtil::gradientTypeAt;
using TestUtil::makeGradient;

namespace {

const GradientStops redToBlue = {{0.0, QColor(Qt::red)}, {1.0, QColor(Qt::blue)}};
const GradientStops greenToWhite = {{0.0, QColor(Qt::green)}, {1.0, QColor(Qt::white)}};

class GradientLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        library = std::make_unique<GradientLibrary>(root.filePath("builtin"), userFolder());
    }

    QString userFolder() const { return root.filePath("documents/Org/App/Gradients"); }
    QString userFile() const { return QDir(userFolder()).filePath("user.xml"); }

    QModelIndex add(const QString& name, const GradientStops& stops,
                    GradientLibrary::GradientType type, const QString& pack = QString(),
                    const QString& file = QString())
    {
        return library->addGradient(makeGradient(name, stops), type, pack, file);
    }

    QTemporaryDir root;
    std::unique_ptr<GradientLibrary> library;
};

} // namespace

TEST_F(GradientLibraryTest, RolesAndTheTypeTravelInItemData)
{
    // Construction makes the missing user folder.
    EXPECT_TRUE(QDir(userFolder()).exists());
    EXPECT_EQ(GradientLibrary::GradientRole, Qt::UserRole);
    EXPECT_EQ(GradientLibrary::ModifiedRole, Qt::UserRole + 4);
    const QModelIndex added =
        add("Sky", redToBlue, GradientLibrary::UserGradient, "Pack", "/somewhere/sky.xml");
    EXPECT_EQ(added.data(Qt::DisplayRole).toString(), "Sky");
    EXPECT_EQ(gradientAt(added), makeGradient("Sky", redToBlue));
    const QVariant type = added.data(GradientLibrary::GradientTypeRole);
    EXPECT_STREQ(type.metaType().name(), "GradientLibrary::GradientType");
    EXPECT_EQ(gradientTypeAt(added), GradientLibrary::UserGradient);
    EXPECT_EQ(added.data(GradientLibrary::PackNameRole).toString(), "Pack");
    EXPECT_EQ(added.data(GradientLibrary::FilePathRole).toString(), "/somewhere/sky.xml");
    EXPECT_FALSE(added.data(GradientLibrary::ModifiedRole).isValid());
    EXPECT_FALSE(added.data(Qt::DecorationRole).value<QIcon>().isNull());
}

TEST_F(GradientLibraryTest, EmptyPathsOfUserGradientsMeanUserXml)
{
    GradientLibrary noUserFolder(root.filePath("builtin"), QString());
    const struct
    {
        GradientLibrary* model;
        GradientLibrary::GradientType type;
        QString given;
        QString stored;
    } cases[] = {
        {library.get(), GradientLibrary::UserGradient, "", userFile()},
        {library.get(), GradientLibrary::UserGradient, "/a/b.xml", "/a/b.xml"},
        {library.get(), GradientLibrary::BuiltInGradient, "", ""},
        {library.get(), GradientLibrary::BuiltInGradient, "/a/c.xml", "/a/c.xml"},
        {library.get(), GradientLibrary::ExternalGradient, "", ""},
        {&noUserFolder, GradientLibrary::UserGradient, "", ""},
    };
    for (const auto& c : cases) {
        const QModelIndex added =
            c.model->addGradient(makeGradient("g", redToBlue), c.type, "", c.given);
        EXPECT_EQ(added.data(GradientLibrary::FilePathRole).toString(), c.stored)
            << c.type << " " << c.given.toStdString();
    }
}

TEST_F(GradientLibraryTest, FindMatchesStopsAndAddsWhatIsMissing)
{
    add("Original", redToBlue, GradientLibrary::BuiltInGradient);
    EXPECT_EQ(library->find(makeGradient("Other name", redToBlue)).row(), 0);
    const QModelIndex external = library->find(makeGradient("Project", greenToWhite));
    EXPECT_EQ(external.row(), 1);
    EXPECT_EQ(gradientTypeAt(external), GradientLibrary::ExternalGradient);
    EXPECT_EQ(external.data(Qt::DisplayRole).toString(), "Project");
    EXPECT_TRUE(external.data(GradientLibrary::FilePathRole).toString().isEmpty());

    // Without stops nothing ever matches: every call adds a row.
    EXPECT_FALSE(library->findStops({}).isValid());
    EXPECT_EQ(library->find(makeGradient("Empty", {})).row(), 2);
    EXPECT_EQ(library->find(makeGradient("Empty", {})).row(), 3);

    EXPECT_EQ(library->gradientForStops(greenToWhite).name(), "Project");
    const GradientStops fresh = {{0.5, QColor(Qt::yellow)}};
    EXPECT_EQ(library->gradientForStops(fresh), makeGradient(QString(), fresh));
    EXPECT_EQ(library->findStops(fresh).row(), 4);
}

TEST_F(GradientLibraryTest, NewAndCopiedGradientsAreModifiedUserGradients)
{
    const QModelIndex made = library->newGradient();
    EXPECT_EQ(gradientAt(made),
              makeGradient("New Gradient", {{0.0, QColor(Qt::black)}, {1.0, QColor(Qt::white)}}));
    EXPECT_EQ(gradientTypeAt(made), GradientLibrary::UserGradient);
    EXPECT_EQ(made.data(GradientLibrary::PackNameRole).toString(), "");
    EXPECT_EQ(made.data(GradientLibrary::FilePathRole).toString(), userFile());
    EXPECT_TRUE(made.data(GradientLibrary::ModifiedRole).toBool());

    // A copy of a built-in gradient goes to user.xml; one of a user gradient stays in its pack.
    const QModelIndex stoneCopy = library->copyGradient(
        add("Stone", redToBlue, GradientLibrary::BuiltInGradient, "Rocks", "/b/r.xml"));
    EXPECT_EQ(gradientAt(stoneCopy), makeGradient("Copy of Stone", redToBlue));
    EXPECT_EQ(gradientTypeAt(stoneCopy), GradientLibrary::UserGradient);
    EXPECT_EQ(stoneCopy.data(GradientLibrary::PackNameRole).toString(), "");
    EXPECT_EQ(stoneCopy.data(GradientLibrary::FilePathRole).toString(), userFile());
    EXPECT_TRUE(stoneCopy.data(GradientLibrary::ModifiedRole).toBool());
    const QModelIndex moss =
        add("Moss", greenToWhite, GradientLibrary::UserGradient, "Mine", "/u/m.xml");
    const QModelIndex mossCopy = library->copyGradient(moss);
    EXPECT_EQ(mossCopy.data(Qt::DisplayRole).toString(), "Copy of Moss");
    EXPECT_EQ(mossCopy.data(GradientLibrary::PackNameRole).toString(), "Mine");
    EXPECT_EQ(mossCopy.data(GradientLibrary::FilePathRole).toString(), "/u/m.xml");
    EXPECT_EQ(gradientAt(moss).name(), "Moss");
}

TEST_F(GradientLibraryTest, SetGradientStoresTheEditAndMarksTheRow)
{
    const QModelIndex row =
        add("Moss", greenToWhite, GradientLibrary::UserGradient, "Mine", "/u/m.xml");
    QSignalSpy changed(library.get(), &QAbstractItemModel::dataChanged);
    library->setGradient(row, makeGradient("Lichen", redToBlue));
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(row.data(Qt::DisplayRole).toString(), "Lichen");
    EXPECT_EQ(gradientAt(row), makeGradient("Lichen", redToBlue));
    EXPECT_TRUE(row.data(GradientLibrary::ModifiedRole).toBool());
    EXPECT_EQ(row.data(GradientLibrary::FilePathRole).toString(), "/u/m.xml");
    // The swatch shows the new stops: red at the left.
    const QImage icon = row.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage();
    EXPECT_GT(icon.pixelColor(0, 8).red(), 200);
}

TEST_F(GradientLibraryTest, RemovingASelectionGoesFromTheBottomUpOncePerRow)
{
    const char* names[] = {"zero", "one", "two", "three", "four"};
    const GradientLibrary::GradientType types[] = {
        GradientLibrary::UserGradient, GradientLibrary::UserGradient,
        GradientLibrary::BuiltInGradient, GradientLibrary::UserGradient,
        GradientLibrary::ExternalGradient};
    for (int i = 0; i < 5; ++i)
        add(names[i], {{0.1 * i, QColor(Qt::red)}}, types[i]);

    QItemSelection selection;
    for (int row : {1, 3, 3, 2})
        selection.append(QItemSelectionRange(library->index(row, 0)));
    QList<int> removed;
    QObject::connect(library.get(), &QAbstractItemModel::rowsAboutToBeRemoved,
                     [&removed](const QModelIndex&, int first, int last) {
                         EXPECT_EQ(first, last);
                         removed << first;
                     });
    library->removeGradients(selection);
    EXPECT_EQ(removed, QList<int>({3, 1}));
    ASSERT_EQ(library->rowCount(), 3);
    EXPECT_EQ(library->index(1, 0).data().toString(), "two");
}

TEST_F(GradientLibraryTest, RemovalsThatMarkNoFile)
{
    const QModelIndex builtIn =
        add("Stone", redToBlue, GradientLibrary::BuiltInGradient, "", "/b/s.xml");
    const QModelIndex plainNumber = add("Odd", greenToWhite, GradientLibrary::UserGradient);
    // A bare number is not a gradient type, even one that converts to "user".
    library->setData(plainNumber, int(GradientLibrary::UserGradient),
                     GradientLibrary::GradientTypeRole);
    library->removeGradient(builtIn);
    library->removeGradient(plainNumber);
    EXPECT_EQ(library->rowCount(), 2);
    // An external gradient goes, but no file is marked for saving.
    library->removeGradient(library->find(makeGradient("Project", {{0.3, QColor(Qt::red)}})));
    EXPECT_EQ(library->rowCount(), 2);
    EXPECT_TRUE(library->save());
    EXPECT_TRUE(QDir(userFolder()).entryList(QDir::Files).isEmpty());
}

TEST(GradientIcon, DrawsTheStopsOverTheSwatchBackground)
{
    const int size = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    const QImage opaque = gradientIcon(redToBlue).pixmap(size).toImage();
    ASSERT_EQ(opaque.size(), QSize(size, size));
    const QColor left = opaque.pixelColor(0, size / 2), right = opaque.pixelColor(size - 1, 0);
    EXPECT_GT(left.red(), 220);
    EXPECT_LT(left.blue(), 35);
    EXPECT_GT(right.blue(), 220);
    EXPECT_LT(right.red(), 35);

    // Fully transparent stops, and no stops at all, leave the background visible: transparent
    // until the widget kit's checkerboard is set.
    const GradientStops clear = {{0.0, QColor(255, 0, 0, 0)}, {1.0, QColor(0, 0, 255, 0)}};
    const struct
    {
        SwatchBackgroundPainter painter;
        QRgb light, mid;
    } cases[] = {{nullptr, 0, 0},
                 {&CheckeredBrush::fillSwatch, qRgb(192, 192, 192), qRgb(128, 128, 128)}};
    for (const auto& c : cases) {
        setSwatchBackgroundPainter(c.painter);
        for (const GradientStops& stops : {clear, GradientStops()}) {
            const QImage image = gradientIcon(stops).pixmap(size).toImage();
            EXPECT_EQ(image.pixel(2, 2), c.light);
            EXPECT_EQ(image.pixel(12, 2), c.mid);
        }
    }
    setSwatchBackgroundPainter(nullptr);
}

TEST(GradientLibraryDeathTest, InstanceBeforeInitialiseStops)
{
    EXPECT_DEATH(GradientLibrary::instance(),
                 TestUtil::regexEscaped("Error Assert: 'instance' is FALSE at line 58 in file "
                                        "core/gradient_library (" __DATE__ ") "));
}

TEST(GradientLibrarySingleton, InitialiseLoadsTheApplicationFolders)
{
    // The documents folder is pointed at a temporary folder through the user-dirs file.
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkpath("config"));
    ASSERT_TRUE(
        TestUtil::writeFile(home.filePath("config/user-dirs.dirs"),
                            "XDG_DOCUMENTS_DIR=\"" + home.filePath("Documents").toUtf8() + "\"\n"));
    const QByteArray previousConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    const QString previousOrganisation = QCoreApplication::organizationName();
    const QString previousApplication = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName("Test Maker");
    QCoreApplication::setApplicationName("Test Editor");

    const QString userFolder = GradientLibrary::defaultUserDirectory();
    EXPECT_EQ(userFolder, home.filePath("Documents/Test Maker/Test Editor/Gradients"));
    EXPECT_EQ(GradientLibrary::defaultBuiltInDirectory(),
              QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../Resources/gradient"));

    GradientLibrary::initialise(GradientLibrary::defaultBuiltInDirectory(), userFolder);
    GradientLibrary* library = GradientLibrary::instance();
    EXPECT_TRUE(QDir(userFolder).exists());
    EXPECT_EQ(library->userDirectory(), userFolder);
    // The shipped packs load, all of them built in.
    EXPECT_EQ(library->rowCount(), 12);
    for (int row = 0; row < library->rowCount(); ++row) {
        const QModelIndex index = library->index(row, 0);
        EXPECT_EQ(gradientTypeAt(index), GradientLibrary::BuiltInGradient);
        EXPECT_FALSE(index.data(GradientLibrary::PackNameRole).toString().isEmpty());
        EXPECT_GE(gradientAt(index).stops().size(), 2);
    }
    // A second initialisation changes nothing.
    GradientLibrary::initialise(QString(), QString());
    EXPECT_EQ(GradientLibrary::instance(), library);
    EXPECT_EQ(library->rowCount(), 12);

    QCoreApplication::setOrganizationName(previousOrganisation);
    QCoreApplication::setApplicationName(previousApplication);
    if (previousConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previousConfig);
}
