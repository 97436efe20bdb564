#include "arrayplan/model/ControllerList.h"

bool ControllerList::put(int index, std::unique_ptr<RaidController> controller) {
    if (index < 0 || index >= kMaxControllers)
        return false;
    slots_[index] = std::move(controller);
    return true;
}

bool ControllerList::add(std::unique_ptr<RaidController> controller) {
    return put(size(), std::move(controller));
}

RaidController* ControllerList::at(int index) const {
    if (index < 0 || index >= size())
        return nullptr;
    return slots_[index].get();
}

int ControllerList::size() const {
    int filled = 0;
    while (filled < kSlots && slots_[filled])
        ++filled;
    return filled;
}

RaidController* ControllerList::next() {
    RaidController* controller = at(cursor_);
    if (controller)
        ++cursor_;
    return controller;
}
