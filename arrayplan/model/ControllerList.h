// The inventory's controllers in file order. 27 slots, of which 26 can be filled: a walk stops at
// the first empty slot.
#pragma once

#include "arrayplan/model/RaidController.h"

#include <memory>

class ControllerList {
public:
    static constexpr int kSlots = 27;
    static constexpr int kMaxControllers = kSlots - 1;

    // Stores into slot index (0-based); false (and the controller is dropped) outside 0..25.
    bool put(int index, std::unique_ptr<RaidController> controller);
    // Stores into the first empty slot; false when 26 are held.
    bool add(std::unique_ptr<RaidController> controller);

    RaidController* at(int index) const; // none outside the filled slots
    int size() const;                    // filled slots before the first empty one

    // The inventory's Total_Number_Of_Controllers.
    int count() const { return count_; }
    void setCount(int count) { count_ = count; }

    void rewind() { cursor_ = 0; }
    RaidController* next(); // the controller at the cursor, then advances; none at the end

private:
    std::unique_ptr<RaidController> slots_[kSlots];
    int count_ = 0;
    int cursor_ = 0;
};
