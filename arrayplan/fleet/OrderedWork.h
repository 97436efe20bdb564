// Inventories run by several threads and handed on in their order: a bounded window of them may be in work
// or done ahead of the next one to hand on, so what is held does not grow with the number of inventories.
#pragma once

#include "arrayplan/fleet/FleetReport.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

struct WorkItem {
    std::string path;
    std::string relative; // to the fleet folder
};

// Draws items from next (called by one thread at a time) until it gives none; work runs on jobs threads,
// and take receives each outcome on the calling thread in the order of the items. window >= 1.
void runInOrder(int jobs, size_t window, const std::function<std::optional<WorkItem>()>& next,
                const std::function<InventoryOutcome(const WorkItem&)>& work,
                const std::function<void(InventoryOutcome&)>& take);
