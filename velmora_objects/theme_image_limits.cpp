#include "velmora_objects/theme_image_limits.h"

#include "core/regular_file.h"
#include "velmora_objects/theme_reader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

namespace ThemeImageLimits {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ThemeImageLimits", text);
}

QString bytesFault(qint64 bytes)
{
    return tr("%1 bytes, more than the %2 bytes a theme image may hold")
        .arg(bytes)
        .arg(ThemeReader::limits().memberSize);
}

} // namespace

QString fault(const QByteArray& bytes)
{
    const ThemeReader::Limits& limits = ThemeReader::limits();
    if (bytes.size() > limits.memberSize)
        return bytesFault(bytes.size());
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer).size();
    if (!size.isValid() || (size.width() <= limits.imageSide && size.height() <= limits.imageSide))
        return QString();
    return tr("%1 by %2 pixels, larger than the %3 by %3 pixels a theme image may have")
        .arg(size.width())
        .arg(size.height())
        .arg(limits.imageSide);
}

FileFault fileFault(const QString& path)
{
    QFile file;
    const RegularFile::Result opened = RegularFile::open(file, path);
    if (RegularFile::isNotRegular(opened))
        return {RegularFile::message(opened), QString()};
    if (opened != RegularFile::Result_OPENED)
        return {};
    if (file.size() > ThemeReader::limits().memberSize)
        return {QString(), bytesFault(file.size())};
    return {QString(), fault(file.read(ThemeReader::limits().memberSize + 1))};
}

} // namespace ThemeImageLimits
