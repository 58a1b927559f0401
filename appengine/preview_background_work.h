#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QGraphicsScene;
class QQmlEngine;
class QQuickItem;
class QTimer;

// The background work of the page preview, one piece a turn of the event loop so that no turn
// waits long on any: first the scene's own urgent work (the redraw after a grab, releasing the
// pages it no longer keeps), then deleting released items a few milliseconds at a time, then
// the script engine's collection of their garbage (which would otherwise run when it sees fit,
// in the middle of some later work), then the scene's idle work (a thumbnail asked for,
// building kept pages ahead); with nothing left the timer stops.
//
// While a page just shown is on its way to the screen the work waits: until a view of the
// scene has painted a frame that the surface drew since the wait began, for a quarter of a
// second at the most. The engine and the scene must outlive the work.
class PreviewBackgroundWork : public QObject
{
    Q_OBJECT

public:
    // One piece of the scene's work of its kind, or false when it has none.
    using Job = std::function<bool()>;

    PreviewBackgroundWork(QQmlEngine& engine, const QGraphicsScene& scene, Job urgent, Job idle);
    ~PreviewBackgroundWork() override;

    // There is work: the pieces start in the next turn (unless the work waits).
    void start();
    // Whether work is left or waiting.
    bool isBusy() const;

    // Work waits until the page shown now is on the screen: only while a view shows the scene.
    void hold();
    // The surface drew a frame.
    void frameDrawn() { ++m_frames; }
    // A view of the scene painted: the work goes on in the next turn when it painted a frame
    // drawn since the wait began.
    void viewPainted();

    // Queues an item, taken out of the scene already, for deletion in the background; its
    // controls go one at a time before it.
    void release(QQuickItem* item);
    // Deletes every queued item at once.
    void deleteReleased();

private:
    void resume();
    void doWork();
    // Deletes queued items for a few milliseconds; more later while some are left.
    void deleteSomeReleased();

    QQmlEngine& m_engine;
    const QGraphicsScene& m_scene;
    Job m_urgent;
    Job m_idle;
    // Drives the work, one piece a turn.
    QTimer* m_timer = nullptr;
    // Released items whose deletion is still to come.
    std::vector<QPointer<QQuickItem>> m_released;
    bool m_collectPending = false;
    // The frames the surface has drawn; while the work waits, how many it had drawn when the
    // wait began.
    int m_frames = 0;
    bool m_holding = false;
    int m_framesAtHold = 0;
    QTimer* m_holdTimer = nullptr;
};
