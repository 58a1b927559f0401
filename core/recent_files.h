#pragma once

#include <QObject>
#include <QString>
#include <list>
#include <memory>

class QAction;
class QActionGroup;
class QMenu;

// The files opened or saved last, most recent first, kept in the application's default
// settings store under "<prefix>1" to "<prefix><maximum>" and offered as a menu of actions.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    RecentFiles(const QString& keyPrefix, unsigned int maximum, QObject* parent = nullptr);
    ~RecentFiles() override;

    // Replaces the list with the stored one, skipping keys that are not text or name a file
    // that no longer exists. Writes nothing and sends no signal.
    void load();

    // Puts the file at the top of the list (moving it there when it is listed already),
    // dropping the oldest entry past the maximum, then stores the list and emits changed().
    // A file that does not exist is not listed.
    void addFile(const QString& path);
    // Takes the file out of the list, stores the list and emits changed(); nothing happens
    // when it is not listed. A listed file that no longer exists is found by its path.
    void removeFile(const QString& path);

    // The menu of the entries' actions, most recent at the top, built on the first call and
    // owned by this object.
    QMenu* menu();

    // The entries' canonical paths, most recent first.
    std::list<QString> files() const;

signals:
    void changed();
    void recentFileTriggered(const QString& path);

public slots:
    void onActionTrigger(QAction* action);

private:
    struct RecentFile
    {
        QString path;
        std::unique_ptr<QAction> action;
    };

    QString key(unsigned int index) const;
    void save();
    void addEntry(const QString& path, bool atFront);
    void moveActionToTop(QAction* action);
    std::list<RecentFile>::iterator find(const QString& path);

    std::list<RecentFile> entries;
    QActionGroup* actionGroup;
    QString keyPrefix;
    unsigned int maximum;
    std::unique_ptr<QMenu> recentMenu;
};
