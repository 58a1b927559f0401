#include "widgets/project_orientation_field.h"

#include "widgets/new_page_wizard.h"

QVariant projectOrientationField(const QWizard* wizard)
{
    if (!wizard)
        return QVariant();
    const auto* pageWizard = qobject_cast<const NewPageWizard*>(wizard);
    if (pageWizard && pageWizard->projectPageId() < 0)
        return QVariant();
    return wizard->field(QStringLiteral("orientation"));
}
