#pragma once

// Makes the pictures of the shell available: the splash screen (":/splash.png"), the launch
// dialog's header (":/launch_header.png") and the icons of every action, undo and redo included
// (":/icons/22x22/<name>.png"). They are built into static libraries, whose resources must be
// pulled in by name; calling it more than once does no harm.
void loadShellResources();
