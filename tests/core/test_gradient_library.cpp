#include "core/gradient_library.h"

#include "common/helpers.h"

#include <QApplication>
#include <QDir>
#include <QItemSelection>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

Gradient makeGradient(const QString& name, const GradientStops& stops)
{
    Gradient gradient;
    gradient.setName(name);
    gradient.setStops(stops);
    return gradient;
}

const GradientStops redToBlue = {{0.0, QColor(Qt::red)}, {1.0, QColor(Qt::blue)}};
const GradientStops greenToWhite = {{0.0, QColor(Qt::green)}, {1.0, QColor(Qt::white)}};

Gradient gradientAt(const QModelIndex& index)
{
    return index.data(GradientLibrary::GradientRole).value<Gradient>();
}

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

    QTemporaryDir root;
    std::unique_ptr<GradientLibrary> library;
};

} // namespace

TEST_F(GradientLibraryTest, ConstructionCreatesTheMissingUserFolder)
{
    EXPECT_TRUE(QDir(userFolder()).exists());
    EXPECT_FALSE(QDir(root.filePath("builtin")).exists());
    EXPECT_EQ(library->rowCount(), 0);
}

TEST_F(GradientLibraryTest, RolesAndTheTypeTravelInItemData)
{
    EXPECT_EQ(GradientLibrary::GradientRole, Qt::UserRole);
    EXPECT_EQ(GradientLibrary::ModifiedRole, Qt::UserRole + 4);
    const QModelIndex added =
        library->addGradient(makeGradient("Sky", redToBlue), GradientLibrary::UserGradient, "Pack",
                             "/somewhere/sky.xml");
    EXPECT_EQ(added.row(), 0);
    EXPECT_EQ(added.data(Qt::DisplayRole).toString(), "Sky");
    EXPECT_EQ(gradientAt(added), makeGradient("Sky", redToBlue));
    const QVariant type = added.data(GradientLibrary::GradientTypeRole);
    EXPECT_STREQ(type.metaType().name(), "GradientLibrary::GradientType");
    EXPECT_EQ(type.value<GradientLibrary::GradientType>(), GradientLibrary::UserGradient);
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
    library->addGradient(makeGradient("Original", redToBlue), GradientLibrary::BuiltInGradient, "",
                         "");
    EXPECT_EQ(library->find(makeGradient("Other name", redToBlue)).row(), 0);
    EXPECT_EQ(library->rowCount(), 1);

    const QModelIndex external = library->find(makeGradient("Project", greenToWhite));
    EXPECT_EQ(external.row(), 1);
    EXPECT_EQ(
        external.data(GradientLibrary::GradientTypeRole).value<GradientLibrary::GradientType>(),
        GradientLibrary::ExternalGradient);
    EXPECT_EQ(external.data(Qt::DisplayRole).toString(), "Project");
    EXPECT_TRUE(external.data(GradientLibrary::PackNameRole).toString().isEmpty());
    EXPECT_TRUE(external.data(GradientLibrary::FilePathRole).toString().isEmpty());

    // Without stops nothing ever matches: every call adds a row.
    EXPECT_FALSE(library->findStops({}).isValid());
    EXPECT_EQ(library->find(makeGradient("Empty", {})).row(), 2);
    EXPECT_EQ(library->find(makeGradient("Empty", {})).row(), 3);

    EXPECT_EQ(library->gradientForStops(greenToWhite).name(), "Project");
    const GradientStops fresh = {{0.5, QColor(Qt::yellow)}};
    const Gradient added = library->gradientForStops(fresh);
    EXPECT_TRUE(added.name().isEmpty());
    EXPECT_EQ(added.stops(), fresh);
    EXPECT_EQ(library->rowCount(), 5);
    EXPECT_EQ(library->findStops(fresh).row(), 4);
}

