#include "common/helpers.h"
#include "common/memory_growth_limit.h"
#include "core/tar_headers.h"
#include "core/targz_archive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utility>
#include <zlib.h>

using TestUtil::readFile;
using TestUtil::treeOf;
using TestUtil::writeFile;

namespace {

// A member of a hand-made tar stream (ustar headers), for archives this program never writes.
struct Member
{
    std::string name;
    char type = '0';
    QByteArray data{};
    std::string link{};
    std::string prefix{};
    std::string paxPath{};  // given, the name in a pax extended header before the member
    std::string pax{};      // given, the records of a pax extended header before the member
    QByteArray extension{}; // blocks between the header and the data, outside the size
};

// A pax record, "<length> <key>=<value>\n", whose length counts its own digits.
std::string paxRecord(const std::string& key, const std::string& value)
{
    const std::string record = " " + key + "=" + value + "\n";
    size_t length = record.size() + 1;
    while (std::to_string(length).size() + record.size() != length)
        ++length;
    return std::to_string(length) + record;
}

QByteArray tarStream(const std::vector<Member>& inputs)
{
    std::vector<Member> members;
    for (Member member : inputs) {
        // A name longer than its field (the path of a long temporary folder) goes in a pax
        // record, whole.
        if (member.paxPath.empty() && member.name.size() > 100) {
            member.paxPath = member.name;
            member.name = "long";
        }
        const std::string records =
            (member.paxPath.empty() ? "" : paxRecord("path", member.paxPath)) + member.pax;
        if (!records.empty())
            members.push_back({"pax", 'x', QByteArray::fromStdString(records)});
        members.push_back(member);
    }
    QByteArray stream;
    for (const Member& member : members) {
        QByteArray header(512, '\0');
        auto put = [&header](int offset, const std::string& text, size_t width) {
            std::memcpy(header.data() + offset, text.data(), std::min(text.size(), width));
        };
        char number[16];
        put(0, member.name, 100);
        put(100, "0000644", 8);
        put(108, "0000000", 8);
        put(116, "0000000", 8);
        std::snprintf(number, sizeof number, "%011llo", (unsigned long long)member.data.size());
        put(124, number, 12);
        put(136, "00000000000", 12);
        put(148, "        ", 8);
        header[156] = member.type;
        put(157, member.link, 100);
        put(257,
            std::string("ustar\0"
                        "00",
                        8),
            8);
        put(345, member.prefix, 155);
        unsigned sum = 0;
        for (char c : header)
            sum += uchar(c);
        std::snprintf(number, sizeof number, "%06o", sum);
        put(148, std::string(number, 7), 7);
        stream += header + member.extension + member.data;
        stream += QByteArray((512 - member.data.size() % 512) % 512, '\0');
    }
    return stream + QByteArray(1024, '\0');
}

bool writeGzip(const QString& path, const QByteArray& bytes)
{
    const gzFile file = gzopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    const bool written = gzwrite(file, bytes.constData(), unsigned(bytes.size())) == bytes.size();
    return gzclose(file) == Z_OK && written;
}

QByteArray gunzip(const QString& path)
{
    QByteArray result;
    const gzFile file = gzopen(QFile::encodeName(path).constData(), "rb");
    char buffer[4096];
    int got = 0;
    while (file && (got = gzread(file, buffer, sizeof buffer)) > 0)
        result.append(buffer, got);
    if (file)
        gzclose(file);
    return result;
}

// Runs the system's tar; returns its standard output, or "<failed>".
QString systemTar(const QStringList& arguments)
{
    QProcess process;
    process.start("tar", arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return "<failed>";
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<int> intsOf(const QSignalSpy& spy)
{
    QList<int> values;
    for (const QList<QVariant>& arguments : spy)
        values << arguments.at(0).toInt();
    return values;
}

// work/: landscape (3000 bytes), theme.xml (700 bytes), folder/ with a.png (5000 bytes),
// .hidden (100 bytes) and inner/b.png (1234 bytes).
class TargzArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        work = dir.filePath("work");
        QDir().mkpath(work + "/folder/inner");
        writeFile(work + "/landscape", bytes(3000, 1));
        writeFile(work + "/theme.xml", bytes(700, 2));
        writeFile(work + "/folder/a.png", bytes(5000, 3));
        writeFile(work + "/folder/.hidden", bytes(100, 4));
        writeFile(work + "/folder/inner/b.png", bytes(1234, 5));
    }

    static QByteArray bytes(int size, int seed)
    {
        QByteArray result(size, '\0');
        for (int i = 0; i < size; ++i)
            result[i] = char((i * 7 + seed * 31) ^ (i >> 3));
        return result;
    }

    QString path(const QString& relative) const { return dir.filePath(relative); }

    QTemporaryDir dir;
    QString work;
};

} // namespace

