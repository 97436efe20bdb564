// The fixed console texts of drvstage: banner, usage and the echo of the settings.
#pragma once

#include "drvstage/CopySettings.h"

void PrintBanner(const CString& programName);
void PrintUsage(const CString& programName);
void PrintSettings(const CopySettings& settings);
