#include "appengine/preview_background_work.h"

#include "velmora_objects/qml/qml_control.h"

#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTimer>
#include <algorithm>

namespace {

// How long one piece of the deletion of released items may take, in ms.
constexpr int DeletionSliceMs = 3;
// How long the work waits at most for a page shown to reach the screen, in ms.
constexpr int HoldLimitMs = 250;

} // namespace

PreviewBackgroundWork::PreviewBackgroundWork(QQmlEngine& engine, const QGraphicsScene& scene,
                                             Job urgent, Job idle)
    : m_engine(engine), m_scene(scene), m_urgent(std::move(urgent)), m_idle(std::move(idle))
{
    m_timer = new QTimer(this);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &PreviewBackgroundWork::doWork);
    m_holdTimer = new QTimer(this);
    m_holdTimer->setSingleShot(true);
    m_holdTimer->setInterval(HoldLimitMs);
    connect(m_holdTimer, &QTimer::timeout, this, &PreviewBackgroundWork::resume);
}

PreviewBackgroundWork::~PreviewBackgroundWork()
{
    deleteReleased();
}

void PreviewBackgroundWork::start()
{
    m_timer->start();
}

bool PreviewBackgroundWork::isBusy() const
{
    return m_timer->isActive() || m_holding;
}

void PreviewBackgroundWork::hold()
{
    // Only a view that shows the scene paints the frame waited for.
    const QList<QGraphicsView*> shownBy = m_scene.views();
    if (std::none_of(shownBy.begin(), shownBy.end(),
                     [](const QGraphicsView* view) { return view->isVisible(); }))
        return;
    m_holding = true;
    m_framesAtHold = m_frames;
    m_holdTimer->start();
}

void PreviewBackgroundWork::resume()
{
    if (!m_holding)
        return;
    m_holding = false;
    m_holdTimer->stop();
    m_timer->start();
}

void PreviewBackgroundWork::viewPainted()
{
    // The view paints a frame of the surface drawn since the wait began: the page is shown.
    if (m_holding && m_frames > m_framesAtHold)
        QMetaObject::invokeMethod(this, &PreviewBackgroundWork::resume, Qt::QueuedConnection);
}

void PreviewBackgroundWork::release(QQuickItem* item)
{
    m_released.emplace_back(item);
    m_timer->start();
}

void PreviewBackgroundWork::deleteReleased()
{
    for (const QPointer<QQuickItem>& item : m_released)
        delete item.data();
    m_released.clear();
}

void PreviewBackgroundWork::deleteSomeReleased()
{
    QElapsedTimer clock;
    clock.start();
    const qint64 budget = qint64(DeletionSliceMs) * 1000000;
    // At least one item, then each that the time the last one took says still fits.
    qint64 last = 0;
    while (!m_released.empty() && (last == 0 || clock.nsecsElapsed() + last <= budget)) {
        const qint64 start = clock.nsecsElapsed();
        QQuickItem* released = m_released.back();
        if (!released) {
            m_released.pop_back();
            continue;
        }
        const auto controls =
            released->findChildren<VelmoraQML::QMLControl*>(QString(), Qt::FindDirectChildrenOnly);
        if (!controls.isEmpty()) {
            delete controls.last();
        } else {
            m_released.pop_back();
            delete released;
        }
        last = std::max<qint64>(clock.nsecsElapsed() - start, 1);
    }
    // The script engine's collector would otherwise run when it sees fit, in the middle of
    // some later work, and pay for the garbage of all the items gone since its last run.
    if (m_released.empty())
        m_collectPending = true;
}

void PreviewBackgroundWork::doWork()
{
    // Nothing while a page shown is on its way to the screen; resume() starts again.
    if (m_holding) {
        m_timer->stop();
        return;
    }
    // One piece of work a turn, so that no turn of the event loop waits long on any.
    if (m_urgent())
        return;
    if (!m_released.empty()) {
        deleteSomeReleased();
    } else if (m_collectPending) {
        m_collectPending = false;
        m_engine.collectGarbage();
    } else if (!m_idle()) {
        m_timer->stop();
    }
}