TEST_F(TargzArchiveTest, ArchivesAreListedAndExtractedHereAndByTheSystemTar)
{
    TargzArchive archive;
    const QString bundle = path("bundle.qvt");
    ASSERT_TRUE(archive.create(bundle, {{work + "/landscape", "landscape_splash_image"},
                                        {work + "/theme.xml", "Blue.xml"},
                                        {work + "/folder", "images"}}));
    const QStringList all = {"Blue.xml",           "images/",
                             "images/a.png",       "images/inner/",
                             "images/inner/b.png", "landscape_splash_image"};
    QStringList names;
    ASSERT_TRUE(archive.list(bundle, names));
    EXPECT_EQ(systemTar({"tzf", bundle}), names.join("\n") + "\n");
    EXPECT_EQ(names.mid(0, 3), QStringList({"landscape_splash_image", "Blue.xml", "images/"}));
    names.sort();
    EXPECT_EQ(names, all);
    QDir().mkpath(path("system"));
    ASSERT_NE(systemTar({"xzf", bundle, "-C", path("system")}), "<failed>");
    EXPECT_EQ(treeOf(path("system")), all);
    EXPECT_EQ(readFile(path("system/images/inner/b.png")), readFile(work + "/folder/inner/b.png"));

    // Only the member named by the pattern is written, and the object is ready again at once.
    const QString out = path("out");
    ASSERT_TRUE(archive.extract(bundle, "Blue.xml", out));
    EXPECT_EQ(treeOf(out), QStringList({"Blue.xml"}));
    EXPECT_EQ(readFile(out + "/Blue.xml"), readFile(work + "/theme.xml"));
    ASSERT_TRUE(archive.extract(bundle, "land*", out));
    EXPECT_EQ(treeOf(out), QStringList({"Blue.xml", "landscape_splash_image"}));
    // A pattern that matches nothing extracts nothing and succeeds.
    EXPECT_TRUE(archive.extract(bundle, "icon_*", out));
    EXPECT_EQ(treeOf(out).size(), 2);

    // Names that are not ASCII come back as they went in.
    const QString name = QString::fromUtf8("Bleu \xc3\x89t\xc3\xa9.xml");
    ASSERT_TRUE(archive.create(bundle, {{work + "/theme.xml", name}}));
    names.clear();
    ASSERT_TRUE(archive.list(bundle, names));
    EXPECT_EQ(names, QStringList({name}));
    ASSERT_TRUE(archive.extract(bundle, names.first(), out));
    EXPECT_EQ(readFile(out + "/" + name), readFile(work + "/theme.xml"));
}

// Members from memory, compressed in chunks on several threads, make one stream that the system's
// tar reads: long names, empty members and members across many chunks included.
TEST_F(TargzArchiveTest, MembersFromMemoryAreReadByTheSystemTar)
{
    QByteArray large(3 * 1024 * 1024 + 5, '\0');
    for (int i = 0; i < large.size(); ++i)
        large[i] = char((i / 1000) * 7 + (i % 13 == 0 ? i : 0));
    const QString longName = QString(150, u'n');
    const QList<TarMember> members = {
        {"large", large}, {"empty", QByteArray()}, {longName, "long"}, {"small", bytes(700, 2)}};
    TargzArchive archive;
    QSignalSpy progress(&archive, &TargzArchive::operationProgress);
    ASSERT_TRUE(archive.createFromMemory(path("memory.tgz"), members));
    EXPECT_EQ(intsOf(progress).last(), large.size() + 4 + 700);
    EXPECT_LT(QFileInfo(path("memory.tgz")).size(), large.size() / 4);
    QDir().mkpath(path("system"));
    ASSERT_NE(systemTar({"xzf", path("memory.tgz"), "-C", path("system")}), "<failed>");
    for (const TarMember& member : members)
        EXPECT_EQ(readFile(path("system/") + member.name), member.data);
}

