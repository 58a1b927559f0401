#pragma once

#include <QString>

// Whole-tree operations on files and folders. Entries are joined to their folder with
// QDir::separator(). No function throws; every failure is a false or null result, and work done
// before a failure stays done.
namespace FileSystem {

// Removes the file or folder tree at the path; with keepTopFolder a folder is emptied but stays.
// A symbolic link is removed itself and never followed, so the removal stays inside the tree.
// A relative path is reported as a warning and still removed, relative to the current folder.
bool removeRecursively(const QString& path, bool keepTopFolder);

// Copies the file or folder tree at source to destination. A file is copied with QFile::copy
// (which refuses an existing destination). For a folder, a relative destination is taken
// relative to the source folder. Hidden entries inside a folder are not copied; symbolic links
// inside a folder are copied as links, never followed.
bool copyRecursively(const QString& source, const QString& destination);

// Creates a new folder named baseName, or baseName0, baseName1, ... when that name is taken, in
// parentFolder (the system temporary folder when null). Returns its absolute path, or a null
// string on failure.
QString createTemporaryFolder(const QString& baseName, const QString& parentFolder = QString());

// A file name made from a name the user typed (a theme's, a project's), with the suffix (such as
// ".xml" or ".qvt") added: one visible file that every common system and archiver takes, in
// whatever folder it is put. Each of / \ : * ? " < > | and each control character becomes "_"
// (no folder part); a name starting with "." (hidden, and "._" is a macOS sidecar, which
// archivers pass over) or empty gets "_" in front; a Windows device name (CON, PRN, AUX, NUL,
// COM1..., LPT1..., in any case, before the first dot) gets "_" after it; and the name is cut
// where needed so that, with the suffix, it fits in a file name.
QString visibleFileName(const QString& name, const QString& suffix);

} // namespace FileSystem
