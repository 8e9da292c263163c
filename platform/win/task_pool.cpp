#include "platform/win/task_pool.h"

#include <algorithm>
#include <map>
#include <memory>

namespace {

thread_local bool t_helper = false;

// More threads than this gain nothing on the jobs the program has (a page holds a few hundred objects).
constexpr unsigned kMaxHelpers = 31;

// A task that throws ends the program on every thread alike, the caller's too.
void RunTaskBody(const std::function<void()>& task) noexcept
{
    task();
}

// Marks the thread as one that runs the pool's work while the scope lasts.
class HelperScope
{
public:
    HelperScope() : m_was(t_helper) { t_helper = true; }
    ~HelperScope() { t_helper = m_was; }
    HelperScope(const HelperScope&) = delete;
    HelperScope& operator=(const HelperScope&) = delete;

private:
    bool m_was;
};

} // namespace

CTaskPool::CTaskPool(unsigned helpers)
{
    helpers = std::min(helpers, kMaxHelpers);
    m_threads.reserve(helpers);
    for (unsigned i = 0; i < helpers; ++i)
        m_threads.emplace_back([this] { Work(); });
}

CTaskPool::~CTaskPool()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

CTaskPool& CTaskPool::Shared()
{
    // Never destroyed: helpers must not be joined while static destructors of other libraries run.
    static CTaskPool* pool = [] {
        const unsigned cores = std::thread::hardware_concurrency();
        return new CTaskPool(cores > 1 ? cores - 1 : 0);
    }();
    return *pool;
}

CTaskPool& CTaskPool::WithHelpers(unsigned helpers)
{
    helpers = std::min(helpers, kMaxHelpers);
    if (helpers == Shared().GetHelperCount())
        return Shared();
    static std::mutex mutex;
    // Never destroyed, like the shared pool.
    static auto* pools = new std::map<unsigned, std::unique_ptr<CTaskPool>>;
    std::lock_guard lock(mutex);
    std::unique_ptr<CTaskPool>& pool = (*pools)[helpers];
    if (!pool)
        pool = std::make_unique<CTaskPool>(helpers);
    return *pool;
}

bool CTaskPool::IsHelperThread()
{
    return t_helper;
}

void CTaskPool::RunPieces()
{
    const std::function<void(size_t)>& piece = *m_piece;
    for (size_t i; (i = m_next.fetch_add(1)) < m_count;) {
        try {
            piece(i);
        } catch (...) {
            std::lock_guard lock(m_mutex);
            if (!m_failure)
                m_failure = std::current_exception();
        }
    }
}

bool CTaskPool::RunTask(std::unique_lock<std::mutex>& lock)
{
    if (m_tasks.empty())
        return false;
    std::function<void()> task = std::move(m_tasks.front());
    m_tasks.pop_front();
    lock.unlock();
    {
        const HelperScope helper;
        RunTaskBody(task);
        task = nullptr;
    }
    lock.lock();
    ++m_tasksEnded;
    m_taskEnded.notify_all();
    return true;
}

void CTaskPool::Work()
{
    t_helper = true;
    unsigned long seen = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        ++m_idle;
        m_wake.wait(lock, [&] { return m_stopping || (m_piece && m_generation != seen) || !m_tasks.empty(); });
        --m_idle;
        // A job's pieces come first: its caller waits for them.
        if (m_piece && m_generation != seen) {
            seen = m_generation;
            ++m_running;
            lock.unlock();
            RunPieces();
            lock.lock();
            if (--m_running == 0)
                m_finished.notify_all();
        } else if (!RunTask(lock)) {
            return;
        }
    }
}

void CTaskPool::ForEach(size_t count, const std::function<void(size_t)>& piece,
                        const std::function<void()>& callerFirst)
{
    bool idle = false;
    const bool together = !m_threads.empty() && count > 1 && !t_helper && m_busy.compare_exchange_strong(idle, true);
    if (together) {
        {
            std::lock_guard lock(m_mutex);
            m_piece = &piece;
            m_count = count;
            m_next = 0;
            m_failure = nullptr;
            ++m_generation;
        }
        m_wake.notify_all();
    }
    std::exception_ptr failure;
    if (callerFirst) {
        try {
            callerFirst();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    if (together) {
        RunPieces();
        std::unique_lock lock(m_mutex);
        m_finished.wait(lock, [&] { return m_running == 0; });
        m_piece = nullptr;
        if (!failure)
            failure = m_failure;
        m_failure = nullptr;
        m_busy = false;
    } else {
        for (size_t i = 0; i < count; ++i) {
            try {
                piece(i);
            } catch (...) {
                if (!failure)
                    failure = std::current_exception();
            }
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

void CTaskPool::Post(std::function<void()> task)
{
    std::unique_lock lock(m_mutex);
    m_tasks.push_back(std::move(task));
    if (m_threads.empty()) {
        RunTask(lock);
        return;
    }
    if (m_holds > 0 && m_idle < m_threads.size()) {
        m_held = true;
        return;
    }
    lock.unlock();
    m_wake.notify_one();
}

void CTaskPool::WaitUntil(const std::function<bool()>& done)
{
    std::unique_lock lock(m_mutex);
    WakeHeld();
    for (;;) {
        const unsigned long ended = m_tasksEnded;
        lock.unlock();
        if (done())
            return;
        lock.lock();
        if (!RunTask(lock))
            m_taskEnded.wait(lock, [&] { return m_tasksEnded != ended; });
    }
}

void CTaskPool::WakeHeld()
{
    if (!m_held)
        return;
    m_held = false;
    m_wake.notify_all();
}

CTaskPool::Hold::Hold(CTaskPool& pool) : m_pool(pool)
{
    std::lock_guard lock(m_pool.m_mutex);
    ++m_pool.m_holds;
}

CTaskPool::Hold::~Hold()
{
    std::lock_guard lock(m_pool.m_mutex);
    if (--m_pool.m_holds == 0)
        m_pool.WakeHeld();
}
