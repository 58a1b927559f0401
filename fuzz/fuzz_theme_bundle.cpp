#include "theme_fuzz_support.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "velmora_objects/theme_reader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QStandardItemModel>
#include <cstddef>
#include <cstdint>
#include <zlib.h>

// Input: a theme bundle described by its parts, so that every input makes a valid archive and
// the fuzzing reaches what the reader does with members and document rather than stopping at
// the archive's checksums. The parts are separated by lines "----". The first part is the
// theme document, the bundle's last member "Fuzz.xml"; each further part is one member, in
// archive order:
// - byte 0, bits 0-2, its name: "landscape_splash_image", "portrait_splash_image", "image_<n>",
//   "icon_<n>", "control_image_<n>", "skin_image_<n>", a second document "Other.xml", or the
//   part's text from byte 2 up to its first line break (the rest follows that line);
// - byte 0, bits 3-4, its content, from the rest of the part: the rest itself; a PNG picture
//   of (rest[0] % 80 + 1) by (rest[1] % 80 + 1) pixels; rest[0] * 256 zero bytes; or, with
//   bit 5 clear, a symbolic link to the rest, with bit 5 set, a folder;
// - byte 1: n.
// An input that is a whole bundle already (gzip-compressed or a plain tar stream) is taken as
// it is: that form keeps the archives that once found faults.
//
// The bundle is read in full and lightly, with limits small enough for the fuzzer to cross
// them. A theme that reads must write a bundle that reads back to the same name and images.

namespace {

const QByteArray Separator = "\n----\n";

const ThemeReader::Limits FuzzLimits = {64, 16 * 1024, 128 * 1024, 64, 64};

struct Member
{
    QByteArray name;
    char type = '0';
    QByteArray content; // the data, or a link's target
};

void putOctal(QByteArray& header, int offset, int width, quint64 value)
{
    const QByteArray digits = QByteArray::number(value, 8).rightJustified(width - 1, '0');
    std::memcpy(header.data() + offset, digits.constData(), size_t(width - 1));
}

// A GNU tar header block; a name or link target too long for it goes in a record before it.
QByteArray header(const QByteArray& name, char type, quint64 size, const QByteArray& link)
{
    QByteArray records;
    if (name.size() > 100)
        records += header("././@LongLink", 'L', quint64(name.size() + 1), {}) + name +
                   QByteArray(1 + (512 - (name.size() + 1) % 512) % 512, '\0');
    QByteArray block(512, '\0');
    std::memcpy(block.data(), name.constData(), size_t(std::min<qsizetype>(name.size(), 100)));
    putOctal(block, 100, 8, type == '5' ? 0755 : 0644);
    putOctal(block, 108, 8, 0);
    putOctal(block, 116, 8, 0);
    putOctal(block, 124, 12, size);
    putOctal(block, 136, 12, 0);
    block[156] = type;
    std::memcpy(block.data() + 157, link.constData(),
                size_t(std::min<qsizetype>(link.size(), 100)));
    std::memcpy(block.data() + 257, "ustar  ", 8);
    std::memset(block.data() + 148, ' ', 8);
    unsigned sum = 0;
    for (char c : block)
        sum += uchar(c);
    putOctal(block, 148, 7, sum);
    return records + block;
}

QByteArray tarStream(const std::vector<Member>& members)
{
    QByteArray stream;
    for (const Member& member : members) {
        const bool data = member.type == '0';
        stream += header(member.name, member.type, data ? quint64(member.content.size()) : 0,
                         data ? QByteArray() : member.content);
        if (data) {
            stream += member.content;
            stream += QByteArray((512 - member.content.size() % 512) % 512, '\0');
        }
    }
    return stream + QByteArray(1024, '\0');
}

QByteArray picture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor::fromRgb(uint(width * 977 + height * 131)));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

