#include "drvstage/DriverSelection.h"

#include "drvstage/ItemList.h"
#include "foundation/Console.h"

namespace {

// The reason lines of one text criterion (category or installation mode).
struct CriterionTexts {
    const char* notSpecified;
    const char* noMatch;
    const char* match;
};

constexpr CriterionTexts kCategoryTexts = {
    "The driver category is not specified.",
    "The driver category does not match:  ",
    "The driver category is specified:  ",
};

constexpr CriterionTexts kInstallationModeTexts = {
    "The driver installation mode is not specified.",
    "The driver installation mode does not match:  ",
    "The driver installation mode is specified:  ",
};

bool SuitsMachineTypes(const CString& machineTypes, const DriverInfoFile& driver) {
    if (machineTypes.IsEmpty())
        return !driver.Info().supportedSystems.EqualsNoCase("None");
    for (const CString& machineType : SplitItems(machineTypes)) {
        if (driver.SupportsMachineType(machineType))
            return true;
    }
    return false;
}

// Why value is not one of the requested items (ignoring case): None when it is.
SkipReason CriterionFailure(const CString& requested, const CString& value, SkipReason notSpecified,
                            SkipReason mismatch) {
    if (value.IsEmpty())
        return notSpecified;
    return HasItemNoCase(requested, value) ? SkipReason::None : mismatch;
}

SkipReason FirstFailure(const CopySettings& settings, const DriverInfoFile& driver) {
    if (!SuitsMachineTypes(settings.machineTypes, driver))
        return SkipReason::MachineType;
    const DriverInfo& info = driver.Info();
    if (!settings.categories.IsEmpty()) {
        SkipReason failure = CriterionFailure(settings.categories, info.category,
                                              SkipReason::CategoryNotSpecified, SkipReason::CategoryMismatch);
        if (failure != SkipReason::None)
            return failure;
    }
    if (settings.installationModes.IsEmpty())
        return SkipReason::None;
    return CriterionFailure(settings.installationModes, info.installationMode,
                            SkipReason::InstallationModeNotSpecified, SkipReason::InstallationModeMismatch);
}

// Prints the line of one tested criterion; false after a failed one, with its separator line.
bool PrintCriterion(const CString& value, const CriterionTexts& texts, bool notSpecified, bool mismatch,
                    int separatorLevel) {
    if (notSpecified || mismatch) {
        PrintAtLevel(notSpecified ? CString(texts.notSpecified) : texts.noMatch + value, 5);
        PrintAtLevel("", separatorLevel);
        return false;
    }
    PrintAtLevel(texts.match + value, 5);
    return true;
}

} // namespace

DriverDecision DecideDriver(const CopySettings& settings, const DriverInfoFile& driver) {
    DriverDecision decision;
    decision.categoryTested = !settings.categories.IsEmpty();
    decision.installationModeTested = !settings.installationModes.IsEmpty();
    decision.reason = FirstFailure(settings, driver);
    decision.selected = decision.reason == SkipReason::None;
    return decision;
}

DriverDecision DecideAdsDriver(const DriverInfo& info) {
    DriverDecision decision;
    decision.selected = info.requiredForAds;
    decision.reason = info.requiredForAds ? SkipReason::None : SkipReason::NotRequiredForAds;
    return decision;
}

void PrintDecisionReasons(const DriverDecision& decision, const DriverInfo& info, int separatorLevel) {
    SkipReason reason = decision.reason;
    if (reason == SkipReason::MachineType) {
        PrintAtLevel("The driver is not supported.", 5);
        PrintAtLevel("", separatorLevel);
        return;
    }
    PrintAtLevel("The driver is supported.", 5);
    if (decision.categoryTested &&
        !PrintCriterion(info.category, kCategoryTexts, reason == SkipReason::CategoryNotSpecified,
                        reason == SkipReason::CategoryMismatch, separatorLevel))
        return;
    if (decision.installationModeTested)
        PrintCriterion(info.installationMode, kInstallationModeTexts,
                       reason == SkipReason::InstallationModeNotSpecified,
                       reason == SkipReason::InstallationModeMismatch, separatorLevel);
}

bool NarrowSupportLists(const CString& machineTypes, const DriverInfo& info, CString& supported,
                        CString& unsupported) {
    if (machineTypes.IsEmpty() || info.supportedSystems.EqualsNoCase("All"))
        return false;
    supported = ItemsAlsoIn(machineTypes, info.supportedSystems);
    unsupported = ItemsAlsoIn(machineTypes, info.unsupportedSystems);
    return true;
}
