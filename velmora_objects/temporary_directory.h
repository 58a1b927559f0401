#pragma once

#include <QDir>
#include <QString>

// A work folder owned by this object: it is removed, with everything in it, when the object is
// destroyed or given another path. Theme bundle readers have such folders, which live in the
// folder of this process (processFolder) in the application-data folder.
class TemporaryDirectory
{
public:
    // Holds no folder.
    TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    // Removes the folder.
    ~TemporaryDirectory();

    // Removes the folder held so far, then takes the path: a folder that does not exist is
    // created with its missing parents (the result tells whether that worked); an existing one
    // is kept as it is, or emptied with clear (the result is then true). A null or empty path
    // leaves the object without a folder and returns true.
    bool setPath(const QString& path, bool clear);
    // Removes the folder with everything in it; the path stays stored.
    void clean();

    // The path as given; null when the object holds no folder.
    const QString& path() const { return m_path; }
    const QDir& dir() const { return m_dir; }

    // The folder that holds the application's temporary folders: the writable
    // application-data location, unless a folder was set with setApplicationDataFolder.
    static QString applicationDataFolder();
    // Makes every later temporary folder live in the given folder instead (tests use it to
    // keep away from the user's own data); a null string goes back to the standard location.
    static void setApplicationDataFolder(const QString& folder);

    // The folder of this process alone, "velmora_process_<suffix>" in the application-data
    // folder, in which the work folders live, so that two editors running at once never touch
    // one another's files. It is made fresh on first use (and again when the application-data
    // folder has changed or the folder has gone) and removed when the process exits. Making it
    // removes the folders that ended processes left behind: a folder belongs to a live process
    // as long as that process holds the lock on the folder's ".owner" file, which the system
    // releases when the process ends, however it ends. Null when the folder cannot be made.
    static QString processFolder();

private:
    QDir m_dir;
    QString m_path;
};
