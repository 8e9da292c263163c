#include "platform/win/task_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <stdexcept>
#include <thread>
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

TEST(TaskPool, AFailingPieceLetsTheOthersRunAndIsThrownToTheCaller)
{
    CTaskPool pool(2);
    std::atomic<int> runs{0};
    EXPECT_THROW(pool.ForEach(100,
                              [&](size_t i) {
                                  runs.fetch_add(1);
                                  if (i == 17)
                                      throw std::runtime_error("piece 17");
                              }),
                 std::runtime_error);
    EXPECT_EQ(runs.load(), 100);
    // The pool is usable afterwards.
    runs = 0;
    pool.ForEach(10, [&](size_t) { runs.fetch_add(1); });
    EXPECT_EQ(runs.load(), 10);
}
