// Why a policy does or does not apply to a controller: for each AppliesTo entry, the first criterion
// that the controller's facts do not meet: machine type, serial number, controller type, scan order,
// drive count, then controller number.
#pragma once

#include "arrayplan/policy/AppliesToEntry.h"
#include "arrayplan/policy/PolicyMatching.h"

#include <string>

// "t:Vaultix-M1 (the controller type is Vaultix-Q4)"; empty when the entry matches.
std::string firstMismatch(const AppliesToEntry& entry, const ControllerFacts& facts);

// The 0-based index of the policy's first matching entry; -1 when none matches.
int matchingEntry(const Policy& policy, const ControllerFacts& facts);

// Why none of the policy's entries matches: "entry 1 wants t:Vaultix-M1 (the controller type is
// Vaultix-Q4)", one such part per entry, joined by "; ".
std::string exclusionText(const Policy& policy, const ControllerFacts& facts);

// The entry with every criterion that the facts do not meet replaced by the fact.
AppliesToEntry entryMetBy(const AppliesToEntry& entry, const ControllerFacts& facts);
