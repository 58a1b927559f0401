#include "velmora_objects/image_data.h"

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        data.clear();
        md5.clear();
        return;
    }
    setData(file.readAll());
}

} // namespace Velmora
