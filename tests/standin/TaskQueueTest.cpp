#include "TaskQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace tovrik::standin {
namespace {

TEST(TaskQueueTest, ReadyTasksGoBeforeTheWaitingOnes) {
    std::vector<size_t> order;
    RunTasks(
        {1, 2, 3}, 1, [&](size_t task, size_t) { order.push_back(task); },
        [](size_t task) {
            return task < 10 ? std::vector<size_t>{task * 10, task * 100} : std::vector<size_t>{};
        });
    EXPECT_EQ(order, (std::vector<size_t>{1, 10, 100, 2, 20, 200, 3, 30, 300}));
}

TEST(TaskQueueTest, RunsEveryTaskOnceOnAllWorkersUntilNoneIsLeft) {
    // Each task up to 200 makes the next one ready: a chain that a worker may wait on while the
    // other runs it.
    std::vector<std::atomic<int>> runs(400);
    std::atomic<size_t> highestWorker{0};
    std::vector<size_t> first(200);
    for (size_t k = 0; k < first.size(); ++k) {
        first[k] = 200 + k;
    }
    first.push_back(0);
    RunTasks(
        first, 2,
        [&](size_t task, size_t worker) {
            ++runs[task];
            size_t seen = highestWorker;
            while (worker > seen && !highestWorker.compare_exchange_weak(seen, worker)) {
            }
        },
        [&](size_t task) { return task < 199 ? std::vector<size_t>{task + 1} : std::vector<size_t>{}; });
    for (size_t k = 0; k < runs.size(); ++k) {
        EXPECT_EQ(runs[k], 1) << k;
    }
    EXPECT_LE(highestWorker, 1U);
    // No task at all.
    RunTasks({}, 2, [&](size_t, size_t) { FAIL(); }, {});
}

TEST(TaskQueueTest, AFailingTaskStopsTheRestAndIsThrownAgain) {
    std::vector<size_t> ran;
    EXPECT_THROW(RunTasks(
                     {1, 2, 3}, 1,
                     [&](size_t task, size_t) {
                         ran.push_back(task);
                         if (task == 2) {
                             throw std::runtime_error("out of memory");
                         }
                     },
                     [](size_t) { return std::vector<size_t>{}; }),
                 std::runtime_error);
    EXPECT_EQ(ran, (std::vector<size_t>{1, 2}));
}

} // namespace
} // namespace tovrik::standin
