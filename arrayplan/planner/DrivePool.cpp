#include "arrayplan/planner/DrivePool.h"

#include "arrayplan/model/RaidController.h"

#include <algorithm>

void DrivePool::importDrives(const RaidController& controller) {
    drives_.clear();
    for (int channel = 1; channel < RaidController::kChannels; ++channel) {
        for (int id = 0; id < RaidController::kIds; ++id) {
            int size = controller.driveSize(channel, id);
            if (size <= 0)
                continue;
            RaidPhysicalDrive drive;
            drive.channel = channel;
            drive.id = id;
            drive.size = size;
            // Numbered like everywhere else: a 0 MB drive still occupies a number.
            drive.drvNum = controller.driveNumber(channel, id);
            drives_.push_back(drive);
        }
    }
    std::stable_sort(drives_.begin(), drives_.end(),
                     [](const RaidPhysicalDrive& a, const RaidPhysicalDrive& b) { return a.size < b.size; });
}

// The pool is sorted, so the drives not above startSize are a prefix that the walk may skip at once.
int DrivePool::commonDriveSize(int numDrives, int startSize) const {
    int count = size();
    auto first =
        std::upper_bound(drives_.begin(), drives_.end(), startSize,
                         [](int value, const RaidPhysicalDrive& drive) { return value < drive.size; });
    int last = 0;
    for (int i = static_cast<int>(first - drives_.begin()); i < count; ++i) {
        if (numDrives > count - i)
            return -1;
        int end = i + numDrives - 1;
        if (at(end).allocated) {
            i = end;
            continue;
        }
        if (at(i).allocated)
            continue;
        int driveSize = at(i).size;
        if (driveSize > last && at(end).size == driveSize)
            return driveSize;
        last = driveSize;
    }
    return -1;
}

bool DrivePool::reserve(int arrayNum, int driveSize, int numDrives) {
    int marked = 0;
    for (RaidPhysicalDrive& drive : drives_) {
        if (marked >= numDrives)
            break;
        if (isFree(drive) && drive.size == driveSize) {
            drive.reservedArray = arrayNum;
            ++marked;
        }
    }
    return marked >= numDrives;
}

void DrivePool::releaseReservations(int arrayNum) {
    for (RaidPhysicalDrive& drive : drives_) {
        if (drive.reservedArray == arrayNum)
            drive.reservedArray = RaidPhysicalDrive::kNotReserved;
    }
}

int DrivePool::allocateLargest() {
    for (int i = size() - 1; i >= 0; --i) {
        if (!drives_[static_cast<size_t>(i)].allocated) {
            drives_[static_cast<size_t>(i)].allocated = true;
            return i;
        }
    }
    return -1;
}

int DrivePool::allocateNextOfSize(int driveSize) {
    for (int i = 0; i < size(); ++i) {
        RaidPhysicalDrive& drive = drives_[static_cast<size_t>(i)];
        if (!drive.allocated && drive.size == driveSize) {
            drive.allocated = true;
            return i;
        }
    }
    return -1;
}

std::map<int, int> DrivePool::freeCounts() const {
    std::map<int, int> counts;
    for (const RaidPhysicalDrive& drive : drives_) {
        if (isFree(drive))
            ++counts[drive.size];
    }
    return counts;
}
