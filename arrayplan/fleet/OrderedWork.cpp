#include "arrayplan/fleet/OrderedWork.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

void runInOrder(int jobs, size_t window, const std::function<std::optional<WorkItem>()>& next,
                const std::function<InventoryOutcome(const WorkItem&)>& work,
                const std::function<void(InventoryOutcome&)>& take) {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<InventoryOutcome>> slots(window); // item i's outcome waits in slot i % window
    size_t drawn = 0;                                           // items drawn from next
    size_t taken = 0;                                           // outcomes handed to take
    bool exhausted = false;

    auto worker = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return exhausted || drawn < taken + window; });
            if (exhausted)
                return;
            std::optional<WorkItem> item = next();
            if (!item) {
                exhausted = true;
                changed.notify_all();
                return;
            }
            size_t index = drawn++;
            lock.unlock();
            InventoryOutcome outcome = work(*item);
            lock.lock();
            slots[index % window] = std::move(outcome);
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < jobs; ++i)
        threads.emplace_back(worker);
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        std::optional<InventoryOutcome>& slot = slots[taken % window];
        changed.wait(lock, [&] { return slot.has_value() || (exhausted && taken == drawn); });
        if (!slot)
            break;
        InventoryOutcome outcome = std::move(*slot);
        slot.reset();
        lock.unlock();
        take(outcome);
        lock.lock();
        ++taken;
        changed.notify_all();
    }
    lock.unlock();
    for (std::thread& thread : threads)
        thread.join();
}
