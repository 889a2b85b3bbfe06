#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace tovrik::standin {

// Runs `work(task, worker)` for each task on `workers` threads (the caller's is worker 0), each
// taking the next task when it is free. `done(task)` is called under the queue's lock after each
// task and returns the tasks that finishing it makes ready; those are taken before the ones still
// waiting. Returns when no task is left or running; an exception thrown by a task stops the rest
// from being taken and is thrown again here once the running ones are over.
using TaskWork = std::function<void(size_t task, size_t worker)>;
using TaskDone = std::function<std::vector<size_t>(size_t task)>;
void RunTasks(const std::vector<size_t>& tasks, size_t workers, const TaskWork& work, const TaskDone& done);

} // namespace tovrik::standin
