#include "arrayplan/policy/ControllerConfigurator.h"

#include "arrayplan/model/Catalogue.h"
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/ConfigurationRules.h"
#include "arrayplan/policy/DriveGrid.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyText.h"
#include "foundation/TextFormat.h"

#include <climits>

namespace {

CString positionText(int channel, int id) {
    return CString(channel) + ":" + CString(id);
}

// A listed drive as the policy named it: by number, or by channel and ID.
CString driveText(int driveNumber, int channel, int id) {
    return driveNumber != -1 ? CString(driveNumber) : positionText(channel, id);
}

} // namespace

ControllerConfigurator::ControllerConfigurator(RunSettings& settings, RaidController& controller,
                                               const Policy& policy)
    : settings_(settings), controller_(controller), policy_(policy) {}

ControllerConfigurator::~ControllerConfigurator() = default;

ResultCode ControllerConfigurator::buildConfiguration() {
    return build() ? ResultCode::Success : failure_;
}

bool ControllerConfigurator::build() {
    controller_.setConfiguration(nullptr);
    if (!enoughDrivesToConfigure())
        return true;
    clearReservations(controller_);
    auto configuration = std::make_unique<RaidConfiguration>();
    configuration->policyName = policy_.name.Str();
    if (!addHotSpares(*configuration) || !addArrays(*configuration) || !addLogicalDrives(*configuration) ||
        !setStripeSize(*configuration))
        return false;
    setReadAheadAndRebuildRate(*configuration);
    configuration->init = policy_.init == Policy::kInitBuild ? 1 : 0;
    controller_.setConfiguration(std::move(configuration));
    return true;
}

// ---- hot spares

bool ControllerConfigurator::addHotSpares(RaidConfiguration& configuration) {
    if (policy_.arrayMode == Policy::kModeCustom)
        return addListedHotSpares(configuration);
    int count = policy_.arrayDefaultHotSpares;
    if (count == AppliesToEntry::kNotGiven)
        count = defaultHotSpareCount();
    return addLargestDrivesAsHotSpares(configuration, count);
}

bool ControllerConfigurator::addListedHotSpares(RaidConfiguration& configuration) {
    for (int i = 0; i < policy_.hotSpareCount(); ++i) {
        const RaidHotSpare& listed = *policy_.hotSpareAt(i);
        int channel = listed.channel();
        int id = listed.id();
        if (listed.driveNumber() != -1) {
            if (!controller_.findDriveNumber(listed.driveNumber(), channel, id))
                return reportMissingDrive("Hotspares", CString(listed.driveNumber()),
                                          ResultCode::NoDrivesForHotSpares);
        } else if (!driveExists(controller_, channel, id)) {
            return reportMissingDrive("Hotspares", positionText(channel, id),
                                      ResultCode::NoDrivesForHotSpares);
        }
        if (controller_.isReserved(channel, id))
            return reportUsedDrive("Hotspares", driveText(listed.driveNumber(), channel, id),
                                   ResultCode::NoDrivesForHotSpares);
        if (!addHotSpare(configuration, channel, id))
            return false;
    }
    return true;
}

bool ControllerConfigurator::addLargestDrivesAsHotSpares(RaidConfiguration& configuration, int count) {
    for (int i = 0; i < count; ++i) {
        DrivePosition drive;
        if (!largestFreeDrive(controller_, drive)) {
            return fail(
                policy_.name + ", " + "Hotspares" +
                    FormatText(" -- Not enough drives available to create %d hot-spare drives.\n", count)
                        .c_str() +
                    FormatText("\t%s controller.\n", controller_.modelName()).c_str(),
                ResultCode::NoDrivesForHotSpares);
        }
        if (!addHotSpare(configuration, drive.channel, drive.id))
            return false;
    }
    return true;
}

bool ControllerConfigurator::addHotSpare(RaidConfiguration& configuration, int channel, int id) {
    RaidHotSpare spare;
    spare.setChannel(channel);
    spare.setId(id);
    spare.setDriveNumber(controller_.driveNumber(channel, id));
    if (!configuration.addHotSpare(spare)) {
        return fail(policy_.name + ", " + "Hotspares" + " -- Too many hot-spare drives specified.\n" +
                        FormatText("\tThe maximum number of hot-spare drives that you may specify is %d\n",
                                   RaidConfiguration::kMaxHotSpares)
                            .c_str(),
                    ResultCode::NoDrivesForHotSpares);
    }
    controller_.setReserved(channel, id, true);
    return true;
}

// ---- arrays

bool ControllerConfigurator::addArrays(RaidConfiguration& configuration) {
    if (policy_.arrayMode == Policy::kModeCustom)
        return addListedArrays(configuration);
    return addAutomaticArrays(configuration);
}

bool ControllerConfigurator::addListedArrays(RaidConfiguration& configuration) {
    for (int i = 0; i < policy_.arrayCount(); ++i) {
        const RaidArray& listed = *policy_.arrayAt(i);
        // An ALL array takes what is left; no array follows it.
        if (listed.takesAll)
            return addArrayOfFreeDrives(configuration, i);
        if (!addListedArray(configuration, listed, i))
            return false;
    }
    return true;
}

