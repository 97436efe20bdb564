// The array steps of the planner: candidate sizes, their distribution between the arrays, the
// allocation of the members and the sizes of the logical drives.
#include "arrayplan/planner/PolicyConverter.h"

#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/planner/DataSpace.h"
#include "arrayplan/planner/PlannerTrace.h"
#include "arrayplan/policy/Policy.h"

#include <algorithm>
#include <climits>
#include <string>

bool PolicyConverter::allocatePhysicalandLogicalDrives() {
    trace(kTracePhysicalAndLogicalStart, "allocatePhysicalandLogicalDrives start");
    bool done = createPlannedArrays();
    for (size_t i = 0; done && i < arrays_.size(); ++i) {
        int arrayNum = static_cast<int>(i);
        int selection = getNumPhysicalDrives(arrayNum);
        long long minLdSize = getMinLdSize(arrayNum);
        trace(kTracePolicyArray,
              "getNumPhysicalDrives(arrayNum=%d) returning %d, getMinLdSize returning %lld", arrayNum,
              selection, minLdSize);
        done = getPossibleArrayDriveSizes(arrays_[i], selection, minLdSize);
    }
    done = done && (distributeDrivesBetweenArrays() || fail(ResultCode::NotEnoughSameSizeDrives)) &&
           allocateArrayMembers();
    if (done) {
        fillArrays();
        done = sizeLogicalDrives();
    }
    trace(kTracePhysicalAndLogicalEnd, "allocatePhysicalandLogicalDrives end %s",
          done ? "SUCCESS" : "FAILED");
    return done;
}

bool PolicyConverter::createPlannedArrays() {
    int count = policy_.arrayCount();
    if (count > ini_->maxArrays())
        return fail(ResultCode::ArrayCountUnsupported);
    arrays_.assign(static_cast<size_t>(count), PlannedArray{});
    for (int i = 0; i < count; ++i) {
        int level = getRaidLevel(i);
        trace(kTraceRaidLevel, "getRaidLevel(arrayNum=%d) returning raidLevel=%d", i, level);
        if (!ini_->raidLevelSupported(level))
            return fail(ResultCode::RaidLevelUnsupported);
        arrays_[static_cast<size_t>(i)].raidLevel = level;
    }
    return true;
}

bool PolicyConverter::getPossibleArrayDriveSizes(PlannedArray& array, int numPhysicalDrivesSelection,
                                                 long long minLdSize) {
    trace(kTracePossibleSizesStart,
          "getPossibleArrayDriveSizes(raidLevel=%d,numPhysicalDrivesSelection=%d,minLdSize=%lld) start",
          array.raidLevel, numPhysicalDrivesSelection, minLdSize);
    int numDrives = numPhysicalDrivesSelection != 0 ? numPhysicalDrivesSelection
                                                    : ini_->minPhysicalDrives(array.raidLevel);
    if (numDrives > ini_->maxPhysicalDrives(array.raidLevel))
        return fail(ResultCode::ArrayDrivesUnsupported);
    numDrives = std::max(numDrives, 1); // an array has at least one drive, whatever the file says
    for (int size = getCommonDriveSize(numDrives, 0); size >= 0; size = getCommonDriveSize(numDrives, size)) {
        array.candidateSizes.push_back(size);
        array.candidateCounts.push_back(numDrives);
    }
    for (size_t k = 0; k < array.candidateSizes.size();) {
        if (fitCandidate(array, k, numPhysicalDrivesSelection, minLdSize)) {
            ++k;
            continue;
        }
        array.candidateSizes.erase(array.candidateSizes.begin() + static_cast<long>(k));
        array.candidateCounts.erase(array.candidateCounts.begin() + static_cast<long>(k));
    }
    std::string listed;
    for (size_t k = 0; k < array.candidateSizes.size(); ++k)
        listed +=
            std::to_string(array.candidateSizes[k]) + "x" + std::to_string(array.candidateCounts[k]) + ",";
    trace(kTracePossibleSizesEnd, "getPossibleArrayDriveSizes end candidates=%s", listed.c_str());
    return true;
}

