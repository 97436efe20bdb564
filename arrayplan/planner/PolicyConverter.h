// PolicyConverter: completes a policy that gives drive counts ("AUTO", "#n") for one controller: picks
// the hot spares, the drives of every array and the size of every logical drive within the limits of
// the controller's support file, and writes them back into the policy, which then reads like a
// hand-written policy in custom array mode with explicit drive numbers.
//
// Plan each controller on its own copy of the policy as read:
//     Policy planned(*policyAsRead);
//     PolicyConverter converter(settings, planned, controller);
//     if (ResultCode code = converter.runConverter(); code != ResultCode::Success) ... // 3 .. 10, 17
#pragma once

#include "arrayplan/model/ResultCodes.h"

#include "arrayplan/planner/DriveDistribution.h"
#include "arrayplan/planner/DrivePool.h"
#include "arrayplan/planner/PlannerRecords.h"

#include <memory>
#include <vector>

class ControllerIni;
class Policy;
class RaidController;
class RaidLogicalDrive;
class RunSettings;

class PolicyConverter : private DistributionSteps {
public:
    // Borrows all three; the policy is edited in place by runConverter.
    PolicyConverter(RunSettings& settings, Policy& policy, RaidController& controller);
    ~PolicyConverter() override;
    PolicyConverter(const PolicyConverter&) = delete;
    PolicyConverter& operator=(const PolicyConverter&) = delete;

    // Success when the policy was completed; else the run's code, and the policy may be partly edited.
    ResultCode runConverter();

private:
    bool fail(ResultCode code);
    void trace(int tracePoint, const char* format, ...) __attribute__((format(printf, 3, 4)));

    // Drives and hot spares.
    void importDrives();
    bool allocateMinHotSpares(int minHotSpares, int maxHotSpares);
    int allocateLargestAvailableDrive();
    void addHotSpare(int drive);

    // What the policy asks of array arrayNum.
    int getRaidLevel(int arrayNum) const;
    int getNumPhysicalDrives(int arrayNum) const;
    long long getMinLdSize(int arrayNum) const;
    int getNumLogicalDrives(int arrayNum) const;
    int getLdSize(int arrayNum, int ldNum) const; // FILL reported as 100 percent
    RaidLogicalDrive* getLogicalDriveFromPolicy(int arrayNum, int ldNum) const;

    // Arrays.
    bool allocatePhysicalandLogicalDrives();
    bool createPlannedArrays();
    bool getPossibleArrayDriveSizes(PlannedArray& array, int numPhysicalDrivesSelection, long long minLdSize);
    bool fitCandidate(PlannedArray& array, size_t candidate, int numPhysicalDrivesSelection,
                      long long minLdSize);
    int getCommonDriveSize(int numDrives, int startSize);
    long long computeDataSpace(int drives, int driveSize, int raidLevel);
    bool distributeDrivesBetweenArrays();
    bool allocateArrayMembers();
    void fillArrays();
    int allocateNextAvailableDrive(int driveSize);
    void addPhysicalDrive(int arrayNum, int drive);

    // Logical drives and the result.
    bool sizeLogicalDrives();
    bool sizeLogicalDrivesOfArray(int arrayNum);
    int logicalDriveSize(int ldSize, long long dataSpace) const;
    void addLogicalDrive(int arrayNum, int ldSize, RaidLogicalDrive* logical);
    void replaceArrayandLogicalInPolicy();
    void dumpArraysAndLogicalDrives();

    // The search's steps, traced and mirrored on the pool.
    void allocateArrayStarted(int arrayNum) override;
    void allocateArrayEnded(int arrayNum, bool found) override;
    void reservePhysicalDrives(int arrayNum, int driveSize, int numDrives, bool found) override;
    void returnPhysicalDrives(int arrayNum) override;

    RunSettings& settings_;
    Policy& policy_;
    RaidController& controller_;
    std::unique_ptr<ControllerIni> ini_;
    DrivePool pool_;
    std::vector<int> hotSpares_; // pool indices
    std::vector<PlannedArray> arrays_;
    bool partialSizing_ = false;
    int maxLogicalDriveSize_ = -1;
    bool maxLogicalDriveSizeSet_ = false;
    bool debug_;
    ResultCode errorCode_ = ResultCode::Success;
};