Member memberOf(const QByteArray& part)
{
    const uchar kind = part.size() > 0 ? uchar(part[0]) : 0;
    const QByteArray n = QByteArray::number(part.size() > 1 ? uchar(part[1]) : 0);
    QByteArray rest = part.mid(2);
    Member member;
    static const char* const names[] = {
        "landscape_splash_image", "portrait_splash_image", "image_",   "icon_",
        "control_image_",         "skin_image_",           "Other.xml"};
    switch (kind & 7) {
    case 0:
    case 1:
    case 6:
        member.name = names[kind & 7];
        break;
    case 7: {
        const qsizetype end = rest.indexOf('\n');
        member.name = rest.left(end);
        rest = end < 0 ? QByteArray() : rest.mid(end + 1);
        break;
    }
    default:
        member.name = names[kind & 7] + n;
        break;
    }
    auto restByte = [&rest](int i) { return i < rest.size() ? uchar(rest[i]) : 0; };
    switch ((kind >> 3) & 3) {
    case 0:
        member.content = rest;
        break;
    case 1:
        member.content = picture(restByte(0) % 80 + 1, restByte(1) % 80 + 1);
        break;
    case 2:
        member.content = QByteArray(restByte(0) * 256, '\0');
        break;
    default:
        member.type = (kind & 32) ? '5' : '2';
        member.content = rest;
        break;
    }
    return member;
}

QList<QByteArray> partsOf(const QByteArray& input)
{
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (qsizetype at; (at = input.indexOf(Separator, from)) >= 0; from = at + Separator.size())
        parts << input.mid(from, at - from);
    return parts << input.mid(from);
}

bool writeGzip(const QString& path, const QByteArray& bytes)
{
    const gzFile file = gzopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    const bool written = gzwrite(file, bytes.constData(), unsigned(bytes.size())) == bytes.size();
    return gzclose(file) == Z_OK && written;
}

bool isWholeBundle(const QByteArray& input)
{
    return input.startsWith("\x1f\x8b") || (input.size() >= 512 && input.mid(257, 5) == "ustar");
}

// A theme that reads must be written and read back with its name and images; it is held to
// the everyday limits, since every element that names a member becomes a member of its own.
void checkWrittenBundleReadsBack(const Velmora::Theme& theme, const QString& path)
{
    ThemeReader::setLimits(ThemeReader::Limits());
    ThemeFileWriter writer(&theme, nullptr);
    if (!writer.write(path)) {
        std::fprintf(stderr, "a theme read from a bundle could not be written: %s\n",
                     qPrintable(writer.errorString()));
        std::abort();
    }
    ThemeReader reader;
    Velmora::Theme again{QString()};
    const bool read = reader.read(path, &again);
    ThemeReader::setLimits(FuzzLimits);
    if (!read) {
        std::fprintf(stderr, "a written bundle does not read back: %s\n",
                     qPrintable(reader.errorString()));
        std::abort();
    }
    if (again.getName() != theme.getName() ||
        again.getPageBackgroundImages().size() != theme.getPageBackgroundImages().size() ||
        again.getIcons().size() != theme.getIcons().size() ||
        again.getControlImages().size() != theme.getControlImages().size()) {
        std::fprintf(stderr, "a written bundle reads back as another theme\n");
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ThemeFuzzSupport support;
    ThemeReader::setLimits(FuzzLimits);

    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString bundlePath = support.filePath("bundle.qvt");
    if (isWholeBundle(input)) {
        QFile bundle(bundlePath);
        if (!bundle.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            bundle.write(input) != input.size())
            std::abort();
    } else {
        const QList<QByteArray> parts = partsOf(input);
        std::vector<Member> members;
        for (qsizetype i = 1; i < parts.size(); ++i)
            members.push_back(memberOf(parts[i]));
        members.push_back({"Fuzz.xml", '0', parts.front()});
        if (!writeGzip(bundlePath, tarStream(members)))
            std::abort();
    }

    {
        ThemeReader reader;
        Velmora::Theme theme{QString()};
        const bool read = reader.read(bundlePath, &theme);
        ThemeFuzzSupport::useTheme(theme);
        if (read)
            checkWrittenBundleReadsBack(theme, support.filePath("written.qvt"));
    }
    ThemeLibrary* library = ThemeLibrary::instance();
    library->addTheme(bundlePath, false);
    library->model()->removeRows(0, library->model()->rowCount());

    support.checkNothingLeftBehind({"bundle.qvt", "written.qvt"});
    return 0;
}
