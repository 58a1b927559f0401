#include "core/gradient.h"
#include "core/gradient_library.h"
#include "core/xml_schema_validator.h"

#include "common/file_size_limit.h"
#include "common/gradients.h"
#include "common/helpers.h"
#include "gui/checkered_brush.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelection>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

using TestUtil::dataPath;
using TestUtil::gradientAt;
using TestUtil::gradientTypeAt;
using TestUtil::makeGradient;
using TestUtil::readFile;

namespace {

QString shippedSchema()
{
    return TestUtil::bundledPath("gradient/gradient.xsd");
}

using Names = std::set<std::string>;

class GradientFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath("builtin"));
        ASSERT_TRUE(QDir(root.path()).mkpath("user"));
    }

    QString builtIn(const QString& name = QString()) const
    {
        return name.isEmpty() ? root.filePath("builtin") : root.filePath("builtin/" + name);
    }
    QString user(const QString& name = QString()) const
    {
        return name.isEmpty() ? root.filePath("user") : root.filePath("user/" + name);
    }

    void withSchema() const { ASSERT_TRUE(QFile::copy(shippedSchema(), builtIn("gradient.xsd"))); }
    static void copy(const QString& data, const QString& target)
    {
        ASSERT_TRUE(QFile::copy(dataPath(data), target)) << target.toStdString();
    }

    GradientLibrary& load()
    {
        library = std::make_unique<GradientLibrary>(builtIn(), user());
        library->load();
        return *library;
    }

    QModelIndex rowNamed(const QString& name) const
    {
        const QModelIndexList found =
            library->match(library->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        return found.isEmpty() ? QModelIndex() : found.first();
    }

    Names names() const
    {
        Names result;
        for (int row = 0; row < library->rowCount(); ++row)
            result.insert(library->index(row, 0).data().toString().toStdString());
        return result;
    }

    QTemporaryDir root;
    std::unique_ptr<GradientLibrary> library;
};

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

TEST(Gradient, NullAndExplicitlyEmpty)
{
    Gradient a, b;
    EXPECT_TRUE(a.isNull());
    EXPECT_TRUE(a == b);
    Gradient empty;
    empty.setName(QString());
    empty.setStops({});
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty == a);
    EXPECT_FALSE(empty != a);
    // Self-assignment keeps the payload.
    Gradient named = makeGradient("two", {{0.0, Qt::red}});
    const Gradient& self = named;
    named = self;
    EXPECT_EQ(named.name(), "two");
}

TEST(Gradient, StopsAreSortedByPositionThenColour)
{
    const Gradient g = makeGradient("g", {{1.0, Qt::white}, {0.0, Qt::black}});
    ASSERT_EQ(g.stops().size(), 2);
    EXPECT_EQ(g.stops()[0], qMakePair(0.0, QColor(Qt::black)));
    EXPECT_EQ(g.stops()[1], qMakePair(1.0, QColor(Qt::white)));

    QColor translucentWhite(255, 255, 255, 128);
    const Gradient h = makeGradient("h", {{0.5, QColor(255, 0, 0)}, {0.5, translucentWhite}});
    EXPECT_EQ(h.stops()[0].second, translucentWhite);
    EXPECT_EQ(h.stops()[1].second, QColor(255, 0, 0));

    // NaN positions sort last without breaking the order.
    GradientStops stops;
    for (int i = 0; i < 40; ++i)
        stops.append({i % 3 ? double(40 - i) / 40 : std::nan(""), QColor(i, i, i)});
    const Gradient n = makeGradient("n", stops);
    ASSERT_EQ(n.stops().size(), 40);
    EXPECT_FALSE(std::isnan(n.stops().first().first));
    EXPECT_TRUE(std::isnan(n.stops().last().first));
}

TEST(Gradient, StopsEqualInBothKeysKeepTheirOrder)
{
    // Zeros of either sign, and NaNs of different bits, compare equal: their order must not
    // change, or a stored gradient read back would be saved differently.
    auto bitsOf = [](const GradientStops& stops) {
        std::vector<quint64> bits;
        for (const auto& stop : stops)
            bits.push_back(qFromUnaligned<quint64>(&stop.first));
        return bits;
    };
    const double nans[] = {std::nan(""), std::nan("1"), -std::nan("2")};
    for (const auto& [what, pick] : {std::pair<const char*, std::function<double(int)>>{
                                         "zeros", [](int i) { return i % 3 ? 0.0 : -0.0; }},
                                     {"nans", [&](int i) { return nans[(i * 7) % 3]; }}}) {
        GradientStops stops;
        for (int i = 0; i < 40; ++i)
            stops.append({pick(i), QColor(Qt::red)});
        EXPECT_EQ(bitsOf(makeGradient("g", stops).stops()), bitsOf(stops)) << what;
    }
}

