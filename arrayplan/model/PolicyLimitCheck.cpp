#include "arrayplan/model/PolicyLimitCheck.h"

#include "arrayplan/model/Catalogue.h"
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/ResultCodes.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/model/SupportFileCache.h"
#include "foundation/Console.h"

#include <cstdio>

namespace {

// The trace line of a failed test (with "/debug") and the failure's code.
ResultCode failed(const RunSettings& settings, int tracePoint, const char* text, ResultCode code) {
    settings.debugTrace(tracePoint, text);
    return code;
}

// Level, partial-sizing and per-array tests of array index; Success when they pass.
ResultCode checkArray(const RunSettings& settings, const ControllerIni& ini, int controllerType,
                      const PolicyLayout& policy, int index) {
    char text[96];
    int logicalsOnArray = 0;
    int arrayLevel = kRaidLevelNotSet;
    for (size_t j = 0; j < policy.logicalDrives.size(); ++j) {
        const RaidLogicalDrive& logical = *policy.logicalDrives[j];
        if (!ini.raidLevelSupported(logical.raidLevel)) {
            std::snprintf(text, sizeof text, "Logical.%d\n", static_cast<int>(j));
            return failed(settings, 309, text, ResultCode::RaidLevelUnsupported);
        }
        if (logical.size != kSizeFill && !allowsPartialSizing(controllerType))
            return failed(settings, 315, "Controller doesn't support partial sizing",
                          ResultCode::PartialSizingUnsupported);
        if (logical.arrayIndex == index) {
            ++logicalsOnArray;
            arrayLevel = logical.raidLevel;
        }
    }
    int members = policy.arrays[static_cast<size_t>(index)]->memberCount();
    if (members > ini.maxPhysicalDrives(arrayLevel)) {
        std::snprintf(text, sizeof text, "Array.%c contains %d drives", arrayLetter(index), members);
        return failed(settings, 328, text, ResultCode::ArrayDrivesUnsupported);
    }
    if (logicalsOnArray > ini.maxLogicalDrives(arrayLevel)) {
        std::snprintf(text, sizeof text, "Array.%c contains %d logicals", arrayLetter(index),
                      logicalsOnArray);
        return failed(settings, 336, text, ResultCode::LogicalDrivesUnsupported);
    }
    return ResultCode::Success;
}

} // namespace

ResultCode checkPolicyLimits(const RunSettings& settings, const RaidController& controller,
                             const PolicyLayout& policy) {
    ControllerIni ini(settings.raidDirectory, controller.modelName(), settings.console(),
                      settings.fileSystem());
    if (!loadSupportFile(settings, ini)) {
        settings.console().OutFormat("%s\n", "Error opening RAID support ini file");
        settings.console().Out(ini.failureLine().c_str());
        return ResultCode::ControllerUnsupported;
    }
    if (!policy.stripeSize.empty() && !ini.stripeSizeSupported(policy.stripeSize.c_str()))
        return failed(settings, 289, "Stripe Size not supported", ResultCode::StripeSizeUnsupported);
    if (!policy.customArrays)
        return ResultCode::Success;
    int arrayCount = static_cast<int>(policy.arrays.size());
    for (int i = 0; i < arrayCount; ++i) {
        if (ResultCode code = checkArray(settings, ini, controller.type(), policy, i);
            code != ResultCode::Success)
            return code;
    }
    if (arrayCount > ini.maxArrays()) {
        char text[48];
        std::snprintf(text, sizeof text, "Policy contains %d arrays", arrayCount);
        return failed(settings, 345, text, ResultCode::ArrayCountUnsupported);
    }
    return ResultCode::Success;
}
