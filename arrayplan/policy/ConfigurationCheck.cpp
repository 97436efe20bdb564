#include "arrayplan/policy/ConfigurationCheck.h"

#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/model/SupportFileCache.h"
#include "arrayplan/policy/PolicyText.h"
#include "foundation/TextFormat.h"

namespace {

constexpr int kArrayLimitTrace = 1187;

const RaidLogicalDrive* firstLogicalDriveOn(const RaidConfiguration& configuration, int arrayIndex) {
    for (int j = 0; const RaidLogicalDrive* logical = configuration.logicalDriveAt(j); ++j) {
        if (logical->arrayIndex == arrayIndex)
            return logical;
    }
    return nullptr;
}

bool arraysFit(const RunSettings& settings, const ControllerIni& ini,
               const RaidConfiguration& configuration) {
    for (int k = 0; const RaidArray* array = configuration.arrayAt(k); ++k) {
        const RaidLogicalDrive* logical = firstLogicalDriveOn(configuration, k);
        if (logical == nullptr)
            continue;
        int limit = ini.maxPhysicalDrives(logical->raidLevel);
        if (array->memberCount() <= limit)
            continue;
        // Traced only for the array that fails the check.
        settings.debugTrace(kArrayLimitTrace,
                            FormatText("checkConfigCreated() Array=%d drives, contINI=%d drives ",
                                       array->memberCount(), limit)
                                .c_str());
        return false;
    }
    return true;
}

bool usesStripes(const RaidConfiguration& configuration) {
    for (int j = 0; const RaidLogicalDrive* logical = configuration.logicalDriveAt(j); ++j) {
        if (logical->raidLevel != kRaid1 && logical->raidLevel != kRaidVolume)
            return true;
    }
    return false;
}

} // namespace

ResultCode checkConfigCreated(const RunSettings& settings, ControllerList& controllers) {
    bool anyConfigured = false;
    for (int i = 0; RaidController* controller = controllers.at(i); ++i) {
        RaidConfiguration* configuration = controller->configuration();
        if (configuration == nullptr)
            continue;
        anyConfigured = true;
        ControllerIni ini(settings.raidDirectory, controller->modelName(), settings.console(),
                          settings.fileSystem());
        if (loadSupportFile(settings, ini) && !arraysFit(settings, ini, *configuration))
            return ResultCode::ArrayDrivesUnsupported;
        if (!usesStripes(*configuration))
            configuration->stripeSize = kStripeNotSet;
    }
    return anyConfigured ? ResultCode::Success : ResultCode::NotEnoughSameSizeDrives;
}