TEST(Gradient, StopEqualityToleranceAndZero)
{
    EXPECT_TRUE(gradientStopsEqual({{0.3, Qt::red}}, {{0.3 + 1e-13, Qt::red}}));
    EXPECT_FALSE(gradientStopsEqual({{0.0, Qt::red}}, {{1e-300, Qt::red}}));
    EXPECT_FALSE(gradientStopsEqual({{0.5, Qt::red}}, {{std::nan(""), Qt::red}}));
    EXPECT_FALSE(gradientStopsEqual({{0.5, Qt::red}}, {{0.5, Qt::red}, {0.6, Qt::red}}));
    EXPECT_FALSE(gradientStopsEqual({{0.5, QColor(1, 2, 3, 255)}}, {{0.5, QColor(1, 2, 3, 254)}}));
    EXPECT_NE(makeGradient("a", {{0.5, QColor(1, 2, 3, 255)}}),
              makeGradient("a", {{0.5, QColor(1, 2, 3, 10)}}));
    EXPECT_NE(makeGradient("a", {{0.5, Qt::red}}), makeGradient("b", {{0.5, Qt::red}}));
}

// A colour is no gradient, though Qt 6 converts many a variant.
TEST(Gradient, OnlyGradientVariantsGiveAGradient)
{
    const Gradient g = makeGradient("v", {{0.25, Qt::blue}});
    EXPECT_EQ(QVariant::fromValue(g).value<Gradient>(), g);
    EXPECT_TRUE(QVariant(QColor(Qt::red)).value<Gradient>().isNull());
}

TEST_F(GradientLibraryTest, ConstructionMakesTheUserFolderAndTheTypeIsItsOwn)
{
    EXPECT_TRUE(QDir(userFolder()).exists());
    const QModelIndex added = add("Sky", redToBlue, GradientLibrary::UserGradient);
    EXPECT_STREQ(added.data(GradientLibrary::GradientTypeRole).metaType().name(),
                 "GradientLibrary::GradientType");
    EXPECT_FALSE(added.data(GradientLibrary::ModifiedRole).isValid());
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
                 TestUtil::regexEscaped("Error Assert: 'instance' is FALSE at line ") + "[0-9]+" +
                     TestUtil::regexEscaped(" in file core/gradient_library (") +
                     TestUtil::BuildDatePattern + TestUtil::regexEscaped(") "));
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

    GradientLibrary::initialise(TestUtil::bundledPath("gradient"), userFolder);
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

    // The next run of this test, or a later test, makes its own library.
    GradientLibrary::destroyInstance();
    QCoreApplication::setOrganizationName(previousOrganisation);
    QCoreApplication::setApplicationName(previousApplication);
    if (previousConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previousConfig);
}

TEST(GradientFiles, ShippedPacksAreValidAgainstTheShippedSchema)
{
    const XmlSchemaValidator schema(shippedSchema());
    ASSERT_TRUE(schema.isValid()) << schema.schemaError().toString().toStdString();
    const QDir folder(TestUtil::bundledPath("gradient"));
    const QStringList packs = folder.entryList({"*.xml"}, QDir::Files);
    EXPECT_GE(packs.size(), 2);
    for (const QString& pack : packs) {
        XmlSchemaValidator::Error error;
        EXPECT_TRUE(schema.validateFile(folder.filePath(pack), &error))
            << pack.toStdString() << ": " << error.toString().toStdString();
    }
}

