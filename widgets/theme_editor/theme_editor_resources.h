#pragma once

// Makes the theme editor's 16 x 16 icons (":/icons/16x16/list_add.png", "list_remove.png",
// "copy.png", "folder.png" and "edit.png") available. They are built into this static library,
// whose resources must be pulled in by name; calling it more than once does no harm.
void loadThemeEditorResources();
