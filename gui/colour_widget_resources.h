#pragma once

// Makes the icons of the colour and gradient widgets (":/icons/colour_picker/...",
// ":/icons/22x22/undo.png" and "redo.png") available. They are built into this static library,
// whose resources must be pulled in by name; calling it more than once does no harm.
void loadColourWidgetResources();
