#include "TaskQueue.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <future>
#include <mutex>

namespace tovrik::standin {

void RunTasks(const std::vector<size_t>& tasks, size_t workers, const TaskWork& work, const TaskDone& done) {
    std::deque<size_t> waiting(tasks.begin(), tasks.end());
    std::mutex mutex;
    std::condition_variable changed;
    size_t running = 0;
    std::exception_ptr failure;
    auto worker = [&](size_t id) {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return !waiting.empty() || running == 0; });
            if (waiting.empty()) {
                return;
            }
            const size_t task = waiting.front();
            waiting.pop_front();
            ++running;
            lock.unlock();
            std::exception_ptr thrown;
            try {
                work(task, id);
            } catch (...) {
                thrown = std::current_exception();
            }
            lock.lock();
            --running;
            if (thrown) {
                failure = failure ? failure : thrown;
                waiting.clear();
            } else if (done && !failure) {
                const std::vector<size_t> ready = done(task);
                waiting.insert(waiting.begin(), ready.begin(), ready.end());
            }
            changed.notify_all();
        }
    };
    std::vector<std::future<void>> others;
    for (size_t id = 1; id < workers; ++id) {
        others.push_back(std::async(std::launch::async, worker, id));
    }
    worker(0);
    for (std::future<void>& other : others) {
        other.get();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace tovrik::standin
