#include "common/helpers.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

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

QByteArray pngBytes(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
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

namespace {
QStringList* capturedWarnings = nullptr;
void captureWarning(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg && capturedWarnings)
        *capturedWarnings << text;
}
} // namespace

QStringList warningsDuring(const std::function<void()>& function)
{
    QStringList warnings;
    capturedWarnings = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler(captureWarning);
    function();
    qInstallMessageHandler(previous);
    capturedWarnings = nullptr;
    return warnings;
}

namespace {
QStringList* capturedConsole = nullptr;
void captureConsole(QtMsgType, const QMessageLogContext&, const QString& text)
{
    if (capturedConsole && !text.startsWith(QLatin1String("This plugin does not support ")))
        *capturedConsole << text;
}
} // namespace

std::string consoleDuring(const std::function<void()>& function)
{
    QStringList printed;
    capturedConsole = &printed;
    const QtMessageHandler previous = qInstallMessageHandler(captureConsole);
    function();
    qInstallMessageHandler(previous);
    capturedConsole = nullptr;
    return printed.join(QLatin1Char('\n')).toStdString();
}

std::string regexEscaped(const std::string& text)
{
    std::string result;
    for (char c : text) {
        if (std::string(".[]{}()\\*+?^$|").find(c) != std::string::npos)
            result += '\\';
        result += c;
    }
    return result;
}

QStringList treeOf(const QString& root)
{
    QStringList result;
    const QFileInfoList entries = QDir(root).entryInfoList(QDir::AllEntries | QDir::System |
                                                           QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink()) {
            result << entry.fileName() + "/";
            for (const QString& inner : treeOf(entry.filePath()))
                result << entry.fileName() + "/" + inner;
        } else {
            result << entry.fileName();
        }
    }
    result.sort();
    return result;
}

void makeTree(const QString& root)
{
    QDir().mkpath(root + "/sub/.hidden_dir");
    QDir().mkpath(root + "/empty");
    writeFile(root + "/a.txt", "a");
    writeFile(root + "/.hidden", "h");
    writeFile(root + "/sub/b.txt", "b");
    writeFile(root + "/sub/.hidden_dir/c.txt", "c");
}

UndoFuzzRun::UndoFuzzRun(int defaultEdits, unsigned int defaultSeed)
    : edits(defaultEdits), seed(defaultSeed)
{
    bool ok = false;
    const int givenEdits = qEnvironmentVariableIntValue("VELMORA_UNDO_FUZZ_EDITS", &ok);
    if (ok && givenEdits > 0)
        edits = givenEdits;
    const unsigned int givenSeed = qgetenv("VELMORA_UNDO_FUZZ_SEED").toUInt(&ok);
    if (ok)
        seed = givenSeed;
}

std::string UndoFuzzRun::describe() const
{
    return "VELMORA_UNDO_FUZZ_EDITS=" + std::to_string(edits) +
           " VELMORA_UNDO_FUZZ_SEED=" + std::to_string(seed);
}

} // namespace TestUtil