bool ControllerConfigurator::addListedArray(RaidConfiguration& configuration, const RaidArray& listed,
                                            int index) {
    CString keyword = CString("Array.") + arrayLetter(index);
    RaidArray array;
    for (const DrivePosition& member : listed.members) {
        if (!driveExists(controller_, member.channel, member.id))
            return reportMissingDrive(keyword, positionText(member.channel, member.id),
                                      ResultCode::NotEnoughSameSizeDrives);
        if (controller_.isReserved(member.channel, member.id))
            return reportUsedDrive(keyword, positionText(member.channel, member.id),
                                   ResultCode::NotEnoughSameSizeDrives);
        reserveMember(array, member.channel, member.id);
    }
    if (listed.members.empty()) {
        for (int number : listed.driveNumbers) {
            int channel = -1, id = -1;
            if (!controller_.findDriveNumber(number, channel, id))
                return reportMissingDrive(keyword, CString(number), ResultCode::NotEnoughSameSizeDrives);
            if (controller_.isReserved(channel, id))
                return reportUsedDrive(keyword, CString(number), ResultCode::NotEnoughSameSizeDrives);
            reserveMember(array, channel, id);
        }
    }
    return addArray(configuration, array);
}

bool ControllerConfigurator::addArrayOfFreeDrives(RaidConfiguration& configuration, int index) {
    int limit = arrayDriveLimit(levelOfArray(index), controller_.type(), controller_.variant());
    RaidArray array;
    for (int channel = 1; channel < RaidController::kChannels; ++channel) {
        for (int id = 0; id < RaidController::kIds && array.memberCount() < limit; ++id) {
            if (isFreeDrive(controller_, channel, id))
                reserveMember(array, channel, id);
        }
    }
    return addArray(configuration, array);
}

// Each array starts at the first free drive and takes the free drives whose size lies within the
// policy's variance of it, on its channel (type 4) or on its channel and the ones after it.
bool ControllerConfigurator::addAutomaticArrays(RaidConfiguration& configuration) {
    const RaidLogicalDrive* defaults = policy_.logicalDefaults();
    int level = defaults != nullptr ? defaults->raidLevel : kRaidLevelNotSet;
    int limit = arrayDriveLimit(level, controller_.type(), controller_.variant());
    DrivePosition start;
    while (firstFreeDrive(controller_, start)) {
        long long size = controller_.driveSize(start.channel, start.id);
        long long tolerance = static_cast<long long>(policy_.arrayDefaultVariance) * size / 100;
        int lastChannel = controller_.type() == 4 ? start.channel : RaidController::kChannels - 1;
        RaidArray array;
        for (int channel = start.channel; channel <= lastChannel; ++channel) {
            for (int id = 0; id < RaidController::kIds && array.memberCount() < limit; ++id) {
                long long difference = controller_.driveSize(channel, id) - size;
                if (isFreeDrive(controller_, channel, id) && difference >= -tolerance &&
                    difference <= tolerance)
                    reserveMember(array, channel, id);
            }
        }
        if (!addArray(configuration, array))
            return false;
        if (takesSingleArray(controller_.type()))
            break;
    }
    return true;
}

bool ControllerConfigurator::addArray(RaidConfiguration& configuration, const RaidArray& array) {
    if (configuration.addArray(array))
        return true;
    return fail(policy_.name +
                    FormatText(" -- The drives of the %s controller would need more than %d arrays.\n",
                               controller_.modelName(), RaidConfiguration::kMaxArrays)
                        .c_str(),
                ResultCode::ArrayCountUnsupported);
}

void ControllerConfigurator::reserveMember(RaidArray& array, int channel, int id) {
    array.addMember(channel, id);
    controller_.setReserved(channel, id, true);
}

int ControllerConfigurator::levelOfArray(int index) const {
    for (int j = 0; j < policy_.logicalDriveCount(); ++j) {
        if (policy_.logicalDriveAt(j)->arrayIndex == index)
            return policy_.logicalDriveAt(j)->raidLevel;
    }
    const RaidLogicalDrive* defaults = policy_.logicalDefaults();
    return defaults != nullptr ? defaults->raidLevel : kRaidLevelNotSet;
}

// ---- logical drives

bool ControllerConfigurator::addLogicalDrives(RaidConfiguration& configuration) {
    if (policy_.logicalMode == Policy::kModeCustom) {
        for (int j = 0; j < policy_.logicalDriveCount(); ++j) {
            if (!addListedLogicalDrive(configuration, *policy_.logicalDriveAt(j)))
                return false;
        }
        return true;
    }
    for (int i = 0; i < configuration.arrayCount(); ++i) {
        if (!addDefaultLogicalDrive(configuration, i))
            return false;
    }
    return true;
}

