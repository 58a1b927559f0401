#pragma once

#include "core/preferences.h"

// The editor's preferences, kept in the program's own settings store as top-level keys:
//   0 "NotifyAboutBetaReleases" (false): pre-releases count in the software-update check;
//   1 "MaintainAddControlActions" (true): an add-control tool stays armed after each control;
//   2 "ControlKeyStepSize" (1) and 3 "ControlKeyJumpSize" (10): the pixels an arrow key moves
//     the selected controls by, without and with Shift.
class VelmoraPreferences : public Preferences
{
    Q_OBJECT

public:
    enum Id : unsigned int
    {
        NotifyAboutBetaReleases = 0,
        MaintainAddControlActions = 1,
        ControlKeyStepSize = 2,
        ControlKeyJumpSize = 3
    };

    explicit VelmoraPreferences(QObject* parent = nullptr);
};
