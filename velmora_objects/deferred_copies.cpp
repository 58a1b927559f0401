#include "velmora_objects/deferred_copies.h"

#include "core/assertion.h"

#include <QThread>
#include <QThreadPool>
#include <cstring>

namespace Velmora {

namespace {

// Below this much in all, handing the copies over costs more than making them.
constexpr qsizetype MinimumBatchBytes = 256 * 1024;

// One thread of its own, so that copies never wait behind other work given to the global pool.
// Made once and kept to the end of the program.
QThreadPool& copyingThread()
{
    static QThreadPool* const pool = [] {
        auto* made = new QThreadPool;
        made->setMaxThreadCount(1);
        return made;
    }();
    return *pool;
}

} // namespace

DeferredCopies::~DeferredCopies()
{
    const bool finished = !m_running;
    VELMORA_ASSERT(finished);
}

void DeferredCopies::add(qsizetype offset, const QByteArray& source)
{
    m_pending.push_back({offset, source});
    m_pendingBytes += source.size();
}

void DeferredCopies::start(char* base)
{
    if (m_pending.empty())
        return;
    if (m_running || m_pendingBytes < MinimumBatchBytes || QThread::idealThreadCount() < 2) {
        // One batch at a time: a second one, or one too small to hand over, is made here.
        copyAll(base, m_pending);
    } else {
        m_runningBatch = std::move(m_pending);
        m_running = true;
        copyingThread().start([this, base] {
            copyAll(base, m_runningBatch);
            m_done.release();
        });
    }
    m_pending.clear();
    m_pendingBytes = 0;
}

void DeferredCopies::finish(char* base)
{
    if (m_running) {
        m_done.acquire();
        m_running = false;
        m_runningBatch.clear();
    }
    copyAll(base, m_pending);
    m_pending.clear();
    m_pendingBytes = 0;
}

void DeferredCopies::drop()
{
    if (m_running) {
        m_done.acquire();
        m_running = false;
        m_runningBatch.clear();
    }
    m_pending.clear();
    m_pendingBytes = 0;
}

void DeferredCopies::copyAll(char* base, const std::vector<Copy>& copies)
{
    for (const Copy& copy : copies)
        std::memcpy(base + copy.offset, copy.source.constData(), size_t(copy.source.size()));
}

} // namespace Velmora
