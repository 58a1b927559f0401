#include "widgets/preferences_dialog.h"

#include "core/preferences.h"
#include "main/velmora_preferences.h"

PreferencesDialog::PreferencesDialog(Preferences& preferences, QWidget* parent)
    : QDialog(parent), preferences(preferences)
{
    form.setupUi(this);
    form.notifyAboutBetaReleaseEdit->setChecked(
        preferences.value(VelmoraPreferences::NotifyAboutBetaReleases).toBool());
    form.maintainAddControlEdit->setChecked(
        preferences.value(VelmoraPreferences::MaintainAddControlActions).toBool());
    // A stored size outside 1 to 100 is clamped by the spin box.
    form.controlKeyStepSizeEdit->setValue(
        preferences.value(VelmoraPreferences::ControlKeyStepSize).toInt());
    form.controlKeyJumpSizeEdit->setValue(
        preferences.value(VelmoraPreferences::ControlKeyJumpSize).toInt());
    connect(form.buttonBox, &QDialogButtonBox::accepted, this, &PreferencesDialog::accept);
    connect(form.buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void PreferencesDialog::accept()
{
    preferences.setValue(VelmoraPreferences::NotifyAboutBetaReleases,
                         form.notifyAboutBetaReleaseEdit->isChecked());
    preferences.setValue(VelmoraPreferences::MaintainAddControlActions,
                         form.maintainAddControlEdit->isChecked());
    preferences.setValue(VelmoraPreferences::ControlKeyStepSize,
                         form.controlKeyStepSizeEdit->value());
    preferences.setValue(VelmoraPreferences::ControlKeyJumpSize,
                         form.controlKeyJumpSizeEdit->value());
    QDialog::accept();
}
