#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The files the application keeps track of outside the project: the user's list of theme
// files in the settings group "Themes" (keys "Theme0", "Theme1" …, the first free number
// taken, gaps allowed), and the file dialogs for theme and image files with the folders they
// remember ("File/LastTheme", "File/LastImage").
//
// The dialogs are Qt's own (never the platform's), so that they look and behave the same
// everywhere.
namespace ApplicationFiles {

// Stores the path under the first free key, even when another key holds it already.
void registerTheme(const QString& path);
// Removes the first key, in the group's key order, whose value is exactly the path.
void unregisterTheme(const QString& path);
// Adds every registered file to the theme library; a key whose file the library refuses
// (missing, a folder, not a theme) is removed, so it is not tried again.
void loadRegisteredThemes();

// "Themes" open-files dialog for theme files; remembers the first chosen under
// "File/LastTheme". Empty when cancelled.
QStringList getThemeFiles(QWidget* parent);
// Image files, one when single (the title then without the plural "s"); remembers the first
// chosen under "File/LastImage". Empty when cancelled.
QStringList getImageFiles(const QString& caption, bool single, QWidget* parent);
// The project file to open ("Open File"), starting on the last file; null when cancelled.
QString getProjectToOpen(QWidget* parent);
// The file to save the project as ("Save File As"), given the project extension when its
// suffix is another (compared case-sensitively); null when cancelled.
QString getProjectToSave(QWidget* parent);

} // namespace ApplicationFiles
