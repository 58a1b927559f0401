#pragma once

#include "core/gradient.h"
#include "core/xml_shape.h"

#include <QDir>
#include <QIcon>
#include <QMetaType>
#include <QStandardItemModel>
#include <memory>
#include <set>
#include <utility>
#include <vector>

class QDomElement;
class QItemSelection;
class QPainter;
class QRect;
class QXmlStreamWriter;
class XmlSchemaValidator;

// The application-wide list of named gradients: the built-in packs shipped with the application
// (read only) and the user's packs in the documents folder. One column of top-level rows, one
// row per gradient, in the order they were added. Views follow it through the model's own
// signals; it adds none. Reached through instance() once initialise() has run at start-up.
//
// Gradient files are XML: a "GradientPack" with a "name" holding "Gradient" elements, or a
// single "Gradient"; each "Gradient" has a "name" and "GradientStop" elements with "position"
// and "colour". Files are validated against "gradient.xsd" of the built-in folder when it is
// present and valid; a file that cannot be read, is invalid or malformed adds nothing, and
// what is wrong with it becomes a row of errorModel().
class GradientLibrary : public QStandardItemModel
{
public:
    enum GradientType
    {
        BuiltInGradient = 0, // read from the built-in folder; never removed, never saved
        UserGradient = 1,    // read from the user folder or made here; saved to its file
        ExternalGradient = 2 // added by find() for a gradient used elsewhere; never saved
    };

    enum Roles
    {
        GradientRole = Qt::UserRole,         // the Gradient
        GradientTypeRole = Qt::UserRole + 1, // GradientLibrary::GradientType
        PackNameRole = Qt::UserRole + 2,     // QString, may be empty
        FilePathRole = Qt::UserRole + 3,     // QString, the file the gradient is saved to
        ModifiedRole = Qt::UserRole + 4      // bool, changed since the last save
    };
    // Roles of errorModel()'s rows, besides the message as display role.
    enum ErrorRole
    {
        DocumentRole = Qt::UserRole + 1, // QUrl of the refused file
        LineRole = Qt::UserRole + 2,     // qint64, from 1; 0 when not known
        ColumnRole = Qt::UserRole + 3    // qint64, from 1; 0 when not known
    };

    // Makes the library; a second call does nothing. Its folders are read by the first call of
    // instance().
    static void initialise(const QString& builtInDirectory, const QString& userDirectory);
    // The library, with both folders read; a fatal assertion when initialise() has not run.
    static GradientLibrary* instance();
    // Deletes the library without saving it, so that the next initialise() makes a new one.
    // For tests, which share the process's one library.
    static void destroyInstance();

    // Where the application keeps the user's gradients:
    // "<documents>/<organisation>/<application>/Gradients".
    static QString defaultUserDirectory();

    // Normally made by initialise(). Creates the user folder when it is missing; loads nothing.
    GradientLibrary(const QString& builtInDirectory, const QString& userDirectory);
    ~GradientLibrary() override;

    const QString& builtInDirectory() const { return builtInDir; }
    const QString& userDirectory() const { return userDir; }

    // Appends a row. An empty path of a user gradient means "user.xml" in the user folder.
    QModelIndex addGradient(const Gradient& gradient, GradientType type, const QString& packName,
                            const QString& filePath);
    // The first row whose stops equal these (names are not compared); invalid when none does or
    // when the stops are empty.
    QModelIndex findStops(const GradientStops& stops) const;
    // findStops() of the gradient's stops; when no row matches, the gradient is added as an
    // external gradient and that row is returned.
    QModelIndex find(const Gradient& gradient);
    // The gradient of the row holding these stops, added as an unnamed external gradient first
    // when no row does.
    Gradient gradientForStops(const GradientStops& stops);

