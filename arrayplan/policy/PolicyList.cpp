#include "arrayplan/policy/PolicyList.h"

bool PolicyList::append(std::unique_ptr<Policy> policy) {
    if (policy == nullptr || size() >= kCapacity)
        return false;
    policies_.push_back(std::move(policy));
    return true;
}

Policy* PolicyList::next() {
    Policy* policy = at(cursor_);
    if (policy != nullptr)
        ++cursor_;
    return policy;
}

Policy* PolicyList::at(int index) const {
    if (index < 0 || index >= size())
        return nullptr;
    return policies_[static_cast<size_t>(index)].get();
}
