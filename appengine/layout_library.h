#pragma once

#include "velmora_objects/layout_template.h"

#include <QAbstractListModel>
#include <QFutureWatcher>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <map>
#include <memory>
#include <vector>

class QStandardItemModel;

// The page-layout templates a new page can start from, as a list for the new-page wizard: the
// built-in templates of the system folder, then the user's own, always headed by the blank
// row (empty name, no layout tree). Each "*.xml" file of the folders is validated against the
// system folder's "layout.xsd" and read as a LayoutTemplate; a file that cannot be opened, is
// refused by the schema or cannot be read is left out, and the schema's message about it,
// with its line and column, becomes a row of errorModel(). When two files give one name, the
// first one read wins; the system folder is read first, so a user template cannot hide a
// built-in one.
//
// Loading runs on a pool thread (refresh()). The loader only builds the new rows and messages,
// moving the parsed layout trees to the library's thread; the library's own thread swaps them
// in when the load ends: one model reset leaving the blank row, then one row insertion per
// template in order, then the messages; refreshFinished() follows. Until then the earlier rows
// stay listed. A refresh asked for while a load runs is run once after it: two loads never run
// at the same time.
//
// Threads: everything but the loading itself runs on the library's thread (the GUI thread),
// and the rows change only there, from its event loop. A template found through indexOf() or
// find() therefore stays listed until control goes back to the event loop.
class LayoutLibrary : public QAbstractListModel
{
    Q_OBJECT

public:
    // One row: the template's name (empty for the blank row), the template, and the icon holding
    // its landscape thumbnail (mode Normal) and portrait thumbnail (mode Disabled), made when a
    // view first asks for it.
    struct LayoutRecord
    {
        QString name;
        LayoutTemplate layoutTemplate;
        QIcon icon;
    };

    // What one load hands over to the library's thread (defined with the loader).
    struct LoadedLayouts;

    enum Role
    {
        // The template's orientation, a Velmora::Orientation.
        OrientationRole = Qt::UserRole + 1
    };
    // Roles of errorModel()'s rows, besides the message as display role.
    enum ErrorRole
    {
        DocumentRole = Qt::UserRole + 1, // QUrl of the refused file
        LineRole = Qt::UserRole + 2,     // qint64, from 1; 0 when not known
        ColumnRole = Qt::UserRole + 3    // qint64, from 1; 0 when not known
    };

    // Makes the library and starts its first load; a second call does nothing.
    static void init(const QString& systemDir, const QString& userDir);
    // The library; a fatal assertion when init() has not run.
    static LayoutLibrary* instance();
    // Deletes the library, after waiting for a running load.
    static void destroyInstance();

    // Where the application keeps the user's templates:
    // "<documents>/<organisation>/<application>/Layouts".
    static QString defaultUserDirectory();

    // Normally made by init(). Creates the user folder (with its parents) when it is given and
    // missing. Lists nothing until the first load has ended.
    LayoutLibrary(const QString& systemDir, const QString& userDir);
    ~LayoutLibrary() override;

    // Starts a load of both folders on the global thread pool and returns at once; during a
    // load it only asks for one more load after it. The system folder's "layout.xsd" is read
    // first, here: when it is missing or not a valid schema, that is a fatal assertion.
    void refresh();
    // True from refresh() until the last asked-for load has been swapped in.
    bool isRefreshing() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Display: the name. Decoration: the icon, made on first use. OrientationRole.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The row of the template with that name (the empty name gives the blank row), or an
    // invalid index: callers check a name here before they create anything from it.
    QModelIndex indexOf(const QString& name) const;
    // The template with that name, valid until the rows are next swapped. Throws
    // std::runtime_error "Layout not found" when none is listed.
    LayoutTemplate& find(const QString& name);

    // One row per validation message of every load of the run; never emptied.
    QStandardItemModel* errorModel() const { return m_errorModel; }
    bool hasErrors() const;

    const QString& systemDirectory() const { return systemDir; }
    const QString& userDirectory() const { return userDir; }

    // 68 × 120 for orientation 2 (portrait), 120 × 68 for any other.
    static QSize thumbnailSize(int orientation);
    // The blank row's thumbnail: white, outlined in black, at thumbnailSize(orientation).
    static QPixmap blankThumbnail(int orientation);

signals:
    void refreshStarted();
    void refreshFinished();

private:
    void startLoad();
    void takeLoadedLayouts();
    void appendRecord(std::unique_ptr<LayoutRecord> record);

    std::vector<std::unique_ptr<LayoutRecord>> records; // the rows, in order
    std::map<QString, int> rowOfName;                   // name → row
    QStandardItemModel* m_errorModel;
    QString systemDir;
    QString userDir;
    QFutureWatcher<std::shared_ptr<LoadedLayouts>> watcher;
    bool loading = false;
    bool reloadQueued = false;
};
