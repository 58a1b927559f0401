#pragma once

#include <QString>
#include <set>

class VelmoraDocument;

// The changes the project-properties dialog collects: only what the user changed, each field
// at its "no change" value otherwise (a null string, 0, -1, an empty set).
struct ConfigurationEditRecord
{
    // Path of the theme bundle to use instead of the project's.
    QString theme;
    // The new unlock code; an empty, non-null code switches the panel lock off.
    QString unlockCode;
    // The new unlock function, a Velmora::ButtonFunction: 3 (Home) or 7 (Back).
    int unlockFunction = 0;
    // The new lock timeout in milliseconds; 0 locks never.
    int lockTimeout = -1;
    // IR slots (0 to 15) whose control assignment is removed.
    std::set<unsigned char> clearedIRSlots;

    bool hasChanges() const
    {
        return !theme.isNull() || !unlockCode.isNull() || unlockFunction != 0 ||
               lockTimeout != -1 || !clearedIRSlots.empty();
    }
};

enum class ProjectPropertiesResult
{
    Pushed,
    NoChanges,
    // The chosen theme bundle could not be read; nothing was changed.
    ThemeUnreadable
};

// Turns the record into one undo step "Set Project Properties" on the document's undo stack:
// the theme (when a path is given), the unlock code, the unlock function, the lock timeout and,
// in ascending slot order, the removal of each cleared slot's assignment. The theme bundle is
// read first, so that a bundle that cannot be read changes nothing at all instead of leaving
// the project without a theme; the reader's reason then goes to `error` when one is given. A
// cleared slot that holds no assignment is a fatal assertion.
ProjectPropertiesResult pushProjectProperties(const ConfigurationEditRecord& record,
                                              VelmoraDocument& document, QString* error = nullptr);