bool ControllerConfigurator::addListedLogicalDrive(RaidConfiguration& configuration,
                                                   const RaidLogicalDrive& listed) {
    const RaidArray* array = configuration.arrayAt(listed.arrayIndex);
    if (array == nullptr)
        return fail(policy_.name + " -- Invalid array letter specified:  " + arrayLetter(listed.arrayIndex) +
                    "\n");
    RaidLogicalDrive logical = listed;
    if (logical.raidLevel == kRaidAuto)
        logical.raidLevel = defaultRaidLevel(array->memberCount());
    if (!raidLevelSupported(logical.raidLevel)) {
        return fail(FormatText("Error in %s -- %s does not support the RAID level specified.\n",
                               policy_.name.Text(), controller_.modelName())
                        .c_str());
    }
    logical.size = sizeOnArray(*array, logical);
    return addLogicalDrive(configuration, logical);
}

bool ControllerConfigurator::addDefaultLogicalDrive(RaidConfiguration& configuration, int arrayIndex) {
    const RaidArray& array = *configuration.arrayAt(arrayIndex);
    RaidLogicalDrive logical;
    logical.arrayIndex = arrayIndex;
    logical.size = defaultLogicalDriveSize();
    logical.raidLevel = defaultRaidLevel(array.memberCount());
    logical.writeCache = defaultWriteCache();
    if (const RaidLogicalDrive* defaults = policy_.logicalDefaults()) {
        logical.size = defaults->size;
        if (defaults->raidLevel != kRaidAuto)
            logical.raidLevel = defaults->raidLevel;
        if (defaults->writeCache != kWriteCacheAuto)
            logical.writeCache = defaults->writeCache;
    }
    logical.size = sizeOnArray(array, logical);
    return addLogicalDrive(configuration, logical);
}

// A percentage becomes the share of the array's data space; sizes in MB and FILL stay.
int ControllerConfigurator::sizeOnArray(const RaidArray& array, const RaidLogicalDrive& logical) const {
    if (logical.size > 0 || logical.size == kSizeFill)
        return logical.size;
    long long size = percentOfDataSpace(logical.raidLevel, array.memberCount(),
                                        smallestMemberSize(controller_, array), -logical.size);
    return size > INT_MAX ? INT_MAX : static_cast<int>(size);
}

bool ControllerConfigurator::addLogicalDrive(RaidConfiguration& configuration,
                                             const RaidLogicalDrive& logical) {
    const RaidArray& array = *configuration.arrayAt(logical.arrayIndex);
    if (!memberCountFits(logical.raidLevel, array.memberCount(), controller_.type())) {
        return fail(FormatText("Could not use %s to configure %s controller.\nThe number of drives in the "
                               "Array.%c cannot accommodate the RAID level specified.\n",
                               policy_.name.Text(), controller_.modelName(), arrayLetter(logical.arrayIndex))
                        .c_str());
    }
    if (configuration.addLogicalDrive(logical))
        return true;
    return fail(policy_.name + FormatText(" -- A configuration holds at most %d logical drives.\n",
                                          RaidConfiguration::kMaxLogicalDrives)
                                   .c_str());
}

// ---- controller settings

bool ControllerConfigurator::setStripeSize(RaidConfiguration& configuration) {
    int code = stripeSizeFromText(policy_.stripeSize);
    if (code < 0)
        code = defaultStripeSize();
    if (!stripeSizeSupported(code)) {
        return fail(FormatText("Error in %s -- %s does not support the stripe size specified.\n",
                               policy_.name.Text(), controller_.modelName())
                        .c_str());
    }
    configuration.stripeSize = code;
    return true;
}

void ControllerConfigurator::setReadAheadAndRebuildRate(RaidConfiguration& configuration) const {
    int readAhead = readAheadFromText(policy_.readAhead);
    configuration.readAhead = readAhead < 0 ? defaultReadAhead() : readAhead;
    int rebuildRate = rebuildRateFromText(policy_.rebuildRate);
    configuration.rebuildRate = rebuildRate < 0 ? defaultRebuildRate() : rebuildRate;
}

// ---- failures

bool ControllerConfigurator::reportMissingDrive(const CString& keyword, const CString& drive,
                                                ResultCode code) {
    return fail(policy_.name + ", " + keyword + " -- The following drive does not exist:  " + drive + "\n" +
                    FormatText("\t%s controller.\n", controller_.modelName()).c_str(),
                code);
}

// A drive that an earlier hot spare or array of the policy already took: no controller can build an
// array or a spare from one drive twice.
bool ControllerConfigurator::reportUsedDrive(const CString& keyword, const CString& drive, ResultCode code) {
    return fail(policy_.name + ", " + keyword + " -- The following drive is already used:  " + drive + "\n" +
                    FormatText("\t%s controller.\n", controller_.modelName()).c_str(),
                code);
}

bool ControllerConfigurator::fail(const CString& message, ResultCode code) {
    settings_.reportError(message);
    failure_ = code;
    return false;
}
