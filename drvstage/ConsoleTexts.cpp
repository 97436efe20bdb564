#include "drvstage/ConsoleTexts.h"

#include "foundation/Console.h"

namespace {

// The explanation lines of the usage, after "Where...".
const char* const kUsageLines[] = {
    "\tsourcepath    \tFully qualified path to the parent directory of the",
    "\t              \t    device drivers to be copied.",
    "\tdestinationpath\tFully qualified destination path for the",
    "\t              \t    device drivers to be copied.",
    "\t/M:machinetypes\tSpecifies the machine types to limit the",
    "\t              \t    device drivers to be copied.  Multiple",
    "\t              \t    machine types can be specified using a",
    "\t              \t    comma as the delimiter.  If omitted, then",
    "\t              \t    all the device drivers are copied.",
    "\t/C:categories \tSpecifies the driver categories to limit the",
    "\t              \t    device drivers to be copied.  Multiple categories",
    "\t              \t    can be specified using a comma as the delimiter.",
    "\t              \t    If ommitted, then all the device driver categories",
    "\t              \t    are copied.",
    "\t/I:installationmodes\tSpecifies the driver installation modes to limit the",
    "\t              \t    device drivers to be copied.  Multiple installation modes",
    "\t              \t    can be specified using a comma as the delimiter.",
    "\t              \t    If ommitted, then all the device driver installation modes",
    "\t              \t    are copied.",
    "\t/ADS          \tSpecifies to copy only those drivers required for",
    "\t              \t    Microsoft ADS.  Depricated: Use /C:Network instead.",
    "\t/V:n          \tVerbose Level",
    "\t              \t    0 = quiet mode",
    "\t              \t    3 = default",
    "\t              \t    5 = max",
};

// "Category = x" for one item, "Categories = x,y" for several.
void PrintListSetting(const char* singular, const char* plural, const CString& list) {
    PrintAtLevel(CString(list.ItemCount(",") == 1 ? singular : plural) + " = " + list, 2);
}

} // namespace

void PrintBanner(const CString& programName) {
    PrintAtLevel("", 1);
    PrintAtLevel("Torvik (R) " + programName + " version " + kDrvstageVersion, 1);
    PrintAtLevel("", 1);
    PrintAtLevel("Copyright (C) Torvik. All rights reserved.", 1);
    PrintAtLevel("", 1);
    PrintAtLevel("Device Driver Copy Tool", 1);
    PrintAtLevel("", 1);
}

void PrintUsage(const CString& programName) {
    PrintAtLevel("Usage... ", 3);
    PrintAtLevel("\t" + programName + " sourcepath destinationpath [/M:machinetypes] [/C:categories]", 3);
    PrintAtLevel("\t" + CString(' ', programName.Length()) + " [/I:installationmodes] [/V:n]", 3);
    PrintAtLevel("", 3);
    PrintAtLevel("Where...", 3);
    for (const char* line : kUsageLines)
        PrintAtLevel(line, 3);
}

void PrintSettings(const CopySettings& settings) {
    PrintAtLevel("Source Path = " + settings.sourcePath, 2);
    PrintAtLevel("Destination Path = " + settings.destinationPath, 2);
    if (settings.ads)
        PrintAtLevel("ADS Copy = True", 2);
    else if (settings.machineTypes.IsEmpty())
        PrintAtLevel("Machine Types = All", 2);
    else
        PrintListSetting("Machine Type", "Machine Types", settings.machineTypes);
    // Echoed whenever given: an empty value (all categories) still shows on its line.
    if (settings.categoriesGiven)
        PrintListSetting("Category", "Categories", settings.categories);
    if (settings.installationModesGiven)
        PrintListSetting("Installation Mode", "Installation Modes", settings.installationModes);
    PrintAtLevel("", 2);
}
