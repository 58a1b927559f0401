#include "common/helpers.h"
#include "common/stream_bytes.h"

#include <QColor>
#include <QDataStream>
#include <QDir>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using TestUtil::fromHex;
using TestUtil::runtimeErrorOf;
using TestUtil::streamed;
using Velmora::Streamer;

namespace {

const QByteArray header = fromHex("4f72766e 4b565808 00000012");

QByteArray withVersion(quint32 version)
{
    QByteArray bytes = fromHex("4f72766e 4b565808");
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((version >> shift) & 0xff));
    return bytes;
}

// The message of the error that reading the bytes with read raises.
std::string readError(const QByteArray& bytes, const std::function<void(Streamer&)>& read)
{
    return runtimeErrorOf([&] { TestUtil::readStream(bytes, read); });
}

} // namespace

TEST(Streamer, ByteArrayHoldsEveryBlockOnceItHasEnded)
{
    // As the clipboard uses it: the array is read while the stream is still open.
    QByteArray bytes("left over");
    Streamer s;
    s.open(Streamer::Mode_WRITE, &bytes);
    EXPECT_EQ(bytes, header);
    s.writeTag("Control_start");
    s.stream() << qint32(7);
    s.writeTag("Label", "_start");
    s.writeTag("Label", "_end");
    s.writeTag("Control_end");
    EXPECT_EQ(bytes, header + "Control_start" + fromHex("00000007") + "Label_startLabel_end" +
                         "Control_end");
    s.stream() << qint8(1);
    s.close();
    EXPECT_EQ(TestUtil::body(bytes).right(1), fromHex("01"));
}

