#include "arrayplan/policy/MatchTrace.h"

#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyMatching.h"

namespace {

std::string textMismatch(const char* specifier, const CString& criterion, const char* fact,
                         const CString& value) {
    return specifier + criterion.Str() + " (the " + fact + " is " + value.Str() + ")";
}

std::string numberMismatch(const char* specifier, int criterion, const char* fact, int value) {
    return specifier + std::to_string(criterion) + " (the " + fact + " is " + std::to_string(value) + ")";
}

} // namespace

std::string firstMismatch(const AppliesToEntry& entry, const ControllerFacts& facts) {
    if (entry.all)
        return "";
    if (!textMet(entry.machineType, facts.machineType))
        return textMismatch("m:", entry.machineType, "machine type", facts.machineType);
    if (!textMet(entry.serialNumber, facts.serialNumber))
        return textMismatch("s:", entry.serialNumber, "serial number", facts.serialNumber);
    if (!textMet(entry.controllerType, facts.controllerType))
        return textMismatch("t:", entry.controllerType, "controller type", facts.controllerType);
    if (!numberMet(entry.scanOrder, facts.scanOrder))
        return numberMismatch("o:", entry.scanOrder, "scan order", facts.scanOrder);
    if (!numberMet(entry.driveCount, facts.driveCount))
        return numberMismatch("d:", entry.driveCount, "drive count", facts.driveCount);
    if (!numberMet(entry.controllerNumber, facts.controllerNumber))
        return numberMismatch("c:", entry.controllerNumber, "controller number", facts.controllerNumber);
    return "";
}

int matchingEntry(const Policy& policy, const ControllerFacts& facts) {
    for (int i = 0; const AppliesToEntry* entry = policy.appliesToAt(i); ++i) {
        if (firstMismatch(*entry, facts).empty())
            return i;
    }
    return -1;
}

std::string exclusionText(const Policy& policy, const ControllerFacts& facts) {
    std::string text;
    for (int i = 0; const AppliesToEntry* entry = policy.appliesToAt(i); ++i)
        text += (i == 0 ? "" : "; ") + ("entry " + std::to_string(i + 1)) + " wants " +
                firstMismatch(*entry, facts);
    return text;
}

AppliesToEntry entryMetBy(const AppliesToEntry& entry, const ControllerFacts& facts) {
    AppliesToEntry met = entry;
    if (!textMet(met.machineType, facts.machineType))
        met.machineType = facts.machineType;
    if (!textMet(met.serialNumber, facts.serialNumber))
        met.serialNumber = facts.serialNumber;
    if (!numberMet(met.controllerNumber, facts.controllerNumber))
        met.controllerNumber = facts.controllerNumber;
    if (!numberMet(met.scanOrder, facts.scanOrder))
        met.scanOrder = facts.scanOrder;
    if (!numberMet(met.driveCount, facts.driveCount))
        met.driveCount = facts.driveCount;
    if (!textMet(met.controllerType, facts.controllerType))
        met.controllerType = facts.controllerType;
    return met;
}
