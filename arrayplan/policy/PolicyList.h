// PolicyList: the policies of one policy file, in file order, with a read cursor. Owns its policies.
#pragma once

#include "arrayplan/policy/Policy.h"

#include <memory>
#include <vector>

class PolicyList {
public:
    static constexpr int kCapacity = 100;

    PolicyList() = default;
    PolicyList(const PolicyList&) = delete;
    PolicyList& operator=(const PolicyList&) = delete;

    // Refused (the policy is destroyed) when 100 policies are held.
    bool append(std::unique_ptr<Policy> policy);
    void rewind() { cursor_ = 0; }
    // The policy at the cursor, which then advances; null at the end.
    Policy* next();

    int size() const { return static_cast<int>(policies_.size()); }
    Policy* at(int index) const;

    // "/debug" dump of every policy. Rewinds the cursor.
    void dumpAll(Console& console);

private:
    std::vector<std::unique_ptr<Policy>> policies_;
    int cursor_ = 0;
};
