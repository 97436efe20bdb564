// Logical_Defaults and the logical drive entries ("Logical.1" ...) of a policy.
#include "arrayplan/model/NumberText.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyText.h"
#include "arrayplan/policy/PolicyValidation.h"
#include "foundation/TextCase.h"

#include <cctype>
#include <memory>

namespace {

// The RAID levels a policy may name, with their codes.
struct LevelName {
    const char* text;
    int code;
};

const LevelName kLevelNames[] = {
    {"0", kRaid0},
    {"1", kRaid1},
    {"1E", kRaid1E},
    {"10", kRaid10},
    {"5", kRaid5},
    {"5E", kRaid5E},
    {"5EE", kRaid5EE},
    {"50", kRaid50},
    {"6", kRaid6},
    {"60", kRaid60},
    {"VOLUME", kRaidVolume},
    {"AUTO", kRaidAuto},
    {"SIMPLE VOLUME", kRaidSimpleVolume},
};

// The message lists fewer levels than are accepted.
constexpr const char* kLevelList = "\tValid values are:   0 1 1E 5 5E 5EE 10 VOLUME\n";
constexpr const char* kSizeList = "\tValid values are:  a percentage, a size in MB, or FILL\n";
constexpr const char* kWriteCacheList = "\tValid values are:  OFF ON AUTO\n";
constexpr const char* kWriteCacheNames[] = {"OFF", "ON", "AUTO"}; // codes 0, 1, 2

// The last number looked up: one past the eight entries, to find an entry given out of order.
constexpr int kLastLogicalNumber = 9;

std::string part(const CString& value, int index) {
    return std::string(trimWhite(value.Item(index, ":").Str()));
}

int levelFromPolicyText(const std::string& text, bool simpleVolumeAllowed) {
    for (const LevelName& level : kLevelNames) {
        if (EqualsNoCase(text, level.text))
            return level.code == kRaidSimpleVolume && !simpleVolumeAllowed ? -1 : level.code;
    }
    return -1;
}

int writeCacheFromPolicyText(const std::string& text) {
    for (int code = 0; code < static_cast<int>(std::size(kWriteCacheNames)); ++code) {
        if (EqualsNoCase(text, kWriteCacheNames[code]))
            return code;
    }
    return -1;
}

// "n%" with n from 1 to 100 (stored as -n), "FILL", or a size in MB above 0.
bool readSize(const std::string& text, int& size) {
    if (text.ends_with('%')) {
        int percent = readNumber(std::string_view(text).substr(0, text.size() - 1));
        size = -percent;
        return percent >= 1 && percent <= 100;
    }
    if (EqualsNoCase(text, "FILL")) {
        size = kSizeFill;
        return true;
    }
    size = readNumber(text);
    return size > 0 && leadingNumberFitsInt(text);
}

bool isRaid5EOr5EE(const RaidLogicalDrive& drive) {
    return drive.raidLevel == kRaid5E || drive.raidLevel == kRaid5EE;
}

std::string logicalKeyword(int number) {
    return "Logical." + std::to_string(number);
}

} // namespace

bool PolicyValidator::readDriveParts(const Policy& policy, const std::string& keyword, const CString& value,
                                     int firstPart, bool simpleVolumeAllowed, RaidLogicalDrive& drive) {
    std::string prefix = policy.name.Str() + ", " + keyword;
    std::string sizePart = part(value, firstPart);
    if (!readSize(sizePart, drive.size))
        return fail(prefix + " -- Invalid size specified:  " + sizePart + "\n" + kSizeList);
    std::string levelPart = part(value, firstPart + 1);
    drive.raidLevel = levelFromPolicyText(levelPart, simpleVolumeAllowed);
    if (drive.raidLevel < 0)
        return fail(prefix + " -- Invalid RAID level specified:  " + levelPart + "\n" + kLevelList);
    drive.writeCache = kWriteCacheAuto;
    if (value.ItemCount(":") == firstPart + 3) {
        std::string cachePart = part(value, firstPart + 2);
        drive.writeCache = writeCacheFromPolicyText(cachePart);
        if (drive.writeCache < 0)
            return fail(prefix + " -- Invalid write-cache mode specified:  " + cachePart + "\n" +
                        kWriteCacheList);
    }
    return true;
}

