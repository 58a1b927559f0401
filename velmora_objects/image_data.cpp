#include "velmora_objects/image_data.h"

#include "core/regular_file.h"

#include <QCryptographicHash>
#include <QFile>

namespace Velmora {

QByteArray ImageData::digestOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

void ImageData::setData(const QByteArray& bytes)
{
    data = bytes;
    md5 = digestOf(bytes);
}

void ImageData::loadFromFile(const QString& path)
{
    QFile file;
    if (RegularFile::open(file, path) != RegularFile::Result_OPENED) {
        data.clear();
        md5.clear();
        return;
    }
    setData(file.readAll());
}

} // namespace Velmora
