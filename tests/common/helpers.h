#pragma once

#include <QAbstractItemModel>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <stdexcept>
#include <string>

class QComboBox;
class QLineEdit;
class QQuickWidget;
class QWidget;

namespace TestUtil {

// Path of a file under tests/data.
QString dataPath(const QString& relative);
// Path of a file of the bundled resources, the Resources folder beside the program's folder.
QString bundledPath(const QString& relative);
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
// "4f 72 76 6e" → bytes; blanks and line breaks are ignored.
QByteArray fromHex(const char* hex);
// The bytes of a PNG file of one colour.
QByteArray pngBytes(int width, int height, const QColor& colour);
// A PNG file of 10000 by 10000 pixels that ends after its header: its size reads, its picture
// does not decode.
QByteArray hugePngHeader();

// Runs the function and returns the message of the std::runtime_error it raised, or
// "<no error>" when it returned normally.
std::string runtimeErrorOf(const std::function<void()>& function);

// The warnings Qt's message handler received while the function ran.
QStringList warningsDuring(const std::function<void()>& function);
// Every message (debug to critical) printed while the function ran, one a line: "" for a run
// that prints nothing. The headless platform's notes on what it lacks ("This plugin does not
// support raise()") are left out, as a display prints none.
std::string consoleDuring(const std::function<void()>& function);

// Spins the event loop every `stepMs` until the condition holds; false once the time is up.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000, int stepMs = 10);
// Has the QtQuick surface draw a frame now, of every change made so far, and delivers what that
// frame set off (the picture's repaint, the grabs of items taken in it); false when no frame
// came in time.
bool drawFrame(QQuickWidget* surface);
// The widget's picture once it stopped changing: the surface draws a frame at a time until one
// changes nothing in the picture (an item's grab, for one, arrives a frame after it is asked).
QImage settledPicture(QWidget* widget, QQuickWidget* surface);
// The largest difference of one colour channel between the two.
int channelDistance(QRgb a, QRgb b);
// The pixels of the image (or of its area) in exactly that colour.
int pixelsOfColour(const QImage& image, const QColor& colour, QRect area = QRect());
// Runs the program to its end with the event loop running; true when it exited with 0. Its
// standard output, trimmed, goes to `output`.
bool runTool(const QString& program, const QStringList& arguments, QString* output = nullptr);

// The text with the characters that are special in the POSIX regular expressions of death
// tests escaped.
std::string regexEscaped(const std::string& text);
// Matches a build date as an assertion message gives it ("Dec  7 2026"), in death tests and in
// QRegularExpression alike. Another unit's date is matched by form: it was compiled at its own
// time, perhaps the day before this test, or taken from the compiler cache.
inline constexpr char BuildDatePattern[] = "[A-Z][a-z][a-z] [ 0-9][0-9] [0-9][0-9][0-9][0-9]";

// The entry of the combo box's list picked as the user does: the list opened, the row made
// current, Return pressed.
void choose(QComboBox* combo, int row);
void choose(QComboBox* combo, const QString& text);

// Pastes the text into the edit as the user does, through the clipboard and the paste key;
// the clipboard is emptied again.
void paste(QLineEdit* edit, const QString& text);

// The smallest rectangle holding every pixel of the image (within the area) that differs from
// the other image, or from the colour when the other is null.
QRect changedArea(const QImage& image, const QImage& other, QRect area = QRect(),
                  const QColor& colour = QColor());

// The texts of column 0 of the model's rows below `parent`, as shown.
QStringList rowTexts(const QAbstractItemModel* model, const QModelIndex& parent = QModelIndex());

// Every entry below root (hidden ones too), as sorted relative paths; folders end in "/" and
// links are listed, never followed.
QStringList treeOf(const QString& root);

// What a reader may be handed in place of a file, each with the words that refuse it: a FIFO
// (that nothing ever writes to: a reader that waited for a writer would hang), a socket and a
// loop of symbolic links made in the folder under names ending in the suffix, a device, and a
// folder.
struct NonFile
{
    QString path;
    QString message;
};
QList<NonFile> nonFiles(const QString& folder, const QString& suffix = QString());

// The length and the seed of a randomised undo test: the environment variables
// VELMORA_UNDO_FUZZ_EDITS and VELMORA_UNDO_FUZZ_SEED when set (for a longer run, or to replay a
// failure), else the test's own. The test shows describe() with its failures (SCOPED_TRACE), so
// that a failing seed can be run again.
struct UndoFuzzRun
{
    int edits;
    unsigned int seed;

    UndoFuzzRun(int defaultEdits, unsigned int defaultSeed);
    std::string describe() const;
};

} // namespace TestUtil
