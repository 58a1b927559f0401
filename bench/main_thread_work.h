#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cmath>
#include <ctime>

// The work an action gives the main thread, from the moment it starts until the thread is idle
// again: not only until the first painting, but through every frame, image and piece of
// background work that follows from it. The thread counts as idle once it has spent less than
// NoticeMs of its own processor time over QuietMs of events handled; the work then ended at the
// last turn of the event loop that took the thread's time. The time the thread waits for a
// timer to come due (the thumbnails' delay of seconds) is never the action's.
class MainThreadWork
{
public:
    // How long the thread must stay nearly without work to count as idle, and how much of its
    // own time it may spend meanwhile (on the few turns of the event loop that look for
    // idleness).
    static constexpr double QuietMs = 300;
    static constexpr double NoticeMs = 2;
    // How often the wait looks for idleness while no event comes: each look costs the thread
    // about a tenth of a millisecond.
    static constexpr int WakeMs = 100;

    struct Times
    {
        // From start() until the thread was idle, and the processor time of the main thread
        // until then; not numbers when it never was.
        double untilIdleMs = std::nan("");
        double busyMs = std::nan("");
    };

    // From now on.
    void start()
    {
        m_clock.start();
        m_cpuAtStart = threadCpuMs();
    }

    // Handles events until the thread is idle, or the time is up.
    Times waitUntilIdle(int timeoutMs = 120000) const
    {
        Times times;
        double lastWorkMs = elapsedMs();
        double lastWorkCpuMs = threadCpuMs() - m_cpuAtStart;
        // Wakes the wait for more events when nothing else comes.
        QTimer wake;
        wake.start(WakeMs);
        for (;;) {
            const double now = elapsedMs();
            const double cpu = threadCpuMs() - m_cpuAtStart;
            if (cpu - lastWorkCpuMs > NoticeMs) {
                lastWorkMs = now;
                lastWorkCpuMs = cpu;
            } else if (now - lastWorkMs >= QuietMs) {
                times.untilIdleMs = lastWorkMs;
                times.busyMs = lastWorkCpuMs;
                return times;
            }
            if (now > timeoutMs)
                return Times();
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
    }

    // Handles events until the thread is idle, timing nothing.
    static void settle()
    {
        MainThreadWork work;
        work.start();
        work.waitUntilIdle();
    }

    // Since start().
    double elapsedMs() const { return double(m_clock.nsecsElapsed()) / 1e6; }

private:
    static double threadCpuMs()
    {
        timespec time{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return double(time.tv_sec) * 1e3 + double(time.tv_nsec) / 1e6;
    }

    QElapsedTimer m_clock;
    double m_cpuAtStart = 0;
};
