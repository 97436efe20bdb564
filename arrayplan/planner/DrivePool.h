// The planner's drive pool: the controller's drives larger than 0 MB, smallest first, with the
// allocation and reservation marks of one planning run.
#pragma once

#include "arrayplan/planner/PlannerRecords.h"

#include <cstddef>
#include <map>
#include <vector>

class RaidController;

class DrivePool {
public:
    // Channels 1 to 4, IDs 0 to 31; equal sizes stay in discovery order.
    void importDrives(const RaidController& controller);

    int size() const { return static_cast<int>(drives_.size()); }
    const RaidPhysicalDrive& at(int index) const { return drives_[static_cast<size_t>(index)]; }

    // The smallest size above startSize for which numDrives (>= 1) unallocated drives of exactly that
    // size stand next to each other in the pool; -1 when there is none.
    int commonDriveSize(int numDrives, int startSize) const;

    // Marks, from the pool's start, numDrives free drives of exactly driveSize as reserved for the
    // array. False when too few are free; the marks made so far stay until releaseReservations.
    bool reserve(int arrayNum, int driveSize, int numDrives);
    void releaseReservations(int arrayNum);

    // The index of the drive taken (marked allocated), or -1 when none is left.
    int allocateLargest();                 // the last free drive of the pool
    int allocateNextOfSize(int driveSize); // the first free drive of exactly that size

    // Free (unallocated, unreserved) drives per size.
    std::map<int, int> freeCounts() const;

private:
    bool isFree(const RaidPhysicalDrive& drive) const {
        return !drive.allocated && drive.reservedArray == RaidPhysicalDrive::kNotReserved;
    }

    std::vector<RaidPhysicalDrive> drives_;
};