TEST_F(TargzArchiveTest, CreateReportsSizesOfArchivedFiles)
{
    TargzArchive archive;
    QSignalSpy started(&archive, &TargzArchive::operationStarted);
    QSignalSpy progress(&archive, &TargzArchive::operationProgress);
    ASSERT_TRUE(
        archive.create(path("bundle.qvt"), {{work + "/landscape", "l"}, {work + "/folder", "f"}}));
    // The hidden file is neither counted nor archived.
    EXPECT_EQ(intsOf(started), QList<int>({3000 + 5000 + 1234}));
    QList<int> values = intsOf(progress);
    ASSERT_EQ(values.size(), 3);
    EXPECT_EQ(values.first(), 3000);
    EXPECT_EQ(values.last(), 3000 + 5000 + 1234);
    QStringList names;
    ASSERT_TRUE(archive.list(path("bundle.qvt"), names));
    EXPECT_FALSE(names.join(",").contains("hidden"));
}

TEST_F(TargzArchiveTest, ExtractAllReportsUncompressedOffsets)
{
    TargzArchive archive;
    const QString bundle = path("bundle.qvt");
    ASSERT_TRUE(archive.create(
        bundle,
        {{work + "/landscape", "a"}, {work + "/theme.xml", "b"}, {work + "/folder/a.png", "c"}}));
    const int uncompressed = int(gunzip(bundle).size());
    ASSERT_EQ(uncompressed, 512 * 3 + 3072 + 1024 + 5120 + 1024);

    QSignalSpy started(&archive, &TargzArchive::operationStarted);
    QSignalSpy progress(&archive, &TargzArchive::operationProgress);
    ASSERT_TRUE(archive.extractAll(bundle, path("out")));
    EXPECT_EQ(intsOf(started), QList<int>({uncompressed}));
    const QList<int> values = intsOf(progress);
    ASSERT_EQ(values.size(), 4); // one per member and one at the end
    EXPECT_EQ(values.at(0), 512 + 3072);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(values.last(), uncompressed);
    EXPECT_EQ(treeOf(path("out")), QStringList({"a", "b", "c"}));
    EXPECT_EQ(readFile(path("out/c")), readFile(work + "/folder/a.png"));
}

TEST_F(TargzArchiveTest, FailedCreateLeavesThePreviousArchiveIntact)
{
    TargzArchive archive;
    const QString bundle = path("bundle.qvt");
    // A missing item fails before anything starts.
    QSignalSpy started(&archive, &TargzArchive::operationStarted);
    EXPECT_FALSE(archive.create(bundle, {{work + "/landscape", "a"}, {path("missing"), "b"}}));
    EXPECT_EQ(started.count(), 0);
    EXPECT_FALSE(QFileInfo::exists(bundle));

    ASSERT_TRUE(archive.create(bundle, {{work + "/folder", "f"}}));
    const QByteArray previous = readFile(bundle);

    // A pipe exists but is neither a file nor a folder: the archive fails midway.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
    EXPECT_FALSE(archive.create(bundle, {{work + "/landscape", "a"}, {path("pipe"), "p"}}));
    EXPECT_EQ(readFile(bundle), previous);
    // A folder in the target's place cannot be replaced.
    QDir().mkpath(path("taken.qvt/inside"));
    EXPECT_FALSE(archive.create(path("taken.qvt"), {{work + "/landscape", "a"}}));
    EXPECT_TRUE(QFileInfo(path("taken.qvt/inside")).isDir());
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({"bundle.qvt", "pipe"}));
}

TEST_F(TargzArchiveTest, ShorterArchiveReplacesLongerOneCompletely)
{
    TargzArchive archive;
    const QString bundle = path("bundle.qvt");
    ASSERT_TRUE(archive.create(bundle, {{work + "/folder", "f"}, {work + "/landscape", "l"}}));
    ASSERT_TRUE(archive.create(bundle, {{work + "/theme.xml", "t.xml"}}));
    QSignalSpy started(&archive, &TargzArchive::operationStarted);
    ASSERT_TRUE(archive.extractAll(bundle, path("out")));
    // The trailer read for the total is the new stream's own.
    EXPECT_EQ(intsOf(started), QList<int>({512 + 1024 + 1024}));
    EXPECT_EQ(QFileInfo(bundle).permissions() & QFileDevice::Permissions(0xF0FF),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                  QFileDevice::ReadOther);
    EXPECT_EQ(systemTar({"tzf", bundle}), "t.xml\n");
}

