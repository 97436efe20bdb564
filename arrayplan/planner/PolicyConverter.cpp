#include "arrayplan/planner/PolicyConverter.h"

#include "arrayplan/model/Catalogue.h"
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/model/SupportFileCache.h"
#include "arrayplan/planner/PlannerTrace.h"
#include "arrayplan/policy/Policy.h"
#include "foundation/Console.h"
#include "foundation/TextFormat.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

PolicyConverter::PolicyConverter(RunSettings& settings, Policy& policy, RaidController& controller)
    : settings_(settings), policy_(policy), controller_(controller), debug_(settings.debug) {}

PolicyConverter::~PolicyConverter() = default;

ResultCode PolicyConverter::runConverter() {
    trace(kTraceRunStart, "runConverter(controller=%s) start", controller_.modelName());
    errorCode_ = ResultCode::Success;
    ini_ = std::make_unique<ControllerIni>(settings_.raidDirectory, controller_.modelName(),
                                           settings_.console(), settings_.fileSystem());
    if (!loadSupportFile(settings_, *ini_)) {
        settings_.console().Out("Error opening RAID support ini file\n");
        settings_.console().Out(ini_->failureLine().c_str());
        errorCode_ = ResultCode::ControllerUnsupported;
    } else if (!policy_.stripeSize.IsEmpty() && !ini_->stripeSizeSupported(policy_.stripeSize)) {
        errorCode_ = ResultCode::StripeSizeUnsupported;
    } else {
        partialSizing_ = allowsPartialSizing(controller_.type());
        maxLogicalDriveSize_ = policy_.maxLogicalDriveSize;
        maxLogicalDriveSizeSet_ = maxLogicalDriveSize_ > 0;
        importDrives();
        bool planned = (policy_.arrayDefaultHotSpares <= 0 ||
                        allocateMinHotSpares(policy_.arrayDefaultHotSpares, ini_->maxHotSpares())) &&
                       allocatePhysicalandLogicalDrives();
        if (planned) {
            if (debug_)
                dumpArraysAndLogicalDrives();
            replaceArrayandLogicalInPolicy();
        }
    }
    trace(kTraceRunEnd, "runConverter end errorCode=%d", codeNumber(errorCode_));
    return errorCode_;
}

bool PolicyConverter::fail(ResultCode code) {
    errorCode_ = code;
    trace(kTraceFailure, "Planning failed errorCode=%d", codeNumber(code));
    return false;
}

void PolicyConverter::trace(int tracePoint, const char* format, ...) {
    if (!debug_)
        return;
    va_list arguments;
    va_start(arguments, format);
    std::string text;
    FormatTextInto(text, format, arguments);
    va_end(arguments);
    settings_.debugTrace(tracePoint, text.c_str());
}

void PolicyConverter::importDrives() {
    trace(kTraceImportStart, "importDrives start");
    pool_.importDrives(controller_);
    trace(kTraceImportEnd, "importDrives end numDrives=%d", pool_.size());
}

bool PolicyConverter::allocateMinHotSpares(int minHotSpares, int maxHotSpares) {
    trace(kTraceHotSparesStart, "allocateMinHotSpares(minHotSpares=%d,maxHotSpares=%d) start", minHotSpares,
          maxHotSpares);
    // Never more than a policy can list.
    int count = std::min({minHotSpares, maxHotSpares, Policy::kMaxHotSpares});
    bool allocated = count >= 0 && count <= pool_.size();
    for (int i = 0; allocated && i < count; ++i) {
        int drive = allocateLargestAvailableDrive();
        allocated = drive >= 0;
        if (allocated)
            addHotSpare(drive);
    }
    trace(kTraceHotSparesEnd, "allocateMinHotSpares end %s", allocated ? "SUCCESS" : "FAILED");
    return allocated || fail(ResultCode::NoDrivesForHotSpares);
}

int PolicyConverter::allocateLargestAvailableDrive() {
    trace(kTraceLargestStart, "allocateLargestAvailableDrive start");
    int drive = pool_.allocateLargest();
    trace(kTraceLargestEnd, "allocateLargestAvailableDrive returning nth=%d",
          drive < 0 ? -1 : pool_.at(drive).drvNum);
    return drive;
}

void PolicyConverter::addHotSpare(int drive) {
    const RaidPhysicalDrive& record = pool_.at(drive);
    trace(kTraceAddHotSpare, "addHotSpare(nth=%d:chan=%d:id=%d:size=%d)", record.drvNum, record.channel,
          record.id, record.size);
    hotSpares_.push_back(drive);
}