TEST_F(GradientFilesTest, InvalidAndForeignFilesAreSkippedWhileTheSchemaIsInForce)
{
    withSchema();
    copy("gradient/pack.xml", builtIn("pack.xml"));
    copy("gradient/single.xml", builtIn("SINGLE.XML"));
    copy("gradient/single.xml", builtIn(".hidden.xml"));
    copy("gradient/single.xml", builtIn("single.txt"));
    for (const char* bad : {"not_a_number", "foreign_root", "malformed", "unknown_child"})
        copy(QString("bad/gradient/%1.xml").arg(bad), builtIn(QString(bad) + ".xml"));
    copy("gradient/stops.xml", user("stops.xml"));
    // Comments and instructions that other tools write are passed over; entities are refused.
    TestUtil::writeFile(builtIn("noted.xml"), "<!-- by hand --><?app x?><Gradient name=\"Noted\">"
                                              "<!-- a --><GradientStop position=\"0\" "
                                              "colour=\"red\"/></Gradient>");
    TestUtil::writeFile(builtIn("entity.xml"),
                        "<!DOCTYPE Gradient [<!ENTITY r \"red\">]><Gradient name=\"E\"/>");

    load();
    EXPECT_EQ(names(), Names({"Fire", "Ice", "Lone", "Noted", ""}));
    ASSERT_EQ(library->rowCount(), 5);

    // Each file left out is listed with where and why (its first message here).
    std::map<QString, QString> refused;
    for (int row = 0; row < library->errorModel()->rowCount(); ++row) {
        const QModelIndex error = library->errorModel()->index(row, 0);
        EXPECT_GT(error.data(GradientLibrary::LineRole).toLongLong(), 0);
        refused.emplace(error.data(GradientLibrary::DocumentRole).toUrl().fileName(),
                        error.data().toString());
    }
    EXPECT_EQ(refused.size(), 5u);
    EXPECT_EQ(refused["entity.xml"], "The document declares entities, which are not accepted");

    const QModelIndex fire = rowNamed("Fire");
    EXPECT_EQ(gradientTypeAt(fire), GradientLibrary::BuiltInGradient);
    EXPECT_EQ(fire.data(GradientLibrary::PackNameRole).toString(), "Test Pack");
    EXPECT_EQ(fire.data(GradientLibrary::FilePathRole).toString(), builtIn("pack.xml"));
    EXPECT_EQ(gradientAt(fire).stops(),
              GradientStops(
                  {{0.0, QColor("#200000")}, {0.5, QColor("#e03000")}, {1.0, QColor("#ffee00")}}));
    EXPECT_EQ(rowNamed("Ice").row(), fire.row() + 1);

    const QModelIndex lone = rowNamed("Lone");
    EXPECT_EQ(lone.data(GradientLibrary::PackNameRole).toString(), "");
    EXPECT_EQ(lone.data(GradientLibrary::FilePathRole).toString(), builtIn("SINGLE.XML"));

    const QModelIndex unnamed = rowNamed("");
    EXPECT_EQ(gradientTypeAt(unnamed), GradientLibrary::UserGradient);
    EXPECT_EQ(unnamed.data(GradientLibrary::FilePathRole).toString(), user("stops.xml"));
}

TEST_F(GradientFilesTest, StopsLackingAnAttributeAreSkippedAndOddTextsTolerated)
{
    copy("gradient/stops.xml", builtIn("stops.xml"));
    for (const char* bad : {"not_a_number", "foreign_root", "malformed", "unknown_child"})
        copy(QString("bad/gradient/%1.xml").arg(bad), builtIn(QString(bad) + ".xml"));

    // Without a schema every well-formed file is read.
    load();
    EXPECT_EQ(names(), Names({"", "Words", "With Note"}));

    const GradientStops stops = gradientAt(rowNamed("")).stops();
    ASSERT_EQ(stops.size(), 3);
    EXPECT_EQ(stops[0], qMakePair(0.1, QColor(Qt::red)));
    EXPECT_EQ(stops[1].first, 0.3);
    EXPECT_EQ(stops[1].second, QColor(255, 0, 0, 128));
    EXPECT_EQ(stops[2].first, 0.4);
    EXPECT_FALSE(stops[2].second.isValid());

    EXPECT_EQ(gradientAt(rowNamed("Words")).stops(),
              GradientStops({{0.0, QColor("#123456")}, {1.0, QColor("#654321")}}));
    EXPECT_EQ(gradientAt(rowNamed("With Note")).stops().size(), 1);
}