// Whether the candidate's data space holds minLdSize; an array whose count is its own to choose
// grows by drives of the same size until it does. False when the candidate cannot serve.
bool PolicyConverter::fitCandidate(PlannedArray& array, size_t candidate, int numPhysicalDrivesSelection,
                                   long long minLdSize) {
    int count = array.candidateCounts[candidate];
    int size = array.candidateSizes[candidate];
    for (;;) {
        if (computeDataSpace(count, size, array.raidLevel) >= minLdSize) {
            array.candidateCounts[candidate] = count;
            return true;
        }
        if (numPhysicalDrivesSelection != 0 || array.raidLevel == kRaid1)
            return false;
        ++count;
        if (getCommonDriveSize(count, size - 1) != size)
            return false;
    }
}

int PolicyConverter::getCommonDriveSize(int numDrives, int startSize) {
    trace(kTraceCommonSizeStart, "getCommonDriveSize(numDrives=%d,startSize=%d) start", numDrives, startSize);
    int size = pool_.commonDriveSize(numDrives, startSize);
    trace(kTraceCommonSizeEnd, "getCommonDriveSize returning driveSize=%d", size);
    return size;
}

long long PolicyConverter::computeDataSpace(int drives, int driveSize, int raidLevel) {
    trace(kTraceDataSpaceStart, "computeDataSpace(drives=%d,driveSize=%d,raidLevel=%d) start", drives,
          driveSize, raidLevel);
    long long space = dataSpace(drives, driveSize, raidLevel);
    trace(kTraceDataSpaceEnd, "computeDataSpace end DataSpace=%lld", space);
    return space;
}

bool PolicyConverter::distributeDrivesBetweenArrays() {
    trace(kTraceDistributeStart, "distributeDrivesBetweenArrays start");
    CandidateLists candidates(arrays_.size());
    for (size_t i = 0; i < arrays_.size(); ++i) {
        for (size_t k = 0; k < arrays_[i].candidateSizes.size(); ++k)
            candidates[i].push_back(
                DriveCandidate{arrays_[i].candidateSizes[k], arrays_[i].candidateCounts[k]});
    }
    DriveDistribution search(candidates, pool_.freeCounts(), *this);
    bool found = arrays_.empty() || search.allocateArray(0);
    for (size_t i = 0; found && i < arrays_.size(); ++i) {
        const DriveCandidate& chosen =
            candidates[i][static_cast<size_t>(search.chosenCandidate(static_cast<int>(i)))];
        arrays_[i].driveSize = chosen.size;
        arrays_[i].driveCount = chosen.count;
    }
    trace(kTraceDistributeEnd, "distributeDrivesBetweenArrays end %s", found ? "SUCCESS" : "FAILED");
    return found;
}

void PolicyConverter::allocateArrayStarted(int arrayNum) {
    trace(kTraceAllocateArrayStart, "allocateArray(arrayNum=%d) start", arrayNum);
}

void PolicyConverter::allocateArrayEnded(int arrayNum, bool found) {
    trace(kTraceAllocateArrayEnd, "allocateArray(arrayNum=%d) end %s", arrayNum,
          found ? "SUCCESS" : "FAILED");
}

void PolicyConverter::reservePhysicalDrives(int arrayNum, int driveSize, int numDrives, bool /*found*/) {
    trace(kTraceReserveStart, "reservePhysicalDrives(arrayNum=%d,driveSize=%d,numDrives=%d) start", arrayNum,
          driveSize, numDrives);
    bool reserved = pool_.reserve(arrayNum, driveSize, numDrives);
    trace(kTraceReserveEnd, "reservePhysicalDrives end %s", reserved ? "SUCCESS" : "FAILED");
}

void PolicyConverter::returnPhysicalDrives(int arrayNum) {
    trace(kTraceReturn, "returnPhysicalDrives(arrayNum=%d)", arrayNum);
    pool_.releaseReservations(arrayNum);
}

bool PolicyConverter::allocateArrayMembers() {
    for (size_t i = 0; i < arrays_.size(); ++i) {
        const PlannedArray& array = arrays_[i];
        // A policy array lists at most 32 drives.
        if (array.driveCount > kMaxArrayMembers)
            return fail(ResultCode::ArrayDrivesUnsupported);
        for (int n = 0; n < array.driveCount; ++n) {
            int drive = allocateNextAvailableDrive(array.driveSize);
            if (drive < 0)
                return fail(ResultCode::NotEnoughSameSizeDrives);
            addPhysicalDrive(static_cast<int>(i), drive);
        }
    }
    return true;
}

