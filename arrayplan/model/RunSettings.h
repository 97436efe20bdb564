// RunSettings: the settings and the context of one validation run, borrowed by the readers, matchers,
// builders and writers. It carries the run's console and file system, the message operations (leveled
// print, error report, debug trace) on that console, and the inventory's system facts; the catalogue's
// tables are in model/Catalogue.h. Runs with settings of their own share nothing, so several may run at
// once in one process.
#pragma once

#include "foundation/CString.h"

#include <string>

class Console;
class FileSystem;
class SupportFileCache;

class RunSettings {
public:
    // A run on the process's console and on whichever file system is current when a file is reached (the
    // tools' tests and benchmarks, which install theirs after making the settings).
    RunSettings();
    // A run whose messages go to console and whose own file operations go to fileSystem; both outlive it.
    RunSettings(Console& console, FileSystem& fileSystem);

    CString raidDirectory; // support-file directory, ending with a separator unless empty
    bool debug = false;
    int messageLevel = 5; // the verbosity of the leveled print; set once, never changed
    CString machineType;
    CString serialNumber;
    CString applicabilityTemplate;
    // The support files that the runs of a fleet check share; null: the run reads each file itself.
    SupportFileCache* supportFiles = nullptr;

    Console& console() const { return *console_; }
    FileSystem& fileSystem() const;

    // "%s" with text when level <= messageLevel.
    void printLeveled(const char* text, int level) const;
    // "\n", "#### ERROR\n", then "\t%s" with message.
    void reportError(const char* message) const;
    // With debug: "%d:" with the trace point number, the text, then "\n".
    void debugTrace(int tracePoint, const char* text) const;
    // Plain form: the text unchanged. Error form: "##ERROR\n", then "   %s" with the message.
    void printPlain(const char* text) const;
    void printErrorForm(const char* message) const;

private:
    Console* console_;
    FileSystem* fileSystem_; // null: the current one
};