TEST_F(GradientLibraryTest, NewGradientIsAModifiedUserGradientInUserXml)
{
    library->addGradient(makeGradient("Before", redToBlue), GradientLibrary::BuiltInGradient, "",
                         "");
    const QModelIndex made = library->newGradient();
    EXPECT_EQ(made.row(), 1);
    EXPECT_EQ(made.data(Qt::DisplayRole).toString(), "New Gradient");
    EXPECT_EQ(gradientAt(made).stops(),
              GradientStops({{0.0, QColor(Qt::black)}, {1.0, QColor(Qt::white)}}));
    EXPECT_EQ(made.data(GradientLibrary::GradientTypeRole).value<GradientLibrary::GradientType>(),
              GradientLibrary::UserGradient);
    EXPECT_EQ(made.data(GradientLibrary::PackNameRole).toString(), "");
    EXPECT_EQ(made.data(GradientLibrary::FilePathRole).toString(), userFile());
    EXPECT_TRUE(made.data(GradientLibrary::ModifiedRole).toBool());
}

TEST_F(GradientLibraryTest, CopiesKeepTheFileOfUserGradientsOnly)
{
    const QModelIndex builtIn = library->addGradient(
        makeGradient("Stone", redToBlue), GradientLibrary::BuiltInGradient, "Rocks", "/b/r.xml");
    const QModelIndex user = library->addGradient(
        makeGradient("Moss", greenToWhite), GradientLibrary::UserGradient, "Mine", "/u/m.xml");

    const QModelIndex stoneCopy = library->copyGradient(builtIn);
    EXPECT_EQ(stoneCopy.data(Qt::DisplayRole).toString(), "Copy of Stone");
    EXPECT_EQ(gradientAt(stoneCopy), makeGradient("Copy of Stone", redToBlue));
    EXPECT_EQ(
        stoneCopy.data(GradientLibrary::GradientTypeRole).value<GradientLibrary::GradientType>(),
        GradientLibrary::UserGradient);
    EXPECT_EQ(stoneCopy.data(GradientLibrary::PackNameRole).toString(), "");
    EXPECT_EQ(stoneCopy.data(GradientLibrary::FilePathRole).toString(), userFile());
    EXPECT_TRUE(stoneCopy.data(GradientLibrary::ModifiedRole).toBool());

    const QModelIndex mossCopy = library->copyGradient(user);
    EXPECT_EQ(mossCopy.data(Qt::DisplayRole).toString(), "Copy of Moss");
    EXPECT_EQ(mossCopy.data(GradientLibrary::PackNameRole).toString(), "Mine");
    EXPECT_EQ(mossCopy.data(GradientLibrary::FilePathRole).toString(), "/u/m.xml");
    EXPECT_EQ(gradientAt(user).name(), "Moss");
}

TEST_F(GradientLibraryTest, SetGradientStoresTheEditAndMarksTheRow)
{
    const QModelIndex row = library->addGradient(makeGradient("Moss", greenToWhite),
                                                 GradientLibrary::UserGradient, "Mine", "/u/m.xml");
    const qint64 iconBefore =
        row.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage().cacheKey();
    QSignalSpy changed(library.get(), &QAbstractItemModel::dataChanged);
    library->setGradient(row, makeGradient("Lichen", redToBlue));
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(row.data(Qt::DisplayRole).toString(), "Lichen");
    EXPECT_EQ(gradientAt(row), makeGradient("Lichen", redToBlue));
    EXPECT_TRUE(row.data(GradientLibrary::ModifiedRole).toBool());
    EXPECT_EQ(row.data(GradientLibrary::PackNameRole).toString(), "Mine");
    EXPECT_EQ(row.data(GradientLibrary::FilePathRole).toString(), "/u/m.xml");
    EXPECT_NE(row.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage().cacheKey(),
              iconBefore);
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
        library->addGradient(makeGradient(names[i], {{0.1 * i, QColor(Qt::red)}}), types[i], "",
                             "");

    QItemSelection selection;
    for (int row : {1, 3, 3, 2})
        selection.append(QItemSelectionRange(library->index(row, 0)));
    ASSERT_EQ(selection.indexes().size(), 4);

    QList<int> removed;
    QObject::connect(library.get(), &QAbstractItemModel::rowsAboutToBeRemoved,
                     [&removed](const QModelIndex&, int first, int last) {
                         EXPECT_EQ(first, last);
                         removed << first;
                     });
    library->removeGradients(selection);
    EXPECT_EQ(removed, QList<int>({3, 1}));
    ASSERT_EQ(library->rowCount(), 3);
    EXPECT_EQ(library->index(0, 0).data().toString(), "zero");
    EXPECT_EQ(library->index(1, 0).data().toString(), "two");
    EXPECT_EQ(library->index(2, 0).data().toString(), "four");
}

