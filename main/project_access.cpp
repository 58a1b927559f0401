#include "main/project_access.h"

namespace {
ProjectAccess* installed = nullptr;
}

ProjectAccess::~ProjectAccess()
{
    if (installed == this)
        installed = nullptr;
}

void ProjectAccess::setInstance(ProjectAccess* access)
{
    installed = access;
}

ProjectAccess* ProjectAccess::instance()
{
    return installed;
}

VelmoraDocument* ProjectAccess::currentDocument()
{
    return installed ? installed->document() : nullptr;
}

QStringList ProjectAccess::askImageFiles(const QString& title, bool singleFile, QWidget* parent)
{
    return installed ? installed->getImageFiles(title, singleFile, parent) : QStringList();
}