TEST_F(GradientFilesTest, NewGradientAndCopyOfABuiltInShareUserXml)
{
    withSchema();
    copy("gradient/pack.xml", builtIn("pack.xml"));
    load();
    const QByteArray builtInBefore = readFile(builtIn("pack.xml"));

    library->newGradient();
    library->copyGradient(rowNamed("Fire"));
    EXPECT_TRUE(library->save());
    EXPECT_EQ(readFile(user("user.xml")), readFile(dataPath("gradient/saved_new_and_copy.xml")));
    EXPECT_EQ(readFile(builtIn("pack.xml")), builtInBefore);
    EXPECT_EQ(QDir(user()).entryList(QDir::Files), QStringList({"user.xml"}));
    for (int row = 0; row < library->rowCount(); ++row)
        EXPECT_FALSE(library->index(row, 0).data(GradientLibrary::ModifiedRole).toBool());

    // A save with nothing changed writes nothing.
    const QByteArray saved = readFile(user("user.xml"));
    QFile::remove(user("user.xml"));
    EXPECT_TRUE(library->save());
    EXPECT_FALSE(QFile::exists(user("user.xml")));

    // What was saved loads back as user gradients.
    ASSERT_TRUE(TestUtil::writeFile(user("user.xml"), saved));
    load();
    EXPECT_EQ(names(), Names({"Fire", "Ice", "New Gradient", "Copy of Fire"}));
    const QModelIndex copy = rowNamed("Copy of Fire");
    EXPECT_EQ(gradientTypeAt(copy), GradientLibrary::UserGradient);
    EXPECT_EQ(gradientAt(copy).stops(), gradientAt(rowNamed("Fire")).stops());
}

TEST_F(GradientFilesTest, PositionsKeepSixteenDecimalsAndColoursLoseAlpha)
{
    withSchema();
    load();
    const QModelIndex made = library->newGradient();
    library->setGradient(made, makeGradient("Veil", {{0.25, QColor(10, 20, 30, 128)},
                                                     {1.0 / 3, QColor(Qt::white)}}));
    ASSERT_TRUE(library->save());
    const QByteArray text = readFile(user("user.xml"));
    EXPECT_TRUE(
        text.contains("<GradientStop position=\"0.2500000000000000\" colour=\"#0a141e\"/>"));
    EXPECT_TRUE(text.contains("position=\"0.3333333333333333\""));

    load();
    const GradientStops stops = gradientAt(rowNamed("Veil")).stops();
    ASSERT_EQ(stops.size(), 2);
    EXPECT_EQ(stops[0].first, 0.25);
    EXPECT_EQ(stops[0].second, QColor(10, 20, 30));
}