TEST_F(TargzArchiveTest, SystemTarArchivesAreReadHere)
{
    const QString bundle = path("system.tgz");
    writeFile(work + "/.hidden_member", "h");
    ASSERT_NE(systemTar({"czf", bundle, "-C", work, "landscape", "theme.xml", ".hidden_member"}),
              "<failed>");
    TargzArchive archive;
    QStringList names;
    ASSERT_TRUE(archive.list(bundle, names));
    EXPECT_EQ(names, QStringList({"landscape", "theme.xml", ".hidden_member"}));

    // A leading dot is matched only by a pattern that spells it out.
    ASSERT_TRUE(archive.extract(bundle, "*", path("some")));
    EXPECT_EQ(treeOf(path("some")), QStringList({"landscape", "theme.xml"}));
    ASSERT_TRUE(archive.extract(bundle, ".hidden*", path("some")));
    EXPECT_EQ(readFile(path("some/.hidden_member")), "h");

    QSignalSpy started(&archive, &TargzArchive::operationStarted);
    ASSERT_TRUE(archive.extractAll(bundle, path("all")));
    EXPECT_EQ(intsOf(started), QList<int>({int(gunzip(bundle).size())}));
    EXPECT_EQ(treeOf(path("all")), QStringList({".hidden_member", "landscape", "theme.xml"}));
    EXPECT_EQ(readFile(path("all/landscape")), readFile(work + "/landscape"));
    EXPECT_EQ(readFile(path("all/theme.xml")), readFile(work + "/theme.xml"));
}

TEST_F(TargzArchiveTest, LinksInsideFoldersAreStoredAsLinksAndNotFollowed)
{
    ASSERT_TRUE(QFile::link(work + "/folder", work + "/folder/inner/loop"));
    TargzArchive archive;
    QSignalSpy started(&archive, &TargzArchive::operationStarted);
    ASSERT_TRUE(archive.create(path("bundle.qvt"), {{work + "/folder", "f"}}));
    EXPECT_EQ(intsOf(started), QList<int>({5000 + 1234}));
    const QString verbose = systemTar({"tvzf", path("bundle.qvt")});
    EXPECT_TRUE(verbose.contains(
        QRegularExpression("^l.* f/inner/loop -> " + QRegularExpression::escape(work + "/folder"),
                           QRegularExpression::MultilineOption)))
        << verbose.toStdString();
    EXPECT_EQ(verbose.count('\n'), 5);
}

TEST_F(TargzArchiveTest, HostileMembersAreNeverWritten)
{
    const QString outside = path("outside");
    QDir().mkpath(outside);
    writeFile(outside + "/victim", "original");

    const QString destination = path("dest/inner");
    struct Case
    {
        const char* label;
        Member member;
        std::string listed = "";
    };
    const std::vector<Case> cases = {
        {"parent", {"../escaped", '0', "evil"}},
        {"parent after a dot", {"./../escaped", '0', "evil"}, "../escaped"},
        {"pax parent", {"harmless", '0', "evil", "", "", "../escaped"}, "../escaped"},
        {"deep parent", {"../../outside/victim", '0', "evil"}},
        // In a pax header: the temporary folder's path may not fit a header's name field.
        {"absolute",
         {"harmless", '0', "evil", "", "", (outside + "/victim").toStdString()},
         (outside + "/victim").toStdString()},
        {"folder part", {"sub/x", '0', "evil"}},
        {"prefix", {"x", '0', "evil", "", "sub"}},
        {"dot", {".", '0', "evil"}},
        {"dot dot", {"..", '0', "evil"}},
        // Links to the victim from the destination, whatever the length of its path.
        {"symlink", {"victim", '2', "", "../../outside/victim"}},
        {"hard link", {"victim", '1', "", "../../outside/victim"}},
        {"folder", {"victim", '5'}},
        {"pipe", {"victim", '6'}},
        {"device", {"victim", '3'}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.label);
        const QString bundle = path("hostile.tgz");
        ASSERT_TRUE(
            writeGzip(bundle, tarStream({{"first", '0', "1"}, test.member, {"after", '0', "2"}})));
        TargzArchive archive;
        QStringList names;
        ASSERT_TRUE(archive.list(bundle, names));
        const QString shown = QString::fromStdString(
            !test.listed.empty()         ? test.listed
            : test.member.prefix.empty() ? test.member.name
                                         : test.member.prefix + "/" + test.member.name);
        EXPECT_EQ(names, QStringList({"first", shown, "after"}));

        // Extracting all stops at the member with a false result; what came before stays.
        QDir(path("dest")).removeRecursively();
        EXPECT_FALSE(archive.extractAll(bundle, destination));
        EXPECT_EQ(treeOf(path("dest")), QStringList({"inner/", "inner/first"}));
        // Naming it is a failed extraction; naming another member passes it by.
        EXPECT_FALSE(archive.extract(bundle, shown, destination));
        EXPECT_TRUE(archive.extract(bundle, "after", destination));
        EXPECT_EQ(treeOf(path("dest")), QStringList({"inner/", "inner/after", "inner/first"}));
        EXPECT_EQ(treeOf(outside), QStringList({"victim"}));
        EXPECT_EQ(readFile(outside + "/victim"), "original");
        EXPECT_FALSE(QFileInfo::exists(path("escaped")));
    }
}

