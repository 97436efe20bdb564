// Deciding whether one driver folder is staged, and the reason lines that tell why: the decision is data,
// so a run, a preview and a report all give the same answer for the same folder.
#pragma once

#include "drvstage/CopySettings.h"
#include "drvstage/DriverInfoFile.h"

enum class SkipReason {
    None,
    MachineType,
    CategoryNotSpecified,
    CategoryMismatch,
    InstallationModeNotSpecified,
    InstallationModeMismatch,
    NotRequiredForAds,
};

struct DriverDecision {
    bool selected = false;
    SkipReason reason = SkipReason::None;
    bool categoryTested = false;         // /C: asked for categories
    bool installationModeTested = false; // /I: asked for installation modes
};

// The normal mode: machine types, then categories, then installation modes; the first that fails decides.
DriverDecision DecideDriver(const CopySettings& settings, const DriverInfoFile& driver);
// The ADS mode: only the "Required For ADS" flag counts.
DriverDecision DecideAdsDriver(const DriverInfo& info);

// The reason lines of a normal-mode decision at level 5, and the separator line at separatorLevel after a
// folder that is left out.
void PrintDecisionReasons(const DriverDecision& decision, const DriverInfo& info, int separatorLevel);

// The support lists that staging writes into a copied driver file: the requested machine types that each
// list names. False when the file keeps its lists (no machine types asked for, or "All").
bool NarrowSupportLists(const CString& machineTypes, const DriverInfo& info, CString& supported,
                        CString& unsupported);
