#pragma once

#include <QVariant>

class QWizard;

// The field "orientation" of the wizard as its pages read it: the index of the new project's
// orientation (0 landscape, 1 portrait). The new-page wizard has the field only while it makes
// a new project; while it adds a page to an open project the result is a null value, without
// the warning Qt prints for a field that does not exist. Other wizards are asked directly.
QVariant projectOrientationField(const QWizard* wizard);
