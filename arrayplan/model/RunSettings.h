// RunSettings: the settings of one validation run, borrowed by the readers, matchers, builders and
// writers. It carries the message operations (leveled print, error report, debug trace) and the
// inventory's system facts; the catalogue's tables are in model/Catalogue.h.
#pragma once

#include "foundation/CString.h"

#include <string>

class RunSettings {
public:
    CString raidDirectory; // support-file directory, ending with a separator unless empty
    bool debug = false;
    int messageLevel = 5; // the verbosity of the leveled print; set once, never changed
    CString machineType;
    CString serialNumber;
    CString applicabilityTemplate;

    // "%s" with text when level <= messageLevel.
    void printLeveled(const char* text, int level) const;
    // "\n", "#### ERROR\n", then "\t%s" with message.
    void reportError(const char* message) const;
    // With debug: "%d:" with the trace point number, the text, then "\n".
    void debugTrace(int tracePoint, const char* text) const;
    // Plain form: the text unchanged. Error form: "##ERROR\n", then "   %s" with the message.
    static void printPlain(const char* text);
    static void printErrorForm(const char* message);
};
