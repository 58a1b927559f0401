#pragma once

#include <QString>

// What the launch dialog asks of the application. Each call answers true when a project is
// now open, which ends the launch loop; false shows the dialog again.
class LaunchDialogHandler
{
public:
    virtual bool newDocument() = 0;
    virtual bool openDocument() = 0;
    virtual bool openDocument(const QString& path) = 0;
    // Whether the program may quit; the launch loop itself never asks.
    virtual bool tryExit() = 0;

protected:
    ~LaunchDialogHandler() = default;
};