bool PolicyValidator::readLogicalDefaults(Policy& policy) {
    CString value;
    if (!lookup(policy, "Logical_Defaults", value))
        return true;
    int parts = value.ItemCount(":");
    if (parts != 2 && parts != 3)
        return fail(policy.name.Str() + ", Logical_Defaults -- Invalid format:  " + value.Str() +
                    "\n\tValid format is:  size:raidlevel(:writecmode).  Example: 4096:0:AUTO.\n");
    auto defaults = std::make_unique<RaidLogicalDrive>();
    if (!readDriveParts(policy, "Logical_Defaults", value, 0, true, *defaults))
        return false;
    policy.setLogicalDefaults(std::move(defaults));
    return true;
}

bool PolicyValidator::readLogicalDrives(Policy& policy) {
    CString value;
    if (policy.logicalMode == Policy::kModeCustom && !lookup(policy, logicalKeyword(1), value))
        return fail(policy.name.Str() +
                    " -- Missing required entry in policies file:  Logical.1\n\tThis entry is required when "
                    "Logical_Mode = CUSTOM\n");
    int number = 1;
    for (; number <= Policy::kMaxLogicalDrives && lookup(policy, logicalKeyword(number), value); ++number) {
        if (!readLogicalDrive(policy, number, value))
            return false;
    }
    // An absent number ends the list and no later one may be given; after eight, no ninth.
    int firstLater = number <= Policy::kMaxLogicalDrives ? number + 1 : kLastLogicalNumber;
    for (int later = firstLater; later <= kLastLogicalNumber; ++later) {
        if (lookup(policy, logicalKeyword(later), value))
            return fail(
                policy.name.Str() +
                " -- Logical drives must be specified in sequential order.\nLogical.1 = ...\nLogical.2 = "
                "...\nLogical.3 = ...\netc.\n");
    }
    return true;
}

bool PolicyValidator::readLogicalDrive(Policy& policy, int number, const CString& value) {
    std::string keyword = logicalKeyword(number);
    std::string prefix = policy.name.Str() + ", " + keyword;
    int parts = value.ItemCount(":");
    if (parts != 3 && parts != 4)
        return fail(prefix + " -- Invalid format:  " + value.Str() +
                    "\n\tValid format is:  array:size:raidlevel(:writecmode).  Example: A:4096:0:AUTO.\n");
    std::string arrayPart = part(value, 0);
    char letter = arrayPart.size() == 1
                      ? static_cast<char>(std::toupper(static_cast<unsigned char>(arrayPart[0])))
                      : '\0';
    if (letter < 'A' || letter > 'I')
        return fail(prefix + " -- Invalid array letter specified:  " + arrayPart + "\n");
    auto drive = std::make_unique<RaidLogicalDrive>();
    drive->arrayIndex = letter - 'A';
    if (!readDriveParts(policy, keyword, value, 1, false, *drive))
        return false;
    policy.addLogicalDrive(std::move(drive));
    const RaidLogicalDrive& added = *policy.logicalDriveAt(policy.logicalDriveCount() - 1);
    int onSameArray = 0;
    bool any5E = false;
    for (int i = 0; i < policy.logicalDriveCount(); ++i) {
        const RaidLogicalDrive& other = *policy.logicalDriveAt(i);
        if (other.arrayIndex != added.arrayIndex)
            continue;
        ++onSameArray;
        any5E = any5E || isRaid5EOr5EE(other);
    }
    if (onSameArray > 1 && any5E)
        return fail(prefix + " -- RAID levels 5E and 5EE only permit one logical drive per array.\n");
    return true;
}