TEST_F(TargzArchiveTest, ExtractionReplacesALinkInsteadOfWritingThroughIt)
{
    const QString victim = path("victim");
    writeFile(victim, "original");
    TargzArchive archive;
    ASSERT_TRUE(archive.create(path("bundle.qvt"), {{work + "/theme.xml", "theme.xml"}}));
    QDir().mkpath(path("out"));
    ASSERT_TRUE(QFile::link(victim, path("out/theme.xml")));
    ASSERT_TRUE(archive.extract(path("bundle.qvt"), "theme.xml", path("out")));
    EXPECT_FALSE(QFileInfo(path("out/theme.xml")).isSymLink());
    EXPECT_EQ(readFile(path("out/theme.xml")), readFile(work + "/theme.xml"));
    EXPECT_EQ(readFile(victim), "original");
}

TEST_F(TargzArchiveTest, DamagedArchivesFail)
{
    TargzArchive archive;
    const QString bundle = path("bundle.qvt");
    ASSERT_TRUE(
        archive.create(bundle, {{work + "/landscape", "a"}, {work + "/folder/a.png", "b"}}));
    const QByteArray good = readFile(bundle);
    const QByteArray tar = gunzip(bundle);

    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x55);
    const struct
    {
        const char* label;
        QByteArray bytes;
    } cases[] = {
        {"empty file", QByteArray()},
        {"foreign file", QByteArray(2000, 'x')},
        {"cut in the middle", good.left(good.size() / 2)},
        {"cut before the trailer", good.left(good.size() - 8)},
        {"corrupt byte", flipped},
    };
    // Each fails, as does what is no archive at all (leaving nothing of libtar behind for the
    // leak checker).
    QStringList files = {path("missing.qvt"), work};
    for (const auto& test : cases) {
        files << path(test.label);
        ASSERT_TRUE(writeFile(files.last(), test.bytes));
    }
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        QStringList names;
        EXPECT_FALSE(archive.list(file, names));
        QDir(path("out")).removeRecursively();
        EXPECT_FALSE(archive.extractAll(file, path("out")));
        EXPECT_FALSE(archive.extract(file, "b", path("out")));
    }

    // A member cut short is removed again.
    QByteArray noise(200000, '\0');
    quint32 state = 1;
    for (char& c : noise)
        c = char((state = state * 1664525u + 1013904223u) >> 24);
    ASSERT_TRUE(writeFile(path("noise"), noise));
    ASSERT_TRUE(archive.create(path("noise.qvt"), {{path("noise"), "b"}}));
    ASSERT_TRUE(writeFile(path("damaged.qvt"), readFile(path("noise.qvt")).left(120000)));
    EXPECT_FALSE(archive.extract(path("damaged.qvt"), "b", path("out")));
    EXPECT_FALSE(QFileInfo::exists(path("out/b")));

    // A tar stream that stops after a whole member, without its end blocks, is truncated too.
    ASSERT_TRUE(writeGzip(path("short.qvt"), tar.left(512 + 3072)));
    QStringList names;
    EXPECT_FALSE(archive.list(path("short.qvt"), names));
    EXPECT_EQ(names, QStringList({"a"}));
}

