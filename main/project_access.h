#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class VelmoraDocument;

// What the property types of the project window read of the application: the open document
// and the image-file question. The application installs itself once at start-up (tests
// install a stand-in); while nothing is installed the properties behave as with no project
// open, and no file is ever asked for.
class ProjectAccess
{
public:
    ProjectAccess() = default;
    // Uninstalls itself when it is the installed instance, so no dangling pointer is left.
    virtual ~ProjectAccess();
    ProjectAccess(const ProjectAccess&) = delete;
    ProjectAccess& operator=(const ProjectAccess&) = delete;

    // The application's document; its image lists are null while no project is open.
    virtual VelmoraDocument* document() const = 0;
    // Asks the user for image files (one when `singleFile`) under the title; the chosen paths,
    // empty when cancelled.
    virtual QStringList getImageFiles(const QString& title, bool singleFile, QWidget* parent) = 0;

    // The caller keeps ownership; null uninstalls.
    static void setInstance(ProjectAccess* access);
    static ProjectAccess* instance();

    // The installed instance's document; null when none is installed.
    static VelmoraDocument* currentDocument();
    // The installed instance's answer; empty when none is installed.
    static QStringList askImageFiles(const QString& title, bool singleFile, QWidget* parent);
};
