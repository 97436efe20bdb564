#include "arrayplan/policy/DriveGrid.h"

#include "arrayplan/model/RaidController.h"

namespace {

constexpr int kFirstChannel = 1;

} // namespace

bool driveExists(const RaidController& controller, int channel, int id) {
    return channel >= kFirstChannel && controller.driveSize(channel, id) != -1;
}

bool isFreeDrive(const RaidController& controller, int channel, int id) {
    return channel >= kFirstChannel && controller.driveSize(channel, id) > 0 &&
           !controller.isReserved(channel, id);
}

bool firstFreeDrive(const RaidController& controller, DrivePosition& found) {
    for (int channel = kFirstChannel; channel < RaidController::kChannels; ++channel) {
        for (int id = 0; id < RaidController::kIds; ++id) {
            if (isFreeDrive(controller, channel, id)) {
                found = DrivePosition{channel, id};
                return true;
            }
        }
    }
    return false;
}

bool largestFreeDrive(const RaidController& controller, DrivePosition& found) {
    int largest = 0;
    for (int channel = kFirstChannel; channel < RaidController::kChannels; ++channel) {
        for (int id = 0; id < RaidController::kIds; ++id) {
            if (isFreeDrive(controller, channel, id) && controller.driveSize(channel, id) >= largest) {
                largest = controller.driveSize(channel, id);
                found = DrivePosition{channel, id};
            }
        }
    }
    return largest > 0;
}

long long smallestMemberSize(const RaidController& controller, const RaidArray& array) {
    long long smallest = -1;
    for (const DrivePosition& member : array.members) {
        long long size = controller.driveSize(member.channel, member.id);
        if (smallest < 0 || size < smallest)
            smallest = size;
    }
    return smallest < 0 ? 0 : smallest;
}

void clearReservations(RaidController& controller) {
    for (int channel = 0; channel < RaidController::kChannels; ++channel) {
        for (int id = 0; id < RaidController::kIds; ++id)
            controller.setReserved(channel, id, false);
    }
}
