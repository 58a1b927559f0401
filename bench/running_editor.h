#pragma once

#include "appengine/page_preview_scene.h"
#include "main/application/editor_program.h"
#include "main/application/velmora_application.h"
#include "widgets/main_window.h"
#include "widgets/page_list.h"
#include "widgets/page_preview.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

// The whole editor as a user runs it, in this process, on the X server the environment names
// (the benchmarks run under xvfb-run with QT_QPA_PLATFORM=xcb, as the acceptance scenarios
// do): the program brought up as its main brings it up, with a home folder of its own so that
// the user's settings stay out of it, and a project opened from the command line. It counts
// the frames the live surface renders and the paintings of the page view, so that a benchmark
// can wait for what the user sees.
class RunningEditor : public QObject
{
public:
    // False, with a message, unless the program runs on an X server.
    static bool onXServer(const char* program)
    {
        if (QString::fromLocal8Bit(qgetenv("QT_QPA_PLATFORM")) == "xcb")
            return true;
        std::printf("Run under an X server with QT_QPA_PLATFORM=xcb, e.g. "
                    "QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' %s\n",
                    program);
        return false;
    }

    RunningEditor(int& argc, char** argv) : m_home(prepareHome())
    {
        m_program = std::make_unique<EditorProgram>(argc, argv);
    }

    // The folder the run keeps its files in.
    QString filePath(const QString& name) const { return m_home->filePath(name); }

    // Opens the project as the command line does and waits until it is open and the main
    // window shows; then lets the editor settle for the given time (the thumbnails and the
    // first frames are made before anything is timed). False when it did not open.
    bool open(const QString& path, int settleMs)
    {
        m_program->launch(path);
        if (!waitFor([this] { return app()->state() == VelmoraApplication::ProjectOpen; }, 120000))
            return false;
        QObject::connect(
            scene()->surface()->quickWindow(), &QQuickWindow::afterRendering, this,
            [this] { ++m_surfaceFrames; }, Qt::DirectConnection);
        view()->viewport()->installEventFilter(this);
        const QDeadlineTimer settle(settleMs);
        while (!settle.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return true;
    }

    // open(), then waits until the project's thumbnails are made and the editor has no work
    // left, so that nothing the opening left behind is timed. False, with a message, when the
    // project did not open.
    bool openAndSettle(const QString& path, int settleMs)
    {
        if (!open(path, settleMs)) {
            std::printf("The project did not open\n");
            return false;
        }
        return waitFor(
            [this] {
                return !app()->document().isRefreshingThumbnails() && !scene()->hasBackgroundWork();
            },
            120000);
    }

    // Handles events, waiting for them when none is pending, until the condition holds or the
    // time is up; whether it holds.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        // Wakes the wait for more events should nothing else come.
        QTimer wake;
        wake.start(20);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    VelmoraApplication* app() const { return m_program->application(); }
    MainWindow* window() const { return m_program->mainWindow(); }
    PagePreview* view() const { return window()->pagePreviewWidget(); }
    PageList* pageList() const { return window()->pageListWidget(); }
    PagePreviewScene* scene() const { return app()->previewScene(); }
    int surfaceFrames() const { return m_surfaceFrames; }
    int viewPaints() const { return m_viewPaints; }

    // A mouse event on the widget at the position (its own coordinates).
    static void send(QWidget* widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
                     Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, position, widget->mapToGlobal(position), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    static void click(QWidget* widget, QPoint position)
    {
        send(widget, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::LeftButton);
        send(widget, QEvent::MouseButtonRelease, position, Qt::LeftButton, Qt::NoButton);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_viewPaints;
        return QObject::eventFilter(watched, event);
    }

private:
    static std::unique_ptr<QTemporaryDir> prepareHome()
    {
        auto home = std::make_unique<QTemporaryDir>();
        qputenv("HOME", QFile::encodeName(home->path()));
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            qputenv(variable, QFile::encodeName(home->filePath(variable)));
        return home;
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<EditorProgram> m_program;
    int m_surfaceFrames = 0;
    int m_viewPaints = 0;
};
