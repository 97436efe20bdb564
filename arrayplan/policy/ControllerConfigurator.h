// ControllerConfigurator: builds one controller's RaidConfiguration from its policy. The steps are the
// same for every controller; what a controller family can do and what it takes by default comes from
// the ten slots below, which each family answers from its column of the family table.
#pragma once

#include "arrayplan/model/ResultCodes.h"
#include "foundation/CString.h"

#include <memory>

class Policy;
class RaidArray;
class RaidConfiguration;
class RaidController;
class RaidLogicalDrive;
class RunSettings;

class ControllerConfigurator {
public:
    ControllerConfigurator(RunSettings& settings, RaidController& controller, const Policy& policy);
    virtual ~ControllerConfigurator();
    ControllerConfigurator(const ControllerConfigurator&) = delete;
    ControllerConfigurator& operator=(const ControllerConfigurator&) = delete;

    // Hot spares, arrays, logical drives, stripe size, read ahead, rebuild rate and initialisation.
    // On success the controller owns its new configuration, or has none when it has too few drives.
    // A failure is reported and leaves the controller without configuration; its code is 9 or 10.
    ResultCode buildConfiguration();

    // The family's slots, in slot order. Sizes, levels and settings are the codes of the RAID model.
    virtual int defaultHotSpareCount() const = 0;                   // 0
    virtual int defaultLogicalDriveSize() const = 0;                // 1
    virtual int defaultRaidLevel(int members) const = 0;            // 2: -1 when the family has none
    virtual int defaultWriteCache() const = 0;                      // 3
    virtual int defaultRebuildRate() const = 0;                     // 4
    virtual int defaultReadAhead() const = 0;                       // 5
    virtual int defaultStripeSize() const = 0;                      // 6
    virtual bool enoughDrivesToConfigure() const = 0;               // 7
    virtual bool stripeSizeSupported(int stripeSizeCode) const = 0; // 8
    virtual bool raidLevelSupported(int raidLevel) const = 0;       // 9

protected:
    const RaidController& controller() const { return controller_; }

private:
    bool build();

    bool addHotSpares(RaidConfiguration& configuration);
    bool addListedHotSpares(RaidConfiguration& configuration);
    bool addLargestDrivesAsHotSpares(RaidConfiguration& configuration, int count);
    bool addHotSpare(RaidConfiguration& configuration, int channel, int id);

    bool addArrays(RaidConfiguration& configuration);
    bool addListedArrays(RaidConfiguration& configuration);
    bool addListedArray(RaidConfiguration& configuration, const RaidArray& listed, int index);
    bool addArrayOfFreeDrives(RaidConfiguration& configuration, int index);
    bool addAutomaticArrays(RaidConfiguration& configuration);
    bool addArray(RaidConfiguration& configuration, const RaidArray& array);
    void reserveMember(RaidArray& array, int channel, int id);
    // The level of the policy's first logical drive on the array, else of its logical defaults, else -1.
    int levelOfArray(int index) const;

    bool addLogicalDrives(RaidConfiguration& configuration);
    bool addListedLogicalDrive(RaidConfiguration& configuration, const RaidLogicalDrive& listed);
    bool addDefaultLogicalDrive(RaidConfiguration& configuration, int arrayIndex);
    int sizeOnArray(const RaidArray& array, const RaidLogicalDrive& logical) const;
    bool addLogicalDrive(RaidConfiguration& configuration, const RaidLogicalDrive& logical);

    bool setStripeSize(RaidConfiguration& configuration);
    void setReadAheadAndRebuildRate(RaidConfiguration& configuration) const;

    bool reportMissingDrive(const CString& keyword, const CString& drive, ResultCode code);
    bool reportUsedDrive(const CString& keyword, const CString& drive, ResultCode code);
    // Reports message, keeps code as the build's result and returns false.
    bool fail(const CString& message, ResultCode code = ResultCode::NotEnoughSameSizeDrives);

    RunSettings& settings_;
    RaidController& controller_;
    const Policy& policy_;
    // The code of a failure that names no other.
    ResultCode failure_ = ResultCode::NotEnoughSameSizeDrives;
};