// Arrays whose drive count is the planner's to choose take every further drive of their size, up
// to the level's maximum, the last array first.
void PolicyConverter::fillArrays() {
    for (size_t i = arrays_.size(); i-- > 0;) {
        PlannedArray& array = arrays_[i];
        if (getNumPhysicalDrives(static_cast<int>(i)) != 0 || array.raidLevel == kRaid1)
            continue;
        int most = std::min(ini_->maxPhysicalDrives(array.raidLevel), kMaxArrayMembers);
        while (static_cast<int>(array.members.size()) < most) {
            int drive = allocateNextAvailableDrive(array.driveSize);
            if (drive < 0)
                break;
            addPhysicalDrive(static_cast<int>(i), drive);
        }
    }
}

int PolicyConverter::allocateNextAvailableDrive(int driveSize) {
    trace(kTraceNextDriveStart, "allocateNextAvailableDrive(driveSize=%d) start", driveSize);
    int drive = pool_.allocateNextOfSize(driveSize);
    trace(kTraceNextDriveEnd, "allocateNextAvailableDrive returning nth=%d",
          drive < 0 ? -1 : pool_.at(drive).drvNum);
    return drive;
}

void PolicyConverter::addPhysicalDrive(int arrayNum, int drive) {
    trace(kTraceAddPhysicalDrive, "addPhysicalDrive(arrayNum=%d,nth=%d)", arrayNum, pool_.at(drive).drvNum);
    arrays_[static_cast<size_t>(arrayNum)].members.push_back(drive);
}

bool PolicyConverter::sizeLogicalDrives() {
    for (size_t i = 0; i < arrays_.size(); ++i) {
        if (!sizeLogicalDrivesOfArray(static_cast<int>(i)))
            return false;
    }
    return true;
}

bool PolicyConverter::sizeLogicalDrivesOfArray(int arrayNum) {
    const PlannedArray& array = arrays_[static_cast<size_t>(arrayNum)];
    // The drives added by the fill step do not enlarge the space that percentages refer to.
    long long space = computeDataSpace(array.driveCount, array.driveSize, array.raidLevel);
    int count = getNumLogicalDrives(arrayNum);
    trace(kTraceNumLogicalDrives, "getNumLogicalDrives(arrayNum=%d) returning %d", arrayNum, count);
    if (count > ini_->maxLogicalDrives(array.raidLevel))
        return fail(ResultCode::LogicalDrivesUnsupported);
    for (int j = 0; !partialSizing_ && j < count; ++j) {
        if (getLdSize(arrayNum, j) != -100)
            return fail(ResultCode::PartialSizingUnsupported);
    }
    for (int j = 0; j < count; ++j) {
        int ldSize = getLdSize(arrayNum, j);
        trace(kTraceLdSize, "getLdSize(arrayNum=%d,ldNum=%d) returning %d", arrayNum, j, ldSize);
        if (ldSize == 0)
            return fail(ResultCode::PartialSizingUnsupported);
        RaidLogicalDrive* logical = getLogicalDriveFromPolicy(arrayNum, j);
        if (!logical)
            return fail(ResultCode::NotEnoughSameSizeDrives);
        addLogicalDrive(arrayNum, logicalDriveSize(ldSize, space), logical);
    }
    return true;
}

// MB, or FILL when the logical drive takes the whole space; percentages are of the data space.
int PolicyConverter::logicalDriveSize(int ldSize, long long dataSpace) const {
    if (!partialSizing_)
        return kSizeFill;
    long long size = ldSize > 0 ? ldSize : -static_cast<long long>(ldSize) * dataSpace / 100;
    if (maxLogicalDriveSizeSet_ && size > maxLogicalDriveSize_)
        size = maxLogicalDriveSize_;
    if (size >= dataSpace)
        return kSizeFill;
    return static_cast<int>(std::min<long long>(size, INT_MAX)); // the most a logical drive record holds
}

void PolicyConverter::addLogicalDrive(int arrayNum, int ldSize, RaidLogicalDrive* logical) {
    trace(kTraceAddLogicalDrive, "addLogicalDrive(arrayNum=%d,ldSize=%d)", arrayNum, ldSize);
    logical->size = ldSize;
    arrays_[static_cast<size_t>(arrayNum)].logicalDrives.push_back(logical);
}
