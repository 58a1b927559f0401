#include "main/application/application_project_access.h"

#include "main/application/application_files.h"

QStringList ApplicationProjectAccess::getImageFiles(const QString& title, bool singleFile,
                                                    QWidget* parent)
{
    return ApplicationFiles::getImageFiles(title, singleFile, parent);
}