// One pass into memory: the names of all members, the bytes of the regular members asked for
// (the last of a name wins), and every limit checked on the headers, long names included.
TEST_F(TargzArchiveTest, ReadIntoMemoryTakesWhatIsAskedForWithinTheLimits)
{
    using Result = TargzArchive::ReadResult;
    const std::vector<Member> members = {{"a", '0', "first"},  {"b", '0', "skipped"},
                                         {"a", '0', "second"}, {"c", '0', "gone"},
                                         {"c", '2', {}, "a"},  {"d", '5'},
                                         {"e", '0', ""}};
    const std::vector<Member> longName = {{"././@LongLink", 'L', QByteArray(300, 'n') + '\0'},
                                          {"x", '0', "x"}};
    struct Case
    {
        const char* label;
        const std::vector<Member>& members;
        TargzArchive::Limits limits;
        Result result;
        QString culprit;
    };
    const std::vector<Case> cases = {
        {"member count", members, {6, 7, 30}, Result::TooManyMembers, ""},
        {"member size", members, {7, 6, 30}, Result::MemberTooLarge, "b"},
        {"total size", members, {7, 7, 17}, Result::TooLarge, "a"},
        {"long name count", longName, {1, 7, 400}, Result::TooManyMembers, ""},
        {"long name size", longName, {2, 7, 300}, Result::TooLarge, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(writeGzip(path("m.tgz"), tarStream(c.members)));
        TargzArchive archive;
        TargzArchive::MemoryRead read;
        EXPECT_EQ(
            archive.readIntoMemory(
                path("m.tgz"), c.limits, [](const QString& name) { return name != "b"; }, read),
            c.result);
        EXPECT_EQ(read.culprit, c.culprit);
    }
    TargzArchive archive;
    TargzArchive::MemoryRead read;
    ASSERT_TRUE(writeGzip(path("m.tgz"), tarStream(members)));
    ASSERT_EQ(archive.readIntoMemory(
                  path("m.tgz"), {7, 7, 30}, [](const QString& name) { return name != "b"; }, read),
              Result::Read);
    EXPECT_EQ(read.names, QStringList({"a", "b", "a", "c", "c", "d", "e"}));
    EXPECT_EQ(read.contents, (QHash<QString, QByteArray>{{"a", "second"}, {"e", ""}}));
    EXPECT_FALSE(read.contents.value("e").isNull());
    using Kind = TargzArchive::MemberKind;
    EXPECT_EQ(read.otherKinds,
              (QHash<QString, Kind>{{"c", Kind::SymbolicLink}, {"d", Kind::Folder}}));
    ASSERT_TRUE(writeGzip(path("m.tgz"), tarStream(members).left(2048)));
    EXPECT_EQ(archive.readIntoMemory(
                  path("m.tgz"), {7, 7, 30}, [](const QString&) { return true; }, read),
              Result::Unreadable);
}

// The map area of a GNU sparse header, as the ustar prefix field (bytes 345 to 499) holds it:
// up to four entries of offset and size from byte 386, the flag of an extension block at 482,
// the real size at 483. An extension block holds 21 entries and its own flag at 504.
std::string octal12(quint64 value)
{
    char field[13];
    std::snprintf(field, sizeof field, "%011llo", (unsigned long long)value);
    return std::string(field, 12);
}

std::string gnuSparseArea(const std::vector<std::pair<quint64, quint64>>& entries, bool extended,
                          quint64 realSize)
{
    std::string area(155, '\0');
    for (size_t i = 0; i < entries.size(); ++i)
        area.replace(41 + i * 24, 24, octal12(entries[i].first) + octal12(entries[i].second));
    area[137] = extended ? 1 : 0;
    area.replace(138, 12, octal12(realSize));
    return area;
}

QByteArray gnuSparseExtension(const std::vector<std::pair<quint64, quint64>>& entries)
{
    QByteArray block(512, '\0');
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string entry = octal12(entries[i].first) + octal12(entries[i].second);
        std::memcpy(block.data() + i * 24, entry.data(), 24);
    }
    return block;
}

