#pragma once

// The program's worker threads. They do two kinds of work:
//
// - Jobs of independent pieces (ForEach): rendering the objects of a page, drawing the tiles of a view. The caller
//   takes part in the job and gets control back only when every piece has run, so what the pieces write is
//   complete when ForEach returns and no piece outlives its job. A job waits for no other job: a second job started
//   while one runs (from another thread, or from inside a piece or a posted task) runs its pieces on its caller's
//   thread alone, one after the other.
// - Tasks posted to run while the caller goes on (Post): composing and encoding the pictures of a build. A helper
//   takes the oldest task when no piece of a job waits for it; WaitUntil runs tasks on the waiting thread too, so a
//   pool without helpers (or with every helper busy) still gets through them.
//
// Code that must stay on the user-interface thread (wait cursors, questions to the user) asks IsHelperThread, which
// is true wherever the pool runs a piece on a helper or runs a posted task.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CTaskPool
{
public:
    // helpers: threads beside the caller; 0 runs every job on its caller's thread.
    explicit CTaskPool(unsigned helpers);
    // Runs the tasks still queued before the helpers end.
    ~CTaskPool();
    CTaskPool(const CTaskPool&) = delete;
    CTaskPool& operator=(const CTaskPool&) = delete;

    // One pool for the whole program, with a helper for every core but the caller's.
    static CTaskPool& Shared();
    // A pool of the program's with that many helpers, made at the first call and kept: threads that stay keep the
    // memory their earlier jobs used (fresh threads start on fresh pages, which every thread of the process then
    // waits for in turn).
    static CTaskPool& WithHelpers(unsigned helpers);
    // True on a helper thread of any pool, and on any thread while it runs a posted task.
    static bool IsHelperThread();

    unsigned GetHelperCount() const { return static_cast<unsigned>(m_threads.size()); }

    // Calls piece(i) once for every i below count, on the helpers and on the caller's thread, and returns when all
    // have returned. callerFirst, when given, runs on the caller's thread before it joins in, while the helpers
    // already work: for work that must stay on this thread. Every piece runs however many of them throw; the
    // first exception (callerFirst's before any piece's) is thrown again here once all have run. The same holds
    // for a job that runs on its caller's thread alone.
    void ForEach(size_t count, const std::function<void(size_t)>& piece,
                 const std::function<void()>& callerFirst = nullptr);

    // Queues task for a helper and returns; without helpers it runs at once, on the caller's thread. A task must
    // not throw. Tasks start in the order posted.
    void Post(std::function<void()> task);
    // Returns once done() is true. done is asked on the calling thread, first at once and again after each posted
    // task ends; meanwhile the calling thread runs queued tasks itself. done must become true through posted tasks
    // (or other threads): it is not asked while nothing ends.
    void WaitUntil(const std::function<bool()>& done);

    // While a hold is open, a task posted wakes no helper as long as one is awake already: waking a sleeping thread
    // costs more than a small task. The tasks held back start together when the last hold closes, or when anybody
    // waits on the pool.
    class Hold
    {
    public:
        explicit Hold(CTaskPool& pool);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        CTaskPool& m_pool;
    };

private:
    void Work();
    void RunPieces();
    // Runs the oldest queued task on this thread, the lock held on entry and on return; false when none is queued.
    bool RunTask(std::unique_lock<std::mutex>& lock);
    // Wakes the helpers for the tasks a hold kept back; under the lock.
    void WakeHeld();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    // The job that runs, null between jobs.
    const std::function<void(size_t)>* m_piece = nullptr;
    size_t m_count = 0;
    std::atomic<size_t> m_next{0};
    unsigned long m_generation = 0;
    unsigned m_running = 0;
    std::exception_ptr m_failure;
    std::atomic<bool> m_busy{false};
    // Posted tasks not started yet, and how many have ended so far (WaitUntil asks again when it moves).
    std::deque<std::function<void()>> m_tasks;
    unsigned long m_tasksEnded = 0;
    std::condition_variable m_taskEnded;
    // Open holds, and whether tasks they kept back have not been announced to the helpers yet.
    int m_holds = 0;
    bool m_held = false;
    // Helpers waiting for work.
    unsigned m_idle = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
