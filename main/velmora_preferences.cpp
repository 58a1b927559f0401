#include "main/velmora_preferences.h"

#include "main/vendor_variants.h"

VelmoraPreferences::VelmoraPreferences(QObject* parent)
    : Preferences(VendorVariants::instance().settingsOrganisation,
                  VendorVariants::instance().settingsApplication, parent)
{
    registerKey(NotifyAboutBetaReleases, QStringLiteral("NotifyAboutBetaReleases"), false);
    registerKey(MaintainAddControlActions, QStringLiteral("MaintainAddControlActions"), true);
    registerKey(ControlKeyStepSize, QStringLiteral("ControlKeyStepSize"), 1);
    registerKey(ControlKeyJumpSize, QStringLiteral("ControlKeyJumpSize"), 10);
}
