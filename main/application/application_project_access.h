#pragma once

#include "main/project_access.h"

// The application's side of ProjectAccess: the property types read the application's one
// document, and image files are asked for through the application's file dialog.
class ApplicationProjectAccess : public ProjectAccess
{
public:
    explicit ApplicationProjectAccess(VelmoraDocument& document) : m_document(document) {}

    VelmoraDocument* document() const override { return &m_document; }
    QStringList getImageFiles(const QString& title, bool singleFile, QWidget* parent) override;

private:
    VelmoraDocument& m_document;
};
