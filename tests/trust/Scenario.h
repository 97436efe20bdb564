// One case of the trust tests: a program run on a tree of files holding its inputs and what earlier runs
// left, and what may be found in that tree when the run is cut short.
#pragma once

#include "TracedRun.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Files below destination are copies of the files at the same place below source, or, with
// fromAnyFolder, below any folder of source (drivers merged into one folder).
struct CopyRule {
    std::string destination;
    std::string source;
    bool fromAnyFolder = false;
};

struct Scenario {
    std::string name;
    // Writes what the run finds below root.
    std::function<void(const std::filesystem::path& root)> prepare;
    std::function<Command(const std::filesystem::path& root)> command;
    std::vector<std::string> inputs;        // files and folders (relative) that no run may change at all
    std::vector<std::string> appendedTo;    // outputs that each run adds to instead of replacing them
    std::vector<std::string> editedInPlace; // files that a run changes line by line, one save at a time
    std::vector<CopyRule> copies;
    // Logs that each run appends to, one whole line at a time, every line of the pattern journalLine.
    std::vector<std::string> journals;
    std::string journalLine;
    // What a stopped run leaves beside its copy so that the next run can resume it.
    std::vector<std::string> resumeRecords;
    bool masksRunDates = false; // the output policy notes the date and time of its run
};

// The cases, shared by the kill sweep and the full-disk runs. Each prepares a tree of a few small files so
// that a whole run makes tens of the calls that the sweep kills at, not thousands.
Scenario ArrayplanOverExistingOutputs();
Scenario DrvstageOverAnEarlierStaging();
// The same on one thread: each call is then the run's nth, where a kill on a thread of a parallel copy
// lands at the first thread that makes its own nth call.
Scenario DrvstageOnOneThreadOverAnEarlierStaging();
Scenario DrvstageAdsIntoAFilledDestination();
Scenario DrvstageIntoANewDestination();
// /INC over a staging for another machine type: drivers to remove and to add, files to copy over older
// ones, files that are current, narrowed files to rewrite, and a file the source does not hold.
Scenario DrvstageUpdateOfAnOlderStaging();
Scenario StagedeskUtilityOverAnEarlierCopy();
// Two discs from one folder, so that recognising the first disc saves a value into the item file; the
// program takes a source on a volume of less than 1000 MB for discs (the CD media), else for a DVD.
// With needsNoSpace the item asks for no free space, so that its space check passes on a full volume.
Scenario StagedeskTwoDiscsSavingTheItemFile(bool needsNoSpace);