int PolicyConverter::getRaidLevel(int arrayNum) const {
    for (int k = 0; const RaidLogicalDrive* logical = policy_.logicalDriveAt(k); ++k) {
        if (logical->arrayIndex == arrayNum)
            return logical->raidLevel;
    }
    return kRaidLevelNotSet;
}

int PolicyConverter::getNumPhysicalDrives(int arrayNum) const {
    const RaidArray* array = policy_.arrayAt(arrayNum);
    const int* count = array ? array->driveNumbers.at(0) : nullptr;
    return count ? *count : 0;
}

long long PolicyConverter::getMinLdSize(int arrayNum) const {
    long long total = 0;
    for (int k = 0; const RaidLogicalDrive* logical = policy_.logicalDriveAt(k); ++k) {
        if (logical->arrayIndex == arrayNum && logical->size > 0)
            total += logical->size;
    }
    return total;
}

int PolicyConverter::getNumLogicalDrives(int arrayNum) const {
    int count = 0;
    for (int k = 0; const RaidLogicalDrive* logical = policy_.logicalDriveAt(k); ++k) {
        if (logical->arrayIndex == arrayNum)
            ++count;
    }
    return count;
}

int PolicyConverter::getLdSize(int arrayNum, int ldNum) const {
    const RaidLogicalDrive* logical = getLogicalDriveFromPolicy(arrayNum, ldNum);
    if (!logical)
        return 0;
    return logical->size == kSizeFill ? -100 : logical->size;
}

RaidLogicalDrive* PolicyConverter::getLogicalDriveFromPolicy(int arrayNum, int ldNum) const {
    int seen = 0;
    for (int k = 0; RaidLogicalDrive* logical = policy_.logicalDriveAt(k); ++k) {
        if (logical->arrayIndex == arrayNum && seen++ == ldNum)
            return logical;
    }
    return nullptr;
}

void PolicyConverter::replaceArrayandLogicalInPolicy() {
    trace(kTraceReplaceStart, "replaceArrayandLogicalInPolicy start");
    std::sort(hotSpares_.begin(), hotSpares_.end(),
              [this](int a, int b) { return pool_.at(a).drvNum < pool_.at(b).drvNum; });
    policy_.removeAllHotSpares();
    std::string listed = "HotSpares=";
    for (int drive : hotSpares_) {
        auto hotSpare = std::make_unique<RaidHotSpare>();
        hotSpare->setDriveNumber(pool_.at(drive).drvNum);
        policy_.addHotSpare(std::move(hotSpare));
        listed += std::to_string(pool_.at(drive).drvNum) + ",";
    }
    trace(kTraceReplaceHotSpares, "%s", listed.c_str());
    policy_.removeAllArrays();
    for (const PlannedArray& planned : arrays_) {
        std::vector<int> numbers;
        for (int drive : planned.members)
            numbers.push_back(pool_.at(drive).drvNum);
        std::sort(numbers.begin(), numbers.end());
        auto array = std::make_unique<RaidArray>();
        for (int number : numbers)
            array->addDriveNumber(number);
        policy_.addArray(std::move(array));
    }
    policy_.arrayMode = Policy::kModeCustom;
    trace(kTraceReplaceEnd, "replaceArrayandLogicalInPolicy end");
}

void PolicyConverter::dumpArraysAndLogicalDrives() {
    static const char kStars[] = "*************************************************";
    trace(kTraceDump, "%s", kStars);
    trace(kTraceDump, "Dumping Arrays for debugging:");
    char item[96];
    for (size_t i = 0; i < arrays_.size(); ++i) {
        std::string line = std::string("Array.") + arrayLetter(static_cast<int>(i)) + "=";
        for (int drive : arrays_[i].members) {
            const RaidPhysicalDrive& record = pool_.at(drive);
            std::snprintf(item, sizeof item, "(nth=%d:chan=%d:id=%d:size=%d),", record.drvNum, record.channel,
                          record.id, record.size);
            line += item;
        }
        trace(kTraceDump, "%s", line.c_str());
    }
    trace(kTraceDump, "%s", kStars);
    trace(kTraceDump, "%s", kStars);
    trace(kTraceDump, "Dumping Logical Drives for debugging:");
    int number = 0;
    for (size_t i = 0; i < arrays_.size(); ++i) {
        for (const RaidLogicalDrive* logical : arrays_[i].logicalDrives) {
            trace(kTraceDump, "Logical.%d = %c:%d:%d:%d", ++number, arrayLetter(static_cast<int>(i)),
                  logical->size, logical->raidLevel, logical->writeCache);
        }
    }
    trace(kTraceDump, "%s", kStars);
}