TEST(Streamer, ForeignAndFutureFilesAreRefused)
{
    const struct
    {
        QByteArray bytes;
        std::string message;
    } cases[] = {
        {fromHex("4f72766e 4b565809 00000012"), "Unrecognised file header"},
        {fromHex("4f72"), "Unrecognised file header"},
        {QByteArray(), "Unrecognised file header"},
        {fromHex("4f72766e 4b565808 0000"), "Unrecognised file header"},
        {withVersion(19), "File format is a future version"},
        {withVersion(0xFFFFFFFFu), "File format is a future version"},
        {withVersion(0x80000000u), "File format is a future version"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readError(c.bytes, [](Streamer&) {}), c.message) << c.bytes.toHex().constData();
    for (quint32 v = 0; v <= 18; ++v)
        TestUtil::readStream(withVersion(v), [&](Streamer& s) { EXPECT_EQ(s.version(), v); });
}

TEST(Streamer, UnopenableFileAndBadMode)
{
    for (const auto& [mode, message] :
         {std::pair(Streamer::Mode_READ, "No such file"),
          std::pair(Streamer::Mode_WRITE, "The folder does not exist")}) {
        EXPECT_EQ(runtimeErrorOf([&] {
                      Streamer s;
                      s.open(mode, QString("/nonexistent/dir/x.qvp"));
                  }),
                  message);
    }
    QByteArray bytes;
    EXPECT_EQ(runtimeErrorOf([&] {
                  Streamer s;
                  s.open(Streamer::Mode_NONE, &bytes);
              }),
              "Invalid streaming mode");
    // A file too large to be a project is refused before it is read (sparse files here); its
    // header is read first, so that a foreign or future file is refused as such at once.
    QTemporaryDir dir;
    const std::pair<QByteArray, std::string> huge[] = {
        {header, "File is too large"},
        {QByteArray(12, '\0'), "Unrecognised file header"},
        {withVersion(19), "File format is a future version"},
    };
    for (const auto& [start, message] : huge) {
        QFile file(dir.filePath("huge.qvp"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    file.write(start) == start.size() &&
                    file.resize(Streamer::MaximumFileSize + 1));
        file.close();
        EXPECT_EQ(runtimeErrorOf([&] {
                      Streamer s;
                      s.open(Streamer::Mode_READ, file.fileName());
                  }),
                  message);
    }
    // Nor is anything but a regular file read, and the refusal says what is there.
    for (const auto& [path, message] : TestUtil::nonFiles(dir.path(), ".qvp")) {
        EXPECT_EQ(runtimeErrorOf([&] {
                      Streamer s;
                      s.open(Streamer::Mode_READ, path);
                  }),
                  message.toStdString());
    }
}

TEST(Streamer, BooleansColoursAndVectorsHaveTheirWireForms)
{
    using Functions = std::vector<Velmora::ButtonFunction>;
    const Functions functions{Velmora::ButtonFunction_BACK, Velmora::ButtonFunction_LOCK};
    const std::vector<unsigned int> numbers{1, 0xFFFFFFFFu};
    QByteArray bytes = streamed([&](Streamer& s) {
        s << true << false;
        s.stream() << QColor(0x12, 0x34, 0x56, 128) << QColor();
        s << functions << numbers;
    });
    EXPECT_EQ(TestUtil::body(bytes), fromHex("01 00 ff123456 49000000 00000002 07 08 "
                                             "00000002 00000001 ffffffff"));
    bytes[12 + 1] = 7;          // any non-zero byte reads as true
    bytes[12 + 2] = char(0x80); // and the colour's top byte is not an alpha
    TestUtil::readStream(bytes, [&](Streamer& s) {
        bool a = false, b = false;
        QColor translucent, invalid;
        Functions readFunctions{Velmora::ButtonFunction_NONE};
        std::vector<unsigned int> readNumbers;
        s >> a >> b;
        s.stream() >> translucent >> invalid;
        s >> readFunctions >> readNumbers;
        EXPECT_TRUE(a && b);
        EXPECT_EQ(translucent, QColor(0x12, 0x34, 0x56)); // the alpha is not kept
        EXPECT_FALSE(invalid.isValid());
        EXPECT_EQ(readFunctions, functions);
        EXPECT_EQ(readNumbers, numbers);
    });
}

TEST(Streamer, StringsReadKeepTheirOwnText)
{
    // Read plainly and as texts that repeat (many of the same length, so that some meet in the
    // table of texts read before): each reading is the text written, null or empty as written,
    // outliving the stream and its bytes, and changing one changes no other.
    std::vector<QString> strings = {
        "Normal", QString(), "", "Normal",
        QString("a long caption, longer than a table keeps ").repeated(8)};
    for (int i = 0; i < 3000; ++i)
        strings.push_back(QString("button%1").arg(i % 1500, 4, 10, QChar('0')));
    QByteArray bytes = streamed([&](Streamer& s) {
        for (int pass = 0; pass < 2; ++pass)
            for (const QString& text : strings)
                s.stream() << text;
    });
    std::vector<QString> plain(strings.size()), repeated(strings.size());
    {
        Streamer s;
        s.open(Streamer::Mode_READ, &bytes);
        for (QString& text : plain)
            s.stream() >> text;
        for (QString& text : repeated)
            s.stream().readRepeated(text);
    }
    bytes.fill('x');
    repeated[0][0] = 'F'; // changes neither the other reading of it nor the plain one
    EXPECT_EQ(repeated[0], "Formal");
    for (size_t i = 1; i < strings.size(); ++i) {
        ASSERT_EQ(plain[i], strings[i]) << i;
        ASSERT_EQ(repeated[i], strings[i]) << i;
        EXPECT_EQ(plain[i].isNull(), strings[i].isNull()) << i;
        EXPECT_EQ(repeated[i].isNull(), strings[i].isNull()) << i;
    }
    EXPECT_EQ(plain[0], "Normal");
}

TEST(Streamer, ByteArraysReadOutliveTheStreamAndItsBytes)
{
    // An array read stays as it was once the stream and the bytes read are gone or changed, and
    // changing it changes no other.
    for (const qsizetype size : {qsizetype(100), qsizetype(100000)}) {
        QByteArray block(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            block[i] = char(i * 7);
        QByteArray bytes = streamed([&](Streamer& s) { s.stream() << block << block; });
        QByteArray first, second;
        {
            Streamer s;
            s.open(Streamer::Mode_READ, &bytes);
            s.stream() >> first >> second;
        }
        bytes.fill('x');
        bytes.clear();
        second[0] = 'y';
        EXPECT_EQ(first, block) << size;
        first = QByteArray();
        second.append("tail");
        EXPECT_EQ(second, 'y' + block.mid(1) + "tail") << size;
    }
}

TEST(Streamer, GradientFormAndReadingRules)
{
    Gradient g;
    g.setName("Sky");
    g.setStops({{0.0, Qt::blue}, {1.0, QColor(255, 255, 255, 10)}});
    const QByteArray bytes = streamed([&](Streamer& s) { s << g << Gradient(); });
    EXPECT_EQ(TestUtil::body(bytes), fromHex("00000006 0053 006b 0079 00000002"
                                             "0000000000000000 ff0000ff 3ff0000000000000 ffffffff"
                                             "ffffffff 00000000"));
    TestUtil::readStream(bytes, [](Streamer& s) {
        Gradient first, second;
        s >> first;
        EXPECT_EQ(first.name(), "Sky");
        EXPECT_EQ(first.stops()[1].second, QColor(Qt::white)); // the alpha is not kept
        // A null name and no stops leave the gradient as it was.
        second.setName("Kept");
        second.setStops({{0.5, Qt::red}});
        s >> second;
        EXPECT_EQ(second.name(), "Kept");
        EXPECT_EQ(second.stops().size(), 1);
    });
}

TEST(Streamer, GradientsReadFromOneStreamStayIndependent)
{
    // Each reads, changes and outlives the others as its own.
    std::vector<Gradient> written(3);
    for (int i = 0; i < 3; ++i)
        written[i].setStops({{0.25, QColor(i, 0, 0)}, {0.75, QColor(0, i, 0)}});
    written[1].setStops({{1.0, Qt::blue}, {0.0, Qt::red}, {0.5, Qt::green}}); // sorted on set
    std::vector<Gradient> read(3);
    TestUtil::readStream(streamed([&](Streamer& s) {
                             for (const Gradient& g : written)
                                 s << g;
                         }),
                         [&](Streamer& s) {
                             for (Gradient& g : read)
                                 s >> g;
                         });
    EXPECT_EQ(read, written);
    GradientStops last = read[2].stops();
    read[0].setStops({{0.1, Qt::black}});
    read[2] = Gradient();
    last.append({1.0, Qt::white});
    EXPECT_EQ(read[1], written[1]);
    EXPECT_EQ(last.size(), 3);
    EXPECT_EQ(last[1], written[2].stops()[1]);
}

TEST(Streamer, HugeCountsAreRefusedBeforeAnyAllocation)
{
    EXPECT_EQ(readError(header + fromHex("ffffffff fffffff0 00"),
                        [](Streamer& s) {
                            Gradient g;
                            s >> g;
                        }),
              "Unexpected end of file");
    const QByteArray count = header + fromHex("7fffffff");
    EXPECT_EQ(readError(count,
                        [](Streamer& s) {
                            std::vector<unsigned int> v;
                            s >> v;
                        }),
              "Unexpected end of file");
    EXPECT_EQ(readError(count,
                        [](Streamer& s) {
                            std::vector<Velmora::ButtonFunction> v;
                            s >> v;
                        }),
              "Unexpected end of file");
}

TEST(Streamer, ColoursAreWrittenAsQColorRoundsThem)
{
    // 16-bit parts that are not an 8-bit value times 257, and colours held in other colour models.
    const QColor colours[] = {QColor::fromRgba64(0x1234, 0x8080, 0xfffe, 0x10),
                              QColor::fromRgbF(0.3f, 0.6f, 0.9f), QColor::fromHsv(200, 100, 50),
                              QColor::fromCmyk(10, 20, 30, 40), QColor::fromRgbF(1.5f, 0, -0.5f)};
    for (const QColor& colour : colours) {
        const QByteArray bytes = streamed([&](Streamer& s) { s.stream() << colour; });
        EXPECT_EQ(qFromBigEndian<quint32>(TestUtil::body(bytes).constData()), colour.rgb())
            << colour.name().toStdString();
    }
}

TEST(Streamer, VariantsUseTheQt3TypeIds)
{
    const struct
    {
        QVariant value;
        const char* hex;
        QVariant back;
    } cases[] = {
        {QVariant(QString("Hi")), "00000003 00000004 0048 0069", QVariant(QString("Hi"))},
        {QVariant(QColor(1, 2, 3)), "0000000a ff010203", QVariant(QColor(1, 2, 3))},
        {QVariant(QColor()), "0000000a 49000000", QVariant(QColor())},
        {QVariant(-2), "00000010 fffffffe", QVariant(-2)},
        {QVariant(uint(4000000000u)), "00000011 ee6b2800", QVariant(uint(4000000000u))},
        {QVariant(true), "00000012 01", QVariant(true)},
        {QVariant(false), "00000012 00", QVariant(false)},
        {QVariant(0.5), "00000013 3fe0000000000000", QVariant(0.5)},
        {QVariant(), "00000000 ffffffff", QVariant()},
        {QVariant::fromValue(Velmora::TextStyle_RAISED), "00000010 00000002", QVariant(2)},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = streamed([&](Streamer& s) { s.writeVariant(c.value); });
        EXPECT_EQ(TestUtil::body(bytes).toHex(), fromHex(c.hex).toHex()) << c.hex;
        TestUtil::readStream(bytes, [&](Streamer& s) {
            const QVariant back = s.readVariant();
            EXPECT_EQ(back.metaType(), c.back.metaType()) << c.hex;
            EXPECT_EQ(back, c.back) << c.hex;
        });
    }
    auto readVariant = [](Streamer& s) { s.readVariant(); };
    EXPECT_EQ(readError(header + fromHex("00000005 00000000"), readVariant),
              "Unsupported value type");
    // A value cut short fails at the tag that follows it.
    EXPECT_EQ(readError(header + fromHex("00000013 3fe0"),
                        [](Streamer& s) {
                            s.readVariant();
                            s.expectTag("SkinProperty_end");
                        }),
              "Failed to find expected tag SkinProperty_end");
}

TEST(Streamer, AbandonedSaveLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.qvp");
    ASSERT_TRUE(TestUtil::writeFile(path, "old contents"));
    {
        // A save abandoned midway (an exception while writing) never replaces the target.
        Streamer s;
        s.open(Streamer::Mode_WRITE, path);
        s.writeTag("Configuration_start");
    }
    EXPECT_EQ(TestUtil::readFile(path), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(StreamerDeathTest, WrongModesAreFatal)
{
    EXPECT_DEATH(
        {
            QByteArray bytes;
            Streamer s;
            s.open(Streamer::Mode_WRITE, &bytes);
            s.readHeader();
        },
        "Assert: 'mode == Mode_READ' is FALSE");
    QTemporaryDir dir;
    const QString path = dir.filePath("p.qvp");
    EXPECT_DEATH(
        {
            Streamer s;
            s.open(Streamer::Mode_WRITE, path);
            s.open(Streamer::Mode_WRITE, path);
        },
        "Trap: 'file.isOpen\\(\\)' is TRUE");
}

TEST(Streamer, TextOfEveryLengthHasTheDataStreamForm)
{
    // Units are swapped many at a time, with a last block that overlaps the one before: every
    // length up to a few blocks, and a long one, written both ways and read back.
    for (int length : {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 23, 24, 25, 31, 32, 33, 40, 300}) {
        QString text;
        for (int i = 0; i < length; ++i)
            text.append(QChar(char16_t(0x0401 + 0x0102 * i)));
        QByteArray expected;
        {
            QDataStream qt(&expected, QIODevice::WriteOnly);
            qt.setVersion(QDataStream::Qt_3_3);
            qt << text << text;
        }
        const QByteArray bytes = streamed([&](Streamer& s) {
            s.stream() << text;
            Velmora::DataStream::Fields(s.stream(), Velmora::DataStream::textBytes(text)) << text;
        });
        ASSERT_EQ(TestUtil::body(bytes), expected) << length;
        TestUtil::readStream(bytes, [&](Streamer& s) {
            QString first, second;
            s.stream() >> first >> second;
            EXPECT_EQ(first, text) << length;
            EXPECT_EQ(second, text) << length;
        });
    }
}

TEST(Streamer, RunOfFieldsReadsAsFieldByField)
{
    // Whole or cut anywhere, a run gives the values and the fault of reading each field alone.
    const QByteArray whole = TestUtil::withHeader(
        fromHex("fffffffe 07 3ff80000 00000000 ff102030 00000001 00000002 00000003 00000004"));
    for (int cut = 0; cut <= whole.size() - 12; ++cut) {
        struct Fields
        {
            qint32 number = -1;
            quint8 byte = 1;
            double real = 1;
            QColor colour = Qt::red;
            QRect rect{1, 1, 1, 1};
            bool ended = false;
            int status = -1;
        } run, single;
        const auto read = [&](Fields& fields, bool asRun) {
            TestUtil::readStream(whole.left(12 + cut), [&](Streamer& s) {
                Velmora::DataStream& in = s.stream();
                if (asRun)
                    Velmora::DataStream::Run(in, 4 + 1 + 8 + 4 + 16) >> fields.number >>
                        fields.byte >> fields.real >> fields.colour >> fields.rect;
                else
                    in >> fields.number >> fields.byte >> fields.real >> fields.colour >>
                        fields.rect;
                fields.ended = in.atEnd();
                fields.status = in.status();
            });
        };
        read(run, true);
        read(single, false);
        EXPECT_EQ(run.number, single.number) << cut;
        EXPECT_EQ(run.byte, single.byte) << cut;
        EXPECT_EQ(run.real, single.real) << cut;
        EXPECT_EQ(run.colour, single.colour) << cut;
        EXPECT_EQ(run.rect, single.rect) << cut;
        EXPECT_EQ(run.ended, single.ended) << cut;
        EXPECT_EQ(run.status, single.status) << cut;
    }
    TestUtil::readStream(whole, [](Streamer& s) {
        qint32 number = 0;
        QColor colour;
        QRect rect;
        quint8 byte = 0;
        double real = 0;
        Velmora::DataStream::Run(s.stream(), 4 + 1 + 8 + 4 + 16) >> number >> byte >> real >>
            colour >> rect;
        EXPECT_EQ(number, -2);
        EXPECT_EQ(real, 1.5);
        EXPECT_EQ(colour, QColor(0x10, 0x20, 0x30));
        EXPECT_EQ(rect, QRect(QPoint(1, 2), QPoint(3, 4)));
        EXPECT_TRUE(s.stream().atEnd());
    });
}