    // Stores an edited gradient in a row (name, gradient, icon) and marks it modified.
    void setGradient(const QModelIndex& index, const Gradient& gradient);
    // Adds a modified user gradient "New Gradient", black at 0 and white at 1, to "user.xml".
    QModelIndex newGradient();
    // Adds a modified user copy "Copy of <name>"; a copy of a user gradient stays in its pack
    // and file, any other goes to "user.xml" without a pack name.
    QModelIndex copyGradient(const QModelIndex& index);
    // Removes a row that is not built in, marking its file for the next save.
    void removeGradient(const QModelIndex& index);
    // Removes every selected row that is not built in, from the bottom up, each row once.
    void removeGradients(const QItemSelection& selection);
    // Marks the file of a row (when it has one) to be rewritten by the next save.
    void markFileForSaving(const QModelIndex& index);

    // One row per message about a file that loading refused, in the order found; never
    // emptied.
    QStandardItemModel* errorModel() const { return m_errorModel; }

    // Loads the built-in folder, then the user folder when it exists.
    void load();
    void loadFolder(const QDir& folder, GradientType type);
    // Adds the file's gradients; a file that cannot be read, or that there is not the memory
    // to read, adds none and a row of errorModel() instead.
    void loadFile(const QString& filePath, GradientType type);

    // Rewrites every file marked for saving, and the files of modified user gradients, each as
    // a pack of all the gradients stored in it, through a temporary file that replaces the
    // file only when it was written completely and synced to disk (a symbolic link is written
    // through, the file's permissions are kept, a file without write permission is refused).
    // A file that could not be written, or would go beyond the bounds below, keeps its old
    // contents, stays marked and keeps its rows modified, to be written again by the next
    // save. Returns false when some file could not be written.
    bool save();
    // Why the last save() could not write its files: a line "<path>: <reason>" for each; empty
    // when it wrote them all.
    const QString& saveError() const { return m_saveError; }

    // Bounds of a gradient file, well above any real pack: a file beyond them is skipped when
    // loading, and a pack that would go beyond them is not saved. Its size in bytes, its number
    // of elements, its deepest nesting of elements, the document element counting as 1, the
    // attributes of one element and of the whole file.
    static constexpr qint64 MaxPackBytes = 2 * 1024 * 1024;
    static constexpr int MaxPackElements = 16384;
    static constexpr int MaxPackDepth = 32;
    static constexpr int MaxElementAttributes = 64;
    static constexpr int MaxPackAttributes = 4 * MaxPackElements;

private:
    static XmlShape::Limits shapeLimits();
    // loadFile() but for a failed allocation, which it throws.
    void readFile(const QString& filePath, GradientType type);
    // The shape and schema checks of a file's bytes; on failure its messages go to
    // errorModel().
    bool acceptFile(const QString& filePath, const QByteArray& contents);
    void addError(const QString& filePath, const QString& message, qint64 line = 0,
                  qint64 column = 0);
    const XmlSchemaValidator& schema();
    void readGradientPack(const QDomElement& element, const QString& filePath, GradientType type);
    void readGradient(const QDomElement& element, const QString& filePath, GradientType type,
                      const QString& packName);
    // False, with the reason in error, when the pack was not written.
    static bool writeFile(const QString& filePath, const QString& packName,
                          const std::vector<Gradient>& gradients, QString* error);
    static void writeGradientPack(const QString& packName, const std::vector<Gradient>& gradients,
                                  QXmlStreamWriter& writer);
    static void writeGradient(const Gradient& gradient, QXmlStreamWriter& writer);

    QString builtInDir;
    QString userDir;
    // (pack name, file path) of every file the next save must rewrite.
    std::set<std::pair<QString, QString>> filesToSave;
    std::unique_ptr<XmlSchemaValidator> gradientSchema;
    QStandardItemModel* m_errorModel;
    QString m_saveError;
};

Q_DECLARE_METATYPE(GradientLibrary::GradientType)

// Paints the background of a gradient icon before the stops go over it, so that transparent
// stops show what lies behind them. The widget kit supplies its transparency checkerboard
// (CheckeredBrush::fillSwatch); the application sets it at start-up, before the library loads.
// Until one is set the background stays transparent.
using SwatchBackgroundPainter = void (*)(QPainter& painter, const QRect& rect);
void setSwatchBackgroundPainter(SwatchBackgroundPainter painter);

// The icon of a library row: the stops left to right over the swatch background, on a square
// of the style's small icon size.
QIcon gradientIcon(const GradientStops& stops);
