// The array entries ("Array.A" ...) with Max_Logical_Drive_Size, and the hot spares of a policy.
#include "arrayplan/model/NumberText.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyText.h"
#include "arrayplan/policy/PolicyValidation.h"
#include "foundation/Console.h"

#include <memory>

namespace {

// The letters looked at: "Array.A" to "Array.Q".
constexpr int kLastLetterIndex = 'Q' - 'A';

std::string arrayKeyword(int index) {
    return std::string("Array.") + arrayLetter(index);
}

bool isPair(const CString& item) {
    return item.Find(":") >= 0;
}

// "channel:ID", each part a number (0 only as exactly "0").
bool readPair(const CString& item, int& channel, int& id) {
    if (item.ItemCount(":") != 2)
        return false;
    std::string channelPart = item.Item(0, ":").Str();
    std::string idPart = item.Item(1, ":").Str();
    if (!isNumberOrExactZero(channelPart) || !isNumberOrExactZero(idPart))
        return false;
    channel = readNumber(channelPart);
    id = readNumber(idPart);
    return true;
}

// A drive number: the trimmed item, which must not read as 0.
bool readDriveNumber(const CString& item, int& number) {
    std::string itemText = item.Str();
    std::string_view text = trimWhite(itemText);
    number = readNumber(text);
    return number != 0 && leadingNumberFitsInt(text);
}

} // namespace

bool PolicyValidator::readArrays(Policy& policy) {
    if (policy.arrayMode == Policy::kModeCustom)
        return readCustomArrays(policy);
    return readPlannedArrays(policy);
}

// AUTO mode: each entry gives a drive count ("AUTO" or "#n") and the planner completes the policy.
bool PolicyValidator::readPlannedArrays(Policy& policy) {
    CString value;
    if (!lookup(policy, "Array.A", value))
        return true;
    policy.markedForPlanning = true;
    CString maxSize;
    if (lookup(policy, "Max_Logical_Drive_Size", maxSize)) {
        std::string text(trimWhite(maxSize.Str()));
        if (!leadingNumberFitsInt(text))
            return fail(policy.name.Str() +
                        ", Max_Logical_Drive_Size -- Invalid size specified:  " + maxSize.Str() + "\n");
        policy.maxLogicalDriveSize = readNumber(text);
        settings_.console().OutFormat("DEBUG:plyreadr:readArrays:MaxLogical=%ld\n",
                                      static_cast<long>(policy.maxLogicalDriveSize));
    }
    for (int index = 0; index < Policy::kMaxArrays && lookup(policy, arrayKeyword(index), value); ++index) {
        std::string text(trimWhite(value.Str()));
        int driveCount = 0;
        size_t digits = text.find_first_not_of('#');
        std::string_view count =
            digits == std::string::npos ? std::string_view() : std::string_view(text).substr(digits);
        bool validCount = text.starts_with('#') && leadingNumberFitsInt(count);
        if (validCount) {
            driveCount = readNumber(count);
        } else if (text != "AUTO") {
            return fail(policy.name.Str() + ", " + arrayKeyword(index) +
                        " -- Invalid format:  " + value.Str() + "\n");
        }
        auto array = std::make_unique<RaidArray>();
        array->addDriveNumber(driveCount);
        policy.addArray(std::move(array));
    }
    return true;
}

// CUSTOM mode: each entry lists its drives, or takes all the drives left ("ALL").
bool PolicyValidator::readCustomArrays(Policy& policy) {
    CString value;
    if (!lookup(policy, "Array.A", value))
        return fail(policy.name.Str() +
                    " -- Missing required entry in policies file:  Array.A\n\tThis entry is required when "
                    "Array_Mode = CUSTOM\n");
    int index = 0;
    bool tookAll = false;
    for (; index < Policy::kMaxArrays && !tookAll; ++index) {
        if (!lookup(policy, arrayKeyword(index), value))
            break;
        if (value.ItemCount(",") == 0)
            continue; // an empty entry makes no array; the next entry takes its place
        auto array = std::make_unique<RaidArray>();
        if (value.Trim().EqualsNoCase("ALL")) {
            array->takesAll = true;
            tookAll = true;
        } else if (!readArrayMembers(policy, arrayLetter(index), value, *array)) {
            return false;
        }
        policy.addArray(std::move(array));
    }
    return checkNoArrayAfter(policy, index, tookAll);
}

bool PolicyValidator::readArrayMembers(const Policy& policy, char letter, const CString& value,
                                       RaidArray& array) {
    std::string prefix = policy.name.Str() + ", Array." + letter;
    bool pairs = false;
    bool numbers = false;
    for (int i = 0; i < value.ItemCount(","); ++i) {
        CString item = value.Item(i, ",");
        bool added = false;
        if (isPair(item)) {
            int channel = 0;
            int id = 0;
            if (!readPair(item, channel, id))
                return fail(prefix + " -- Invalid format:  " + value.Str() + "\n");
            added = array.addMember(channel, id);
            pairs = true;
        } else {
            int number = 0;
            if (!readDriveNumber(item, number))
                return fail(prefix + " -- Invalid format:  " + value.Str() + "\n");
            added = array.addDriveNumber(number);
            numbers = true;
        }
        if (pairs && numbers)
            return fail(prefix + " -- Invalid format:  " + value.Str() + "\n");
        if (!added)
            return fail(prefix +
                        " -- Too many drives specified.\n\tThe maximum number of drives in an array is " +
                        std::to_string(kMaxArrayMembers) + "\n");
    }
    return true;
}

// After the list has ended, no later letter may be given.
bool PolicyValidator::checkNoArrayAfter(const Policy& policy, int firstLetter, bool tookAll) {
    CString value;
    for (int index = firstLetter; index <= kLastLetterIndex; ++index) {
        if (!lookup(policy, arrayKeyword(index), value))
            continue;
        if (tookAll)
            return fail(policy.name.Str() + " -- Invalid array specified:  " + arrayKeyword(index) +
                        "\n\tThe ALL keyword was specified for a previous array.\n");
        return fail(
            policy.name.Str() +
            " -- Arrays must be specified in sequential-alphabetical order.\nArray.A = ...\nArray.B = "
            "...\nArray.C = ...\n");
    }
    return true;
}

bool PolicyValidator::readHotSpares(Policy& policy) {
    CString value;
    if (!lookup(policy, "Hotspares", value))
        return true;
    std::string prefix = policy.name.Str() + ", Hotspares";
    bool pairs = false;
    bool numbers = false;
    for (int i = 0; i < value.ItemCount(","); ++i) {
        CString item = value.Item(i, ",");
        auto spare = std::make_unique<RaidHotSpare>();
        int channel = 0;
        int id = 0;
        int number = 0;
        if (isPair(item) && readPair(item, channel, id)) {
            spare->setChannel(channel);
            spare->setId(id); // an ID outside 0..31 is not taken
            pairs = true;
        } else if (!isPair(item) && readDriveNumber(item, number)) {
            spare->setDriveNumber(number);
            numbers = true;
        } else {
            return fail(prefix + " -- Invalid format:  " + value.Str() + "\n");
        }
        if (!policy.addHotSpare(std::move(spare)))
            return fail(prefix +
                        " -- Too many hot-spare drives specified.\n\tThe maximum number of hot-spare "
                        "drives that you may specify is 16\n");
    }
    if (pairs && numbers)
        return fail(prefix + " -- Invalid format:  " + value.Str() + "\n");
    return true;
}
