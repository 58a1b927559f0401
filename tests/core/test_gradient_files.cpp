#include "core/gradient_library.h"
#include "core/xml_schema_validator.h"

#include "common/file_size_limit.h"
#include "common/gradients.h"
#include "common/helpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <set>
#include <string>

using TestUtil::dataPath;
using TestUtil::gradientAt;
using TestUtil::gradientTypeAt;
using TestUtil::makeGradient;
using TestUtil::readFile;

namespace {

QString shippedSchema()
{
    return GradientLibrary::defaultBuiltInDirectory() + "/gradient.xsd";
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

} // namespace

TEST(GradientFiles, ShippedPacksAreValidAgainstTheShippedSchema)
{
    const XmlSchemaValidator schema(shippedSchema());
    ASSERT_TRUE(schema.isValid()) << schema.schemaError().toString().toStdString();
    const QDir folder(GradientLibrary::defaultBuiltInDirectory());
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

    load();
    EXPECT_EQ(names(), Names({"Fire", "Ice", "Lone", ""}));
    ASSERT_EQ(library->rowCount(), 4);

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
    copy("bad/gradient/not_a_number.xml", builtIn("not_a_number.xml"));
    copy("bad/gradient/foreign_root.xml", builtIn("foreign_root.xml"));
    copy("bad/gradient/malformed.xml", builtIn("malformed.xml"));
    copy("bad/gradient/unknown_child.xml", builtIn("unknown_child.xml"));

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
    EXPECT_EQ(QDir(user()).entryList(QDir::Files | QDir::Hidden), QStringList());

    ASSERT_TRUE(QDir(user()).rmdir("user.xml"));
    EXPECT_TRUE(library->save());
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
        const QByteArray end = "</Gradient></GradientPack>";
        return text + QByteArray(qMax(0, bytes - int(text.size() + end.size())), ' ') + end;
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