TEST_F(GradientFilesTest, OnlyThePacksConcernedAreRewritten)
{
    withSchema();
    copy("gradient/pack.xml", user("mine.xml"));
    copy("gradient/single.xml", user("single.xml"));
    copy("gradient/pack.xml", user("other.xml"));
    load();
    ASSERT_EQ(library->rowCount(), 5);
    const QByteArray otherBefore = readFile(user("other.xml"));

    // Removing the pack's rows one by one leaves an empty pack that keeps its name.
    const QString mine = user("mine.xml");
    for (int row = library->rowCount() - 1; row >= 0; --row)
        if (library->index(row, 0).data(GradientLibrary::FilePathRole).toString() == mine)
            library->removeGradient(library->index(row, 0));
    // A file in the single-gradient form is rewritten as a pack without a name.
    library->setGradient(rowNamed("Lone"), makeGradient("Lone", {{0.5, QColor(Qt::cyan)}}));
    ASSERT_TRUE(library->save());

    EXPECT_EQ(readFile(mine), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<GradientPack name=\"Test Pack\"/>\n");
    EXPECT_EQ(readFile(user("single.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<GradientPack name=\"\">\n"
              "    <Gradient name=\"Lone\">\n"
              "        <GradientStop position=\"0.5000000000000000\" colour=\"#00ffff\"/>\n"
              "    </Gradient>\n"
              "</GradientPack>\n");
    EXPECT_EQ(readFile(user("other.xml")), otherBefore);
    EXPECT_EQ(library->rowCount(), 3);
}

TEST_F(GradientFilesTest, EditedBuiltInGradientsAreNeverWritten)
{
    copy("gradient/pack.xml", builtIn("pack.xml"));
    load();
    const QByteArray before = readFile(builtIn("pack.xml"));
    const QModelIndex fire = rowNamed("Fire");
    library->setGradient(fire, makeGradient("Fire", {{0.0, QColor(Qt::blue)}}));
    EXPECT_TRUE(library->save());
    EXPECT_EQ(readFile(builtIn("pack.xml")), before);
    EXPECT_TRUE(fire.data(GradientLibrary::ModifiedRole).toBool());
    EXPECT_TRUE(QDir(user()).entryList(QDir::Files).isEmpty());
}

// Whatever a save writes, the schema accepts again: also positions that are not finite, as a
// gradient taken over from a damaged project may carry.
TEST_F(GradientFilesTest, SavedFilesPassTheSchema)
{
    withSchema();
    load();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const QModelIndex odd = library->find(makeGradient("Odd", {{nan, QColor(Qt::red)},
                                                               {-infinity, QColor(Qt::green)},
                                                               {1e300, QColor(Qt::blue)},
                                                               {-0.5, QColor(Qt::gray)}}));
    library->copyGradient(odd);
    library->setGradient(library->newGradient(), makeGradient("Quotes \"&<>'", {}));
    // Characters XML cannot carry are left out rather than keeping the pack from being saved.
    library->setGradient(library->newGradient(),
                         makeGradient(QString("Bell") + QChar(7) + "Ring" + QChar(0xD800) + "\t",
                                      {{0.0, QColor(Qt::red)}}));
    ASSERT_TRUE(library->save());

    XmlSchemaValidator::Error error;
    EXPECT_TRUE(XmlSchemaValidator(shippedSchema()).validateFile(user("user.xml"), &error))
        << error.toString().toStdString();
    load();
    EXPECT_EQ(names(), Names({"Copy of Odd", "Quotes \"&<>'", "BellRing\t"}));
    const GradientStops stops = gradientAt(rowNamed("Copy of Odd")).stops();
    ASSERT_EQ(stops.size(), 4);
    EXPECT_EQ(stops[0].first, -infinity);
    EXPECT_EQ(stops[2].first, 1e300);
    EXPECT_TRUE(std::isnan(stops[3].first));
}

// A failed save used to forget the change: the rows were no longer marked modified and the
// file was no longer marked for saving, so the next save did not write it.
TEST_F(GradientFilesTest, AFileThatCouldNotBeWrittenIsWrittenByTheNextSave)
{
    load();
    ASSERT_TRUE(QDir(user()).mkdir("user.xml")); // the target cannot be replaced
    library->newGradient();
    EXPECT_FALSE(library->save());
    EXPECT_EQ(library->saveError(), user("user.xml") + ": Not a regular file: a folder");
    EXPECT_EQ(QDir(user()).entryList(QDir::Files | QDir::Hidden), QStringList());

    ASSERT_TRUE(QDir(user()).rmdir("user.xml"));
    EXPECT_TRUE(library->save());
    EXPECT_EQ(library->saveError(), "");
    EXPECT_TRUE(readFile(user("user.xml")).contains("<Gradient name=\"New Gradient\">"));

    // The same holds for a folder that cannot be created.
    const QModelIndex stray = library->addGradient(makeGradient("Stray", {{0.0, QColor(Qt::red)}}),
                                                   GradientLibrary::UserGradient, "Lost",
                                                   user("user.xml/deeper/lost.xml"));
    library->setData(stray, true, GradientLibrary::ModifiedRole);
    EXPECT_FALSE(library->save());
    EXPECT_FALSE(library->save());
    library->removeGradient(stray);
    EXPECT_FALSE(library->save()); // the path still cannot be written
}

// A save that ran out of room used to cut the pack short and report success.
TEST_F(GradientFilesTest, AFailedSaveKeepsTheOldPackAndTheChange)
{
    load();
    library->newGradient();
    ASSERT_TRUE(library->save());
    const QByteArray before = readFile(user("user.xml"));

    load();
    const QModelIndex added = library->newGradient();
    {
        FileSizeLimit full(before.size() + 40);
        EXPECT_FALSE(library->save());
    }
    EXPECT_EQ(library->saveError(), user("user.xml") + ": Unable to write file: File too large");
    EXPECT_EQ(readFile(user("user.xml")), before);
    EXPECT_EQ(QDir(user()).entryList(QDir::Files | QDir::Hidden), QStringList({"user.xml"}));
    EXPECT_TRUE(added.data(GradientLibrary::ModifiedRole).toBool());

    EXPECT_TRUE(library->save());
    load();
    EXPECT_EQ(library->rowCount(), 2);
}

// A pack is replaced as a whole file: through a symbolic link to the link's target, keeping the
// file's permissions (and its owner's right to read it), never over a file marked read-only.
TEST_F(GradientFilesTest, SavesFollowLinksAndKeepPermissions)
{
    using P = QFileDevice;
    const auto mode = [](const QString& path) {
        return QFileInfo(path).permissions() & ~(P::ReadUser | P::WriteUser | P::ExeUser);
    };
    const struct
    {
        const char* name;
        QFileDevice::Permissions before;
        bool linked;
        bool saved;
        QFileDevice::Permissions after;
    } cases[] = {
        {"plain", P::ReadOwner | P::WriteOwner | P::ReadGroup, false, true,
         P::ReadOwner | P::WriteOwner | P::ReadGroup},
        {"linked", P::ReadOwner | P::WriteOwner, true, true, P::ReadOwner | P::WriteOwner},
        {"read-only", P::ReadOwner | P::ReadGroup, false, false, P::ReadOwner | P::ReadGroup},
        {"write-only", P::WriteOwner, false, true, P::ReadOwner | P::WriteOwner},
    };
    for (const auto& c : cases) {
        const QString real = root.filePath(QString(c.name) + ".xml");
        const QString path = user(QString(c.name) + ".xml");
        ASSERT_TRUE(TestUtil::writeFile(real, "old"));
        ASSERT_TRUE(QFile::setPermissions(real, c.before));
        ASSERT_TRUE(c.linked ? QFile::link(real, path) : QFile::rename(real, path));
        load();
        const QModelIndex row = library->addGradient(makeGradient(c.name, {{0.0, QColor(Qt::red)}}),
                                                     GradientLibrary::UserGradient, "", path);
        library->setData(row, true, GradientLibrary::ModifiedRole);

        EXPECT_EQ(library->save(), c.saved) << c.name;
        const QString written = c.linked ? real : path;
        EXPECT_EQ(QFileInfo(path).isSymLink(), c.linked) << c.name;
        EXPECT_EQ(mode(written), c.after) << c.name;
        EXPECT_EQ(readFile(written).contains("<Gradient name="), c.saved) << c.name;
    }
}

// Packs are bounded in size, elements and nesting (a 14 MB pack used to take 1.7 GB): a file
// beyond the bounds loads nothing, and a pack that would go beyond them is not saved.
TEST_F(GradientFilesTest, PacksBeyondTheBoundsAreNeitherLoadedNorSaved)
{
    // A pack of one gradient with the given number of stops, the given nesting of unknown
    // elements inside the gradient, and padding that makes the file the given size.
    const auto pack = [](int stops, int depth, int bytes) {
        QByteArray text = "<GradientPack name=\"Big\"><Gradient name=\"g\">";
        text += QByteArray("<x>").repeated(depth - 2) + QByteArray("</x>").repeated(depth - 2);
        text += QByteArray("<GradientStop position=\"0\" colour=\"red\"/>").repeated(stops);
        const QByteArray end = "--></Gradient></GradientPack>";
        return text + "<!--" + QByteArray(qMax(0, bytes - int(text.size() + 4 + end.size())), ' ') +
               end;
    };
    const int elements = GradientLibrary::MaxPackElements, depth = GradientLibrary::MaxPackDepth;
    const int bytes = int(GradientLibrary::MaxPackBytes);
    const struct
    {
        QByteArray contents;
        bool loads;
    } cases[] = {
        {pack(elements - 2, 2, 0), true}, {pack(elements - 1, 2, 0), false},
        {pack(1, depth, 0), true},        {pack(1, depth + 1, 0), false},
        {pack(1, 2, bytes), true},        {pack(1, 2, bytes + 1), false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(TestUtil::writeFile(user("big.xml"), c.contents));
        load();
        EXPECT_EQ(library->rowCount(), c.loads ? 1 : 0) << c.contents.size();
    }

    GradientStops many;
    for (int i = 0; i < elements - 1; ++i)
        many.append({i / double(elements), QColor(Qt::red)});
    library->setGradient(library->newGradient(), makeGradient("Many", many));
    EXPECT_FALSE(library->save());
    EXPECT_FALSE(QFile::exists(user("user.xml")));
}
