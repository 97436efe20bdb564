#include "arrayplan/policy/PolicyKeywordLines.h"

#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/policy/Policy.h"

#include <vector>

namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

std::string sizeText(int size) {
    if (size == kSizeFill)
        return "FILL";
    return size < 0 ? std::to_string(-size) + "%" : std::to_string(size);
}

void addText(std::vector<std::string>& items, const char* specifier, const CString& value) {
    if (!value.IsEmpty())
        items.push_back(specifier + value.Str());
}

void addNumber(std::vector<std::string>& items, const char* specifier, int value) {
    if (value != AppliesToEntry::kNotGiven)
        items.push_back(specifier + std::to_string(value));
}

} // namespace

std::string arrayDefaultsLine(const Policy& policy) {
    return "Array_Defaults = " + std::to_string(policy.arrayDefaultVariance) +
           "%:" + std::to_string(policy.arrayDefaultHotSpares);
}

std::string arrayLine(const Policy& policy, int arrayIndex) {
    const RaidArray& array = *policy.arrayAt(arrayIndex);
    std::string line = std::string("Array.") + arrayLetter(arrayIndex) + " = ";
    if (policy.markedForPlanning) {
        int count = array.driveNumbers.empty() ? 0 : *array.driveNumbers.at(0);
        return line + (count == 0 ? std::string("AUTO") : "#" + std::to_string(count));
    }
    if (array.takesAll)
        return line + "ALL";
    std::vector<std::string> items;
    for (const DrivePosition& member : array.members)
        items.push_back(std::to_string(member.channel) + ":" + std::to_string(member.id));
    for (int number : array.driveNumbers)
        items.push_back(std::to_string(number));
    return line + joined(items);
}

std::string logicalLine(const Policy& policy, int logicalIndex) {
    const RaidLogicalDrive& logical = *policy.logicalDriveAt(logicalIndex);
    std::string line = "Logical." + std::to_string(logicalIndex + 1) + " = " +
                       arrayLetter(logical.arrayIndex) + ":" + sizeText(logical.size) + ":" +
                       raidLevelText(logical.raidLevel);
    if (logical.writeCache != kWriteCacheAuto)
        line += std::string(":") + writeCacheText(logical.writeCache);
    return line;
}

std::string hotSpareItem(const RaidHotSpare& spare) {
    return spare.channel() >= 0 ? std::to_string(spare.channel()) + ":" + std::to_string(spare.id())
                                : std::to_string(spare.driveNumber());
}

std::string hotSparesLine(const Policy& policy) {
    std::vector<std::string> items;
    for (int h = 0; const RaidHotSpare* spare = policy.hotSpareAt(h); ++h)
        items.push_back(hotSpareItem(*spare));
    return "Hotspares = " + joined(items);
}

std::string stripeSizeLine(const Policy& policy) {
    return "StripeSize = " + policy.stripeSize.Str();
}

std::string appliesToLine(int number, const AppliesToEntry& entry) {
    std::vector<std::string> items;
    if (entry.all)
        items.push_back("ALL");
    addText(items, "m:", entry.machineType);
    addText(items, "s:", entry.serialNumber);
    addNumber(items, "c:", entry.controllerNumber);
    addNumber(items, "o:", entry.scanOrder);
    addNumber(items, "d:", entry.driveCount);
    addText(items, "t:", entry.controllerType);
    return "AppliesTo." + std::to_string(number) + " = " + joined(items);
}
