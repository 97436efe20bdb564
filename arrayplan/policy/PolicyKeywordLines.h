// Keyword lines of a policy file as a person writes them, made from a policy as read: the lines that a
// suggested change of the policy prints, ready to be put into the file in place of the old ones.
#pragma once

#include <string>

struct AppliesToEntry;
class Policy;
class RaidArray;
class RaidHotSpare;
class RaidLogicalDrive;

// "Array_Defaults = 10%:2"; the variance as the policy holds it.
std::string arrayDefaultsLine(const Policy& policy);
// "Array.B = #2" or "Array.B = AUTO" for a policy marked for planning; "Array.B = 1:0, 1:1",
// "Array.B = 1, 2" or "Array.B = ALL" for a custom one.
std::string arrayLine(const Policy& policy, int arrayIndex);
// "Logical.3 = B:FILL:1", with the write cache only when it is not AUTO.
std::string logicalLine(const Policy& policy, int logicalIndex);
// "1:5" or "7": one item of a Hotspares line.
std::string hotSpareItem(const RaidHotSpare& spare);
// "Hotspares = 1:5, 1:6" or "Hotspares = 7, 8".
std::string hotSparesLine(const Policy& policy);
std::string stripeSizeLine(const Policy& policy);
// "AppliesTo.1 = m:8837, t:Vaultix-M1"; "ALL" for an entry that applies to every controller.
std::string appliesToLine(int number, const AppliesToEntry& entry);
