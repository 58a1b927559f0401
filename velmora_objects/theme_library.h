#pragma once

#include <QList>
#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <memory>
#include <set>
#include <vector>

class QStandardItemModel;
class ThemeReader;

namespace Velmora {
struct ThemeLibraryData;
}

// The one list of theme bundles the editor offers: the themes that come with the application
// and the ones the user has added. An item model of one column, one row per bundle in the
// order of adding:
// - Qt::DisplayRole: the theme's name;
// - Qt::DecorationRole: an icon of the landscape splash (Normal mode) and the portrait splash
//   (Disabled mode);
// - PathRole: the bundle's absolute path (listedPath), whatever path the caller gave, so that a
//   row names the same file whatever folder the program later runs in;
// - BuiltInRole: whether the bundle came with the application.
// Rows are filled by ThemeReader::readLibraryData: the name and splash pictures are taken, and
// a bundle that the full read would refuse gets no row. The library never removes duplicates
// itself: callers look a path up before adding it where that matters.
//
// A folder can also be scanned later (scanFolderLater): its rows are made as soon as anything
// asks the library anything, so that a program starts without reading bundles it may never
// offer, yet every question sees them in their place.
//
// Made on first use and never deleted; used from the GUI thread only.
class ThemeLibrary
{
public:
    enum Role
    {
        PathRole = Qt::UserRole + 1,
        BuiltInRole = Qt::UserRole + 2
    };

    static ThemeLibrary* instance();

    ThemeLibrary(const ThemeLibrary&) = delete;
    ThemeLibrary& operator=(const ThemeLibrary&) = delete;

    // The model every view of the library shows; owned by the library.
    QStandardItemModel* model() const;

    // Makes "*.<extension>" the only file-name pattern of bundles; the extension may be given
    // bare, after a dot or after "*.".
    void setFileExtension(const QString& extension);
    const QStringList& nameFilters() const { return m_nameFilters; }

    // Adds a row for every bundle of the folder that the reader accepts (see above); every
    // other entry of a bundle's name but a folder (a FIFO, a socket, a link to nothing...) is
    // left out of the model and listed, with the reader's reason, in refusedThemes(). With
    // recursive, sub-folders follow, their rows marked as built in. False only when the folder
    // (or a sub-folder) is missing or not a folder; the rows found until then stay.
    bool scanFolder(const QString& folder, bool recursive, bool builtIn);
    // The same when the library is next asked anything, in the order of the calls; a folder
    // that is missing then adds nothing.
    void scanFolderLater(const QString& folder, bool recursive, bool builtIn);
    // Adds a row for the bundle. False, adding nothing, when the path is missing, is a folder,
    // the reader refuses the bundle or there is not the memory to read it; the reason, in words
    // for the user, then goes to error when one is given.
    bool addTheme(const QString& path, bool builtIn, QString* error = nullptr);

    // A bundle that a folder scan left out, and why.
    struct Refusal
    {
        QString path;
        QString reason;
    };
    // Every bundle left out by the scans so far, in the order met.
    const QList<Refusal>& refusedThemes() const;

    // The first row, from the top, whose path equals the path's absolute form exactly; invalid
    // when none.
    QModelIndex findTheme(const QString& path) const;
    // The path under which the library lists a bundle: the absolute path (a relative one taken
    // in the working folder, with "." and ".." resolved); empty for an empty path.
    static QString listedPath(const QString& path);
    // The path of the row at the index, or of the row's first column; empty when there is no
    // such item.
    QString themePath(const QModelIndex& index) const;
    QString themePathAt(int row) const;
    // Removes the row of the index from the library; the bundle file is left alone.
    void removeTheme(const QModelIndex& index);
    // Puts the library back as the program first made it: no row, no refusal, no folder left
    // for later and no file-name pattern. For tests, which share the process's one library.
    void reset();

private:
    ThemeLibrary();
    ~ThemeLibrary();

    // visited holds the canonical paths of the folders scanned so far, so that a link back to
    // a folder above cannot make the scan endless.
    // Const so that the queries can make the rows left for later: the rows are what the library
    // holds, whenever they are read.
    bool scanFolder(const QString& folder, bool recursive, bool builtIn,
                    std::set<QString>& visited) const;
    void appendRow(const Velmora::ThemeLibraryData& data, const QString& path, bool builtIn) const;
    // The reader's data for a row of the bundle; false with the reason when it gives none, a
    // bundle there is not the memory to read included.
    static bool readRow(ThemeReader& reader, const QString& path, Velmora::ThemeLibraryData& data,
                        QString* reason);
    // Scans the folders left for later.
    void scanPendingFolders() const;

    struct PendingScan
    {
        QString folder;
        bool recursive;
        bool builtIn;
    };

    std::unique_ptr<QStandardItemModel> m_model;
    mutable std::vector<PendingScan> m_pending;
    QStringList m_nameFilters;
    mutable QList<Refusal> m_refused;
};