TEST_F(GradientLibraryTest, BuiltInAndUnreadableTypesAreNeverRemoved)
{
    const QModelIndex builtIn = library->addGradient(
        makeGradient("Stone", redToBlue), GradientLibrary::BuiltInGradient, "", "/b/s.xml");
    const QModelIndex plainNumber = library->addGradient(makeGradient("Odd", greenToWhite),
                                                         GradientLibrary::UserGradient, "", "");
    // A bare number is not a gradient type, even one that converts to "user".
    library->setData(plainNumber, int(GradientLibrary::UserGradient),
                     GradientLibrary::GradientTypeRole);
    library->removeGradient(builtIn);
    library->removeGradient(plainNumber);
    EXPECT_EQ(library->rowCount(), 2);
    EXPECT_TRUE(library->save());
    EXPECT_FALSE(QFile::exists(userFile()));
}

TEST_F(GradientLibraryTest, RemovingAnExternalGradientMarksNoFile)
{
    const QModelIndex external = library->find(makeGradient("Project", redToBlue));
    library->removeGradient(external);
    EXPECT_EQ(library->rowCount(), 0);
    EXPECT_TRUE(library->save());
    EXPECT_TRUE(QDir(userFolder()).entryList(QDir::Files).isEmpty());
}

TEST(GradientIcon, DrawsTheStopsOverACheckerboard)
{
    const int size = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    const QImage opaque = gradientIcon(redToBlue).pixmap(size).toImage();
    ASSERT_EQ(opaque.size(), QSize(size, size));
    const QColor left = opaque.pixelColor(0, size / 2), right = opaque.pixelColor(size - 1, 0);
    EXPECT_GT(left.red(), 220);
    EXPECT_LT(left.blue(), 35);
    EXPECT_GT(right.blue(), 220);
    EXPECT_LT(right.red(), 35);

    // Fully transparent stops, and no stops at all, leave the checkerboard visible.
    const GradientStops clear = {{0.0, QColor(255, 0, 0, 0)}, {1.0, QColor(0, 0, 255, 0)}};
    for (const GradientStops& stops : {clear, GradientStops()}) {
        const QImage image = gradientIcon(stops).pixmap(size).toImage();
        EXPECT_EQ(image.pixel(2, 2), qRgb(192, 192, 192));
        EXPECT_EQ(image.pixel(12, 2), qRgb(128, 128, 128));
    }
}

namespace {
std::string escaped(const std::string& text)
{
    std::string result;
    for (char c : text) {
        if (std::string(".[]{}()\\*+?^$|").find(c) != std::string::npos)
            result += '\\';
        result += c;
    }
    return result;
}
} // namespace

TEST(GradientLibraryDeathTest, InstanceBeforeInitialiseStops)
{
    EXPECT_DEATH(GradientLibrary::instance(),
                 escaped("Error Assert: 'instance' is FALSE at line 58 in file "
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
    // The shipped packs load, all of them built in and valid against the shipped schema.
    EXPECT_EQ(library->rowCount(), 12);
    for (int row = 0; row < library->rowCount(); ++row) {
        const QModelIndex index = library->index(row, 0);
        EXPECT_EQ(
            index.data(GradientLibrary::GradientTypeRole).value<GradientLibrary::GradientType>(),
            GradientLibrary::BuiltInGradient);
        EXPECT_FALSE(index.data(GradientLibrary::PackNameRole).toString().isEmpty());
        EXPECT_GE(GradientLibrary::instance()
                      ->index(row, 0)
                      .data(GradientLibrary::GradientRole)
                      .value<Gradient>()
                      .stops()
                      .size(),
                  2);
    }

    const int rows = library->rowCount();
    GradientLibrary::initialise(QString(), QString());
    EXPECT_EQ(GradientLibrary::instance(), library);
    EXPECT_EQ(library->rowCount(), rows);

    QCoreApplication::setOrganizationName(previousOrganisation);
    QCoreApplication::setApplicationName(previousApplication);
    if (previousConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previousConfig);
}
