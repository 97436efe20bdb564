// Small changes of a policy as read that may let a failing controller succeed, nearest first: one hot
// spare fewer, fewer drives in an array, another RAID level that the support file lists, AUTO instead of
// a count, FILL instead of a size, a stripe size the support file lists, one array or logical drive
// fewer, and an AppliesTo.1 that the controller meets. Each is only a candidate: the explanation proves
// it by planning and building again.
#pragma once

#include "arrayplan/policy/Policy.h"

#include <string>
#include <vector>

class ControllerIni;
struct ControllerFacts;

struct PolicyChange {
    std::string what;   // "one hot spare fewer"
    std::string family; // changes of one family are steps of one kind; the nearest is kept
    std::vector<std::string>
        lines; // the changed keyword lines as written; "remove <keyword>" for a line to drop
    Policy changed;
};

// The changes of policy; ini is the support file of the controller whose facts are given.
std::vector<PolicyChange> nearbyChanges(const Policy& policy, const ControllerIni& ini);

// The change of the first entry that makes the policy apply to a controller with these facts.
PolicyChange appliesToChange(const Policy& policy, const ControllerFacts& facts);
