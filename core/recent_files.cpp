#include "core/recent_files.h"

#include "core/stored_settings.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <algorithm>

RecentFiles::RecentFiles(const QString& keyPrefix, unsigned int maximum, QObject* parent)
    : QObject(parent), actionGroup(new QActionGroup(this)), keyPrefix(keyPrefix), maximum(maximum)
{
    connect(actionGroup, &QActionGroup::triggered, this, &RecentFiles::onActionTrigger);
}

// The menu goes before the entries so that no action is deleted while a menu shows it; every
// change was stored when it was made, so nothing is saved here.
RecentFiles::~RecentFiles()
{
    recentMenu.reset();
    entries.clear();
}

void RecentFiles::load()
{
    entries.clear();
    const StoredSettings settings;
    for (unsigned int i = 1; i <= maximum; ++i) {
        const QVariant value = settings.value(key(i));
        if (value.isNull() || value.metaType().id() != QMetaType::QString)
            continue;
        const QString path = value.toString();
        if (QFileInfo::exists(path))
            addEntry(path, false);
    }
}

void RecentFiles::addFile(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    // Listing a file that does not exist would only add a blank entry that opens nothing and
    // could push a real one off the list.
    if (canonical.isEmpty())
        return;

    const auto iEntry = find(canonical);
    if (iEntry != entries.end()) {
        std::list<RecentFile> taken;
        taken.splice(taken.begin(), entries, iEntry);
        moveActionToTop(taken.front().action.get());
        entries.splice(entries.begin(), taken);
    } else {
        addEntry(canonical, true);
        if (entries.size() > maximum)
            entries.pop_back();
    }
    save();
    emit changed();
}

void RecentFiles::removeFile(const QString& path)
{
    // A file that has gone has no canonical path; its entry then holds the path as it was
    // listed, which is what callers pass back after a failed open.
    QString listed = QFileInfo(path).canonicalFilePath();
    if (listed.isEmpty() && !path.isEmpty())
        listed = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const auto iEntry = find(listed);
    if (iEntry == entries.end())
        return;
    entries.erase(iEntry);
    save();
    emit changed();
}

QMenu* RecentFiles::menu()
{
    if (!recentMenu) {
        recentMenu = std::make_unique<QMenu>();
        for (const RecentFile& entry : entries)
            recentMenu->addAction(entry.action.get());
    }
    return recentMenu.get();
}

std::list<QString> RecentFiles::files() const
{
    std::list<QString> paths;
    for (const RecentFile& entry : entries)
        paths.push_back(entry.path);
    return paths;
}

void RecentFiles::onActionTrigger(QAction* action)
{
    emit recentFileTriggered(action->data().toString());
}

QString RecentFiles::key(unsigned int index) const
{
    return tr("%1%2").arg(keyPrefix, QString::number(index));
}

void RecentFiles::save()
{
    StoredSettings settings;
    unsigned int i = 1;
    for (const RecentFile& entry : entries)
        settings.setValue(key(i++), entry.path);
    for (; i <= maximum; ++i)
        settings.remove(key(i));
}

void RecentFiles::addEntry(const QString& path, bool atFront)
{
    auto action = std::make_unique<QAction>(path, this);
    action->setData(path);
    actionGroup->addAction(action.get());
    if (recentMenu)
        moveActionToTop(action.get());
    RecentFile entry{path, std::move(action)};
    if (atFront)
        entries.push_front(std::move(entry));
    else
        entries.push_back(std::move(entry));
}

void RecentFiles::moveActionToTop(QAction* action)
{
    if (!recentMenu)
        return;
    if (entries.empty()) {
        recentMenu->removeAction(action);
        recentMenu->addAction(action);
        return;
    }
    QAction* top = entries.front().action.get();
    if (top == action)
        return;
    recentMenu->removeAction(action);
    recentMenu->insertAction(top, action);
}

std::list<RecentFiles::RecentFile>::iterator RecentFiles::find(const QString& path)
{
    return std::find_if(entries.begin(), entries.end(),
                        [&path](const RecentFile& entry) { return entry.path == path; });
}
