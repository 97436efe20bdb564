#include "arrayplan/model/RaidController.h"

#include "arrayplan/model/Catalogue.h"
#include "foundation/Console.h"

const char* RaidController::modelName() const {
    return ::modelName(type_, variant_);
}

bool RaidController::setScanOrder(int order) {
    if (order < 1 || order > 15)
        return false;
    scanOrder_ = order;
    return true;
}

bool RaidController::validPosition(int channel, int id) {
    return channel >= 0 && channel < kChannels && id >= 0 && id < kIds;
}

bool RaidController::setDrive(int channel, int id, int size, const std::string& type) {
    return setDrive(channel, id, size, type, -1);
}

bool RaidController::setDrive(int channel, int id, int size, const std::string& type, int targetNumber) {
    if (!validPosition(channel, id))
        return false;
    DriveSlot& slot = drives_[channel][id];
    slot.size = size;
    slot.type = type;
    slot.targetNumber = targetNumber;
    return true;
}

const DriveSlot* RaidController::drive(int channel, int id) const {
    return validPosition(channel, id) ? &drives_[channel][id] : nullptr;
}

int RaidController::driveSize(int channel, int id) const {
    return validPosition(channel, id) ? drives_[channel][id].size : -1;
}

bool RaidController::isReserved(int channel, int id) const {
    return validPosition(channel, id) && drives_[channel][id].reserved;
}

bool RaidController::setReserved(int channel, int id, bool reserved) {
    if (!validPosition(channel, id))
        return false;
    drives_[channel][id].reserved = reserved;
    return true;
}

int RaidController::driveCount() const {
    int count = 0;
    for (int channel = 1; channel < kChannels; ++channel) {
        for (int id = 0; id < kIds; ++id) {
            if (drives_[channel][id].size != -1)
                ++count;
        }
    }
    return count;
}

int RaidController::driveNumber(int channel, int id) const {
    if (channel < 1 || !validPosition(channel, id) || drives_[channel][id].size == -1)
        return -1;
    int number = 0;
    for (int c = 1; c <= channel; ++c) {
        for (int i = 0; i < kIds && (c < channel || i <= id); ++i) {
            if (drives_[c][i].size != -1)
                ++number;
        }
    }
    return number;
}

bool RaidController::findDriveNumber(int number, int& channel, int& id) const {
    int current = 0;
    for (int c = 1; c < kChannels; ++c) {
        for (int i = 0; i < kIds; ++i) {
            if (drives_[c][i].size == -1 || ++current != number)
                continue;
            channel = c;
            id = i;
            return true;
        }
    }
    return false;
}

void RaidController::setConfiguration(std::unique_ptr<RaidConfiguration> configuration) {
    configuration_ = std::move(configuration);
}

void RaidController::dump(Console& console, bool withConfiguration) const {
    console.Out("***** DUMPING RAID CONTROLLER INFO *********\n");
    console.OutFormat("Type:       %d\n", type_);
    console.OutFormat("BIOSVersion =%s \n", biosVersion_.c_str());
    console.OutFormat("FirmwareVersion =%s \n", firmwareVersion_.c_str());
    console.OutFormat("Scan order: %d\n", scanOrder_);
    console.OutFormat("Number of Drives=%d\n", driveCount());
    console.Out("Drives:\nnth=(chan,sid,tid,type) size\n");
    int number = 0;
    for (int channel = 1; channel < kChannels; ++channel) {
        for (int id = 0; id < kIds; ++id) {
            const DriveSlot& slot = drives_[channel][id];
            if (slot.size == -1)
                continue;
            console.OutFormat("%2d(%2d,%2d,%2d,%4s) %ldMB\n", ++number, channel, id, slot.targetNumber,
                              slot.type.c_str(), static_cast<long>(slot.size));
        }
    }
    console.Out("\n");
    if (withConfiguration && configuration_)
        configuration_->dump(console);
}
