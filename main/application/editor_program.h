#pragma once

#include <QString>

class MainWindow;
class VelmoraApplication;

// The editor brought up and taken down in a fixed order: the settings store looked at before
// anything reads it (SettingsStoreGuard, which moves it aside for the run when something other
// than a regular file stands in place of one of its files), the software scene graph, the one
// application object with its splash screen, the bundled font, the layout and gradient libraries
// (bundled and the user's own under Documents/<organisation>/<application>), the built-in and
// registered themes, and the hidden main window. The destructor takes everything down in the
// reverse of what depends on what.
//
// The program's main runs exactly this, and so do the tests that drive the whole editor, so
// that they start what a user starts. One instance per process.
class EditorProgram
{
public:
    EditorProgram(int& argc, char** argv);
    ~EditorProgram();
    EditorProgram(const EditorProgram&) = delete;
    EditorProgram& operator=(const EditorProgram&) = delete;

    VelmoraApplication* application() const { return app; }
    MainWindow* mainWindow() const { return window; }

    // Posts the launched event: the project at the path opens, or with an empty path the
    // launch dialog comes up once the event loop runs.
    void launch(const QString& path);

private:
    VelmoraApplication* app = nullptr;
    MainWindow* window = nullptr;
};
