// The /L run: the plan of a run, printed, with nothing created, removed or written. It ends with the
// status that the run would end with.
#pragma once

#include "drvstage/CopySteps.h"

// The reason why a folder is not staged, as the preview and the report give it.
CString SkipReasonText(const PlannedDriver& driver, const CopySettings& settings);

// Prints the plan's lines; returns the run's status for it. The driver set and the destination are
// checked first, as the run checks them.
int PreviewRun(CopySteps& steps, const CopySettings& settings, StagingPlan& plan);
