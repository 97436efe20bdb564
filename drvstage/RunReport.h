// The /REPORT: file: the settings, every driver folder of the plan with what became of it, the narrowed
// lists, the totals and the exit status, as JSON. Written whole, so a reader never meets half a report.
#pragma once

#include "drvstage/CopySettings.h"
#include "drvstage/StagingPlan.h"

#include <string>

// The report's text. A preview reports what the run would stage; a run reports what it staged.
// foldersReached is false when the run stopped before it came to the driver folders (the plan then says
// only what each folder would have been).
std::string ReportText(const CopySettings& settings, const StagingPlan& plan, const StagingOutcome& outcome,
                       int status, bool foldersReached);

// Writes the report to settings.reportPath: false after the failure lines.
bool WriteReport(const CopySettings& settings, const StagingPlan& plan, const StagingOutcome& outcome,
                 int status, bool foldersReached);
