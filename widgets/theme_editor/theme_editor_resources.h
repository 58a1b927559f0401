#pragma once

// Makes the theme editor's list icons (":/icons/16x16/list_add.png", "list_remove.png" and
// "copy.png") available. They are built into this static library, whose resources must be
// pulled in by name; calling it more than once does no harm.
void loadThemeEditorResources();
