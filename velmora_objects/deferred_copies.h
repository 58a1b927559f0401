#pragma once

#include <QByteArray>
#include <QSemaphore>
#include <QtGlobal>
#include <vector>

namespace Velmora {

// Large byte arrays (a theme's images) put into a stream's bytes on another thread while the
// stream goes on writing the fields that follow them. Each copy is recorded with its place as
// an offset into the bytes, which may still move before the copies start, and keeps its source
// (shared, not copied) until it is done.
//
// The owner gives the bytes' current address when it starts the copies and again when it
// finishes them, and must finish them before it moves, cuts or gives out the bytes. A batch
// too small to be worth a hand-over, or on a machine of one core, is copied at once instead.
class DeferredCopies
{
public:
    DeferredCopies() = default;
    DeferredCopies(const DeferredCopies&) = delete;
    DeferredCopies& operator=(const DeferredCopies&) = delete;
    // The owner finishes the copies first; a batch still running here would write into bytes
    // already gone.
    ~DeferredCopies();

    // Arrays of at least this many bytes are worth recording.
    static constexpr qsizetype MinimumBytes = 16 * 1024;

    void add(qsizetype offset, const QByteArray& source);
    // Starts the copies recorded so far into the bytes at base.
    void start(char* base);
    // Waits for the copies started and makes those recorded since, into the bytes at base.
    void finish(char* base);
    // Waits for the copies started and forgets those recorded since: the bytes they were meant
    // for are given up.
    void drop();
    // True when no copy is recorded or running.
    bool idle() const { return !m_running && m_pending.empty(); }

private:
    struct Copy
    {
        qsizetype offset;
        QByteArray source;
    };
    static void copyAll(char* base, const std::vector<Copy>& copies);

    std::vector<Copy> m_pending;
    qsizetype m_pendingBytes = 0;
    // The batch handed to the copying thread, and the signal that it is done.
    std::vector<Copy> m_runningBatch;
    bool m_running = false;
    QSemaphore m_done;
};

} // namespace Velmora