// A GNU sparse member whose map goes on in extension blocks reads as the file with its holes
// (the forms that GNU tar and bsdtar write for the files of a theme are read from their bundles
// by the theme reader's tests), and a chain of hard links as the file it starts from. Every
// other hard link, and every map that does not fit or passes the bound of every map, is refused
// naming the member.
TEST_F(TargzArchiveTest, HardLinksAndSparseMembersReadIntoMemory)
{
    using Result = TargzArchive::ReadResult;
    // The file: "hello" at 0, "tail" at 16384, 20004 bytes in all.
    QByteArray file(20004, '\0');
    file.replace(0, 5, "hello");
    file.replace(16384, 4, "tail");
    const std::string real = "20004";
    const auto sparseMember = [](const std::string& pax, const QByteArray& data = "hellotail") {
        return Member{"GNUSparseFile.0/s", '0', data, {}, {}, {}, pax};
    };
    const std::string map10 =
        paxRecord("GNU.sparse.major", "1") + paxRecord("GNU.sparse.minor", "0") +
        paxRecord("GNU.sparse.name", "s") + paxRecord("GNU.sparse.realsize", real);
    const auto inData = [](const std::string& map, const QByteArray& data = "hellotail") {
        QByteArray head = QByteArray::fromStdString(map);
        head.resize(512, '\0');
        return head + data;
    };
    const auto map01 = [&](const std::string& map, const std::string& size = "20004") {
        return paxRecord("GNU.sparse.size", size) + paxRecord("GNU.sparse.name", "s") +
               paxRecord("GNU.sparse.map", map);
    };
    Member gnu{"s", 'S', "hellotail"};
    gnu.prefix = gnuSparseArea({{0, 5}, {100, 0}, {200, 0}, {300, 0}}, true, 20004);
    gnu.extension = gnuSparseExtension({{16384, 4}, {20004, 0}});
    // A real size of 2^64 in base-256, beyond what 63 bits hold.
    Member gnuHuge = gnu;
    gnuHuge.prefix.replace(138, 12, std::string("\x80\0\0\x01", 4) + std::string(8, '\0'));
    const Member regular{"a", '0', "bytes"};
    // A pax 0.0 map just past the bound, in extended headers of 64 KB as a stream that repeats
    // them would have.
    std::vector<Member> manyHeaders;
    const std::string entry =
        paxRecord("GNU.sparse.offset", "0") + paxRecord("GNU.sparse.numbytes", "0");
    const size_t perHeader = 64 * 1024 / entry.size();
    std::string records;
    for (size_t i = 0; i < perHeader; ++i)
        records += entry;
    for (size_t entries = 0; entries <= TarHeaders::MaxSparseEntries; entries += perHeader)
        manyHeaders.push_back({"pax", 'x', QByteArray::fromStdString(records)});
    manyHeaders.push_back(
        sparseMember(paxRecord("GNU.sparse.size", "0") + paxRecord("GNU.sparse.name", "s"), ""));
    struct Case
    {
        const char* label;
        std::vector<Member> members;
        Result result;
        QString member{}; // the member refused, or the one read whose bytes are checked
        QString target{};
        QByteArray bytes{};
        TargzArchive::Limits limits{8, 1 << 20, 4 << 20};
    };
    const std::vector<Case> cases = {
        {"GNU sparse", {gnu}, Result::Read, "s", "", file},
        {"chain of links, its start replaced",
         {regular,
          {"b", '1', {}, "a"},
          {"a", '0', "later"},
          {"c", '1', {}, "b"},
          {"d", '1', {}, "c"}},
         Result::Read,
         "d",
         "",
         "bytes"},
        {"link to itself", {regular, {"b", '1', {}, "b"}}, Result::LinkToItself, "b", "b"},
        {"link to a later member",
         {{"b", '1', {}, "a"}, regular},
         Result::LinkToNoEarlierMember,
         "b",
         "a"},
        {"links beyond the total",
         {{"a", '0', QByteArray(1 << 20, 'x')},
          {"b", '1', {}, "a"},
          {"c", '1', {}, "a"},
          {"d", '1', {}, "a"},
          {"e", '1', {}, "a"}},
         Result::TooLarge,
         "e",
         "a"},
        {"link to a folder", {{"d/", '5'}, {"b", '1', {}, "d"}}, Result::LinkToFolder, "b", "d"},
        {"link to a symbolic link",
         {{"l", '2', {}, "a"}, {"b", '1', {}, "l"}},
         Result::LinkToNonRegular,
         "b",
         "l"},
        {"map going backwards", {sparseMember(map01("16384,4,0,5"))}, Result::BadSparseMap, "s"},
        {"overlapping map", {sparseMember(map01("0,5,4,4"))}, Result::BadSparseMap, "s"},
        {"map beyond the real size",
         {sparseMember(map01("0,5,20001,4"))},
         Result::BadSparseMap,
         "s"},
        {"overflowing map",
         {sparseMember(map01("0,5,9223372036854775807,4"))},
         Result::BadSparseMap,
         "s"},
        {"more data than the map", {sparseMember(map01("0,5,16384,3"))}, Result::BadSparseMap, "s"},
        {"odd map", {sparseMember(map01("0,5,16384"))}, Result::BadSparseMap, "s"},
        {"huge map count",
         {sparseMember(map10, inData("99999999999\n0\n5\n"))},
         Result::BadSparseMap,
         "s"},
        {"map in data beyond the data",
         {sparseMember(map10, QByteArray("2\n0\n5\n16384\n"))},
         Result::BadSparseMap,
         "s"},
        {"unknown form",
         {sparseMember(paxRecord("GNU.sparse.major", "2") + paxRecord("GNU.sparse.name", "s"))},
         Result::UnknownSparseForm,
         "s"},
        {"huge real size",
         {sparseMember(map01("0,5,16384,4", "4611686018427387904"))},
         Result::MemberTooLarge,
         "s"},
        {"huge GNU real size", {gnuHuge}, Result::MemberTooLarge, "s"},
        {"pax header past its bound",
         {{"pax", 'x', QByteArray(int(TarHeaders::MaxPaxHeaderSize) + 1, '\n')}, regular},
         Result::PaxHeaderTooLarge},
        {"pax 0.0 map past the bound",
         manyHeaders,
         Result::SparseMapTooLong,
         "s",
         "",
         "",
         {int(manyHeaders.size()) + 1, 1 << 20, 16 << 20}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(writeGzip(path("m.tgz"), tarStream(c.members)));
        TargzArchive::MemoryRead what;
        const auto read = [&] {
            return TargzArchive().readIntoMemory(
                path("m.tgz"), c.limits, [](const QString&) { return true; }, what);
        };
        // In a child process whose data may not grow by 256 MB: no size that a header or a
        // map claims is allocated before it is checked.
        const auto readWithLittleMemory = [&] {
            if (!TestUtil::limitDataGrowth(256 << 20))
                ::_exit(2);
            ::_exit(read() == c.result ? 0 : 1);
        };
        EXPECT_EXIT(readWithLittleMemory(), ::testing::ExitedWithCode(0), "");
        const Result result = read();
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(what.culprit, c.result == Result::Read ? "" : c.member);
        EXPECT_EQ(what.linkTarget, c.target);
        if (c.result == Result::Read) {
            EXPECT_TRUE(what.contents.value(c.member) == c.bytes);
        }
    }
}

TEST_F(TargzArchiveTest, BusyArchiveRefusesAnotherOperation)
{
    TargzArchive archive;
    ASSERT_TRUE(archive.create(path("bundle.qvt"), {{work + "/folder", "f"}}));
    QList<bool> nested;
    QObject::connect(&archive, &TargzArchive::operationProgress, [&](int) {
        QStringList names;
        nested << archive.list(path("bundle.qvt"), names);
    });
    ASSERT_TRUE(archive.create(path("second.qvt"), {{work + "/landscape", "l"}}));
    EXPECT_EQ(nested, QList<bool>({false}));

    // Closing from a slot ends the operation with a false result.
    QObject::disconnect(&archive, &TargzArchive::operationProgress, nullptr, nullptr);
    QObject::connect(&archive, &TargzArchive::operationProgress, [&](int) { archive.close(); });
    EXPECT_FALSE(archive.extractAll(path("bundle.qvt"), path("out")));
    EXPECT_FALSE(archive.create(path("third.qvt"), {{work + "/folder", "f"}}));
    EXPECT_FALSE(QFileInfo::exists(path("third.qvt")));
    QObject::disconnect(&archive, &TargzArchive::operationProgress, nullptr, nullptr);
    EXPECT_TRUE(archive.close());
    QStringList names;
    EXPECT_TRUE(archive.list(path("bundle.qvt"), names));
}

TEST(TargzHooks, OpenHookRefusesReadWriteAndSetsTheModeOnCreation)
{
    QTemporaryDir dir;
    const QByteArray file = QFile::encodeName(dir.filePath("a.gz"));
    errno = 0;
    EXPECT_EQ(TargzHooks::gzOpenHook(file.constData(), O_RDWR | O_CREAT, 0644), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.gz")));
    EXPECT_EQ(
        TargzHooks::gzOpenHook(QFile::encodeName(dir.filePath("missing")).constData(), O_RDONLY, 0),
        -1);
    EXPECT_EQ(errno, ENOENT);

    const int descriptor = TargzHooks::gzOpenHook(file.constData(), O_WRONLY | O_CREAT, 0604);
    ASSERT_GE(descriptor, 0);
    EXPECT_EQ(TargzHooks::gzWriteHook(descriptor, "hello", 5), 5);
    EXPECT_EQ(TargzHooks::gzCloseHook(descriptor), 0);
    EXPECT_EQ(TargzHooks::gzCloseHook(descriptor), -1);
    EXPECT_EQ(QFileInfo(dir.filePath("a.gz")).permissions() & QFileDevice::Permissions(0xF0FF),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    EXPECT_EQ(gunzip(dir.filePath("a.gz")), "hello");
}
