#include "common/helpers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QProcess>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace TestUtil {

QString dataPath(const QString& relative)
{
    return QStringLiteral(VELMORA_TEST_DATA_DIR "/") + relative;
}

QString bundledPath(const QString& relative)
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../Resources/") + relative);
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

QByteArray hugePngHeader()
{
    // The signature, the header chunk (10000 by 10000, 8-bit RGBA) and an empty data chunk.
    return fromHex("89 50 4e 47 0d 0a 1a 0a 00 00 00 0d 49 48 44 52 00 00 27 10 00 00 27 10 08 06 "
                   "00 00 00 ba 4e 62 27 00 00 00 00 49 44 41 54 35 af 06 1e");
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
QStringList* captured = nullptr;
bool warningsOnly = false;
void capture(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (captured && (type == QtWarningMsg || !warningsOnly) &&
        !text.startsWith(QLatin1String("This plugin does not support ")))
        *captured << text;
}
QStringList messagesDuring(const std::function<void()>& function, bool warnings)
{
    QStringList messages;
    captured = &messages;
    warningsOnly = warnings;
    const QtMessageHandler previous = qInstallMessageHandler(capture);
    function();
    qInstallMessageHandler(previous);
    captured = nullptr;
    return messages;
}
} // namespace

QStringList warningsDuring(const std::function<void()>& function)
{
    return messagesDuring(function, true);
}

std::string consoleDuring(const std::function<void()>& function)
{
    return messagesDuring(function, false).join(QLatin1Char('\n')).toStdString();
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs, int stepMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(stepMs);
    }
    return true;
}

bool drawFrame(QQuickWidget* surface)
{
    QQuickWindow* window = surface->quickWindow();
    bool drawn = false;
    const QMetaObject::Connection connection =
        QObject::connect(window, &QQuickWindow::afterRendering, [&drawn] { drawn = true; });
    window->update();
    const bool done = waitFor([&drawn] { return drawn; });
    QObject::disconnect(connection);
    QCoreApplication::sendPostedEvents();
    return done;
}

QImage settledPicture(QWidget* widget, QQuickWidget* surface)
{
    QImage last;
    waitFor([&] {
        if (!drawFrame(surface))
            return false;
        QImage now = widget->grab().toImage();
        std::swap(now, last);
        return now == last;
    });
    return last;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

int pixelsOfColour(const QImage& image, const QColor& colour, QRect area)
{
    area = area.isNull() ? image.rect() : area & image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

bool runTool(const QString& program, const QStringList& arguments, QString* output)
{
    // The event loop runs meanwhile: the tool may act on this program's windows.
    QProcess tool;
    tool.start(program, arguments);
    const bool ran = tool.waitForStarted() &&
                     waitFor([&tool] { return tool.state() == QProcess::NotRunning; }) &&
                     tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    return ran;
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

void choose(QComboBox* combo, int row)
{
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    list->setCurrentIndex(list->model()->index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(combo->currentIndex(), row);
}

void paste(QLineEdit* edit, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    const QKeyCombination keys = QKeySequence(QKeySequence::Paste)[0];
    QTest::keyClick(edit, keys.key(), keys.keyboardModifiers());
    QGuiApplication::clipboard()->clear();
}

void choose(QComboBox* combo, const QString& text)
{
    const int row = combo->findText(text);
    ASSERT_GE(row, 0) << text.toStdString();
    choose(combo, row);
}

QRect changedArea(const QImage& image, const QImage& other, QRect area, const QColor& colour)
{
    if (area.isNull())
        area = image.rect();
    QRect changed;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb reference = other.isNull() ? colour.rgba() : other.pixel(x, y);
            if (image.pixel(x, y) != reference)
                changed |= QRect(x, y, 1, 1);
        }
    return changed;
}

QStringList rowTexts(const QAbstractItemModel* model, const QModelIndex& parent)
{
    QStringList texts;
    for (int row = 0; model && row < model->rowCount(parent); ++row)
        texts << model->index(row, 0, parent).data().toString();
    return texts;
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

QList<NonFile> nonFiles(const QString& folder, const QString& suffix)
{
    const QString fifo = folder + "/fifo" + suffix, socket = folder + "/socket" + suffix,
                  loop = folder + "/loop" + suffix, inner = folder + "/folder" + suffix;
    // mknod makes a socket without binding one, whose path would be bounded in length.
    EXPECT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(::mknod(QFile::encodeName(socket).constData(), S_IFSOCK | 0600, 0), 0);
    EXPECT_TRUE(QFile::link(loop, loop));
    EXPECT_TRUE(QDir().mkpath(inner));
    return {{fifo, "Not a regular file: a FIFO (named pipe)"},
            {socket, "Not a regular file: a socket"},
            {loop, "Not a regular file: a loop of symbolic links"},
            {"/dev/null", "Not a regular file: a device"},
            {inner, "Not a regular file: a folder"}};
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
