#include "common/helpers.h"

#include <QFile>

namespace TestUtil {

QString dataPath(const QString& relative)
{
    return QStringLiteral(VELMORA_TEST_DATA_DIR "/") + relative;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray fromHex(const char* hex)
{
    QByteArray compact(hex);
    compact.replace(' ', "").replace('\n', "");
    return QByteArray::fromHex(compact);
}

std::string runtimeErrorOf(const std::function<void()>& function)
{
    try {
        function();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "<no error>";
}

} // namespace TestUtil
