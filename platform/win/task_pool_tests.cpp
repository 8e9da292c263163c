#include "platform/win/task_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

TEST(TaskPool, RunsEveryPieceOnceAndReturnsWhenAllHaveRun)
{
    for (unsigned helpers : {0u, 1u, 3u, 7u}) {
        CTaskPool pool(helpers);
        for (size_t count : {size_t(0), size_t(1), size_t(2), size_t(1000)}) {
            std::vector<std::atomic<int>> runs(count);
            pool.ForEach(count, [&](size_t i) { runs[i].fetch_add(1); });
            for (size_t i = 0; i < count; ++i)
                ASSERT_EQ(runs[i].load(), 1) << helpers << " helpers, piece " << i << " of " << count;
        }
    }
}

TEST(TaskPool, SharesTheWorkAndKeepsCallerFirstOnTheCallersThread)
{
    CTaskPool pool(3);
    const std::thread::id caller = std::this_thread::get_id();
    std::thread::id firstRanOn;
    std::atomic<int> onHelpers{0};
    std::atomic<bool> release{false};
    // The caller is held in callerFirst until a helper has run a piece, so the pieces cannot all land on it.
    pool.ForEach(
        64,
        [&](size_t) {
            if (CTaskPool::IsHelperThread()) {
                onHelpers.fetch_add(1);
                release = true;
            }
        },
        [&] {
            firstRanOn = std::this_thread::get_id();
            while (!release)
                std::this_thread::yield();
        });
    EXPECT_EQ(firstRanOn, caller);
    EXPECT_GT(onHelpers.load(), 0);
    EXPECT_FALSE(CTaskPool::IsHelperThread());
}

TEST(TaskPool, AJobInsideAPieceOrBesideAnotherJobRunsOnItsCallersThread)
{
    CTaskPool pool(3);
    std::atomic<int> inner{0}, innerElsewhere{0};
    pool.ForEach(8, [&](size_t) {
        const std::thread::id here = std::this_thread::get_id();
        pool.ForEach(5, [&](size_t) {
            inner.fetch_add(1);
            if (std::this_thread::get_id() != here)
                innerElsewhere.fetch_add(1);
        });
    });
    EXPECT_EQ(inner.load(), 40);
    EXPECT_EQ(innerElsewhere.load(), 0);

    // Two threads start jobs at the same time: both complete.
    std::atomic<int> total{0};
    std::thread other([&] { pool.ForEach(500, [&](size_t) { total.fetch_add(1); }); });
    pool.ForEach(500, [&](size_t) { total.fetch_add(1); });
    other.join();
    EXPECT_EQ(total.load(), 1000);
}

// However the job runs (with helpers, on a pool without any, inside a piece, or beside another job, when it runs
// on its caller's thread alone), every piece runs, and the first failure reaches the caller: callerFirst's before
// any piece's.
TEST(TaskPool, AFailingPieceLetsTheOthersRunAndIsThrownToTheCaller)
{
    struct Result
    {
        int runs = 0;
        std::string thrown;
    };
    // Pieces 17 and 60 throw; callerFirst throws when asked to.
    const auto runJob = [](CTaskPool& pool, bool callerFirstThrows) {
        std::atomic<int> runs{0};
        Result result;
        try {
            pool.ForEach(
                100,
                [&](size_t i) {
                    runs.fetch_add(1);
                    if (i == 17 || i == 60)
                        throw std::runtime_error("piece " + std::to_string(i));
                },
                [&] {
                    if (callerFirstThrows)
                        throw std::runtime_error("caller first");
                });
        } catch (const std::runtime_error& failure) {
            result.thrown = failure.what();
        }
        result.runs = runs.load();
        return result;
    };
    CTaskPool helpers(2), none(0);
    for (bool callerFirstThrows : {false, true}) {
        SCOPED_TRACE(callerFirstThrows ? "callerFirst throws" : "callerFirst returns");
        const std::string first = callerFirstThrows ? "caller first" : "piece 17";
        std::vector<std::pair<std::string, Result>> results;
        results.emplace_back("with helpers", runJob(helpers, callerFirstThrows));
        results.emplace_back("without helpers", runJob(none, callerFirstThrows));
        Result nested[2];
        helpers.ForEach(2, [&](size_t i) { nested[i] = runJob(helpers, callerFirstThrows); });
        results.emplace_back("inside a piece", nested[0]);
        results.emplace_back("inside another piece", nested[1]);
        // Another thread's job while this one's callerFirst holds the pool.
        Result beside;
        helpers.ForEach(
            2, [](size_t) {}, [&] { std::thread([&] { beside = runJob(helpers, callerFirstThrows); }).join(); });
        results.emplace_back("beside another job", beside);
        for (const auto& [how, result] : results) {
            EXPECT_EQ(result.runs, 100) << how;
            // With helpers the pieces run in no fixed order: either failure may come first.
            if (how == "with helpers" && !callerFirstThrows) {
                EXPECT_TRUE(result.thrown == "piece 17" || result.thrown == "piece 60") << result.thrown;
            } else {
                EXPECT_EQ(result.thrown, first) << how;
            }
        }
    }
    // The pool is usable afterwards.
    std::atomic<int> runs{0};
    helpers.ForEach(10, [&](size_t) { runs.fetch_add(1); });
    EXPECT_EQ(runs.load(), 10);
}

// Posted tasks run beside the caller on the helpers, or at once on a pool without any; a waiting caller runs them
// itself when every helper is busy. Wherever a task runs, it counts as helper work.
TEST(TaskPool, PostedTasksRunOnTheHelpersOrOnTheWaitingCaller)
{
    for (unsigned count : {0u, 1u, 3u}) {
        SCOPED_TRACE(testing::Message() << count << " helpers");
        CTaskPool pool(count);
        std::atomic<int> ran{0}, asHelper{0};
        for (int i = 0; i < 50; ++i)
            pool.Post([&] {
                asHelper.fetch_add(CTaskPool::IsHelperThread() ? 1 : 0);
                ran.fetch_add(1);
            });
        if (count == 0) {
            EXPECT_EQ(ran.load(), 50) << "without helpers a task runs at once";
        }
        pool.WaitUntil([&] { return ran.load() == 50; });
        EXPECT_EQ(asHelper.load(), 50);
        EXPECT_FALSE(CTaskPool::IsHelperThread());
    }

    // Every helper held in a task: the task posted next runs on the caller, inside its wait.
    CTaskPool pool(2);
    std::mutex mutex;
    std::condition_variable changed;
    int held = 0;
    bool release = false;
    for (int i = 0; i < 2; ++i)
        pool.Post([&] {
            std::unique_lock lock(mutex);
            ++held;
            changed.notify_all();
            changed.wait(lock, [&] { return release; });
        });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return held == 2; });
    }
    std::atomic<bool> done{false};
    std::thread::id ranOn;
    pool.Post([&] {
        ranOn = std::this_thread::get_id();
        // A job started inside a task runs on that thread alone.
        std::atomic<int> elsewhere{0};
        pool.ForEach(4, [&](size_t) { elsewhere.fetch_add(std::this_thread::get_id() != ranOn ? 1 : 0); });
        EXPECT_EQ(elsewhere.load(), 0);
        done = true;
    });
    pool.WaitUntil([&] { return done.load(); });
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    changed.notify_all();
}
