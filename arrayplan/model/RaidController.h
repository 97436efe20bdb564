// One RAID controller of the inventory: its catalogue identity, its grid of drive slots and, once
// planned, its configuration.
#pragma once

#include "arrayplan/model/RaidConfiguration.h"

#include <memory>
#include <string>

struct DriveSlot {
    int size = -1;    // MB; -1 marks an empty slot
    std::string type; // the inventory's drive type text; empty when none was read
    int targetNumber = -1;
    bool reserved = false; // taken while drives are allocated
};

class RaidController {
public:
    static constexpr int kChannels = 5; // channel 0 is stored but never counted
    static constexpr int kIds = 32;

    RaidController(int type, int variant) : type_(type), variant_(variant) {}

    int type() const { return type_; }
    void setType(int type) { type_ = type; }
    int variant() const { return variant_; }
    void setVariant(int variant) { variant_ = variant; }
    const char* modelName() const; // the catalogue's name of (type, variant)

    int scanOrder() const { return scanOrder_; }
    bool setScanOrder(int order); // refuses values outside 1..15

    const std::string& biosVersion() const { return biosVersion_; }
    void setBiosVersion(const std::string& text) { biosVersion_ = text; }
    const std::string& firmwareVersion() const { return firmwareVersion_; }
    void setFirmwareVersion(const std::string& text) { firmwareVersion_ = text; }

    static bool validPosition(int channel, int id);
    // False (nothing stored) outside channels 0..4 and IDs 0..31.
    bool setDrive(int channel, int id, int size, const std::string& type);
    bool setDrive(int channel, int id, int size, const std::string& type, int targetNumber);
    const DriveSlot* drive(int channel, int id) const; // none outside the grid
    int driveSize(int channel, int id) const;          // -1 outside the grid or when empty
    bool isReserved(int channel, int id) const;
    bool setReserved(int channel, int id, bool reserved);

    // Drives of channels 1 to 4 whose slot is not empty (a 0 MB drive counts).
    int driveCount() const;
    // The 1-based position among those drives, channel by channel, ID by ID; -1 for an empty slot
    // or a channel-0 slot.
    int driveNumber(int channel, int id) const;
    // The position of a drive number; false when no drive has it.
    bool findDriveNumber(int number, int& channel, int& id) const;

    RaidConfiguration* configuration() { return configuration_.get(); }
    const RaidConfiguration* configuration() const { return configuration_.get(); }
    void setConfiguration(std::unique_ptr<RaidConfiguration> configuration);
    std::unique_ptr<RaidConfiguration> takeConfiguration() { return std::move(configuration_); }

    // The debug dump of the controller, followed by its configuration's when asked and present.
    void dump(Console& console, bool withConfiguration) const;

private:
    int type_;
    int variant_;
    int scanOrder_ = 0; // 0 until the inventory reader numbers it
    std::string biosVersion_;
    std::string firmwareVersion_;
    DriveSlot drives_[kChannels][kIds];
    std::unique_ptr<RaidConfiguration> configuration_;
};
